#include "skin/BmpReader.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace kes {

namespace {

std::uint32_t U16(const std::string& s, std::size_t at) {
    return static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8);
}
std::uint32_t U32(const std::string& s, std::size_t at) { return U16(s, at) | (U16(s, at + 2) << 16); }

}  // namespace

bool ReadBmp(const std::string& bytes, PixelBuffer& image, std::string& error) {
    auto fail = [&](const char* why) {
        error = why;
        return false;
    };
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (size < static_cast<std::int64_t>(kBmpFileHeader) + 12 || bytes[0] != 'B' || bytes[1] != 'M')
        return fail("not a bitmap file");
    const std::uint32_t pixelsAt = U32(bytes, 10);
    const std::uint32_t headerSize = U32(bytes, 14);
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        return fail("unknown bitmap header");
    if (static_cast<std::int64_t>(kBmpFileHeader) + headerSize > size) return fail("bitmap header truncated");

    const bool core = headerSize == 12;
    std::int64_t width, height;
    std::uint32_t planes, bpp, compression = kBmpRgb, colours = 0;
    if (core) {
        width = U16(bytes, 18);
        height = U16(bytes, 20);
        planes = U16(bytes, 22);
        bpp = U16(bytes, 24);
    } else {
        width = static_cast<std::int32_t>(U32(bytes, 18));
        height = static_cast<std::int32_t>(U32(bytes, 22));
        planes = U16(bytes, 26);
        bpp = U16(bytes, 28);
        compression = U32(bytes, 30);
        colours = U32(bytes, 46);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0) return fail("bitmap has no pixels");
    if (width > PixelBuffer::kMaxSide || height > PixelBuffer::kMaxSide) return fail("bitmap too large");
    if (planes != 1) return fail("bitmap planes not 1");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return fail("unsupported bits per pixel");

    std::int64_t paletteAt = static_cast<std::int64_t>(kBmpFileHeader) + headerSize;
    if (compression == kBmpBitFields && bpp == 32) {
        const std::int64_t masksAt = headerSize >= 52 ? kBmpFileHeader + 40 : paletteAt;
        if (masksAt + 12 > size) return fail("bitmap masks truncated");
        if (U32(bytes, static_cast<std::size_t>(masksAt)) != 0xFF0000 ||
            U32(bytes, static_cast<std::size_t>(masksAt) + 4) != 0xFF00 ||
            U32(bytes, static_cast<std::size_t>(masksAt) + 8) != 0xFF)
            return fail("unsupported bit-field masks");
        if (headerSize == 40) paletteAt += 12;
    } else if (compression != kBmpRgb) {
        return fail("compressed bitmaps are not supported");
    }

    std::vector<std::int32_t> palette;
    if (bpp <= 8) {
        const std::uint32_t most = 1u << bpp;
        const std::uint32_t count = colours == 0 ? most : colours;
        if (count > most) return fail("bitmap palette too large");
        const int entry = core ? 3 : 4;
        if (paletteAt + static_cast<std::int64_t>(count) * entry > size) return fail("bitmap palette truncated");
        for (std::uint32_t i = 0; i < count; ++i) {
            const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + paletteAt + i * entry;
            palette.push_back(p[2] | (p[1] << 8) | (p[0] << 16));
        }
    }

    const std::int64_t stride = BmpRowBytes(width, static_cast<int>(bpp));
    if (static_cast<std::int64_t>(pixelsAt) + stride * height > size) return fail("bitmap pixels truncated");
    PixelBuffer result;
    try {
        result = PixelBuffer(static_cast<int>(width), static_cast<int>(height), !topDown);
    } catch (const std::length_error&) {
        return fail("bitmap too large");
    }
    const auto* base = reinterpret_cast<const unsigned char*>(bytes.data()) + pixelsAt;
    for (int row = 0; row < height; ++row) {
        const unsigned char* src = base + row * stride;
        const int y = topDown ? row : static_cast<int>(height) - 1 - row;
        std::uint8_t* dst = result.Row(y);
        for (int x = 0; x < width; ++x, dst += 3) {
            if (bpp >= 24) {
                const unsigned char* p = src + x * (bpp / 8);
                dst[0] = p[0];
                dst[1] = p[1];
                dst[2] = p[2];
                continue;
            }
            const int bit = x * static_cast<int>(bpp);
            const unsigned index = (src[bit / 8] >> (8 - static_cast<int>(bpp) - bit % 8)) & ((1u << bpp) - 1);
            if (index >= palette.size()) return fail("bitmap palette index out of range");
            const std::int32_t c = palette[index];
            dst[0] = static_cast<std::uint8_t>(c >> 16);
            dst[1] = static_cast<std::uint8_t>(c >> 8);
            dst[2] = static_cast<std::uint8_t>(c);
        }
    }
    image = std::move(result);
    error.clear();
    return true;
}

}  // namespace kes

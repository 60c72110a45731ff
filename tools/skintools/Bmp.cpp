#include "Bmp.h"

#include <cstdint>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace kes {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::size_t kFileHeader = 14;

std::uint32_t U16(const std::string& s, std::size_t at) {
    return static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8);
}
std::uint32_t U32(const std::string& s, std::size_t at) { return U16(s, at) | (U16(s, at + 2) << 16); }

void Put16(std::string& s, std::uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

std::int64_t RowBytes(std::int64_t width, int bpp) { return (width * bpp + 31) / 32 * 4; }

}  // namespace

bool ReadBmp(const std::string& bytes, PixelBuffer& image, std::string& error) {
    auto fail = [&](const char* why) {
        error = why;
        return false;
    };
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (size < static_cast<std::int64_t>(kFileHeader) + 12 || bytes[0] != 'B' || bytes[1] != 'M')
        return fail("not a bitmap file");
    const std::uint32_t pixelsAt = U32(bytes, 10);
    const std::uint32_t headerSize = U32(bytes, 14);
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        return fail("unknown bitmap header");
    if (static_cast<std::int64_t>(kFileHeader) + headerSize > size) return fail("bitmap header truncated");

    const bool core = headerSize == 12;
    std::int64_t width, height;
    std::uint32_t planes, bpp, compression = kRgb, colours = 0;
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

    std::int64_t paletteAt = static_cast<std::int64_t>(kFileHeader) + headerSize;
    if (compression == kBitFields && bpp == 32) {
        const std::int64_t masksAt = headerSize >= 52 ? kFileHeader + 40 : paletteAt;
        if (masksAt + 12 > size) return fail("bitmap masks truncated");
        if (U32(bytes, static_cast<std::size_t>(masksAt)) != 0xFF0000 ||
            U32(bytes, static_cast<std::size_t>(masksAt) + 4) != 0xFF00 ||
            U32(bytes, static_cast<std::size_t>(masksAt) + 8) != 0xFF)
            return fail("unsupported bit-field masks");
        if (headerSize == 40) paletteAt += 12;
    } else if (compression != kRgb) {
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

    const std::int64_t stride = RowBytes(width, static_cast<int>(bpp));
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

std::string WriteBmp(const PixelBuffer& image, int bitsPerPixel, bool topDown) {
    const int bpp = bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        throw std::invalid_argument("unsupported bits per pixel");
    const int w = image.Width(), h = image.Height();
    std::vector<std::int32_t> palette;
    std::unordered_map<std::int32_t, unsigned> index;
    if (bpp <= 8) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::int32_t c = image.GetPixel(x, y);
                if (index.emplace(c, static_cast<unsigned>(palette.size())).second) palette.push_back(c);
            }
        if (palette.size() > (1u << bpp)) throw std::invalid_argument("too many colours for the palette");
    }
    const auto stride = static_cast<std::size_t>(RowBytes(w, bpp));
    const std::size_t pixelsAt = kFileHeader + 40 + 4 * palette.size();
    std::string out;
    out += "BM";
    Put32(out, static_cast<std::uint32_t>(pixelsAt + stride * static_cast<std::size_t>(h)));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(pixelsAt));
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(w));
    Put32(out, static_cast<std::uint32_t>(topDown ? -h : h));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bpp));
    Put32(out, kRgb);
    Put32(out, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(h)));
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, static_cast<std::uint32_t>(palette.size()));
    Put32(out, 0);
    for (std::int32_t c : palette) {
        out.push_back(static_cast<char>((c >> 16) & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back('\0');
    }
    std::string row(stride, '\0');
    for (int r = 0; r < h; ++r) {
        const int y = topDown ? r : h - 1 - r;
        std::fill(row.begin(), row.end(), '\0');
        const std::uint8_t* src = image.Row(y);
        for (int x = 0; x < w; ++x, src += 3) {
            if (bpp >= 24) {
                char* p = row.data() + x * (bpp / 8);
                p[0] = static_cast<char>(src[0]);
                p[1] = static_cast<char>(src[1]);
                p[2] = static_cast<char>(src[2]);
                continue;
            }
            const unsigned v = index[src[2] | (src[1] << 8) | (src[0] << 16)];
            const int bit = x * bpp;
            row[static_cast<std::size_t>(bit / 8)] =
                static_cast<char>(row[static_cast<std::size_t>(bit / 8)] | (v << (8 - bpp - bit % 8)));
        }
        out += row;
    }
    return out;
}

}  // namespace kes

#include "skin/container/BmpReader.h"

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

namespace {

// One colour channel of a bit-field pixel: its mask's place and width.
struct Channel {
    int shift = 0;
    int bits = 0;
    // The channel's value widened (or narrowed) to 8 bits; narrower values repeat their own bits, so
    // that the largest value gives 255.
    std::uint8_t Of(std::uint32_t pixel, std::uint32_t mask) const {
        const std::uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
        std::uint32_t out = 0;
        int filled = 0;
        while (filled < 8) {
            out = (out << bits) | v;
            filled += bits;
        }
        return static_cast<std::uint8_t>(out >> (filled - 8));
    }
};

// False for a mask that is empty or not one run of bits.
bool ChannelOf(std::uint32_t mask, Channel& c) {
    if (mask == 0) return false;
    c.shift = 0;
    while (!((mask >> c.shift) & 1u)) ++c.shift;
    const std::uint32_t run = mask >> c.shift;
    c.bits = 0;
    while (c.bits < 32 && ((run >> c.bits) & 1u)) ++c.bits;
    return c.bits == 32 || (run >> c.bits) == 0;
}

// Decodes run-length pixels (RLE8, or RLE4 with two pixels to a byte), handing each pixel inside the image
// to set(x, y from the bottom, palette index), which answers false to stop. Pixels the stream skips or never
// reaches are not set; runs past the right edge or the top are cut off; a stream that ends early (even
// inside a run) keeps what it gave. False when set stopped it.
template <typename Set>
bool DecodeRle(const unsigned char* p, std::size_t n, bool four, std::int64_t width, std::int64_t height, Set&& set) {
    std::int64_t x = 0, y = 0;
    auto put = [&](unsigned index) {
        const bool inside = x < width && y < height;
        ++x;
        return !inside || set(static_cast<int>(x - 1), static_cast<int>(y), index);
    };
    std::size_t at = 0;
    while (at + 2 <= n && y < height) {
        const unsigned count = p[at], value = p[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x < width; ++i)
                if (!put(four ? (i % 2 ? value & 15 : value >> 4) : value)) return false;
        } else if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // move right and up
            if (at + 2 > n) break;
            x += p[at];
            y += p[at + 1];
            at += 2;
        } else {  // `value` pixels as they stand, padded to a 16-bit boundary
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (at + bytes > n) break;
            for (unsigned i = 0; i < value; ++i) {
                const unsigned byte = p[at + (four ? i / 2 : i)];
                if (!put(four ? (i % 2 ? byte & 15 : byte >> 4) : byte)) return false;
            }
            at += (bytes + 1) & ~std::size_t{1};
        }
    }
    return true;
}

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
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return fail("unsupported bits per pixel");

    std::int64_t paletteAt = static_cast<std::int64_t>(kBmpFileHeader) + headerSize;
    const bool rle = compression == kBmpRle8 || compression == kBmpRle4;
    // Bit fields: 16-bit pixels are 5-5-5 unless masks say otherwise; 32-bit pixels without masks are
    // blue, green, red bytes and are copied as such.
    std::uint32_t masks[3] = {0x7C00, 0x3E0, 0x1F};
    Channel channel[3];
    if (compression == kBmpBitFields && (bpp == 16 || bpp == 32)) {
        const std::int64_t masksAt = headerSize >= 52 ? kBmpFileHeader + 40 : paletteAt;
        if (masksAt + 12 > size) return fail("bitmap masks truncated");
        for (int i = 0; i < 3; ++i) masks[i] = U32(bytes, static_cast<std::size_t>(masksAt) + 4 * i);
        if (headerSize == 40) paletteAt += 12;
    } else if (rle) {
        if (bpp != (compression == kBmpRle8 ? 8u : 4u)) return fail("run-length compression of another depth");
        if (topDown) return fail("run-length bitmaps are stored bottom-up");
    } else if (compression != kBmpRgb) {
        return fail("compressed bitmaps of this kind are not supported");
    }
    const bool fields = bpp == 16 || (bpp == 32 && compression == kBmpBitFields);
    if (fields) {
        for (int i = 0; i < 3; ++i)
            if (!ChannelOf(masks[i], channel[i])) return fail("unsupported bit-field masks");
        if ((masks[0] & masks[1]) || (masks[0] & masks[2]) || (masks[1] & masks[2]))
            return fail("overlapping bit-field masks");
        if (bpp == 16 && ((masks[0] | masks[1] | masks[2]) >> 16)) return fail("bit-field masks past 16 bits");
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
    if (rle ? static_cast<std::int64_t>(pixelsAt) > size : static_cast<std::int64_t>(pixelsAt) + stride * height > size)
        return fail("bitmap pixels truncated");
    PixelBuffer result;
    try {
        result = PixelBuffer(static_cast<int>(width), static_cast<int>(height), !topDown);
    } catch (const std::length_error&) {
        return fail("bitmap too large");
    }
    const auto* base = reinterpret_cast<const unsigned char*>(bytes.data()) + pixelsAt;
    auto putIndex = [&](std::uint8_t* dst, unsigned index) {
        if (index >= palette.size()) return false;
        const std::int32_t c = palette[index];
        dst[0] = static_cast<std::uint8_t>(c >> 16);
        dst[1] = static_cast<std::uint8_t>(c >> 8);
        dst[2] = static_cast<std::uint8_t>(c);
        return true;
    };
    if (rle) {
        const bool ok =
            DecodeRle(base, static_cast<std::size_t>(size - pixelsAt), compression == kBmpRle4, width, height,
                      [&](int x, int fromBottom, unsigned index) {
                          return putIndex(result.Row(static_cast<int>(height) - 1 - fromBottom) + 3 * x, index);
                      });
        if (!ok) return fail("bitmap palette index out of range");
        image = std::move(result);
        error.clear();
        return true;
    }
    for (int row = 0; row < height; ++row) {
        const unsigned char* src = base + row * stride;
        const int y = topDown ? row : static_cast<int>(height) - 1 - row;
        std::uint8_t* dst = result.Row(y);
        for (int x = 0; x < width; ++x, dst += 3) {
            if (fields) {
                const unsigned char* p = src + x * (bpp / 8);
                const std::uint32_t v =
                    bpp == 16 ? p[0] | (p[1] << 8) : p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
                dst[0] = channel[2].Of(v, masks[2]);
                dst[1] = channel[1].Of(v, masks[1]);
                dst[2] = channel[0].Of(v, masks[0]);
                continue;
            }
            if (bpp >= 24) {
                const unsigned char* p = src + x * (bpp / 8);
                dst[0] = p[0];
                dst[1] = p[1];
                dst[2] = p[2];
                continue;
            }
            const int bit = x * static_cast<int>(bpp);
            const unsigned index = (src[bit / 8] >> (8 - static_cast<int>(bpp) - bit % 8)) & ((1u << bpp) - 1);
            if (!putIndex(dst, index)) return fail("bitmap palette index out of range");
        }
    }
    image = std::move(result);
    error.clear();
    return true;
}

}  // namespace kes

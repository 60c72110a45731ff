#include "Bmp.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace kes {

namespace {

void Put16(std::string& s, std::uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// The colours of an image in order of first appearance, and each colour's index.
struct Palette {
    std::vector<std::int32_t> colours;
    std::unordered_map<std::int32_t, unsigned> index;
    Palette(const PixelBuffer& image, unsigned most) {
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) {
                const std::int32_t c = image.GetPixel(x, y);
                if (index.emplace(c, static_cast<unsigned>(colours.size())).second) colours.push_back(c);
            }
        if (colours.size() > most) throw std::invalid_argument("too many colours for the palette");
    }
    unsigned At(const PixelBuffer& image, int x, int y) const { return index.at(image.GetPixel(x, y)); }
};

// File header and 40-byte information header; `extra` (masks, palette) follows them, then the pixels.
std::string Headers(const PixelBuffer& image, int bpp, bool topDown, std::uint32_t compression,
                    const std::string& extra, std::size_t pixelBytes, std::uint32_t paletteCount) {
    const std::size_t pixelsAt = kBmpFileHeader + 40 + extra.size();
    std::string out = "BM";
    Put32(out, static_cast<std::uint32_t>(pixelsAt + pixelBytes));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(pixelsAt));
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(image.Width()));
    Put32(out, static_cast<std::uint32_t>(topDown ? -image.Height() : image.Height()));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bpp));
    Put32(out, compression);
    Put32(out, static_cast<std::uint32_t>(pixelBytes));
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, paletteCount);
    Put32(out, 0);
    return out + extra;
}

std::string PaletteBytes(const Palette& palette) {
    std::string out;
    for (std::int32_t c : palette.colours) {
        out.push_back(static_cast<char>((c >> 16) & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back('\0');
    }
    return out;
}

}  // namespace

std::string WriteBmp(const PixelBuffer& image, int bitsPerPixel, bool topDown) {
    const int bpp = bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        throw std::invalid_argument("unsupported bits per pixel");
    const int w = image.Width(), h = image.Height();
    const Palette palette = bpp <= 8 ? Palette(image, 1u << bpp) : Palette(PixelBuffer(), 0);
    std::string extra = PaletteBytes(palette);
    if (bpp == 16) {
        extra.clear();
        Put32(extra, 0xF800);
        Put32(extra, 0x07E0);
        Put32(extra, 0x001F);
    }
    const auto stride = static_cast<std::size_t>(BmpRowBytes(w, bpp));
    std::string out = Headers(image, bpp, topDown, bpp == 16 ? kBmpBitFields : kBmpRgb, extra,
                              stride * static_cast<std::size_t>(h), static_cast<std::uint32_t>(palette.colours.size()));
    std::string row(stride, '\0');
    for (int r = 0; r < h; ++r) {
        const int y = topDown ? r : h - 1 - r;
        std::fill(row.begin(), row.end(), '\0');
        const std::uint8_t* src = image.Row(y);
        for (int x = 0; x < w; ++x, src += 3) {
            if (bpp == 16) {  // 5-6-5, the top bits of each channel
                const unsigned v = ((src[2] >> 3) << 11) | ((src[1] >> 2) << 5) | (src[0] >> 3);
                row[static_cast<std::size_t>(2 * x)] = static_cast<char>(v & 0xFF);
                row[static_cast<std::size_t>(2 * x + 1)] = static_cast<char>(v >> 8);
                continue;
            }
            if (bpp >= 24) {
                char* p = row.data() + x * (bpp / 8);
                p[0] = static_cast<char>(src[0]);
                p[1] = static_cast<char>(src[1]);
                p[2] = static_cast<char>(src[2]);
                continue;
            }
            const unsigned v = palette.At(image, x, y);
            const int bit = x * bpp;
            row[static_cast<std::size_t>(bit / 8)] =
                static_cast<char>(row[static_cast<std::size_t>(bit / 8)] | (v << (8 - bpp - bit % 8)));
        }
        out += row;
    }
    return out;
}

std::string WriteBmpRle(const PixelBuffer& image, int bitsPerPixel) {
    const int bpp = bitsPerPixel;
    if (bpp != 4 && bpp != 8) throw std::invalid_argument("run-length bitmaps have 4 or 8 bits per pixel");
    const Palette palette(image, 1u << bpp);
    const int w = image.Width(), h = image.Height();
    std::string pixels;
    auto byte = [&](unsigned v) { pixels.push_back(static_cast<char>(v)); };
    for (int y = h - 1; y >= 0; --y) {
        int x = 0;
        while (x < w) {
            int run = 1;
            while (x + run < w && run < 255 && palette.At(image, x + run, y) == palette.At(image, x, y)) ++run;
            int literal = 0;  // pixels that differ from their right neighbour, kept as they stand
            while (run == 1 && x + literal < w && literal < 254 &&
                   (x + literal + 1 == w || palette.At(image, x + literal, y) != palette.At(image, x + literal + 1, y)))
                ++literal;
            if (literal >= 3) {
                byte(0);
                byte(static_cast<unsigned>(literal));
                std::string packed;
                for (int i = 0; i < literal; ++i) {
                    const unsigned v = palette.At(image, x + i, y);
                    if (bpp == 8)
                        packed.push_back(static_cast<char>(v));
                    else if (i % 2 == 0)
                        packed.push_back(static_cast<char>(v << 4));
                    else
                        packed.back() = static_cast<char>(packed.back() | v);
                }
                if (packed.size() % 2) packed.push_back('\0');
                pixels += packed;
                x += literal;
                continue;
            }
            const unsigned v = palette.At(image, x, y);
            byte(static_cast<unsigned>(run));
            byte(bpp == 8 ? v : (v << 4) | v);
            x += run;
        }
        byte(0);
        byte(y == 0 ? 1 : 0);  // end of line, or of the bitmap after the top row
    }
    return Headers(image, bpp, false, bpp == 8 ? kBmpRle8 : kBmpRle4, PaletteBytes(palette), pixels.size(),
                   static_cast<std::uint32_t>(palette.colours.size())) +
           pixels;
}

}  // namespace kes

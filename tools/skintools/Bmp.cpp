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

}  // namespace

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
    const auto stride = static_cast<std::size_t>(BmpRowBytes(w, bpp));
    const std::size_t pixelsAt = kBmpFileHeader + 40 + 4 * palette.size();
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
    Put32(out, kBmpRgb);
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

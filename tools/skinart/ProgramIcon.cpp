// The program's icon: a small graphite window with an amber edge and caption line, and the terminal's
// prompt on its black screen, drawn at every size the system asks for (anti-aliased by 4 x 4 samples).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "Palette.h"
#include "SkinArt.h"

namespace kes::art {

namespace {

const Palette P;
constexpr int kSamples = 4;

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

bool InRounded(double x, double y, double size, double radius) {
    const double cx = std::clamp(x, radius, size - radius), cy = std::clamp(y, radius, size - radius);
    return std::hypot(x - cx, y - cy) <= radius;
}

// The colour at a point of the icon drawn on a 16-unit grid; nothing outside its rounded outline.
std::optional<Colour> IconAt(double x, double y) {
    if (!InRounded(x, y, 16.0, 3.0)) return std::nullopt;
    if (!InRounded(x - 1.0, y - 1.0, 14.0, 2.0)) return P.amber;  // the edge
    if (y < 4.5) return y < 1.9 ? P.bandHi : P.band;              // the caption band
    if (y < 5.2) return P.bandSep;
    const Colour prompt = P.amberHot;
    const double stroke = 0.85;
    if (SegmentDistance(x, y, 4.0, 7.3, 7.2, 9.8) <= stroke || SegmentDistance(x, y, 7.2, 9.8, 4.0, 12.3) <= stroke)
        return prompt;
    if (SegmentDistance(x, y, 8.8, 12.3, 12.0, 12.3) <= stroke) return prompt;
    return Rgb(6, 6, 8);  // the terminal's black screen
}

void Put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

// One image of the icon file: a 32-bit bottom-up bitmap with alpha, then its AND mask.
std::string IconImage(int size) {
    std::string xorBits, andBits;
    const int maskStride = ((size + 31) / 32) * 4;
    for (int row = size - 1; row >= 0; --row) {
        std::string maskRow(static_cast<std::size_t>(maskStride), '\0');
        for (int col = 0; col < size; ++col) {
            double r = 0, g = 0, b = 0;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double u = 16.0 / size;
                    const auto c = IconAt((col + (sx + 0.5) / kSamples) * u, (row + (sy + 0.5) / kSamples) * u);
                    if (!c) continue;
                    ++covered;
                    r += *c & 0xFF;
                    g += (*c >> 8) & 0xFF;
                    b += (*c >> 16) & 0xFF;
                }
            const int n = std::max(covered, 1);
            xorBits += static_cast<char>(std::lround(b / n));
            xorBits += static_cast<char>(std::lround(g / n));
            xorBits += static_cast<char>(std::lround(r / n));
            xorBits += static_cast<char>(covered * 255 / (kSamples * kSamples));
            if (covered == 0) maskRow[static_cast<std::size_t>(col / 8)] |= static_cast<char>(0x80 >> (col % 8));
        }
        andBits += maskRow;
    }
    std::string out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(2 * size));  // the colour bits and the mask
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(xorBits.size() + andBits.size()));
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    return out + xorBits + andBits;
}

}  // namespace

std::string ProgramIcon() {
    const int sizes[] = {16, 20, 24, 32, 48};
    const int count = static_cast<int>(std::size(sizes));
    std::string head, images;
    Put16(head, 0);
    Put16(head, 1);
    Put16(head, static_cast<std::uint16_t>(count));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(count);
    for (int size : sizes) {
        const std::string image = IconImage(size);
        head += static_cast<char>(size);
        head += static_cast<char>(size);
        head += '\0';  // no palette
        head += '\0';
        Put16(head, 1);
        Put16(head, 32);
        Put32(head, static_cast<std::uint32_t>(image.size()));
        Put32(head, offset);
        offset += static_cast<std::uint32_t>(image.size());
        images += image;
    }
    return head + images;
}

}  // namespace kes::art

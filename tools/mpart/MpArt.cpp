#include "MpArt.h"

#include <cmath>
#include <cstdlib>
#include <functional>

namespace kes::mpart {

namespace {

constexpr int Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

constexpr int kRim = Rgb(32, 32, 36);
constexpr int kLight = Rgb(224, 224, 228);
constexpr int kGrey = Rgb(128, 128, 132);
constexpr int kShadow = Rgb(255, 255, 255);

using Shape = std::function<bool(int x, int y)>;

// A triangle pointing right with its base at x0, rows y0 .. y1 (odd count), its apex in the middle row `slope`
// pixels further right per row.
bool Right(int x, int y, int x0, int y0, int y1, int slope = 1) {
    const int mid = (y0 + y1) / 2, half = (y1 - y0) / 2;
    return y >= y0 && y <= y1 && x >= x0 && x <= x0 + slope * (half - std::abs(y - mid));
}

struct Kind {
    const char* name;
    int colour;
    Shape shape;
};

const std::vector<Kind>& Kinds() {
    static const std::vector<Kind> kinds = {
        {"MPPLAY", Rgb(48, 184, 72), [](int x, int y) { return Right(x, y, 4, 1, 9, 2); }},
        {"MPPAUSE", Rgb(232, 172, 40),
         [](int x, int y) { return y >= 1 && y <= 9 && (x == 4 || x == 5 || x == 9 || x == 10); }},
        {"MPSTOP", Rgb(208, 48, 48), [](int x, int y) { return x >= 3 && x <= 11 && y >= 1 && y <= 9; }},
        {"MPNEXT", Rgb(64, 128, 224),
         [](int x, int y) {
             return Right(x, y, 2, 2, 8) || Right(x, y, 6, 2, 8) || (x >= 10 && x <= 11 && y >= 2 && y <= 8);
         }},
        {"MPPREV", Rgb(64, 128, 224),
         [](int x, int y) {
             const int m = 14 - x;
             return Right(m, y, 2, 2, 8) || Right(m, y, 6, 2, 8) || (m >= 10 && m <= 11 && y >= 2 && y <= 8);
         }},
        {"MPSTEP", Rgb(40, 176, 196), [](int x, int y) { return Right(x, y, 2, 1, 9) || Right(x, y, 7, 1, 9); }},
        {"MPBACK", Rgb(40, 176, 196),
         [](int x, int y) { return Right(14 - x, y, 2, 1, 9) || Right(14 - x, y, 7, 1, 9); }},
        {"MPRECORD", Rgb(224, 32, 32), [](int x, int y) { return std::hypot(x - 7, y - 5) <= 4.3; }},
        {"MPEJECT", Rgb(160, 96, 208),
         [](int x, int y) {
             return (y >= 1 && y <= 5 && std::abs(x - 7) <= y - 1) || (y >= 7 && y <= 8 && x >= 3 && x <= 11);
         }},
    };
    return kinds;
}

bool Near(const Shape& s, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (s(x + dx, y + dy)) return true;
    return false;
}

// body over a rim of rimColour (0: no rim).
PixelBuffer Outlined(const Shape& s, int body, int rimColour) {
    PixelBuffer img(kWidth, kHeight);
    img.FillRect({0, 0, kWidth, kHeight}, kBackground);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (s(x, y))
                img.SetPixel(x, y, body);
            else if (rimColour && Near(s, x, y))
                img.SetPixel(x, y, rimColour);
        }
    return img;
}

// Grey, with a light copy one pixel down and right under it.
PixelBuffer Disabled(const Shape& s) {
    PixelBuffer img(kWidth, kHeight);
    img.FillRect({0, 0, kWidth, kHeight}, kBackground);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (s(x, y))
                img.SetPixel(x, y, kGrey);
            else if (s(x - 1, y - 1))
                img.SetPixel(x, y, kShadow);
        }
    return img;
}

}  // namespace

std::vector<MediaGlyphArt> DrawMediaGlyphs() {
    std::vector<MediaGlyphArt> out;
    for (const Kind& k : Kinds()) {
        out.push_back({std::string("EN_") + k.name, Outlined(k.shape, kLight, kRim)});
        out.push_back({std::string("DI_") + k.name, Disabled(k.shape)});
        out.push_back({std::string("CL_") + k.name, Outlined(k.shape, k.colour, kRim)});
    }
    return out;
}

std::string MediaResourceScript(const std::vector<MediaGlyphArt>& glyphs, const std::string& folder) {
    std::string rc = "// The media player's button glyphs, drawn by kestrup-mpart.\n";
    for (const MediaGlyphArt& g : glyphs) rc += g.Name + " BITMAP \"" + folder + "/" + g.Name + ".bmp\"\n";
    return rc;
}

}  // namespace kes::mpart

#include "LedArt.h"

#include <algorithm>
#include <cmath>

namespace kes::ledart {

namespace {

struct Rgb {
    int r, g, b;
};

int Pack(Rgb c) { return (c.r & 0xFF) | ((c.g & 0xFF) << 8) | ((c.b & 0xFF) << 16); }
Rgb Mix(Rgb a, Rgb b, double t) {
    auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}
Rgb Scale(Rgb c, double f) { return Mix({0, 0, 0}, c, f); }

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kOutline{48, 48, 48};

// Three shades of a lens: lit side, body, shaded side.
struct Shades {
    Rgb light, body, dark, highlight;
};

Shades LensShades(Rgb colour, bool on) {
    if (on) return {Mix(colour, kWhite, 0.45), colour, Scale(colour, 0.7), kWhite};
    const Rgb base = Mix({40, 40, 40}, colour, 0.3);
    return {Mix(base, kWhite, 0.15), base, Scale(base, 0.7), Mix(base, kWhite, 0.45)};
}

// Fills a round lens of radius `r` around (cx, cy), shaded from the upper left.
void DrawLens(PixelBuffer& img, double cx, double cy, double r, const Shades& s, bool outline) {
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const double d = std::hypot(x - cx, y - cy);
            if (d > r) continue;
            if (outline && d > r - 1.0) {
                img.SetPixel(x, y, Pack(kOutline));
                continue;
            }
            const double lit = std::hypot(x - (cx - 2), y - (cy - 2));
            const Rgb c = lit < r * 0.45 ? s.light : lit < r * 0.95 ? s.body : s.dark;
            img.SetPixel(x, y, Pack(c));
        }
    img.SetPixel(static_cast<int>(cx) - 2, static_cast<int>(cy) - 2, Pack(s.highlight));
    img.SetPixel(static_cast<int>(cx) - 3, static_cast<int>(cy) - 2, Pack(s.highlight));
    img.SetPixel(static_cast<int>(cx) - 2, static_cast<int>(cy) - 3, Pack(s.highlight));
}

PixelBuffer Blank() {
    PixelBuffer img(kSide, kSide);
    img.FillRect({0, 0, kSide, kSide}, kBackground);
    return img;
}

PixelBuffer DrawLight(Rgb colour, bool on) {
    PixelBuffer img = Blank();
    DrawLens(img, 7, 7, 6.6, LensShades(colour, on), true);
    return img;
}

PixelBuffer DrawBulb(bool on) {
    PixelBuffer img = Blank();
    const Shades glass = on ? Shades{{255, 255, 170}, {255, 224, 40}, {224, 168, 0}, kWhite}
                            : Shades{{236, 236, 236}, {200, 200, 204}, {160, 160, 166}, kWhite};
    DrawLens(img, 7, 5.5, 5.6, glass, false);
    // Filament.
    const Rgb wire = on ? Rgb{255, 96, 0} : Rgb{96, 96, 96};
    for (int x = 6; x <= 8; ++x) img.SetPixel(x, 6, Pack(wire));
    img.SetPixel(6, 7, Pack(wire));
    img.SetPixel(8, 7, Pack(wire));
    // Neck and screw base.
    const Rgb metal{168, 168, 168}, groove{104, 104, 104};
    for (int y = 10; y <= 13; ++y)
        for (int x = 5; x <= 9; ++x) img.SetPixel(x, y, Pack(y % 2 == 0 ? metal : groove));
    for (int x = 6; x <= 8; ++x) img.SetPixel(x, 14, Pack(kOutline));
    return img;
}

}  // namespace

std::vector<LedGlyphArt> DrawLedGlyphs() {
    struct Light {
        const char* name;
        Rgb colour;
    };
    static const Light lights[] = {{"RED", {220, 16, 16}},
                                   {"GREEN", {16, 200, 40}},
                                   {"BLUE", {24, 80, 255}},
                                   {"YELLOW", {255, 216, 0}},
                                   {"PURPLE", {168, 24, 208}}};
    std::vector<LedGlyphArt> out;
    for (const Light& l : lights) {
        out.push_back({std::string("LED") + l.name + "ON", DrawLight(l.colour, true)});
        out.push_back({std::string("LED") + l.name + "OFF", DrawLight(l.colour, false)});
    }
    out.push_back({"LEDBULBON", DrawBulb(true)});
    out.push_back({"LEDBULBOFF", DrawBulb(false)});
    return out;
}

std::string LedResourceScript(const std::vector<LedGlyphArt>& glyphs, const std::string& folder) {
    std::string rc = "// The port lamp's glyphs, drawn by kestrup-ledart.\n";
    for (const LedGlyphArt& g : glyphs) rc += g.Name + " BITMAP \"" + folder + "/" + g.Name + ".bmp\"\n";
    return rc;
}

}  // namespace kes::ledart

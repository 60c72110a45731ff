#pragma once
// The twelve status-lamp glyphs of the port lamp, drawn by code: 15 by 15 pixels, at most 16 colours each,
// magenta around the lamp (the bottom-left pixel, which the lamp draws transparent).
#include <string>
#include <vector>

#include "skin/container/PixelBuffer.h"

namespace kes::ledart {

constexpr int kSide = 15;
constexpr int kBackground = 0xFF00FF;

struct LedGlyphArt {
    std::string Name;  // the resource name, "LEDREDON" ...
    PixelBuffer Image;
};

// The six built-in kinds (red, green, blue, yellow, purple light, bulb), "on" before "off" for each.
std::vector<LedGlyphArt> DrawLedGlyphs();

// The resource script that stores each glyph file `<folder>/<Name>.bmp` as a bitmap resource named Name.
std::string LedResourceScript(const std::vector<LedGlyphArt>& glyphs, const std::string& folder);

}  // namespace kes::ledart

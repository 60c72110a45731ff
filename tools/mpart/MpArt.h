#pragma once
// The media player's 27 button glyphs, drawn by code: nine kinds (play, pause, stop, next, previous, step,
// back, record, eject), each enabled, disabled and coloured, 15 by 11 pixels, at most 16 colours, on olive
// (0x008080, the colour the player leaves out). Enabled glyphs are light with a dark rim and coloured ones take
// a colour of their own, so both read on a light system face and on a dark skin face; disabled ones are grey
// with a light shadow.
#include <string>
#include <vector>

#include "skin/container/PixelBuffer.h"

namespace kes::mpart {

constexpr int kWidth = 15, kHeight = 11;
constexpr int kBackground = 0x008080;

struct MediaGlyphArt {
    std::string Name;  // the resource name, "EN_MPPLAY" ...
    PixelBuffer Image;
};

// Kind by kind, enabled, disabled and coloured for each.
std::vector<MediaGlyphArt> DrawMediaGlyphs();

// The resource script that stores each glyph file `<folder>/<Name>.bmp` as a bitmap resource named Name.
std::string MediaResourceScript(const std::vector<MediaGlyphArt>& glyphs, const std::string& folder);

}  // namespace kes::mpart

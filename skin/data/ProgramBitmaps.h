#pragma once
// The program's own bitmaps that the skin engine falls back on: the track-bar grooves "TRACK" and
// "TRACKVERT" (used when a skin has no groove of its own) and the menu glyphs "GLASMEREMENU" (restore,
// maximize, minimize and close, 16 x 16 each, black on white). The Windows program stores them as bitmap
// resources made from these pictures; the native build draws them from here.
#include <string>

#include "skin/container/PixelBuffer.h"

namespace kes {

// The bitmap of that name (letter case of A-Z ignored); false for another name.
bool DrawProgramBitmap(const std::string& name, PixelBuffer& image);

// The names above, in this order.
const char* const kProgramBitmapNames[] = {"TRACK", "TRACKVERT", "GLASMEREMENU"};

}  // namespace kes

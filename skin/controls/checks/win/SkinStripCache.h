#pragma once
// Bitmaps of skin images made once per skin: the controls that draw a small strip on every paint (check boxes,
// radio buttons, progress and track bars) take the bitmap of the image from here instead of copying the image
// into a new bitmap each time. An entry is made again when the image it was made from changed (a new skin);
// the bitmaps are counted skin bitmaps (SkinGdi) and live until the program ends. GUI thread only.
#include "gui/win/Canvas.h"
#include "skin/container/PixelBuffer.h"

namespace kes {

// The bitmap of image; null when the image is empty or no bitmap could be made.
TBitmap* CachedSkinBitmap(const PixelBuffer& image);

}  // namespace kes

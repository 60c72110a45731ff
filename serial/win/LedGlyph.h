#pragma once
// The lamp's glyph on Windows: a bitmap of the window layer.
#include "gui/win/Canvas.h"

namespace kes {

class TLedGlyph : public TBitmap {
    KES_CLASS(TLedGlyph, TBitmap)
public:
    using TBitmap::TBitmap;
};

}  // namespace kes

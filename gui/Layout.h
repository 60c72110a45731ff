#pragma once
// Layout arithmetic of the window layer: docking (Align) and centring. No windows involved.
#include <vector>

#include "gui/Graphics.h"

namespace kes {

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct TAlignItem {
    TAlign Align = alNone;
    TRect Bounds;  // in: current place; out: docked place
    bool Visible = true;
};

// Docks the visible aligned items inside `client`: the top ones first (by their top edge), then the bottom
// ones (nearest the bottom first), the left, the right, and last the client ones, which fill what is left.
// Items of equal position keep their list order. Returns the rectangle left over.
TRect AlignRects(TRect client, std::vector<TAlignItem>& items);

// Top-left corner that centres a w by h box in `outer` (halves truncated toward zero).
TPoint CenterIn(const TRect& outer, int w, int h);

}  // namespace kes

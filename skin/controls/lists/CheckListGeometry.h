#pragma once
// A check list's item drawn from the skin's check-box strip: which frame shows the item's check state, and
// where the glyph and the text go in the item's rectangle.
#include "skin/container/PixelBuffer.h"

namespace kes {

// An item's check state as the list keeps it.
enum class CheckListState { Unchecked, Checked, Grayed };

// The frame (from 1) of a check strip of `frames` frames: unchecked 1, checked 2, grayed 4; in a 12-frame strip
// checked 5 and grayed 8. Always within the strip.
int CheckListFrame(CheckListState state, int frames);

struct CheckListItemParts {
    PixelRect Glyph;
    PixelRect Text;
};
// The glyph (glyphW x glyphH, centred vertically) 2 pixels in from the item's left edge and the text 2 pixels
// after it; mirrored for a right-to-left list: the glyph at the right edge, the text ending 2 pixels before it.
CheckListItemParts LayOutCheckListItem(const PixelRect& item, int glyphW, int glyphH, bool rightToLeft);

}  // namespace kes

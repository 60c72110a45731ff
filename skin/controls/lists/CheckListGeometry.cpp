#include "skin/controls/lists/CheckListGeometry.h"

#include <algorithm>

namespace kes {

int CheckListFrame(CheckListState state, int frames) {
    frames = std::max(frames, 1);
    int frame = 1;
    switch (state) {
    case CheckListState::Unchecked: frame = 1; break;
    case CheckListState::Checked: frame = frames == 12 ? 5 : 2; break;
    case CheckListState::Grayed: frame = frames == 12 ? 8 : 4; break;
    }
    return std::min(frame, frames);
}

CheckListItemParts LayOutCheckListItem(const PixelRect& item, int glyphW, int glyphH, bool rightToLeft) {
    glyphW = std::max(glyphW, 0);
    glyphH = std::max(glyphH, 0);
    const int top = item.Top + (item.Height() - glyphH) / 2;
    CheckListItemParts p;
    if (rightToLeft) {
        p.Glyph = {item.Right - glyphW, top, item.Right, top + glyphH};
        p.Text = {item.Left, item.Top, p.Glyph.Left - 2, item.Bottom};
    } else {
        p.Glyph = {item.Left + 2, top, item.Left + 2 + glyphW, top + glyphH};
        p.Text = {p.Glyph.Right + 2, item.Top, item.Right, item.Bottom};
    }
    return p;
}

}  // namespace kes

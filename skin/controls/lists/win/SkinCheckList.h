#pragma once
// The skinned check list (TCheckListBox): its window bars as every scrollable control's, and its items drawn
// here with the check-box glyphs of the skin's "Buttons" object, in place of the list's own drawing. A skin
// without check glyphs leaves the items to the list. GUI thread only.
#include "skin/controls/scrollbars/win/SkinScrollbar.h"

namespace kes {

class TSkinCheckList : public TSkinScrollbar {
    KES_CLASS(TSkinCheckList, TSkinScrollbar)
public:
    using TSkinScrollbar::TSkinScrollbar;

protected:
    bool BeforeMessage(TMessage& m) override;

private:
    // Draws one item; false when the list draws it itself.
    bool DrawItem(const DRAWITEMSTRUCT& di);
};

}  // namespace kes

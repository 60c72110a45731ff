#pragma once
// Check boxes and radio buttons drawn from the skin's strips: which frame of the strip shows a control's state,
// and where the box and the caption sit. The strips hold 4 frames (unchecked, checked, unchecked disabled,
// checked disabled), or the larger layouts of 8 frames (radio buttons) and 12 frames (check boxes) that also
// carry hot and pressed looks, of which only the resting states are drawn here.
#include <string>

#include "skin/container/PixelBuffer.h"

namespace kes {

// The state codes before the mapping onto a larger strip.
enum CheckCode : int { kCheckOff = 1, kCheckOn = 2, kCheckOffDisabled = 3, kCheckGrayed = 4 };

// What a check box shows, read from its window and (when it has one) its control object.
struct CheckBoxFacts {
    bool Checked = false;        // the window's state has BST_CHECKED
    bool Indeterminate = false;  // the window's state has BST_INDETERMINATE
    bool Disabled = false;       // WS_DISABLED
    bool HasState = false;       // the control's "State" property, lower-cased
    std::string State{};
    bool HasChecked = false;  // the control's "Checked" property
    bool CheckedTrue = false;
    bool HasDataField = false;  // a data-aware control: the last BM_SETCHECK (wParam + 1, 0 = none) counts
    int LastSet = 0;
    bool HasDataBinding = false;
};

// The frame (from 1) of a check strip of `frames` frames; always within the strip. A grayed box is grayed
// whether enabled or not (frames 9 and 12 of a 12-frame strip).
int CheckBoxFrame(const CheckBoxFacts& facts, int frames);
// The frame of a radio strip (no grayed state); always within the strip.
int RadioButtonFrame(bool checked, bool disabled, int frames);

// The box of a control's rectangle (window-relative) and the area left to its caption. The box is one frame
// (w x h) centred vertically, at the left, or at the right with BS_LEFTTEXT (a radio button's box one pixel in
// from the right edge).
struct CheckPlacement {
    PixelRect Box;
    PixelRect Text;
};
CheckPlacement PlaceCheckBox(const PixelRect& rect, int frameW, int frameH, bool leftText, bool radio);

}  // namespace kes

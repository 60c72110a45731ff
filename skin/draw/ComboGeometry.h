#pragma once
// Where a skinned combo box's pieces go, in the combo's own coordinates: the text area kept clear of the skin,
// the button and the arrow glyph's area, at the right or (left scroll bar) at the left; and the button state.
#include "skin/container/PixelBuffer.h"

namespace kes {

// Button state, the frame within a 4-frame group: 1 normal, 2 pressed, 3 disabled, 4 hot or focused.
// A disabled combo is always 3; then pressed; then hot or focused.
int ComboButtonState(bool enabled, bool pressed, bool hot, bool focused);

struct ComboParts {
    PixelRect Text;    // left out of the skin's painting
    PixelRect Button;  // the button's frame goes here; the mouse over it makes the combo hot
    PixelRect Glyph;   // the arrow glyph is centred here
    bool operator==(const ComboParts&) const = default;
};
// The parts of a combo occupying `r` whose button is arrow + 2 wide.
ComboParts ComboLayout(const PixelRect& r, int arrow, bool buttonLeft);

struct FlatComboParts {
    PixelRect Inner;   // r less 2 on every side
    PixelRect Strip;   // filled with the background behind the button, thumbWidth wide
    PixelRect Button;  // the button frame, stretched
    bool operator==(const FlatComboParts&) const = default;
};
// The flat look: a button frameWidth wide at the button side of the inner rectangle, imageHeight high from
// its top when the image is lower than thumbWidth.
FlatComboParts FlatComboLayout(const PixelRect& r, int frameWidth, int imageHeight, int thumbWidth, bool buttonLeft);

}  // namespace kes

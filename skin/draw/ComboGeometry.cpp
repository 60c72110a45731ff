#include "ComboGeometry.h"

namespace kes {

int ComboButtonState(bool enabled, bool pressed, bool hot, bool focused) {
    if (!enabled) return 3;
    if (pressed) return 2;
    return hot || focused ? 4 : 1;
}

ComboParts ComboLayout(const PixelRect& r, int arrow, bool buttonLeft) {
    if (buttonLeft) {
        const PixelRect button{r.Left, r.Top, r.Left + arrow + 2, r.Bottom};
        return {{r.Left + arrow + 4, r.Top + 2, r.Right - 2, r.Bottom - 2},
                button,
                {r.Left + 2, button.Top, r.Left + arrow + 2, button.Bottom}};
    }
    const PixelRect button{r.Right - arrow - 2, r.Top, r.Right, r.Bottom};
    return {{r.Left + 2, r.Top + 2, r.Right - arrow - 4, r.Bottom - 2},
            button,
            {button.Left, button.Top, r.Right - 2, button.Bottom}};
}

FlatComboParts FlatComboLayout(const PixelRect& r, int frameWidth, int imageHeight, int thumbWidth, bool buttonLeft) {
    FlatComboParts parts;
    const PixelRect in{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
    parts.Inner = in;
    parts.Strip = buttonLeft ? PixelRect{in.Left, in.Top, in.Left + thumbWidth, in.Bottom}
                             : PixelRect{in.Right - thumbWidth, in.Top, in.Right, in.Bottom};
    parts.Button = buttonLeft ? PixelRect{in.Left, in.Top, in.Left + frameWidth, in.Bottom}
                              : PixelRect{in.Right - frameWidth, in.Top, in.Right, in.Bottom};
    if (imageHeight < thumbWidth) parts.Button.Bottom = parts.Button.Top + imageHeight;
    return parts;
}

}  // namespace kes

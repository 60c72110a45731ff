#pragma once
// Where the pieces of the skinned input controls go: the two arrow halves of an up-down with their states and
// frames, an up-down kept inside the edit that holds it, the border an edit or date picker gets, and the
// place of the date picker's arrow button.
#include <array>
#include <string>

#include "skin/container/PixelBuffer.h"

namespace kes {

// One arrow of an up-down: its half of the control and its part code (0 up, 1 down, 2 left, 3 right), which
// is also the direction of the plain arrow glyph.
struct UpDownHalf {
    PixelRect Rect;
    int Part = 0;
    bool operator==(const UpDownHalf&) const = default;
};
// The halves of a width x height up-down: top and bottom, or left and right for a horizontal one.
std::array<UpDownHalf, 2> UpDownHalves(int width, int height, bool horizontal);

// A half's state (1 normal, 2 pressed, 3 disabled, 4 hot): only the half under the cursor shows the press or
// the hot mark; a disabled up-down is 3 in both halves.
int UpDownHalfState(bool cursorInside, bool pressed, bool hot, bool enabled);
// The frame of the 8-frame arrow strip: frames 1-4 the first arrow (up or left), 5-8 the second.
int UpDownFrame(int state, int part);

// `rect` (the child's own coordinates, the child lying at `child` in the same coordinates as `parent`)
// pulled in so that at least `margin` pixels of the parent remain above, below and to the right of it.
PixelRect PullInside(const PixelRect& rect, const PixelRect& child, const PixelRect& parent, int margin);

// A child window class (lower case) that an edit holds as its up-down: "msctls_updown32", or any class with
// "spin" or "updown" in its name.
bool IsUpDownClass(const std::string& lowerClass);

// A window has a border to skin when its client area is smaller than the window in both directions.
bool HasSkinBorder(int windowWidth, int windowHeight, int clientWidth, int clientHeight);
// An edit printed into a DC (WM_PRINT) gets the border only when its client area leaves at least 2 pixels in
// both directions.
bool HasPrintBorder(int windowWidth, int windowHeight, int clientWidth, int clientHeight);

// The left edge of a date picker's arrow button of width `arrow`: 2 from the left with the scroll bar at the
// left, else 4 from the right edge of a picker `width` wide.
int ArrowButtonLeft(int width, int arrow, bool leftScrollBar);

}  // namespace kes

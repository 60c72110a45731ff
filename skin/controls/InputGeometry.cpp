#include "InputGeometry.h"

#include <algorithm>

namespace kes {

std::array<UpDownHalf, 2> UpDownHalves(int width, int height, bool horizontal) {
    if (horizontal) return {{{{0, 0, width / 2, height}, 2}, {{width / 2, 0, width, height}, 3}}};
    return {{{{0, 0, width, height / 2}, 0}, {{0, height / 2, width, height}, 1}}};
}

int UpDownHalfState(bool cursorInside, bool pressed, bool hot, bool enabled) {
    if (!enabled) return 3;
    if (!cursorInside) return 1;
    if (pressed) return 2;
    return hot ? 4 : 1;
}

int UpDownFrame(int state, int part) { return state + 4 * (part % 2); }

PixelRect PullInside(const PixelRect& rect, const PixelRect& child, const PixelRect& parent, int margin) {
    PixelRect r = rect;
    r.Top += std::max(0, parent.Top + margin - child.Top);
    r.Bottom -= std::max(0, child.Bottom - (parent.Bottom - margin));
    r.Right -= std::max(0, child.Right - (parent.Right - margin));
    return r;
}

bool IsUpDownClass(const std::string& cls) {
    return cls == "msctls_updown32" || cls.find("spin") != std::string::npos || cls.find("updown") != std::string::npos;
}

bool HasSkinBorder(int windowWidth, int windowHeight, int clientWidth, int clientHeight) {
    return windowWidth != clientWidth && windowHeight != clientHeight;
}

bool HasPrintBorder(int windowWidth, int windowHeight, int clientWidth, int clientHeight) {
    return clientWidth <= windowWidth - 2 && clientHeight <= windowHeight - 2;
}

int ArrowButtonLeft(int width, int arrow, bool leftScrollBar) { return leftScrollBar ? 2 : width - arrow - 4; }

}  // namespace kes

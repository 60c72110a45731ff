#include "TabGeometry.h"

namespace kes {

TabOrientation ReadOrientation(unsigned style) {
    const bool bottom = (style & kTabStyleBottom) != 0, vertical = (style & kTabStyleVertical) != 0;
    if (vertical) return bottom ? TabOrientation::Right : TabOrientation::Left;
    return bottom ? TabOrientation::Bottom : TabOrientation::Top;
}

PixelRect TabPane(const PixelRect& displayArea, TabOrientation side) {
    PixelRect p{displayArea.Left - 4, displayArea.Top - 4, displayArea.Right + 4, displayArea.Bottom + 4};
    switch (side) {
    case TabOrientation::Top: p.Top += 1; break;
    case TabOrientation::Bottom: p.Bottom -= 1; break;
    case TabOrientation::Left: p.Left += 1; break;
    case TabOrientation::Right: p.Right -= 1; break;
    }
    return p;
}

PixelRect TabStrip(const PixelRect& r, const PixelRect& p, TabOrientation side) {
    switch (side) {
    case TabOrientation::Top: return {r.Left, r.Top, r.Right, p.Top};
    case TabOrientation::Bottom: return {r.Left, p.Bottom, r.Right, r.Bottom};
    case TabOrientation::Left: return {r.Left, r.Top, p.Left, r.Bottom};
    case TabOrientation::Right: return {p.Right, r.Top, r.Right, r.Bottom};
    }
    return {};
}

TabWorkSize WorkSize(const PixelRect& strip, TabOrientation side) {
    if (side == TabOrientation::Left || side == TabOrientation::Right) return {strip.Height(), strip.Width()};
    return {strip.Width(), strip.Height()};
}

PixelRect TabInWork(const PixelRect& t, TabOrientation side, const PixelRect& r, const PixelRect& p,
                    const TabWorkSize& work) {
    switch (side) {
    case TabOrientation::Top: return {t.Left, t.Top + 1, t.Right, t.Bottom + 1};
    case TabOrientation::Bottom: return {t.Left, t.Top - p.Bottom - 1, t.Right, t.Bottom - p.Bottom - 1};
    // Drawn upright: the bitmap is turned counter-clockwise (left) or clockwise (right) before it is copied.
    case TabOrientation::Left: return {work.Width - t.Bottom, t.Left, work.Width - t.Top, t.Right};
    case TabOrientation::Right: return {t.Top - 1, r.Right - t.Right, t.Bottom - 1, r.Right - t.Left};
    }
    return t;
}

}  // namespace kes

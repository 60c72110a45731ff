#include "skin/controls/ScrollbarPaint.h"

namespace kes {

namespace {

// A span along the axis, `breadth` across, turned to the bar's orientation.
PixelRect Along(const ScrollbarLook& look, int start, int end) {
    return look.Vertical ? PixelRect{0, start, look.Breadth, end} : PixelRect{start, 0, end, look.Breadth};
}

}  // namespace

ScrollbarPicture PlanScrollbar(const ScrollbarLook& look) {
    ScrollbarPicture p;
    const int length = look.Length;
    // The track lies between the arrows as the system sizes them; a bar too short for two has none.
    if (length - 2 * look.Arrow > 0) p.Track = {Along(look, look.Arrow, length - look.Arrow), look.Enabled ? 1 : 3};
    const int a = ArrowLength(length, look.Arrow);
    p.FirstArrow = {Along(look, 0, a),
                    ArrowFrame(false, look.Vertical, look.Hot == kScrollFirstArrow, look.Pressed)};
    p.SecondArrow = {Along(look, length - a, length),
                     ArrowFrame(true, look.Vertical, look.Hot == kScrollSecondArrow, look.Pressed)};
    const ThumbSpan& t = look.Thumb;
    if (!look.Enabled || t.Length() <= 0) return p;
    const bool thumbHot = look.Hot == kScrollThumb;
    const auto inside = [&](int start, int end) { return start < look.Extent && end < look.Extent; };
    if (inside(t.Start, t.End)) p.Thumb = {Along(look, t.Start, t.End), ThumbFrame(thumbHot, look.Pressed)};
    const int g = GripStart(t, look.GripLength);
    if (g >= 0 && inside(g, g + look.GripLength))
        p.Grip = {Along(look, g, g + look.GripLength), GripFrame(look.Vertical, thumbHot, look.Pressed)};
    return p;
}

ThumbSpan OverlayThumb(const ScrollbarLook& look, const ThumbSpan& system, const ThumbSpan& atPress, int moved) {
    if (!look.Pressed || look.Hot != kScrollThumb) return system;
    return DragThumb(atPress, moved, look.Length, look.Arrow);
}

namespace {
enum : unsigned {
    kMouseMove = 0x0200,
    kLButtonUp = 0x0202,
    kNcMouseMove = 0x00A0,
    kNcLButtonUp = 0x00A2,
    kKeyDown = 0x0100,
    kCaptureChanged = 0x0215,
    kCancelMode = 0x001F,
    kShowWindow = 0x0018,
    kEscape = 0x1B,
};
}  // namespace

ListDragStep ListDragStepFor(unsigned msg, uintptr_t wParam) {
    switch (msg) {
    case kMouseMove:
    case kNcMouseMove: return ListDragStep::Track;
    case kLButtonUp:
    case kNcLButtonUp: return ListDragStep::Finish;
    case kKeyDown: return wParam == kEscape ? ListDragStep::Cancel : ListDragStep::Dispatch;
    default: return ListDragStep::Dispatch;
    }
}

bool EndsListDrag(unsigned msg, uintptr_t wParam, intptr_t lParam, intptr_t list) {
    switch (msg) {
    case kCaptureChanged: return lParam != list;
    case kCancelMode: return true;
    case kShowWindow: return wParam == 0;
    default: return false;
    }
}

}  // namespace kes

#pragma once
// What a skinned scroll bar shows, decided from what the system reports: the pieces (track, arrows, thumb,
// grip) with their places on the bar's bitmap and their frames, and how the drop-down list's own thumb drag
// takes each message while it runs. The overlays and the drop-down list bar only draw these pieces.
#include <cstdint>

#include "skin/container/PixelBuffer.h"
#include "skin/draw/ScrollbarGeometry.h"

namespace kes {

// One bar as it is to be painted; lengths along the bar's axis.
struct ScrollbarLook {
    int Length = 0;        // the bar's extent along its axis
    int Breadth = 0;       // its cross extent as painted (ScrollBreadth)
    int Arrow = 0;         // the system's arrow size
    bool Vertical = false;
    bool Enabled = true;
    ThumbSpan Thumb;       // where the thumb is, bar coordinates
    ScrollPart Hot = kScrollNone;
    bool Pressed = false;
    int GripLength = 0;    // the "Scrollbar" image's height; 0: no grip
    int Extent = 0;        // the window's extent along the axis; thumb and grip reaching past it are not drawn
};

// A piece of the bar: where it goes on the bar's bitmap and which frame of its image it shows; not drawn when
// Frame is 0.
struct ScrollPiece {
    PixelRect Rect;
    int Frame = 0;
    bool operator==(const ScrollPiece&) const = default;
};

struct ScrollbarPicture {
    ScrollPiece Track;       // of the 4-frame "HorzScroll"/"VertScroll": 1 enabled, 3 disabled
    ScrollPiece FirstArrow;  // of the 23-frame "Scrollbar" strip
    ScrollPiece SecondArrow;
    ScrollPiece Thumb;       // of "HorzScrollThumb"/"VertScrollThumb"
    ScrollPiece Grip;        // of the "Scrollbar" strip
};

ScrollbarPicture PlanScrollbar(const ScrollbarLook& look);

// The thumb an overlay shows: while the thumb is being dragged (pressed with the thumb hot), the thumb as it
// was at the press moved with the cursor; otherwise the system's thumb.
ThumbSpan OverlayThumb(const ScrollbarLook& look, const ThumbSpan& system, const ThumbSpan& atPress, int moved);

// The drop-down list's thumb drag: what one message taken off the queue does.
enum class ListDragStep {
    Dispatch,  // handed on as usual
    Track,     // a mouse move: the thumb follows the cursor
    Finish,    // the button went up: the last position is set
    Cancel,    // Esc: the drag ends where it is
};
ListDragStep ListDragStepFor(unsigned msg, uintptr_t wParam);

// A message sent to the list during the drag that ends it (lost capture, cancelled mode, list hidden by
// ShowWindow; a list hidden by SetWindowPos is seen by asking the window).
// list: the list window as a number (a capture change to the list itself keeps the drag).
bool EndsListDrag(unsigned msg, uintptr_t wParam, intptr_t lParam, intptr_t list);

}  // namespace kes

#pragma once
// Where the pieces of a skinned scroll bar go, measured along the bar's axis: the thumb of a scroll-bar
// control from its range, the part under a point, the thumb dragged by the overlay, the arrows, the grip and
// the drop-down list's thumb drag, plus the frames of the "Scrollbar" strip for each part and state. The
// overlays call these with what the system reports (bar rectangle, thumb top and bottom, scroll range).
#include "skin/container/PixelBuffer.h"

namespace kes {

// Part codes: hit test results and the hot part. They equal the scroll codes of a scroll message, so a code
// from the native bar can be kept as the hot part.
enum ScrollPart : int {
    kScrollNone = -1,
    kScrollFirstArrow = 0,   // left or up
    kScrollSecondArrow = 1,  // right or down
    kScrollTrackBefore = 2,
    kScrollTrackAfter = 3,
    kScrollThumb = 5,
};

// The hot part a scroll code stands for: the codes of a part stand for themselves, every other code
// (thumb position, top, bottom, end of scroll) for no part.
ScrollPart PartFromScrollCode(int code);

// A scroll bar's range as the system reports it.
struct ScrollRange {
    int Min = 0, Max = 0, Page = 0, Pos = 0;
};

// The thumb's extent along the bar, bar coordinates (from the bar's first pixel).
struct ThumbSpan {
    int Start = 0, End = 0;
    int Length() const { return End - Start; }
    bool operator==(const ThumbSpan&) const = default;
};

// Thumbs of a scroll-bar control are never shorter than this.
constexpr int kMinThumb = 8;
// The range of a bar whose minimum equals its maximum.
constexpr int kEmptyScrollRange = 9999999;

// The thumb of a scroll-bar control of the given length with arrows `arrow` long. With a page the thumb is
// as long as the page's share of the track, never under kMinThumb; without one it is as long as an arrow.
// The range counts as kEmptyScrollRange when the maximum is not above the minimum, the position is kept in
// the range and the thumb inside the track; a track too short for the thumb gives an empty span.
ThumbSpan ControlThumb(int length, int arrow, const ScrollRange& range);

// Length of each arrow on a bar: `arrow`, or half the bar when the bar cannot hold two.
int ArrowLength(int length, int arrow);

// Part code of a point `at` pixels along a bar with the given arrows and thumb.
ScrollPart ScrollHitTest(int at, int length, int arrow, const ThumbSpan& thumb);

// The thumb dragged by `moved` pixels from where it was when the button went down, kept between the arrows.
ThumbSpan DragThumb(const ThumbSpan& pressed, int moved, int length, int arrow);

// Cross extent of the skinned bar: the "Scrollbar" image's height, or the arrow size when the two differ by
// more than 2 pixels.
int ScrollBreadth(int imageHeight, int arrow);

// Where the grip (gripLength long) starts on a thumb, centred; -1 when the thumb cannot hold it with a pixel
// to spare at each end.
int GripStart(const ThumbSpan& thumb, int gripLength);

// Frames of the 23-frame "Scrollbar" strip and of the thumb image. `hot` is whether this part (for the grip
// and thumb: the thumb) is the hot part, `pressed` whether the bar is being pressed.
int ArrowFrame(bool second, bool vertical, bool hot, bool pressed);
int GripFrame(bool vertical, bool hot, bool pressed);
int ThumbFrame(bool hot, bool pressed);

// The scroll position of a drop-down list whose thumb was dragged: `offset` is the thumb's offset from the
// end of the first arrow (where it started plus the cursor's move), `track` the length between the arrows and
// `thumb` the thumb's length. The result lies between the range's minimum and the last position a page
// allows (max - page + 1; max without a page).
int DraggedScrollPos(int offset, int track, int thumb, const ScrollRange& range);

}  // namespace kes

#include "ScrollbarGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace kes {

namespace {

// a * b / c rounded to the nearest, halves away from zero (as the system's scroll bars reckon); c > 0.
long long MulDivRound(long long a, long long b, long long c) {
    const long long n = a * b;
    const long long q = n / c, r = n % c;
    if (2 * std::llabs(r) >= c) return n < 0 ? q - 1 : q + 1;
    return q;
}

}  // namespace

ScrollPart PartFromScrollCode(int code) {
    switch (code) {
    case kScrollFirstArrow:
    case kScrollSecondArrow:
    case kScrollTrackBefore:
    case kScrollTrackAfter:
    case kScrollThumb: return static_cast<ScrollPart>(code);
    default: return kScrollNone;
    }
}

int ArrowLength(int length, int arrow) {
    length = std::max(length, 0);
    arrow = std::max(arrow, 0);
    return 2 * arrow > length ? length / 2 : arrow;
}

ThumbSpan ControlThumb(int length, int arrow, const ScrollRange& r) {
    const long long span = static_cast<long long>(r.Max) - r.Min;
    const long long range = span > 0 ? span : kEmptyScrollRange;
    const long long pos = std::clamp<long long>(r.Pos, r.Min, std::max(r.Min, r.Max)) - r.Min;
    const int track = length - 2 * arrow;
    long long size, start;
    if (r.Page > 0) {
        size = MulDivRound(track, r.Page - 1LL, range);
        if (size >= kMinThumb) {
            start = arrow + MulDivRound(track, pos, range);
        } else {
            size = kMinThumb;
            start = arrow + MulDivRound(track - kMinThumb, pos, range);
        }
    } else {
        size = arrow;
        start = arrow + MulDivRound(length - 3LL * arrow, pos, range);
    }
    const int least = r.Page > 0 ? kMinThumb : arrow;
    if (track < least || size <= 0) {
        const int a = ArrowLength(length, arrow);
        return {a, a};
    }
    // A page larger than the range would reach past the track; the thumb then fills it.
    size = std::min<long long>(size, track);
    start = std::clamp<long long>(start, arrow, arrow + track - size);
    return {static_cast<int>(start), static_cast<int>(start + size)};
}

ScrollPart ScrollHitTest(int at, int length, int arrow, const ThumbSpan& thumb) {
    // The arrows as they are painted: half the bar each when it cannot hold two.
    const int a = ArrowLength(length, arrow);
    if (at < a) return kScrollFirstArrow;
    if (at < thumb.Start) return kScrollTrackBefore;
    if (at < thumb.End) return kScrollThumb;
    if (at < length - a) return kScrollTrackAfter;
    return kScrollSecondArrow;
}

ThumbSpan DragThumb(const ThumbSpan& pressed, int moved, int length, int arrow) {
    const int size = pressed.Length();
    int start = std::max(pressed.Start + moved, arrow);
    start = std::min(start, length - arrow - size);
    return {start, start + size};
}

int ScrollBreadth(int imageHeight, int arrow) { return std::abs(imageHeight - arrow) > 2 ? arrow : imageHeight; }

int GripStart(const ThumbSpan& thumb, int gripLength) {
    if (gripLength <= 0 || thumb.Length() < gripLength + 2) return -1;
    return thumb.Start + (thumb.Length() - gripLength) / 2;
}

int ArrowFrame(bool second, bool vertical, bool hot, bool pressed) {
    const int base = (vertical ? 9 : 1) + (second ? 4 : 0);
    return hot ? base + (pressed ? 1 : 3) : base;
}

int GripFrame(bool vertical, bool hot, bool pressed) {
    const int base = vertical ? 20 : 17;
    return hot ? base + (pressed ? 1 : 2) : base;
}

int ThumbFrame(bool hot, bool pressed) { return hot ? (pressed ? 2 : 3) : 1; }

int DraggedScrollPos(int offset, int track, int thumb, const ScrollRange& r) {
    long long o = std::max(offset, 0);
    long long pos;
    if (r.Page <= 0) {
        if (track <= 0) return r.Min;
        o = std::min<long long>(o, track - thumb);
        pos = std::min<long long>(MulDivRound(o, static_cast<long long>(r.Max) - r.Min, track) + r.Min, r.Max);
    } else {
        const long long room = static_cast<long long>(track) - thumb;
        if (room <= 0) return r.Min;
        if (o > room) o = room + 1;
        const long long last = static_cast<long long>(r.Max) - r.Page;
        pos = MulDivRound(o, last - r.Min, room) + r.Min;
        // The last step snaps to the last position a page allows.
        if (pos >= last) pos = last + 1;
    }
    return static_cast<int>(std::max<long long>(pos, r.Min));
}

}  // namespace kes

// What a skinned scroll bar shows for each state the system reports, and how the drop-down list's thumb drag
// takes the messages that reach it.
#include <gtest/gtest.h>

#include "skin/controls/ScrollbarPaint.h"

using namespace kes;

namespace {

// A vertical bar 100 long and 16 across with 16-pixel arrows, thumb 40..60, grip 10, in a window 100 high.
ScrollbarLook Vertical() {
    ScrollbarLook l;
    l.Length = 100;
    l.Breadth = 16;
    l.Arrow = 16;
    l.Vertical = true;
    l.Thumb = {40, 60};
    l.GripLength = 10;
    l.Extent = 100;
    return l;
}

}  // namespace

TEST(ScrollbarPaint, EachStateShowsItsPiecesAndFrames) {
    struct Case {
        const char* what;
        ScrollbarLook look;
        ScrollbarPicture picture;
    };
    auto with = [](auto change) {
        ScrollbarLook l = Vertical();
        change(l);
        return l;
    };
    const PixelRect track{0, 16, 16, 84}, up{0, 0, 16, 16}, down{0, 84, 16, 100}, thumb{0, 40, 16, 60},
        grip{0, 45, 16, 55};
    const Case cases[] = {
        {"at rest", Vertical(), {{track, 1}, {up, 9}, {down, 13}, {thumb, 1}, {grip, 20}}},
        {"up arrow hot", with([](auto& l) { l.Hot = kScrollFirstArrow; }),
         {{track, 1}, {up, 12}, {down, 13}, {thumb, 1}, {grip, 20}}},
        {"down arrow pressed", with([](auto& l) { l.Hot = kScrollSecondArrow, l.Pressed = true; }),
         {{track, 1}, {up, 9}, {down, 14}, {thumb, 1}, {grip, 20}}},
        {"thumb hot", with([](auto& l) { l.Hot = kScrollThumb; }),
         {{track, 1}, {up, 9}, {down, 13}, {thumb, 3}, {grip, 22}}},
        {"thumb pressed", with([](auto& l) { l.Hot = kScrollThumb, l.Pressed = true; }),
         {{track, 1}, {up, 9}, {down, 13}, {thumb, 2}, {grip, 21}}},
        {"paging: the pieces stay at rest", with([](auto& l) { l.Hot = kScrollTrackAfter, l.Pressed = true; }),
         {{track, 1}, {up, 9}, {down, 13}, {thumb, 1}, {grip, 20}}},
        {"disabled: grey track, no thumb, no grip", with([](auto& l) { l.Enabled = false; }),
         {{track, 3}, {up, 9}, {down, 13}, {}, {}}},
        {"thumb too short for the grip", with([](auto& l) { l.Thumb = {40, 51}; }),
         {{track, 1}, {up, 9}, {down, 13}, {{0, 40, 16, 51}, 1}, {}}},
        {"no thumb (track too short)", with([](auto& l) { l.Thumb = {16, 16}; }),
         {{track, 1}, {up, 9}, {down, 13}, {}, {}}},
        {"window shorter than the thumb's end", with([](auto& l) { l.Extent = 58; }),
         {{track, 1}, {up, 9}, {down, 13}, {}, {grip, 20}}},
        {"bar shorter than two arrows: half each, no track", with([](auto& l) { l.Length = 20, l.Thumb = {10, 10}; }),
         {{}, {{0, 0, 16, 10}, 9}, {{0, 10, 16, 20}, 13}, {}, {}}},
        {"horizontal", with([](auto& l) { l.Vertical = false, l.Hot = kScrollFirstArrow, l.Pressed = true; }),
         {{{16, 0, 84, 16}, 1}, {{0, 0, 16, 16}, 2}, {{84, 0, 100, 16}, 5}, {{40, 0, 60, 16}, 1}, {{45, 0, 55, 16}, 17}}},
    };
    for (const Case& c : cases) {
        const ScrollbarPicture p = PlanScrollbar(c.look);
        EXPECT_EQ(p.Track, c.picture.Track) << c.what;
        EXPECT_EQ(p.FirstArrow, c.picture.FirstArrow) << c.what;
        EXPECT_EQ(p.SecondArrow, c.picture.SecondArrow) << c.what;
        EXPECT_EQ(p.Thumb, c.picture.Thumb) << c.what;
        EXPECT_EQ(p.Grip, c.picture.Grip) << c.what;
    }
}

TEST(ScrollbarPaint, OnlyADraggedThumbLeavesTheSystemsPlace) {
    const ThumbSpan system{50, 70}, atPress{40, 60};
    ScrollbarLook l = Vertical();
    EXPECT_EQ(OverlayThumb(l, system, atPress, 5), system);
    l.Pressed = true;
    l.Hot = kScrollTrackAfter;
    EXPECT_EQ(OverlayThumb(l, system, atPress, 5), system) << "paging shows the system's thumb";
    l.Hot = kScrollThumb;
    EXPECT_EQ(OverlayThumb(l, system, atPress, 5), (ThumbSpan{45, 65}));
    EXPECT_EQ(OverlayThumb(l, system, atPress, 500), (ThumbSpan{64, 84})) << "kept before the second arrow";
    EXPECT_EQ(OverlayThumb(l, system, atPress, -500), (ThumbSpan{16, 36})) << "kept after the first arrow";
}

TEST(ScrollbarPaint, TheListsThumbDragEndsOnButtonUpEscCaptureLossCancelAndHiding) {
    constexpr intptr_t list = 0x1234;
    struct Step {
        unsigned msg;
        uintptr_t wParam;
        ListDragStep step;
    } steps[] = {
        {0x0200, 1, ListDragStep::Track},     // WM_MOUSEMOVE
        {0x00A0, 7, ListDragStep::Track},     // WM_NCMOUSEMOVE
        {0x0202, 0, ListDragStep::Finish},    // WM_LBUTTONUP
        {0x00A2, 7, ListDragStep::Finish},    // WM_NCLBUTTONUP
        {0x0100, 0x1B, ListDragStep::Cancel}, // WM_KEYDOWN Esc
        {0x0100, 0x28, ListDragStep::Dispatch},
        {0x0113, 1, ListDragStep::Dispatch},  // WM_TIMER
        {0x000F, 0, ListDragStep::Dispatch},  // WM_PAINT
    };
    for (const Step& s : steps) EXPECT_EQ(ListDragStepFor(s.msg, s.wParam), s.step) << std::hex << s.msg;

    struct Sent {
        unsigned msg;
        uintptr_t wParam;
        intptr_t lParam;
        bool ends;
    } sent[] = {
        {0x0215, 0, 0, true},       // WM_CAPTURECHANGED: released
        {0x0215, 0, 0x999, true},   // taken by another window
        {0x0215, 0, list, false},   // the list took it itself
        {0x001F, 0, 0, true},       // WM_CANCELMODE
        {0x0018, 0, 0, true},       // WM_SHOWWINDOW hide
        {0x0018, 1, 0, false},      // shown
        {0x0200, 0, 0, false},
    };
    for (const Sent& s : sent) EXPECT_EQ(EndsListDrag(s.msg, s.wParam, s.lParam, list), s.ends) << std::hex << s.msg;
}

// Geometry of the skinned scroll bars, tabs, headers and combo boxes.
#include <gtest/gtest.h>

#include <vector>

#include "skin/draw/ComboGeometry.h"
#include "skin/draw/HeaderGeometry.h"
#include "skin/draw/ScrollbarGeometry.h"
#include "skin/draw/TabGeometry.h"

using namespace kes;

TEST(ScrollbarGeometry, ControlThumbFollowsThePageWithItsMinimumAndSurvivesOddRanges) {
    struct Case {
        int length, arrow;
        ScrollRange range;
        ThumbSpan thumb;
    } cases[] = {
        {100, 16, {0, 99, 10, 0}, {16, 24}},    // page share 6 px: the minimum of 8
        {100, 16, {0, 99, 10, 45}, {43, 51}},   // a minimum thumb moves along the track less its own length
        {100, 16, {0, 99, 50, 50}, {50, 84}},   // a large thumb at the last position ends at the second arrow
        {100, 16, {0, 100, 0, 50}, {42, 58}},   // without a page the thumb is an arrow long
        {100, 16, {0, 100, 0, 200}, {68, 84}},  // a position past the maximum is kept at the end
        {100, 16, {10, 110, 0, 5}, {16, 32}},   // and one before the minimum at the start
        {100, 16, {0, 0, 1, 0}, {16, 24}},      // max = min: an empty range
        {100, 16, {10, 0, 5, 3}, {16, 24}},     // max < min: an empty range, not a thumb past the track
        {100, 16, {0, 9, 20, 0}, {16, 84}},     // page larger than the range: the thumb fills the track
        {32, 16, {0, 99, 10, 50}, {16, 16}},    // no track left: no thumb
        {20, 16, {0, 99, 0, 50}, {10, 10}},     // a bar shorter than two arrows
        {0, 16, {0, 99, 10, 50}, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ControlThumb(c.length, c.arrow, c.range), c.thumb)
            << c.length << " " << c.range.Min << ".." << c.range.Max << " page " << c.range.Page << " pos "
            << c.range.Pos;
}

TEST(ScrollbarGeometry, HitPartsDragAndGripAlongTheBar) {
    const ThumbSpan thumb{40, 60};
    struct Hit {
        int at, length;
        ThumbSpan thumb;
        ScrollPart part;
    } hits[] = {
        {-3, 100, thumb, kScrollFirstArrow},
        {15, 100, thumb, kScrollFirstArrow},
        {16, 100, thumb, kScrollTrackBefore},
        {39, 100, thumb, kScrollTrackBefore},
        {40, 100, thumb, kScrollThumb},
        {59, 100, thumb, kScrollThumb},
        {60, 100, thumb, kScrollTrackAfter},
        {83, 100, thumb, kScrollTrackAfter},
        {84, 100, thumb, kScrollSecondArrow},
        {150, 100, thumb, kScrollSecondArrow},
        // A bar too short for two arrows is split between them as it is painted.
        {9, 20, {10, 10}, kScrollFirstArrow},
        {10, 20, {10, 10}, kScrollSecondArrow},
    };
    for (const Hit& h : hits)
        EXPECT_EQ(ScrollHitTest(h.at, h.length, 16, h.thumb), h.part) << h.at << " of " << h.length;

    EXPECT_EQ(DragThumb(thumb, 10, 100, 16), (ThumbSpan{50, 70}));
    EXPECT_EQ(DragThumb(thumb, -100, 100, 16), (ThumbSpan{16, 36}));
    EXPECT_EQ(DragThumb(thumb, 100, 100, 16), (ThumbSpan{64, 84}));

    EXPECT_EQ(GripStart(thumb, 10), 45);
    EXPECT_EQ(GripStart(thumb, 18), 41);  // a pixel to spare at each end
    EXPECT_EQ(GripStart(thumb, 19), -1);
    EXPECT_EQ(GripStart(thumb, 0), -1);
    EXPECT_EQ(ScrollBreadth(18, 16), 18);
    EXPECT_EQ(ScrollBreadth(13, 16), 16);  // images more than 2 pixels off take the arrow size
}

TEST(ScrollbarGeometry, StatesPickTheirFramesAndScrollCodesTheirParts) {
    struct Arrow {
        bool second, vertical, hot, pressed;
        int frame;
    } arrows[] = {{false, false, false, false, 1}, {false, false, true, false, 4}, {false, false, true, true, 2},
                  {true, false, false, true, 5},   {true, false, true, false, 8},  {false, true, false, false, 9},
                  {false, true, true, true, 10},   {true, true, true, false, 16},  {true, true, true, true, 14}};
    for (const Arrow& a : arrows) EXPECT_EQ(ArrowFrame(a.second, a.vertical, a.hot, a.pressed), a.frame);
    EXPECT_EQ(GripFrame(false, false, true), 17);
    EXPECT_EQ(GripFrame(false, true, true), 18);
    EXPECT_EQ(GripFrame(true, true, false), 22);
    EXPECT_EQ(ThumbFrame(false, true), 1);
    EXPECT_EQ(ThumbFrame(true, true), 2);
    EXPECT_EQ(ThumbFrame(true, false), 3);
    const int codes[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 100};
    const ScrollPart parts[] = {kScrollNone,       kScrollFirstArrow, kScrollSecondArrow, kScrollTrackBefore,
                                kScrollTrackAfter, kScrollNone,       kScrollThumb,       kScrollNone,
                                kScrollNone,       kScrollNone,       kScrollNone};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(PartFromScrollCode(codes[i]), parts[i]) << codes[i];
}

TEST(ScrollbarGeometry, DraggedDropDownThumbGivesPositionsInsideTheRange) {
    struct Case {
        int offset, track, thumb;
        ScrollRange range;
        int pos;
    } cases[] = {
        {0, 100, 20, {0, 99, 20, 0}, 0},    {40, 100, 20, {0, 99, 20, 0}, 40}, {79, 100, 20, {0, 99, 20, 0}, 78},
        {80, 100, 20, {0, 99, 20, 0}, 80},  // the last position a page allows
        {200, 100, 20, {0, 99, 20, 0}, 80}, {-10, 100, 20, {0, 99, 20, 0}, 0}, {42, 100, 16, {0, 50, 0, 0}, 21},
        {500, 100, 16, {0, 50, 0, 0}, 42},  {10, 20, 20, {5, 99, 20, 0}, 5},   // a thumb as long as the track: nothing
                                                                               // to divide
        {10, 0, 0, {5, 99, 0, 0}, 5},       {40, 100, 20, {0, 10, 20, 0}, 0},  // page larger than the range
    };
    for (const Case& c : cases)
        EXPECT_EQ(DraggedScrollPos(c.offset, c.track, c.thumb, c.range), c.pos) << c.offset << " page " << c.range.Page;
}

TEST(TabGeometry, PaneStripAndTabsInEveryOrientation) {
    const PixelRect control{0, 0, 200, 150};
    struct Case {
        unsigned style;
        TabOrientation side;
        PixelRect display, pane, strip;
        TabWorkSize work;
        PixelRect tab, inWork;
    } cases[] = {
        {0x00,
         TabOrientation::Top,
         {4, 28, 196, 146},
         {0, 25, 200, 150},
         {0, 0, 200, 25},
         {200, 25},
         {2, 2, 60, 22},
         {2, 3, 60, 23}},
        {0x02,
         TabOrientation::Bottom,
         {4, 4, 196, 122},
         {0, 0, 200, 125},
         {0, 125, 200, 150},
         {200, 25},
         {2, 128, 60, 148},
         {2, 2, 60, 22}},
        {0x80,
         TabOrientation::Left,
         {28, 4, 196, 146},
         {25, 0, 200, 150},
         {0, 0, 25, 150},
         {150, 25},
         {2, 2, 22, 60},
         {90, 2, 148, 22}},
        {0x82,
         TabOrientation::Right,
         {4, 4, 172, 146},
         {0, 0, 175, 150},
         {175, 0, 200, 150},
         {150, 25},
         {178, 2, 198, 60},
         {1, 2, 59, 22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        EXPECT_EQ(ReadOrientation(c.style), c.side);
        const PixelRect pane = TabPane(c.display, c.side);
        EXPECT_EQ(pane, c.pane);
        const PixelRect strip = TabStrip(control, pane, c.side);
        EXPECT_EQ(strip, c.strip);
        EXPECT_EQ(WorkSize(strip, c.side), c.work);
        EXPECT_EQ(TabInWork(c.tab, c.side, control, pane, c.work), c.inWork);
    }
}

TEST(HeaderGeometry, HotSectionsKeepTheirBordersAndCaptionsFollowAlignment) {
    const std::vector<PixelRect> hot{HotRect({0, 0, 50, 20}), HotRect({50, 0, 120, 20})};
    EXPECT_EQ(hot[1], (PixelRect{53, 0, 117, 20}));
    struct Move {
        SkinPoint at;
        int before, after;
    } moves[] = {{{10, 5}, -1, 0}, {{48, 5}, 0, 0},  {{51, 5}, 0, 0},
                 {{60, 5}, 0, 1},  {{60, 25}, 1, 1}, {{200, 5}, -1, -1}};
    for (const Move& m : moves) EXPECT_EQ(HotSectionAt(hot, m.at, m.before), m.after) << m.at.X << "," << m.at.Y;
    EXPECT_EQ(HeaderRest({0, 0, 300, 20}, 120), (PixelRect{120, 0, 300, 20}));
    EXPECT_TRUE(HeaderRest({0, 0, 300, 20}, 300).Empty());

    struct Caption {
        unsigned format;
        int width, textWidth;
        bool icon;
        int iconWidth, iconHeight;
        HeaderCaptionPlace place;
    } captions[] = {
        {0x0, 100, 40, false, 16, 16, {0, {3, 4}, {3, 5, 100, 19}}},
        {0x2, 100, 40, true, 16, 12, {16, {22, 6}, {38, 5, 100, 19}}},  // the icon centred by its height
        {0x1, 100, 40, true, 16, 16, {16, {42, 4}, {58, 5, 100, 19}}},
        {0x3, 100, 99, false, 16, 16, {0, {1, 4}, {1, 5, 100, 19}}},  // no room: from the first pixel
        {0x0, 16, 10, true, 16, 16, {0, {3, 4}, {3, 5, 16, 19}}},     // an icon as wide as the section is left out
    };
    for (const Caption& c : captions)
        EXPECT_EQ(PlaceHeaderCaption(c.width, 24, HeaderAlignment(c.format), c.textWidth, 14, c.icon, c.iconWidth,
                                     c.iconHeight),
                  c.place)
            << c.format << " " << c.width;
    EXPECT_EQ(HeaderImageIndex(0x0, 5), -1);
    EXPECT_EQ(HeaderImageIndex(0x800, 5), 5);
    EXPECT_EQ(HeaderImageIndex(0x8000, 5), 5);
}

TEST(ComboGeometry, ButtonAtEitherSideAndItsState) {
    const PixelRect r{0, 0, 120, 22};
    EXPECT_EQ(ComboLayout(r, 16, false), (ComboParts{{2, 2, 100, 20}, {102, 0, 120, 22}, {102, 0, 118, 22}}));
    EXPECT_EQ(ComboLayout(r, 16, true), (ComboParts{{20, 2, 118, 20}, {0, 0, 18, 22}, {2, 0, 18, 22}}));
    EXPECT_EQ(FlatComboLayout(r, 15, 12, 17, false),
              (FlatComboParts{{2, 2, 118, 20}, {101, 2, 118, 20}, {103, 2, 118, 14}}));
    EXPECT_EQ(FlatComboLayout(r, 15, 20, 17, true), (FlatComboParts{{2, 2, 118, 20}, {2, 2, 19, 20}, {2, 2, 17, 20}}));

    struct State {
        bool enabled, pressed, hot, focused;
        int state;
    } states[] = {{true, false, false, false, 1}, {true, false, true, false, 4}, {true, false, false, true, 4},
                  {true, true, true, true, 2},    {false, true, true, true, 3},  {false, false, false, false, 3}};
    for (const State& s : states) EXPECT_EQ(ComboButtonState(s.enabled, s.pressed, s.hot, s.focused), s.state);
}

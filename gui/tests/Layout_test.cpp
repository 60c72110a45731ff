// Docking and centring arithmetic.
#include "gui/Layout.h"

#include <gtest/gtest.h>

using namespace kes;

TEST(AlignRects, TerminalWindowLayout) {
    // Header panel on top, command-line panel and status bar at the bottom, memo filling the rest.
    std::vector<TAlignItem> items{
        {alTop, Bounds(0, 0, 10, 41)},
        {alBottom, Bounds(0, 300, 10, 19)},  // status bar (nearest the bottom)
        {alBottom, Bounds(0, 200, 10, 41)},  // command line above it
        {alClient, Bounds(0, 0, 1, 1)},
    };
    const TRect rest = AlignRects(Rect(0, 0, 800, 500), items);
    EXPECT_EQ(items[0].Bounds, Rect(0, 0, 800, 41));
    EXPECT_EQ(items[1].Bounds, Rect(0, 481, 800, 500));
    EXPECT_EQ(items[2].Bounds, Rect(0, 440, 800, 481));
    EXPECT_EQ(items[3].Bounds, Rect(0, 41, 800, 440));
    EXPECT_EQ(rest, Rect(0, 41, 800, 440));
}

TEST(AlignRects, OrderByPositionThenListAndHiddenSkipped) {
    std::vector<TAlignItem> items{
        {alTop, Bounds(0, 50, 5, 10)},       {alTop, Bounds(0, 0, 5, 20)},
        {alTop, Bounds(0, 0, 5, 30), false},  // hidden: keeps its place, takes no room
        {alLeft, Bounds(0, 0, 15, 5)},       {alRight, Bounds(0, 0, 25, 5)},
        {alNone, Bounds(3, 4, 5, 6)},
    };
    AlignRects(Rect(0, 0, 100, 100), items);
    EXPECT_EQ(items[1].Bounds, Rect(0, 0, 100, 20));
    EXPECT_EQ(items[0].Bounds, Rect(0, 20, 100, 30));
    EXPECT_EQ(items[2].Bounds, Bounds(0, 0, 5, 30));
    EXPECT_EQ(items[3].Bounds, Rect(0, 30, 15, 100));
    EXPECT_EQ(items[4].Bounds, Rect(75, 30, 100, 100));
    EXPECT_EQ(items[5].Bounds, Bounds(3, 4, 5, 6));
}

TEST(AlignRects, TooSmallAClientNeverTurnsInsideOut) {
    std::vector<TAlignItem> items{
        {alTop, Bounds(0, 0, 5, 80)}, {alBottom, Bounds(0, 0, 5, 80)}, {alClient, Bounds(0, 0, 5, 5)}};
    const TRect rest = AlignRects(Rect(0, 0, 50, 100), items);
    EXPECT_GE(rest.Height(), 0);
    EXPECT_GE(items[2].Bounds.Height(), 0);
    EXPECT_EQ(items[2].Bounds.Top, 80);
}

TEST(CenterIn, TruncatesHalvesTowardZero) {
    EXPECT_EQ(CenterIn(Rect(0, 0, 1280, 1024), 231, 216), (TPoint{524, 404}));
    EXPECT_EQ(CenterIn(Rect(100, 50, 200, 150), 200, 10), (TPoint{50, 95}));
    EXPECT_EQ(CenterIn(Rect(0, 0, 25, 25), 15, 15), (TPoint{5, 5}));
}

#include "skin/draw/SkinGeometry.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kes;

namespace {

std::vector<PixelRect> Dests(const SkinPlan& plan) {
    std::vector<PixelRect> r;
    for (const auto& b : plan) r.push_back(b.Dest);
    return r;
}

PixelBuffer Filled(int w, int h, std::int32_t colour) {
    PixelBuffer p(w, h, false);
    p.FillRect({0, 0, w, h}, colour);
    return p;
}

}  // namespace

TEST(SkinGeometry, StripFramesSideBySideOrStackedAndKeptInsideTheStrip) {
    EXPECT_EQ(StripFrame(60, 16, 1, 3, false), (PixelRect{0, 0, 20, 16}));
    EXPECT_EQ(StripFrame(60, 16, 3, 3, false), (PixelRect{40, 0, 60, 16}));
    EXPECT_EQ(StripFrame(20, 48, 2, 3, true), (PixelRect{0, 16, 20, 32}));
    // Integer division: the spare columns at the right belong to no frame.
    EXPECT_EQ(StripFrame(62, 16, 3, 3, false), (PixelRect{40, 0, 60, 16}));
    // Frame counts below 1 read as 1; frame numbers outside the strip are kept inside it.
    EXPECT_EQ(StripFrame(60, 16, 1, 0, false), (PixelRect{0, 0, 60, 16}));
    EXPECT_EQ(StripFrame(60, 16, 1, -4, true), (PixelRect{0, 0, 60, 16}));
    EXPECT_EQ(StripFrame(60, 16, 0, 3, false), (PixelRect{0, 0, 20, 16}));
    EXPECT_EQ(StripFrame(60, 16, 9, 3, false), (PixelRect{40, 0, 60, 16}));
}

TEST(SkinGeometry, NineSliceCopiesEveryPieceInPaintingOrder) {
    const PixelRect frame{20, 0, 40, 16};  // frame 2 of a 20 x 16 strip
    const SkinPlan plan = NineSlicePlan(50, 40, frame, {4, 3, 5, 2}, true);
    ASSERT_EQ(plan.size(), 9u);
    const std::vector<SkinBlit> expected = {
        {{0, 0, 4, 3}, {20, 0, 24, 3}},           // top-left
        {{0, 38, 4, 40}, {20, 14, 24, 16}},       // bottom-left
        {{45, 0, 50, 3}, {35, 0, 40, 3}},         // top-right
        {{0, 3, 4, 38}, {20, 3, 24, 14}},         // left edge
        {{4, 0, 45, 3}, {24, 0, 35, 3}},          // top edge
        {{4, 3, 45, 38}, {24, 3, 35, 14}, true},  // centre, tiled
        {{45, 38, 50, 40}, {35, 14, 40, 16}},     // bottom-right
        {{45, 3, 50, 38}, {35, 3, 40, 14}},       // right edge
        {{4, 38, 45, 40}, {24, 14, 35, 16}},      // bottom edge
    };
    EXPECT_EQ(plan, expected);
    for (const auto& b : NineSlicePlan(50, 40, frame, {4, 3, 5, 2}, false)) EXPECT_FALSE(b.Tile);
}

TEST(SkinGeometry, NineSliceDropsMarginsThatDoNotFit) {
    const PixelRect frame{0, 0, 20, 16};
    // A 10-pixel-wide picture cannot hold left 6 + right 6: the whole frame width is stretched.
    SkinPlan plan = NineSlicePlan(10, 30, frame, {6, 3, 6, 3}, false);
    EXPECT_EQ(Dests(plan), (std::vector<PixelRect>{{0, 0, 10, 3}, {0, 3, 10, 27}, {0, 27, 10, 30}}));
    EXPECT_EQ(plan[1].Source, (PixelRect{0, 3, 20, 13}));
    // Margins wider than the frame itself are dropped too (no inverted source pieces).
    plan = NineSlicePlan(100, 100, frame, {15, 10, 15, 10}, false);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].Source, frame);
    EXPECT_EQ(plan[0].Dest, (PixelRect{0, 0, 100, 100}));
    // Negative margins read as 0.
    plan = NineSlicePlan(30, 30, frame, {-3, 0, 0, 0}, false);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].Source, frame);
    // No picture, no copies.
    EXPECT_TRUE(NineSlicePlan(0, 30, frame, {2, 2, 2, 2}, false).empty());
    EXPECT_TRUE(NineSlicePlan(30, -1, frame, {2, 2, 2, 2}, false).empty());
}

TEST(SkinGeometry, ThreeSliceRepeatsTheMiddleAndEndsWithTheRightPart) {
    const PixelRect frame{0, 10, 12, 20};  // 12 x 10, second frame of a vertical strip
    const SkinPlan plan = ThreeSlicePlan(30, 7, frame, {3, 99, 4, 99});
    // Middle width 5: copies at 3, 8, 13, 18, 23 (the last reaches past 26, under the right part).
    const std::vector<PixelRect> dests = {{0, 0, 3, 7},   {3, 0, 8, 7},   {8, 0, 13, 7}, {13, 0, 18, 7},
                                          {18, 0, 23, 7}, {23, 0, 28, 7}, {26, 0, 30, 7}};
    EXPECT_EQ(Dests(plan), dests);
    EXPECT_EQ(plan.front().Source, (PixelRect{0, 10, 3, 20}));
    EXPECT_EQ(plan[1].Source, (PixelRect{3, 10, 8, 20}));
    EXPECT_EQ(plan.back().Source, (PixelRect{8, 10, 12, 20}));
}

TEST(SkinGeometry, ThreeSliceWithoutMiddleNeverLoops) {
    // Left and right fill the frame exactly: no middle, however wide the picture.
    SkinPlan plan = ThreeSlicePlan(1000, 5, {0, 0, 10, 5}, {4, 0, 6, 0});
    EXPECT_EQ(Dests(plan), (std::vector<PixelRect>{{0, 0, 4, 5}, {994, 0, 1000, 5}}));
    // Wider than the frame: the margins are dropped and the whole frame repeats.
    plan = ThreeSlicePlan(25, 5, {0, 0, 10, 5}, {8, 0, 8, 0});
    EXPECT_EQ(Dests(plan), (std::vector<PixelRect>{{0, 0, 10, 5}, {10, 0, 20, 5}, {20, 0, 30, 5}}));
    // An empty frame draws nothing.
    EXPECT_TRUE(ThreeSlicePlan(25, 5, {0, 0, 0, 5}, {}).empty());
}

TEST(SkinGeometry, StretchFrameKeepsTheEndsOrStretchesTheWholeFrame) {
    const PixelRect frame{10, 0, 20, 6};
    SkinPlan plan = StretchFramePlan({5, 5, 12, 25}, frame, {3, 0, 3, 0});  // narrower than the frame
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0], (SkinBlit{{5, 5, 12, 25}, frame}));
    plan = StretchFramePlan({5, 5, 45, 25}, frame, {3, 7, 2, 7});
    const std::vector<SkinBlit> expected = {
        {{5, 5, 8, 25}, {10, 0, 13, 6}}, {{8, 5, 43, 25}, {13, 0, 18, 6}}, {{43, 5, 45, 25}, {18, 0, 20, 6}}};
    EXPECT_EQ(plan, expected);
    EXPECT_TRUE(StretchFramePlan({5, 5, 4, 25}, frame, {}).empty());
}

TEST(SkinGeometry, TilesGoColumnByColumnAndAreNotCut) {
    std::vector<SkinPoint> at;
    ForEachTile({2, 1, 9, 6}, 3, 4, [&](int x, int y) { at.push_back({x, y}); });
    EXPECT_EQ(at, (std::vector<SkinPoint>{{2, 1}, {2, 5}, {5, 1}, {5, 5}, {8, 1}, {8, 5}}));
    for (auto [w, h] : {std::pair{0, 4}, {3, 0}, {-3, -4}, {-1, 5}}) {
        at.clear();
        ForEachTile({0, 0, 10, 10}, w, h, [&](int x, int y) { at.push_back({x, y}); });
        EXPECT_TRUE(at.empty()) << w << "x" << h;
    }
}

TEST(SkinGeometry, CentringTruncatesTowardZero) {
    EXPECT_EQ(CentredOrigin({10, 20, 30, 30}, 7, 4), (SkinPoint{16, 23}));
    // A larger picture sticks out on every side: (5 - 8) / 2 is -1, not -2.
    EXPECT_EQ(CentredOrigin({10, 20, 15, 25}, 8, 8), (SkinPoint{9, 19}));
    EXPECT_EQ(CentredOrigin({0, 0, 0, 0}, 3, 3), (SkinPoint{-1, -1}));
}

TEST(SkinGeometry, RegionKeyTolerancesReachUpwardOnly) {
    const RegionKey key{0xFF00FF, 1, 1, 1};
    EXPECT_TRUE(key.LeavesOut(0xFF00FF));
    EXPECT_TRUE(key.LeavesOut(0xFF01FF));   // green 1
    EXPECT_FALSE(key.LeavesOut(0xFF00FE));  // red 254
    const RegionKey exact{0x102030, 0, 0, 0};
    EXPECT_TRUE(exact.LeavesOut(0x102030));
    EXPECT_FALSE(exact.LeavesOut(0x102031));
    const RegionKey wide{0x000000, 1 << 30, 0x7FFFFFFF, 300};  // no overflow past 255
    EXPECT_TRUE(wide.LeavesOut(0xFF00FF));
    EXPECT_FALSE(RegionKey({0x000000, -1, 0, 0}).LeavesOut(0x000000));
}

TEST(SkinGeometry, RegionRunsOfAMagentaCorneredBorder) {
    // 8 x 5 border with 2 x 2 magenta triangles in each corner.
    PixelBuffer img = Filled(8, 5, 0x336699);
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {6, 0}, {7, 0}, {7, 1}, {0, 4}, {7, 4}})
        img.SetPixel(x, y, 0xFF00FF);
    const auto runs = RegionRuns(img, 100, 200, RegionKey{});
    const std::vector<PixelRect> expected = {
        {102, 200, 106, 201}, {101, 201, 107, 202}, {100, 202, 108, 203}, {100, 203, 108, 204}, {101, 204, 107, 205}};
    EXPECT_EQ(runs, expected);
}

TEST(SkinGeometry, RegionRunsSplitAtEveryKeyPixel) {
    PixelBuffer img = Filled(7, 1, 0x000000);  // one row is enough
    img.SetPixel(2, 0, 0xFF00FF);
    img.SetPixel(3, 0, 0xFF01FF);
    img.SetPixel(6, 0, 0xFF00FF);
    EXPECT_EQ(RegionRuns(img, 0, 0, {0xFF00FF, 0, 1, 0}), (std::vector<PixelRect>{{0, 0, 2, 1}, {4, 0, 6, 1}}));
    EXPECT_EQ(RegionRuns(img, 0, 0, {0xFF00FF, 0, 0, 0}), (std::vector<PixelRect>{{0, 0, 2, 1}, {3, 0, 6, 1}}));
}

TEST(SkinGeometry, RegionRunsWithoutKeyPixelsCoverEveryRowAndNothingWhenAllIsKey) {
    const auto runs = RegionRuns(Filled(9, 3, 0x123456), 0, 0, RegionKey{});
    EXPECT_EQ(runs, (std::vector<PixelRect>{{0, 0, 9, 1}, {0, 1, 9, 2}, {0, 2, 9, 3}}));
    EXPECT_TRUE(RegionRuns(Filled(9, 3, 0xFF00FF), 0, 0, RegionKey{}).empty());
    EXPECT_TRUE(RegionRuns(PixelBuffer(0, 0), 0, 0, RegionKey{}).empty());
    EXPECT_TRUE(RegionRuns(PixelBuffer(5, 0), 0, 0, RegionKey{}).empty());
}

TEST(SkinGeometry, RegionRunsOfAStripedImageGoPastOneBatch) {
    // Every other pixel is magenta: 60 runs a row, 50 rows, 3000 runs.
    PixelBuffer img = Filled(120, 50, 0x00AA00);
    for (int y = 0; y < 50; ++y)
        for (int x = 1; x < 120; x += 2) img.SetPixel(x, y, 0xFF00FF);
    const auto runs = RegionRuns(img, 0, 0, RegionKey{});
    ASSERT_EQ(runs.size(), 3000u);
    EXPECT_GT(static_cast<int>(runs.size()), kRegionBatch);
    EXPECT_EQ(runs[61], (PixelRect{2, 1, 3, 2}));
    EXPECT_EQ(runs.back(), (PixelRect{118, 49, 119, 50}));
}

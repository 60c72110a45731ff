// Progress fills in both modes and both orientations, chunk strips, track channel pieces and the track bar's
// custom-draw answers.
#include "skin/controls/checks/ValueBarGeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace kes {
namespace {

TEST(ValueBarGeometry, ProgressFillsByPositionWithinTheRangeInBothOrientations) {
    struct Row {
        int w, h;
        bool vertical;
        int64_t pos, min, max;
        int filled;
        PixelRect shown;
    };
    const std::vector<Row> rows = {
        {200, 16, false, 25, 0, 100, 50, {0, 0, 50, 16}},
        {200, 16, false, 0, 0, 100, 0, {0, 0, 0, 16}},
        {200, 16, false, 70, 20, 120, 100, {0, 0, 100, 16}},  // the minimum counts (also for chunks)
        {200, 16, false, 10, 20, 120, 0, {0, 0, 0, 16}},      // below the range: empty, not negative
        {200, 16, false, 500, 0, 100, 200, {0, 0, 200, 16}},  // past the range: full, not beyond
        {200, 16, false, 5, 5, 5, 0, {0, 0, 0, 16}},          // an empty range fills nothing
        {200, 16, false, 5, 9, 3, 0, {0, 0, 0, 16}},          // nor does an upside-down one
        {200, 16, false, -25, -50, 50, 50, {0, 0, 50, 16}},   // a range below zero
        {3, 16, false, 1, 0, 2, 2, {0, 0, 2, 16}},            // rounded to the nearest pixel (1.5 -> 2)
        {16, 200, true, 25, 0, 100, 50, {0, 150, 16, 200}},   // a vertical bar fills from the bottom
        {16, 200, true, 100, 0, 100, 200, {0, 0, 16, 200}},
        {16, 200, true, 0, 0, 100, 0, {0, 200, 16, 200}},
        {200, 16, false, 2000000000, 0, 2000000000, 200, {0, 0, 200, 16}},  // no overflow at the extremes
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const Row& r = rows[i];
        const ProgressPlan p = PlanProgress(r.w, r.h, r.vertical, r.pos, r.min, r.max);
        EXPECT_EQ(p.Width, r.vertical ? r.h : r.w);
        EXPECT_EQ(p.Filled, r.filled);
        EXPECT_EQ(ProgressFilledRect(p, r.vertical), r.shown);
    }
}

TEST(ValueBarGeometry, ChunksAreTiledBesideTheMarginOrStretchedInsideTheBar) {
    struct Row {
        int filled, height, cw, ch;
        bool tile;
        int left;
        PixelRect strip;
        int copies;
    };
    const std::vector<Row> rows = {
        {100, 16, 10, 12, true, 3, {5, 2, 105, 14}, 11},
        {95, 16, 10, 12, true, 0, {2, 2, 97, 14}, 10},
        {100, 16, 10, 20, true, 0, {2, -2, 102, 18}, 11},  // a chunk taller than the bar is centred over it
        {100, 16, 10, 12, false, 3, {2, 2, 102, 14}, 0},
        {0, 16, 10, 12, true, 3, {}, 0},
        {50, 16, 0, 12, true, 3, {}, 0},  // an empty chunk image draws nothing
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const Row& r = rows[i];
        const ChunkPlan c = PlanChunks({200, r.height, r.filled}, r.cw, r.ch, r.tile, r.left);
        EXPECT_EQ(c.Strip, r.strip);
        EXPECT_EQ(c.Copies, r.copies);
    }
}

TEST(ValueBarGeometry, TrackChannelIsThreePiecesCentredAcrossTheChannel) {
    struct Row {
        PixelRect reported;
        bool vertical;
        int iw, ih, first, last;
        std::array<StretchPiece, 3> pieces;
    };
    const std::vector<Row> rows = {
        // a 2-pixel image in a 4-pixel channel sits one pixel below its top
        {{10, 20, 110, 24},
         false,
         24,
         2,
         3,
         3,
         {{{{0, 0, 3, 2}, {10, 21, 13, 23}},
           {{3, 0, 21, 2}, {13, 21, 107, 23}},
           {{21, 0, 24, 2}, {107, 21, 110, 23}}}}},
        // an image at least as high as the channel starts at its top
        {{10, 20, 110, 24},
         false,
         24,
         6,
         3,
         3,
         {{{{0, 0, 3, 6}, {10, 20, 13, 26}},
           {{3, 0, 21, 6}, {13, 20, 107, 26}},
           {{21, 0, 24, 6}, {107, 20, 110, 26}}}}},
        // a vertical channel comes with its axes exchanged: (20, 10)-(24, 110) is 4 wide and 100 high
        {{10, 20, 110, 24},
         true,
         2,
         24,
         3,
         4,
         {{{{0, 0, 2, 3}, {21, 10, 23, 13}},
           {{0, 3, 2, 20}, {21, 13, 23, 106}},
           {{0, 20, 2, 24}, {21, 106, 23, 110}}}}},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const Row& r = rows[i];
        const auto got = TrackChannelPieces(r.reported, r.vertical, r.iw, r.ih, r.first, r.last);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(got[k].Src, r.pieces[k].Src) << k;
            EXPECT_EQ(got[k].Dst, r.pieces[k].Dst) << k;
        }
    }
}

TEST(ValueBarGeometry, TrackBarAnswersEachCustomDrawStage) {
    struct Row {
        uint32_t stage;
        uintptr_t item;
        long result;
        TrackPart draw;
    };
    const std::vector<Row> rows = {
        {1, 0, 0x20, TrackPart::None},      // prepaint: ask for the items
        {0x10001, 1, 0, TrackPart::None},   // the ticks: the control draws them
        {0x10001, 2, 4, TrackPart::Thumb},  // the thumb and the channel: the skin
        {0x10001, 3, 4, TrackPart::Channel}, {0x10001, 7, 0, TrackPart::None}, {2, 2, 0, TrackPart::None},  // postpaint
        {0x10002, 2, 0, TrackPart::None},  // item postpaint
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.stage * 16 + r.item);
        const TrackDrawAnswer a = TrackCustomDraw(r.stage, r.item);
        EXPECT_EQ(a.Result, r.result);
        EXPECT_EQ(a.Draw, r.draw);
    }
}

}  // namespace
}  // namespace kes

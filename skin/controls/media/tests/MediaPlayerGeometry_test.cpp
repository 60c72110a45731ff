// The media player's bar as the skin draws it: the buttons a set's text names, the button under a point, one
// button's look and its glyph names; and the glyph strips handed to foreign check and radio boxes.
#include "skin/controls/media/MediaPlayerGeometry.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "skin/controls/media/GlyphStripGeometry.h"

namespace kes {
namespace {

constexpr unsigned Bit(int kind) { return 1u << kind; }
constexpr int kPlay = 0, kPause = 1, kStop = 2, kNext = 3, kRecord = 7, kEject = 8;

TEST(MediaPlayerGeometry, TheButtonsASetsTextNames) {
    EXPECT_EQ(MediaButtonsIn("[btPlay,btStop]"), Bit(kPlay) | Bit(kStop));
    EXPECT_EQ(MediaButtonsIn("[]"), 0u);
    EXPECT_EQ(MediaButtonsIn(""), 0u);
    const unsigned all = MediaButtonsIn("[btPlay,btPause,btStop,btNext,btPrev,btStep,btBack,btRecord,btEject]");
    EXPECT_EQ(all, 0x1FFu);
    EXPECT_EQ(CountMediaButtons(all), 9);
    EXPECT_EQ(MediaButtonsIn("[btEject]"), Bit(kEject)) << "no name is part of another";
    EXPECT_EQ(CountMediaButtons(0xFFFFu), 9) << "bits past the nine kinds do not count";
}

TEST(MediaPlayerGeometry, ButtonAtCountsOnlyVisibleButtonsAndTakesBothEndsOfASpan) {
    struct Row {
        unsigned visible;
        int width, x, hit;
    };
    const unsigned playStop = Bit(kPlay) | Bit(kStop);
    const std::vector<Row> rows = {
        {playStop, 50, 60, kStop},  // two buttons of 50 in a bar of 100: x 60 lands on stop
        {playStop, 50, 10, kPlay},
        {playStop, 50, 0, kPlay},
        {playStop, 50, 50, kPlay},  // a span holds both of its ends: the first button wins the shared one
        {playStop, 50, 51, kStop},
        {playStop, 50, 100, kStop},
        {playStop, 50, 101, kNoMediaButton},  // right of the last button
        {playStop, 50, -1, kNoMediaButton},   // left of the bar
        {0u, 50, 10, kNoMediaButton},         // nothing visible
        {Bit(kRecord), 30, 15, kRecord},      // a lone button of a later kind starts at 0
        {0x1FFu, 28, 28 * 3 + 5, kNext},      // all nine: the fourth is next
        {0x1FFu, 28, 28 * 8 + 10, kEject},
        {Bit(kPause) | Bit(kEject), 0, 0, kPause},  // a bar too narrow for its buttons still names the first
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(MediaButtonAt(rows[i].visible, rows[i].width, rows[i].x), rows[i].hit);
    }
}

TEST(MediaPlayerGeometry, AButtonsFaceGlyphAndOffsetByState) {
    struct Row {
        bool enabled, coloured, pressed;
        int face, bitmap, offset;
    };
    const std::vector<Row> rows = {
        {true, false, false, 1, 0, 0}, {true, true, false, 1, 2, 0},   {true, false, true, 2, 0, 1},
        {true, true, true, 2, 2, 1},   {false, false, false, 3, 1, 0},  // disabled: frame 3 and the DI_ glyph
        {false, true, true, 3, 1, 0},                                   // ... pressed or coloured alike
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const MediaButtonLook l = MediaButtonLookOf(rows[i].enabled, rows[i].coloured, rows[i].pressed);
        EXPECT_EQ(l.Face, rows[i].face);
        EXPECT_EQ(l.Bitmap, rows[i].bitmap);
        EXPECT_EQ(l.Offset, rows[i].offset);
    }
}

TEST(MediaPlayerGeometry, TwentySevenGlyphNames) {
    std::set<std::string> names;
    for (int j = 0; j < kMediaButtons; ++j)
        for (int i = 0; i < 3; ++i) names.insert(MediaGlyphName(j, i));
    EXPECT_EQ(names.size(), 27u);
    EXPECT_EQ(MediaGlyphName(0, 0), "EN_MPPLAY");
    EXPECT_EQ(MediaGlyphName(7, 1), "DI_MPRECORD");
    EXPECT_EQ(MediaGlyphName(8, 2), "CL_MPEJECT");
    EXPECT_EQ(MediaGlyphName(9, 0), "");
    EXPECT_EQ(MediaGlyphName(0, 3), "");
}

TEST(GlyphStripGeometry, SlotsOfTheNineAndSixFrameLayouts) {
    struct Row {
        int kind, frames, slots;
        std::array<int, 9> source;
    };
    const std::vector<Row> rows = {
        {1, 4, 9, {1, 2, 0, 1, 2, 0, 3, 4, 0}},  // a 4-frame strip leaves the grayed slots 3, 6 and 9 empty
        {1, 5, 9, {1, 2, 5, 1, 2, 5, 3, 4, 5}},
        {1, 12, 9, {1, 2, 0, 1, 2, 0, 3, 4, 0}},  // only a five-frame strip gives its fifth frame
        {1, 2, 9, {1, 2, 0, 1, 2, 0, 0, 0, 0}},   // frames the strip lacks are not read
        {2, 4, 6, {1, 2, 1, 2, 3, 4, 0, 0, 0}},
        {2, 8, 6, {1, 2, 1, 2, 3, 4, 0, 0, 0}},
        {3, 4, 6, {1, 2, 0, 1, 2, 0, 0, 0, 0}},
        {3, 5, 6, {1, 2, 5, 1, 2, 5, 0, 0, 0}},
        {0, 4, 0, {}},
        {4, 4, 0, {}},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const GlyphStripPlan p = PlanGlyphStrip(rows[i].kind, rows[i].frames);
        EXPECT_EQ(p.Slots, rows[i].slots);
        EXPECT_EQ(p.Source, rows[i].source);
    }
}

}  // namespace
}  // namespace kes

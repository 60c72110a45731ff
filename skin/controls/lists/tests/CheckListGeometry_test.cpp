// The skinned check list's item: the frame of each check state in each strip size, and where glyph and text go.
#include "skin/controls/lists/CheckListGeometry.h"

#include <gtest/gtest.h>

using namespace kes;

TEST(CheckListGeometry, EachStateShowsItsFrameInEveryStripSize) {
    using S = CheckListState;
    struct Case {
        S state;
        int frames, frame;
    } cases[] = {
        {S::Unchecked, 4, 1}, {S::Checked, 4, 2},  {S::Grayed, 4, 4},  // the 4-frame strip
        {S::Unchecked, 8, 1}, {S::Checked, 8, 2},  {S::Grayed, 8, 4},  // larger strips keep the first layout
        {S::Unchecked, 12, 1}, {S::Checked, 12, 5}, {S::Grayed, 12, 8},  // the 12-frame strip has its own
        {S::Checked, 2, 2},   {S::Grayed, 2, 2},   {S::Grayed, 3, 3},  // a short strip: its last frame
        {S::Checked, 1, 1},   {S::Grayed, 0, 1},                         // a single frame or none: frame 1
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckListFrame(c.state, c.frames), c.frame)
            << static_cast<int>(c.state) << " in " << c.frames << " frames";
}

TEST(CheckListGeometry, GlyphAndTextSitAtTheReadingStartOfTheItem) {
    struct Case {
        PixelRect item;
        int w, h;
        bool rtl;
        PixelRect glyph, text;
    } cases[] = {
        {{0, 0, 120, 18}, 13, 13, false, {2, 2, 15, 15}, {17, 0, 120, 18}},
        {{0, 36, 120, 54}, 13, 13, false, {2, 38, 15, 51}, {17, 36, 120, 54}},  // a later item
        {{0, 0, 120, 17}, 13, 13, false, {2, 2, 15, 15}, {17, 0, 120, 17}},     // odd spare: toward the top
        {{0, 0, 120, 10}, 13, 13, false, {2, -1, 15, 12}, {17, 0, 120, 10}},    // taller glyph than item
        {{0, 0, 120, 18}, 13, 13, true, {107, 2, 120, 15}, {0, 0, 105, 18}},    // right to left
        {{5, 0, 125, 18}, 0, 0, false, {7, 9, 7, 9}, {9, 0, 125, 18}},          // no glyph
    };
    for (const Case& c : cases) {
        const CheckListItemParts p = LayOutCheckListItem(c.item, c.w, c.h, c.rtl);
        EXPECT_EQ(p.Glyph, c.glyph) << c.item.Top << " rtl " << c.rtl;
        EXPECT_EQ(p.Text, c.text) << c.item.Top << " rtl " << c.rtl;
    }
}

// The frames a check box or radio button shows by state, in 4-, 8- and 12-frame strips, and where box and
// caption go.
#include "skin/controls/checks/CheckGeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace kes {
namespace {

TEST(CheckGeometry, EachCheckBoxStateShowsItsFrameInEveryStrip) {
    CheckBoxFacts plain, checked{.Checked = true}, grayed{.Indeterminate = true};
    auto off = [](CheckBoxFacts f) {
        f.Disabled = true;
        return f;
    };
    CheckBoxFacts stateGray{.HasState = true, .State = "cbgrayed"};
    CheckBoxFacts stateUnchecked{.Checked = true, .HasState = true, .State = "cbunchecked"};
    CheckBoxFacts stateChecked{.HasState = true, .State = "cbchecked"};
    CheckBoxFacts propFalse{.Checked = true, .HasChecked = true, .CheckedTrue = false};
    CheckBoxFacts dataGray{.HasChecked = true, .HasDataField = true, .LastSet = 3};
    CheckBoxFacts dataNone{.Checked = true, .HasDataField = true, .LastSet = 0};
    CheckBoxFacts bound{.Checked = true, .HasDataBinding = true};
    struct Row {
        CheckBoxFacts f;
        int four, eight, twelve;
    };
    const std::vector<Row> rows = {
        {plain, 1, 1, 1},
        {checked, 2, 2, 5},
        {off(plain), 3, 3, 4},
        {off(checked), 4, 4, 8},
        {grayed, 4, 4, 9},
        {off(grayed), 4, 4, 12},
        // the control object's state wins over the window's, a grayed one also when disabled
        {stateUnchecked, 1, 1, 1},
        {stateChecked, 2, 2, 5},
        {stateGray, 4, 4, 9},
        {off(stateGray), 4, 4, 12},
        {propFalse, 1, 1, 1},
        {off(propFalse), 3, 3, 4},
        {dataGray, 4, 4, 9},
        {off(dataGray), 4, 4, 12},
        {dataNone, 2, 2, 5},
        {bound, 1, 1, 1},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(CheckBoxFrame(rows[i].f, 4), rows[i].four);
        EXPECT_EQ(CheckBoxFrame(rows[i].f, 8), rows[i].eight);
        EXPECT_EQ(CheckBoxFrame(rows[i].f, 12), rows[i].twelve);
        // a short strip (a skin's own count) never gets a frame past its end
        for (int frames : {1, 2, 3}) EXPECT_LE(CheckBoxFrame(rows[i].f, frames), frames);
    }
}

TEST(CheckGeometry, RadioButtonStatesAndTheEightFrameStrip) {
    struct Row {
        bool checked, disabled;
        int four, eight, twelve;
    };
    const std::vector<Row> rows = {
        {false, false, 1, 1, 1},
        {true, false, 2, 5, 2},
        {false, true, 3, 4, 3},
        {true, true, 4, 8, 4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.checked * 2 + r.disabled);
        EXPECT_EQ(RadioButtonFrame(r.checked, r.disabled, 4), r.four);
        EXPECT_EQ(RadioButtonFrame(r.checked, r.disabled, 8), r.eight);
        EXPECT_EQ(RadioButtonFrame(r.checked, r.disabled, 12), r.twelve);
        EXPECT_EQ(RadioButtonFrame(r.checked, r.disabled, 2), std::min(r.four, 2));
    }
}

TEST(CheckGeometry, BoxSitsLeftOrRightAndCentredVertically) {
    struct Row {
        bool leftText, radio;
        PixelRect box, text;
    };
    const PixelRect control{0, 0, 100, 21};
    const std::vector<Row> rows = {
        {false, false, {0, 4, 13, 17}, {15, 0, 100, 21}},
        {false, true, {0, 4, 13, 17}, {15, 0, 100, 21}},
        {true, false, {87, 4, 100, 17}, {0, 0, 85, 21}},  // a check box's box touches the right edge
        {true, true, {86, 4, 99, 17}, {0, 0, 84, 21}},    // a radio button's ends one pixel left of it
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.leftText * 2 + r.radio);
        const CheckPlacement p = PlaceCheckBox(control, 13, 13, r.leftText, r.radio);
        EXPECT_EQ(p.Box, r.box);
        EXPECT_EQ(p.Text, r.text);
    }
}

}  // namespace
}  // namespace kes

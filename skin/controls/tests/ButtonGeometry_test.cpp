// The frames the skinned buttons show by state, where glyph and caption go, and the status bar's panels.
#include "skin/controls/ButtonGeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace kes {
namespace {

TEST(ButtonGeometry, EachStateShowsItsFrameOfTheButtonStrip) {
    struct Row {
        ButtonState s;
        bool down;
        int push, menu, speed, glyph;
    };
    const std::vector<Row> rows = {
        {{}, false, 1, 1, 1, 1},
        {{.Pressed = true}, false, 2, 2, 2, 3},
        {{.Hot = true}, false, 4, 4, 4, 1},
        {{.Focused = true}, false, 5, 4, 1, 1},
        {{.Default = true}, false, 5, 1, 1, 1},  // a default button shows 5 when nothing else holds
        {{.Pressed = true, .Hot = true, .Focused = true}, false, 2, 2, 2, 3},
        {{.Default = true, .Enabled = false}, false, 3, 3, 3, 2},  // disabled wins over default
        {{.Enabled = false}, true, 3, 3, 2, 4},                    // a speed button that is down shows pressed
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const Row& r = rows[i];
        EXPECT_EQ(PushButtonFace(r.s), r.push);
        EXPECT_EQ(MenuButtonFace(r.s), r.menu);
        EXPECT_EQ(SpeedButtonFace(r.s, r.down), r.speed);
        EXPECT_EQ(GlyphIndexFor(r.down ? SpeedButtonFace(r.s, r.down) : PushButtonFace(r.s), r.down), r.glyph);
    }
}

TEST(ButtonGeometry, GlyphAndCaptionArePlacedByLayoutMarginAndSpacing) {
    struct Row {
        const char* name;
        GlyphLayoutInput in;
        int glyphX, glyphY, textX, textY, margin, spacing;
        unsigned flags;
    };
    const std::vector<Row> rows = {
        {"computed margin and spacing",
         {.W = 75, .H = 25, .GlyphW = 16, .GlyphH = 16, .TextW = 30, .TextH = 13}, 9, 5, 34, 6, 9, 9, 0x10},
        {"wider than the button",
         {.W = 40, .H = 25, .GlyphW = 16, .GlyphH = 16, .TextW = 29, .TextH = 13}, -1, 5, 14, 6, -1, -1, 0x10},
        {"given spacing", {.W = 75, .H = 25, .GlyphW = 16, .GlyphH = 16, .TextW = 30, .TextH = 13, .Spacing = 4},
         12, 5, 32, 6, 12, 4, 0x10},
        {"speed button, given spacing",
         {.W = 75, .H = 25, .GlyphW = 16, .GlyphH = 16, .TextW = 30, .TextH = 13, .Spacing = 4, .Speed = true}, 13,
         5, 33, 6, 13, 4, 0x10},
        {"given margin", {.W = 75, .H = 25, .GlyphW = 16, .GlyphH = 16, .TextW = 30, .TextH = 13, .Margin = 5}, 5, 5,
         33, 6, 5, 12, 0x10},
        {"centred recomputes a given margin",
         {.W = 75, .H = 25, .GlyphW = 16, .GlyphH = 16, .TextW = 30, .TextH = 13, .Margin = 5, .Centred = true}, 9,
         5, 34, 6, 9, 9, 0x10},
        {"glyph right",
         {.W = 75, .H = 25, .GlyphW = 16, .GlyphH = 16, .TextW = 30, .TextH = 13, .Place = kGlyphRight}, 50, 5, 11,
         6, 9, 9, 0x12},
        {"glyph top",
         {.W = 60, .H = 60, .GlyphW = 16, .GlyphH = 16, .TextW = 30, .TextH = 13, .Place = kGlyphTop}, 22, 10, 15,
         36, 10, 10, 0x11},
        {"no caption: no spacing", {.W = 40, .H = 24, .GlyphW = 16, .GlyphH = 16, .Spacing = 6}, 12, 4, 28, 12, 12,
         0, 0x10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const GlyphLayout l = LayoutGlyphButton(r.in);
        EXPECT_EQ(l.GlyphX, r.glyphX);
        EXPECT_EQ(l.GlyphY, r.glyphY);
        EXPECT_EQ(l.TextX, r.textX);
        EXPECT_EQ(l.TextY, r.textY);
        EXPECT_EQ(l.Margin, r.margin);
        EXPECT_EQ(l.Spacing, r.spacing);
        EXPECT_EQ(l.TextFlags, r.flags);
    }
    EXPECT_EQ(GlyphPlaceOf("blglyphbottom"), kGlyphBottom);
    EXPECT_EQ(GlyphPlaceOf("something"), kGlyphLeft);

    // A menu button: margin 4, spacing computed; arrow after the caption.
    const MenuButtonLayout m = LayoutMenuButton(100, 24, 16, 16, 40, 13, 4, -1);
    EXPECT_EQ(m.Spacing, 22);
    EXPECT_EQ(m.TextX, 4 + 16 + 22);
    EXPECT_EQ(m.ArrowX, m.TextX + 44 + 40);
    EXPECT_EQ(m.ArrowY, 10);
    EXPECT_EQ(LayoutMenuButton(100, 24, 16, 16, 40, 13, -1, -1).Margin, 9);

    // A caption centred in the button, or only vertically.
    EXPECT_EQ(PlaceButtonCaption({0, 0, 75, 25}, 31, 13, true), (PixelRect{22, 5, 53, 18}));
    EXPECT_EQ(PlaceButtonCaption({0, 0, 75, 25}, 31, 13, false), (PixelRect{0, 5, 75, 18}));
}

TEST(ButtonGeometry, StatusBarPanelsReachPastTheirRectanglesAndTakeTheirBevelsAndAlignment) {
    EXPECT_EQ(StatusPanelRect({0, 2, 50, 20}, false, 300), (PixelRect{0, 2, 52, 20}));
    EXPECT_EQ(StatusPanelRect({100, 2, 150, 20}, true, 300), (PixelRect{100, 2, 300, 20}));
    struct Row {
        int bevel, frame;
    };
    for (const Row& r : std::vector<Row>{{0, 3}, {1, 1}, {2, 2}}) EXPECT_EQ(StatusBevelFrame(r.bevel), r.frame);
    struct Align {
        int alignment;
        bool rtl;
        unsigned flag;
    };
    for (const Align& a : std::vector<Align>{{0, false, 0}, {1, false, 2}, {2, false, 1}, {1, true, 0}, {0, true, 2},
                                             {2, true, 1}})
        EXPECT_EQ(StatusPanelAlignment(a.alignment, a.rtl), a.flag) << a.alignment << a.rtl;
    EXPECT_EQ(GroupBoxFrameTop(13), 5);
}

}  // namespace
}  // namespace kes

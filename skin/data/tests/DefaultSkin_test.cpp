// Our default skin: every section and key the description walk reads is there, every image loads, and
// every state of every strip looks different from the others.
#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "skin/container/QuickIni.h"

using namespace kes;

namespace {

class DefaultSkin : public ::testing::Test {
protected:
    void SetUp() override {
        entries = art::DefaultSkin();
        ini.LoadFromText(entries.back().data);
        ASSERT_TRUE(sd.ReadSkinStream(art::SkinStreamOf(art::PackSkin(entries))));
    }
    bool Has(const std::string& section, const std::string& key) const {
        return ini.ReadString(section, key, "\x01") != "\x01";
    }
    std::vector<SkinEntry> entries;
    TQuickIni ini;
    TSkinData sd;
};

TEST_F(DefaultSkin, UsesEverySectionAndKey) {
    EXPECT_EQ(sd.SkinName, "Kestrup Graphite");
    std::vector<std::pair<std::string, std::string>> keys = {
        {"TitlebarSkin", "SkinName"}, {"Fonts", "FontHeight"}, {"MDICONTROLS", "Image"}};
    for (const char* p : {"Left", "Right", "Top", "Bottom"}) {
        keys.push_back({"Personality", p});
        for (const char* k : {"TopHeight", "BotHeight", "Frame", "Stretch", "Trans"})
            keys.push_back({"Personality", std::string(p) + k});
    }
    for (const char* k : {"TextBack", "TextShift", "TextShiftVert", "TextRightClip", "TextAlignment", "Textbackground",
                          "TXTBackleft", "TXTBackRight", "ActiveTextR", "ActiveTextG", "ActiveTextB", "InActiveTextR",
                          "InActiveTextG", "InActiveTextB", "menuBar", "TileMenu", "TileLeftMenu", "TileRightMenu"})
        keys.push_back({"Personality", k});
    for (const char* k : {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar", "Menu",
                          "MenuText", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow",
                          "MenuBarText", "TitleTextActive", "TitleTextNoActive"})
        keys.push_back({"Colours", k});
    for (int i = 0; i < 10; ++i) keys.push_back({"Customcolors", "Color" + std::to_string(i)});
    for (const char* k :
         {"Action", "Align", "Xcoord", "Ycoord", "Visibility", "Visibility1", "CombineOp", "frame", "ButtonImage"})
        keys.push_back({"ButtonClose", k});
    for (const char* k :
         {"LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Bitmap", "Tile", "CheckButton",
          "RadioButton", "NormalColour", "MouseOverColour", "PressedColour", "RadioButtonFrame", "CheckButtonFrame",
          "NormalColour2", "MouseOverColour2", "PressedColour2"})
        keys.push_back({"Buttons", k});
    for (const char* k : {"Bitmap", "Style", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile"})
        keys.push_back({"Progress", k});
    for (const char* s : {"Progress.Chunk",
                          "GroupBoxEdge",
                          "GroupBox",
                          "Tabs",
                          "StatusBarEdges",
                          "Tab.Pane",
                          "ToolBars",
                          "ComboButton",
                          "SunkEdge",
                          "ExtraImages",
                          "Headerbar",
                          "MenuItem",
                          "MenuBackground",
                          "Scrollbar",
                          "HorzScroll",
                          "VertScroll",
                          "HorzScrollThumb",
                          "VertScrollThumb",
                          "Trackbar.ThumbHorz",
                          "Trackbar.ThumbVert",
                          "Trackbar.ThumbLeft",
                          "Trackbar.ThumbRight",
                          "Trackbar.ThumbUp",
                          "Trackbar.ThumbDown",
                          "UpDown.Horz",
                          "UpDown.Vert",
                          "Track",
                          "TRACKVERT"})
        for (const char* k : {"Image", "Style", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Frame",
                              "Trans", "Tile", "NormalColour", "MouseOverColour", "PressedColour", "NormalColour2",
                              "MouseOverColour2", "PressedColour2"})
            keys.push_back({s, k});
    keys.insert(keys.end(), {{"Tabs", "Border"},
                             {"UpDown.Horz", "GlyphImage"},
                             {"UpDown.Vert", "GlyphImage"},
                             {"GroupBox", "BackgroundAlignment"},
                             {"GroupBox", "BackgroundLeftShift"},
                             {"GroupBox", "BackgroundRightShift"},
                             {"HorzScrollThumb", "FrameCount"},
                             {"VertScrollThumb", "FrameCount"}});
    for (const auto& [section, key] : keys) EXPECT_TRUE(Has(section, key)) << "[" << section << "] " << key;
    EXPECT_EQ(sd.SectionColours.size(), 2u);
    for (SkinColour c : {SkinColour::WindowText, SkinColour::ButtonFace, SkinColour::Menubar, SkinColour::MenuText,
                         SkinColour::Hilight})
        EXPECT_TRUE(sd.ColourIsGiven(c));
}

TEST_F(DefaultSkin, EveryObjectHasItsImage) {
    EXPECT_EQ(sd.ObjectCount(), 6 + 9 + 32);
    for (const char* name : {"Title",
                             "Buttons",
                             "Left",
                             "Right",
                             "Top",
                             "Bottom",
                             "Tabs",
                             "UpDown.Horz",
                             "UpDown.Vert",
                             "ComboButton",
                             "Progress",
                             "GroupBox",
                             "SunkEdge",
                             "ExtraImages",
                             "ComboxArrow",
                             "GroupBoxEdge",
                             "Toolbar",
                             "ToolBars",
                             "Progress.Chunk",
                             "StatusBarEdges",
                             "Tab.Pane",
                             "Headerbar",
                             "menuBar",
                             "MenuItem",
                             "MenuBackground",
                             "Scrollbar",
                             "HorzScroll",
                             "VertScroll",
                             "HorzScrollThumb",
                             "VertScrollThumb",
                             "Trackbar.ThumbHorz",
                             "Trackbar.ThumbVert",
                             "Trackbar.ThumbLeft",
                             "Trackbar.ThumbRight",
                             "Trackbar.ThumbUp",
                             "Trackbar.ThumbDown",
                             "Track",
                             "TRACKVERT"}) {
        const TDataSkinObject* o = sd.FindObject(name);
        ASSERT_NE(o, nullptr) << name;
        EXPECT_TRUE(o->HasImage()) << name;
        EXPECT_EQ(o->Image.Width() % (o == &sd.Top || o == &sd.Bottom ? 1 : o->Frame), 0) << name;
    }
    EXPECT_TRUE(sd.Buttons.CheckImage.Width() > 0 && sd.Buttons.RadioImage.Width() > 0);
    for (const auto& b : sd.SysButtons)
        if (b.Action != 3) {
            EXPECT_TRUE(b.HasImage()) << b.Name << " " << b.Action;
        }
    // Rounded frame corners: the window region cuts what is magenta.
    EXPECT_EQ(sd.Left.Trans, 1);
    EXPECT_EQ(sd.Left.Image.GetPixel(0, 0), 0xFF00FF);
    EXPECT_EQ(sd.Right.Image.GetPixel(sd.Right.Image.Width() - 1, 0), 0xFF00FF);
    EXPECT_EQ(sd.Left.Image.GetPixel(0, sd.Left.Image.Height() - 1), 0xFF00FF);
    EXPECT_NE(sd.Left.Image.GetPixel(0, 20), 0xFF00FF);
}

// Frame k of a strip as bytes, for comparing states.
std::string FrameBytes(const PixelBuffer& image, int frame, int frames, bool vertical = false) {
    std::string out;
    const int fw = vertical ? image.Width() : image.Width() / frames;
    const int fh = vertical ? image.Height() / frames : image.Height();
    const int x0 = vertical ? 0 : (frame - 1) * fw, y0 = vertical ? (frame - 1) * fh : 0;
    for (int y = 0; y < fh; ++y)
        for (int x = 0; x < fw; ++x) out += std::to_string(image.GetPixel(x0 + x, y0 + y)) + ",";
    return out;
}

void ExpectDistinct(const std::string& what, const PixelBuffer& image, int frames, std::vector<int> states,
                    bool vertical = false) {
    for (std::size_t i = 0; i < states.size(); ++i)
        for (std::size_t j = i + 1; j < states.size(); ++j)
            EXPECT_TRUE(FrameBytes(image, states[i], frames, vertical) !=
                        FrameBytes(image, states[j], frames, vertical))
                << what << ": frames " << states[i] << " and " << states[j];
}

TEST_F(DefaultSkin, EveryStateOfEveryStripLooksDifferent) {
    ExpectDistinct("left", sd.Left.Image, 2, {1, 2});
    ExpectDistinct("right", sd.Right.Image, 2, {1, 2});
    ExpectDistinct("top", sd.Top.Image, 2, {1, 2}, true);
    ExpectDistinct("bottom", sd.Bottom.Image, 2, {1, 2}, true);
    ExpectDistinct("buttons", sd.Buttons.Image, 5, {1, 2, 3, 4, 5});
    ExpectDistinct("check", sd.Buttons.CheckImage, 4, {1, 2, 3, 4});
    ExpectDistinct("radio", sd.Buttons.RadioImage, 4, {1, 2, 3, 4});
    for (const auto& b : sd.SysButtons)
        if (b.HasImage()) ExpectDistinct(b.Name, b.Image, 4, {1, 2, 3, 4});
    for (int base : {1, 5, 9, 13})
        ExpectDistinct("scroll arrows", sd.Scrollbar->Image, 23, {base, base + 1, base + 2, base + 3});
    ExpectDistinct("grips", sd.Scrollbar->Image, 23, {17, 18, 19});
    ExpectDistinct("grips", sd.Scrollbar->Image, 23, {20, 21, 22});
    ExpectDistinct("thumb", sd.HorzScrollThumb->Image, 3, {1, 2, 3});
    ExpectDistinct("thumb", sd.VertScrollThumb->Image, 3, {1, 2, 3});
    ExpectDistinct("track", sd.HorzScroll->Image, 4, {1, 3});
    ExpectDistinct("combo", sd.ComboButton->Image, 4, {1, 2, 3, 4});
    ExpectDistinct("combo arrow", sd.ComboxArrow->Image, 4, {1, 2, 3, 4});
    ExpectDistinct("extra", sd.ExtraImages->Image, 5, {1, 2, 3, 4, 5});
    ExpectDistinct("menu item", sd.MenuItem->Image, 5, {1, 2, 4});
    ExpectDistinct("menu bar", sd.MenuBar->Image, 2, {1, 2});
    ExpectDistinct("tabs", sd.Tabs->Image, 5, {1, 2, 3, 4});
    ExpectDistinct("header", sd.Headerbar->Image, 5, {1, 2, 3});
    ExpectDistinct("status", sd.StatusBarEdges->Image, 3, {1, 2, 3});
    ExpectDistinct("progress", sd.Progress->Image, 2, {1, 2});
    ExpectDistinct("tool bars", sd.ToolBars->Image, 5, {1, 2, 3, 4, 5});
    ExpectDistinct("up-down", sd.UpDownVert->Image, 8, {1, 2, 3, 4});
    ExpectDistinct("up-down glyphs", sd.UpDownVert->Image2, 8, {1, 2, 3, 4, 5});
    ExpectDistinct("track thumb", sd.TrackbarThumbHorz->Image, 5, {1, 2, 3, 4, 5});
}

TEST(ProgramBitmaps, GroovesAndMenuGlyphs) {
    PixelBuffer track, vert, glyphs;
    ASSERT_TRUE(DrawProgramBitmap("track", track));
    ASSERT_TRUE(DrawProgramBitmap("TRACKVERT", vert));
    ASSERT_TRUE(DrawProgramBitmap("GLASMEREMENU", glyphs));
    EXPECT_FALSE(DrawProgramBitmap("OTHER", glyphs));
    EXPECT_EQ(glyphs.Width(), 64);
    EXPECT_EQ(glyphs.Height(), 16);
    // Black on white only, and four different glyphs.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::int32_t c = glyphs.GetPixel(x, y);
            EXPECT_TRUE(c == 0 || c == 0xFFFFFF) << x << "," << y;
        }
    ExpectDistinct("menu glyphs", glyphs, 4, {1, 2, 3, 4});
    const char* rows[] = {"ssggggggggggggww", "sswwwwwwwwwwwwww", "gswwwwwwwwwwwwww", "sswwwwwwwwwwwwww"};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x) {
            const char c = rows[y][x];
            EXPECT_EQ(track.GetPixel(x, y), c == 'g' ? 0x808080 : c == 's' ? 0xC0C0C0 : 0xFFFFFF) << x << "," << y;
        }
    EXPECT_EQ(vert.Width(), 4);
    EXPECT_EQ(vert.GetPixel(0, 2), 0x808080);
    EXPECT_EQ(vert.GetPixel(1, 2), 0xFFFFFF);
    EXPECT_EQ(vert.GetPixel(2, 0), 0x808080);
    EXPECT_EQ(vert.GetPixel(3, 15), 0xFFFFFF);
}

}  // namespace

// The skin description walk against the test skins: every object, key, default, clamp and derived image.
#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "skin/container/ImgUtil.h"
#include "skin/container/SkinBitmapCache.h"
#include "skin/container/SkinReader.h"

#include <chrono>
#include <cstdio>

#include "tools/skintools/Bmp.h"

using namespace kes;
using kes::test::Colour;

namespace {

constexpr std::int32_t Sys(int n) { return static_cast<std::int32_t>(0xFF000000u | unsigned(n)); }
constexpr std::int32_t Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

class FullSkin : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sd.ReadSkinStream(test::FullSkin())); }
    TSkinData sd;
};

TEST_F(FullSkin, BordersComeFromPersonalityWithTheirOwnKeyLayout) {
    EXPECT_EQ(sd.SkinName, "Distinct Test Skin");
    EXPECT_FALSE(sd.NoSkin());
    // Left and right: the key pair gives the unstretched top and bottom.
    EXPECT_EQ(sd.Left.TopHeight, 11);
    EXPECT_EQ(sd.Left.BottomHeight, 12);
    EXPECT_EQ(sd.Left.LeftWidth, 0);
    EXPECT_EQ(sd.Left.Frame, 2);
    EXPECT_EQ(sd.Left.Tile, 1) << "a Stretch of 5 becomes 1";
    EXPECT_EQ(sd.Left.Trans, 0);
    EXPECT_EQ(sd.Left.Image.GetPixel(0, 0), Colour("left.bmp", 1));
    EXPECT_EQ(sd.Left.Image.GetPixel(4, 39), Colour("left.bmp", 2));
    // A path in front of the bitmap name is dropped.
    EXPECT_EQ(sd.Right.Image.GetPixel(9, 0), Colour("right.bmp", 2));
    EXPECT_EQ(sd.Right.TopHeight, 13);
    EXPECT_EQ(sd.Right.BottomHeight, 14);
    EXPECT_EQ(sd.Right.Tile, 0);
    EXPECT_EQ(sd.Right.Trans, 1);
    // Top and bottom: the same keys give the unstretched left and right.
    EXPECT_EQ(sd.Top.LeftWidth, 15);
    EXPECT_EQ(sd.Top.RightWidth, 16);
    EXPECT_EQ(sd.Top.TopHeight, 0);
    EXPECT_EQ(sd.Top.BottomHeight, 0);
    EXPECT_EQ(sd.Bottom.LeftWidth, 17);
    EXPECT_EQ(sd.Bottom.RightWidth, 18);
    EXPECT_EQ(sd.Bottom.Trans, 1);
    EXPECT_EQ(sd.Bottom.Image.GetPixel(0, 9), Colour("bottom.bmp", 2));
}

TEST_F(FullSkin, ColourSlotsSectionColoursAndCustomColours) {
    const std::pair<SkinColour, std::int32_t> given[] = {
        {SkinColour::WindowText, Rgb(1, 2, 3)},          {SkinColour::ButtonFace, Rgb(10, 20, 30)},
        {SkinColour::Scrollbar, Rgb(4, 5, 6)},           {SkinColour::HilightText, Rgb(7, 8, 9)},
        {SkinColour::Hilight, Rgb(11, 12, 13)},          {SkinColour::Menu, Rgb(14, 15, 16)},
        {SkinColour::MenuText, Rgb(17, 18, 19)},         {SkinColour::ButtonText, Rgb(21, 22, 23)},
        {SkinColour::ButtonHilight, Rgb(24, 25, 26)},    {SkinColour::Buttonlight, Rgb(27, 28, 29)},
        {SkinColour::ButtonShadow, Rgb(31, 32, 33)},     {SkinColour::ButtonDkShadow, Rgb(34, 35, 36)},
        {SkinColour::MenuBarText, Rgb(37, 38, 39)},      {SkinColour::TitleTextActive, Rgb(41, 42, 43)},
        {SkinColour::TitleTextNoActive, Rgb(44, 45, 46)}};
    for (const auto& [slot, value] : given) {
        EXPECT_EQ(sd.Colour(slot), value) << static_cast<int>(slot);
        EXPECT_TRUE(sd.ColourIsGiven(slot)) << static_cast<int>(slot);
    }
    // Menubar not given: the face colour just read.
    EXPECT_EQ(sd.Colour(SkinColour::Menubar), Rgb(10, 20, 30));
    EXPECT_FALSE(sd.ColourIsGiven(SkinColour::Menubar));
    // The frame colour is the pixel a third into the first caption frame.
    EXPECT_EQ(sd.Colour(SkinColour::FrameColour), Colour("top.bmp", 1));
    EXPECT_EQ(sd.Colours[9], 0);
    EXPECT_EQ(sd.Colours[10], 0);
    ASSERT_EQ(sd.SectionColours.size(), 3u);
    EXPECT_EQ(sd.SectionColours[0], Rgb(51, 52, 53));
    EXPECT_EQ(sd.SectionColours[1], Sys(8)) << "an empty colour text gives the window-text colour";
    EXPECT_EQ(sd.SectionColours[2], Rgb(54, 55, 56));
    EXPECT_EQ(sd.CustomColours[0], 0x010203);
    EXPECT_EQ(sd.CustomColours[5], 0xFFFFFF);
    EXPECT_EQ(sd.CustomColours[9], 99);
}

TEST_F(FullSkin, CaptionTitle) {
    const TDataSkinTitle& t = sd.Title;
    EXPECT_EQ(t.LeftWidth, 21);
    EXPECT_EQ(t.TopHeight, 22);
    EXPECT_EQ(t.RightWidth, 23);
    EXPECT_EQ(t.BottomHeight, 0);
    EXPECT_EQ(t.TextAlignment, 1);
    EXPECT_EQ(t.Textbackground, 1);
    EXPECT_EQ(t.FontHeight, 19);
    EXPECT_EQ(t.TXTBackleft, 24);
    EXPECT_EQ(t.TXTBackRight, 25);
    EXPECT_EQ(t.ActiveText, Rgb(300 % 256, 20, 30));
    EXPECT_EQ(t.InActiveText, kSkinColourNotGiven) << "one channel below 0 leaves the colour not given";
    EXPECT_EQ(t.Frame, 2);
    EXPECT_EQ(t.Image.GetPixel(10, 0), Colour("textback.bmp", 2));
}

TEST_F(FullSkin, PushButtonsCheckAndRadioBoxes) {
    const TDataSkinButton& b = sd.Buttons;
    EXPECT_EQ(b.LeftWidth, 1);
    EXPECT_EQ(b.RightWidth, 2);
    EXPECT_EQ(b.TopHeight, 3);
    EXPECT_EQ(b.BottomHeight, 4);
    EXPECT_EQ(b.Trans, 1);
    EXPECT_EQ(b.Tile, 0) << "Tile 2 becomes 0";
    EXPECT_EQ(b.Frame, 5);
    EXPECT_EQ(b.NormalColour, 0x102030);
    EXPECT_EQ(b.MouseOverColour, 5);
    EXPECT_EQ(b.PressedColour, 6);
    EXPECT_EQ(b.NormalColour2, Rgb(1, 2, 3)) << "numbers after the third are ignored";
    EXPECT_TRUE(b.NormalColour2Given);
    EXPECT_EQ(b.MouseOverColour2, Rgb(21, 22, 23)) << "not given: the ButtonText colour";
    EXPECT_FALSE(b.MouseOverColour2Given);
    EXPECT_EQ(b.PressedColour2, Rgb(10, 0, 0));
    EXPECT_TRUE(b.PressedColour2Given);
    EXPECT_EQ(b.CheckButtonFrame, 4);
    EXPECT_EQ(b.RadioButtonFrame, 12) << "a 192 x 20 radio strip without a count holds 12 frames";
    EXPECT_EQ(b.CheckImage.GetPixel(16, 0), Colour("check.bmp", 2));
    EXPECT_EQ(b.RadioImage.GetPixel(191, 19), Colour("radio.bmp", 12));
    EXPECT_EQ(b.Image.GetPixel(99, 0), Colour("button.bmp", 5));
}

TEST_F(FullSkin, CaptionButtonsKeptDroppedAndInferred) {
    std::vector<std::string> names;
    for (const auto& b : sd.SysButtons) names.push_back(b.Name);
    const std::vector<std::string> expected = {"BUTTONCLOSE", "BUTTONMAX", "BUTTONHELP", "BUTTONICON",
                                               "BUTTON2",     "",          "",           ""};
    EXPECT_EQ(names, expected);
    const TDataSkinSysButton& close = sd.SysButtons[0];
    EXPECT_EQ(close.Action, 0);
    EXPECT_EQ(close.Align, 1);
    EXPECT_EQ(close.Xcoord, 30);
    EXPECT_EQ(close.Ycoord, 4);
    EXPECT_EQ(close.CombineOp, 2);
    EXPECT_EQ(close.Frame, 3) << "60 x 20 without a count: 3 frames";
    const TDataSkinSysButton& max = sd.SysButtons[1];
    EXPECT_EQ(max.Frame, 4);
    EXPECT_EQ(max.Visibility, 2);
    EXPECT_EQ(max.Visibility1, 6);
    EXPECT_EQ(max.CombineOp, -1);
    const TDataSkinSysButton& help = sd.SysButtons[2];
    EXPECT_EQ(help.Xcoord, 52) << "the help button takes the maximize button's place";
    EXPECT_EQ(help.Ycoord, 5);
    EXPECT_EQ(help.Frame, 6) << "120 x 20 without a count: 6 frames";
    const TDataSkinSysButton& icon = sd.SysButtons[3];
    EXPECT_FALSE(icon.HasImage()) << "the system-menu icon button draws the window's icon";
    EXPECT_EQ(icon.Frame, 3);
    const TDataSkinSysButton& kept = sd.SysButtons[4];
    EXPECT_EQ(kept.Action, -1);
    EXPECT_EQ(kept.Visibility1, -1);
    EXPECT_EQ(kept.Frame, 6);
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& m = sd.SysButtons[5 + static_cast<std::size_t>(i)];
        EXPECT_EQ(m.Action, 7 + i);
        EXPECT_EQ(m.Align, 100);
        EXPECT_EQ(m.Visibility, 100);
        EXPECT_EQ(m.Visibility1, 100);
        EXPECT_EQ(m.Frame, 4);
        EXPECT_EQ(m.Image.Width(), 64);
        EXPECT_EQ(m.Image.GetPixel(0, 0), Colour("mdi.bmp", 4 * i + 1));
        EXPECT_EQ(m.Image.GetPixel(63, 15), Colour("mdi.bmp", 4 * i + 4));
        EXPECT_EQ(m.Xcoord, (3 - i) * 20);
    }
}

TEST_F(FullSkin, ImageSectionsKeysFrameCountsAndClamps) {
    ASSERT_TRUE(sd.Progress);
    EXPECT_EQ(sd.Progress->Frame, 2);
    EXPECT_EQ(sd.Progress->LeftWidth, 2);
    EXPECT_EQ(sd.Progress->RightWidth, 3);
    EXPECT_EQ(sd.Progress->TopHeight, 4);
    EXPECT_EQ(sd.Progress->BottomHeight, 5);
    EXPECT_EQ(sd.Progress->Tile, 1) << "in [Progress] Tile 2 becomes 1";
    EXPECT_EQ(sd.Progress->NormalColour, -1);
    ASSERT_TRUE(sd.ProgressChunk);
    EXPECT_EQ(sd.ProgressChunk->Frame, 3) << "the chunk keeps its own count";
    EXPECT_EQ(sd.ProgressChunk->Tile, 1);
    ASSERT_TRUE(sd.GroupBox);
    EXPECT_EQ(sd.GroupBox->Frame, 1);
    EXPECT_EQ(sd.GroupBox->LeftWidth, 6);
    EXPECT_EQ(sd.GroupBox->BackgroundAlignment, 1);
    EXPECT_EQ(sd.GroupBox->BackgroundLeftShift, 7);
    EXPECT_EQ(sd.GroupBox->BackgroundRightShift, 8);
    ASSERT_TRUE(sd.Tabs);
    EXPECT_EQ(sd.Tabs->Frame, 5);
    EXPECT_EQ(sd.Tabs->Style, 1);
    EXPECT_EQ(sd.Tabs->LeftWidth, 5);
    EXPECT_EQ(sd.Tabs->Image2.GetPixel(0, 0), Colour("tabborder.bmp", 1));
    EXPECT_EQ(sd.Tabs->NormalColour2, Rgb(100, 110, 120));
    EXPECT_EQ(sd.Tabs->MouseOverColour2, Rgb(130, 140, 150));
    EXPECT_EQ(sd.Tabs->PressedColour2, Rgb(21, 22, 23));
    ASSERT_TRUE(sd.TabPane);
    EXPECT_EQ(sd.TabPane->LeftWidth, 4) << "pane margins are at most 4";
    EXPECT_EQ(sd.TabPane->TopHeight, 4);
    EXPECT_EQ(sd.TabPane->RightWidth, 3);
    EXPECT_EQ(sd.TabPane->BottomHeight, 4);
    ASSERT_TRUE(sd.MenuBar);
    EXPECT_EQ(sd.MenuBar->Name, "Personality");
    EXPECT_EQ(sd.MenuBar->Tile, 1);
    EXPECT_EQ(sd.MenuBar->LeftWidth, 26);
    EXPECT_EQ(sd.MenuBar->RightWidth, 27);
    EXPECT_EQ(sd.MenuBar->Frame, 2);
    EXPECT_EQ(sd.StatusBarEdges->NormalColour2, Rgb(200, 201, 202));
    EXPECT_EQ(sd.MenuItem->LeftWidth, 5);
    EXPECT_EQ(sd.MenuItem->RightWidth, 6);
    EXPECT_EQ(sd.MenuItem->Tile, 1);
    ASSERT_TRUE(sd.UpDownVert);
    EXPECT_EQ(sd.UpDownVert->Image2.GetPixel(9 * 7, 0), Colour("updownvg.bmp", 8));
    const std::pair<const char*, int> counts[] = {{"GroupBoxEdge", 2},
                                                  {"StatusBarEdges", 3},
                                                  {"Tab.Pane", 1},
                                                  {"ToolBars", 5},
                                                  {"ExtraImages", 5},
                                                  {"Headerbar", 2},
                                                  {"MenuItem", 5},
                                                  {"MenuBackground", 1},
                                                  {"Scrollbar", 23},
                                                  {"HorzScroll", 4},
                                                  {"VertScroll", 4},
                                                  {"HorzScrollThumb", 4},
                                                  {"VertScrollThumb", 3},
                                                  {"Trackbar.ThumbHorz", 5},
                                                  {"Trackbar.ThumbVert", 5},
                                                  {"Trackbar.ThumbLeft", 5},
                                                  {"Trackbar.ThumbRight", 5},
                                                  {"Trackbar.ThumbUp", 5},
                                                  {"Trackbar.ThumbDown", 5},
                                                  {"UpDown.Horz", 8},
                                                  {"UpDown.Vert", 8},
                                                  {"Track", 2},
                                                  {"TRACKVERT", 1},
                                                  {"ComboButton", 4},
                                                  {"SunkEdge", 4},
                                                  {"ComboxArrow", 4},
                                                  {"Toolbar", 1},
                                                  {"menuBar", 2}};
    for (const auto& [name, frames] : counts) {
        const TDataSkinObject* o = sd.FindObject(name);
        ASSERT_NE(o, nullptr) << name;
        EXPECT_EQ(o->Frame, frames) << name;
    }
    // The skin's own grooves, not the program's.
    EXPECT_EQ(sd.Track->Image.GetPixel(0, 0), Colour("track.bmp", 1));
    EXPECT_EQ(sd.Track->Name, "Track");
    EXPECT_EQ(sd.ObjectCount(), 6 + 8 + 32);
}

TEST_F(FullSkin, ComboStripsAreBuiltFromSunkEdgeButtonAndArrow) {
    const TDataSkinBorder& button = *sd.ComboButton;
    const TDataSkinObject& sunk = *sd.SunkEdge;
    const int B = 17 + 2;
    EXPECT_EQ(button.Style, 2);
    EXPECT_EQ(button.LeftWidth, 2);
    EXPECT_EQ(button.RightWidth, B + 2);
    EXPECT_EQ(button.TopHeight, 4) << "the sunken edge's margins";
    EXPECT_EQ(button.BottomHeight, 5);
    ASSERT_EQ(button.Image.Width(), 4 * 50);
    ASSERT_EQ(button.Image.Height(), 21);
    for (int f = 1; f <= 4; ++f) {
        const int x0 = (f - 1) * 50;
        EXPECT_EQ(button.Image.GetPixel(x0 + 1, 1), Colour("sunkedge.bmp", f)) << f;
        EXPECT_EQ(button.Image.GetPixel(x0 + 33, 0), Colour("combobutton.bmp", f)) << f;
        EXPECT_EQ(button.Image.GetPixel(x0 + 40, 10), Colour("extra.bmp", f)) << f;
        EXPECT_EQ(button.Image.GetPixel(x0 + 10, 10), 0xFF00FF) << "the text area is left out";
        // The sunken edge holds the mirror image, button on the left.
        EXPECT_EQ(sunk.Image.GetPixel(199 - (x0 + 40), 10), Colour("extra.bmp", f)) << f;
    }
    // Frame 1 of the button has a magenta column: drawn transparent, the sunken edge shows through.
    EXPECT_EQ(button.Image.GetPixel(31, 0), Colour("sunkedge.bmp", 1));
    EXPECT_EQ(sunk.LeftWidth, B + 2);
    EXPECT_EQ(sunk.RightWidth, 2);
    // The second image is the original button mirrored.
    EXPECT_EQ(button.Image2.Width(), 76);
    EXPECT_EQ(button.Image2.GetPixel(75, 5), 0xFF00FF);
    EXPECT_EQ(button.Image2.GetPixel(0, 5), Colour("combobutton.bmp", 4));
    // The arrow alone: 17 x 17 squares cut from the strip's button.
    const TDataSkinObject& arrow = *sd.ComboxArrow;
    EXPECT_EQ(arrow.Name, "ComboxArrow");
    EXPECT_EQ(arrow.Image.Width(), 4 * 17);
    EXPECT_EQ(arrow.Image.Height(), 17);
    for (int f = 1; f <= 4; ++f) EXPECT_EQ(arrow.Image.GetPixel((f - 1) * 17 + 8, 8), Colour("extra.bmp", f));
}

TEST_F(FullSkin, ToolbarGradientRunsFromTheFaceToTheFrameColour) {
    ASSERT_TRUE(sd.Toolbar);
    EXPECT_EQ(sd.Toolbar->Name, "Toolbar");
    EXPECT_EQ(sd.Toolbar->Image.Width(), 10);
    EXPECT_EQ(sd.Toolbar->Image.Height(), 40);
    const std::int32_t F = sd.Colour(SkinColour::FrameColour);
    const int L = ColourSaturation(F);
    const std::int32_t E =
        L > 110 ? BlendColours(F, 0xFFFFFF, (225 - L) * 25 / 140 + 50) : BlendColours(0x808080, F, 150);
    const std::int32_t S = BlendColours(Rgb(10, 20, 30), 0xFFFFFF, 150);
    const std::vector<std::int32_t>& bands = GradientTable(GetGradient(40, S, E));
    EXPECT_EQ(sd.Toolbar->Image.GetPixel(5, 0), bands.front());
    EXPECT_EQ(sd.Toolbar->Image.GetPixel(5, 39), bands.back());
    EXPECT_EQ(bands.front(), S);
}

TEST(SparseSkin, DefaultsInferredCountsAndProgramGrooves) {
    TSkinData sd;
    ASSERT_TRUE(sd.ReadSkinStream(test::SparseSkin()));
    EXPECT_EQ(sd.SkinName, "");
    // Borders without keys: frame 1, stretched, transparent, no margins; only Top has an image.
    for (const TDataSkinBorder* b : {&sd.Left, &sd.Right, &sd.Bottom}) {
        EXPECT_EQ(b->Frame, 1) << b->Name;
        EXPECT_EQ(b->Tile, 1) << b->Name;
        EXPECT_EQ(b->Trans, 1) << b->Name;
        EXPECT_FALSE(b->HasImage()) << b->Name;
    }
    EXPECT_EQ(sd.Top.Frame, 2);
    // Colours: every slot its system default.
    EXPECT_EQ(sd.Colour(SkinColour::WindowText), Sys(8));
    EXPECT_EQ(sd.Colour(SkinColour::ButtonFace), Sys(15));
    EXPECT_EQ(sd.Colour(SkinColour::Menubar), Sys(15));
    EXPECT_EQ(sd.Colour(SkinColour::TitleTextNoActive), Sys(19));
    EXPECT_EQ(sd.Colour(SkinColour::ButtonDkShadow), Sys(21));
    EXPECT_EQ(sd.Colour(SkinColour::Menu), Sys(4));
    EXPECT_EQ(sd.Colour(SkinColour::Scrollbar), Sys(0));
    EXPECT_FALSE(sd.ColourIsGiven(SkinColour::ButtonFace));
    EXPECT_TRUE(sd.SectionColours.empty());
    EXPECT_EQ(sd.CustomColours[0], 0xFFFFFF);
    EXPECT_EQ(sd.Title.FontHeight, 14);
    EXPECT_EQ(sd.Title.ActiveText, kSkinColourNotGiven);
    // Box strips without counts: 64 x 13 gives 4, 192 x 20 gives 12.
    EXPECT_EQ(sd.Buttons.CheckButtonFrame, 4);
    EXPECT_EQ(sd.Buttons.RadioButtonFrame, 12);
    EXPECT_EQ(sd.Buttons.NormalColour2, Sys(18));
    EXPECT_FALSE(sd.Buttons.NormalColour2Given);
    // Caption buttons: inferred counts; a help button with no maximize before it keeps its place.
    ASSERT_EQ(sd.SysButtons.size(), 4u + 3u);
    EXPECT_EQ(sd.SysButtons[0].Frame, 3);
    EXPECT_EQ(sd.SysButtons[1].Frame, 6);
    EXPECT_EQ(sd.SysButtons[2].Frame, 6) << "no image: 6";
    EXPECT_EQ(sd.SysButtons[3].Xcoord, 7);
    EXPECT_EQ(sd.SysButtons[3].Ycoord, 8);
    // MDI images from a 64-pixel strip: frames 5 wide.
    EXPECT_EQ(sd.SysButtons[4].Image.Width(), 20);
    EXPECT_EQ(sd.SysButtons[5].Xcoord, 2 * 9);
    // The program's grooves stand in for the missing [Track] and [TRACKVERT].
    ASSERT_TRUE(sd.Track && sd.TrackVert);
    EXPECT_EQ(sd.Track->Name, "TRACK");
    EXPECT_EQ(sd.Track->LeftWidth, 3);
    EXPECT_EQ(sd.Track->BottomHeight, 3);
    EXPECT_EQ(sd.Track->Tile, 0);
    EXPECT_EQ(sd.Track->Frame, 1);
    EXPECT_EQ(sd.Track->Image.Width(), 16);
    EXPECT_EQ(sd.Track->Image.GetPixel(0, 0), 0xC0C0C0);
    EXPECT_EQ(sd.Track->Image.GetPixel(2, 0), 0x808080);
    EXPECT_EQ(sd.Track->Image.GetPixel(0, 2), 0x808080);
    EXPECT_EQ(sd.Track->Image.GetPixel(15, 3), 0xFFFFFF);
    EXPECT_EQ(sd.TrackVert->Image.Height(), 16);
    EXPECT_EQ(sd.TrackVert->Image.GetPixel(2, 0), 0x808080);
    EXPECT_EQ(sd.TrackVert->Image.GetPixel(0, 2), 0x808080);
    EXPECT_EQ(sd.TrackVert->Image.GetPixel(0, 15), 0xFFFFFF);
    // Counts from defaults.
    EXPECT_EQ(sd.Headerbar->Frame, 5) << "no Frame key: 5";
    EXPECT_EQ(sd.HorzScrollThumb->Frame, 3);
    EXPECT_EQ(sd.Progress->Frame, 1) << "Style 1";
    // Without a sunken edge the combo button stays as drawn.
    EXPECT_EQ(sd.ComboButton->Style, 0);
    EXPECT_EQ(sd.ComboButton->Image.Width(), 76);
    for (const char* missing : {"Tabs", "SunkEdge", "Scrollbar", "menuBar", "GroupBox", "MenuItem", "Tab.Pane"})
        EXPECT_EQ(sd.FindObject(missing), nullptr) << missing;
    EXPECT_EQ(sd.ObjectCount(), 6 + 7 + 8);
}

// System colours are resolved before they become pixels: the arrow's magenta turns into the real face colour.
TEST(SparseSkin, ComboArrowReplacesMagentaWithTheResolvedFaceColour) {
    SetSysColourSource([](int index) -> std::int32_t { return index == 15 ? 0x00D0C0B0 : 0x000000; });
    TSkinData sd;
    ASSERT_TRUE(sd.ReadSkinStream(test::SparseSkin()));
    SetSysColourSource(nullptr);
    ASSERT_TRUE(sd.ComboxArrow);
    EXPECT_EQ(sd.ComboxArrow->Frame, 4);
    EXPECT_EQ(sd.ComboxArrow->Image.GetPixel(0, 0), 0xD0C0B0);
    EXPECT_EQ(sd.ComboxArrow->Image.GetPixel(1, 0), Colour("combobutton.bmp", 1));
}

TEST(BrokenSkins, UnknownFormatIsNoSkinAndADescriptionlessContainerTheDefaultSkin) {
    TSkinData sd;
    std::string shown;
    sd.ShowMessage = [&](const std::string& m) { shown = m; };
    EXPECT_FALSE(sd.ReadSkinStream(test::Broken("unknownformat")));
    EXPECT_TRUE(sd.NoSkin());
    EXPECT_TRUE(sd.SysButtons.empty());
    EXPECT_EQ(sd.ObjectCount(), 6);
    EXPECT_EQ(shown, TSkinReader::kOlderSkinMessage);

    TSkinData defaults;
    ASSERT_TRUE(defaults.ReadSkinStream(test::Broken("nodescription")));
    EXPECT_FALSE(defaults.NoSkin());
    EXPECT_EQ(defaults.SkinName, "");
    EXPECT_EQ(defaults.Tabs, nullptr);
    EXPECT_FALSE(defaults.ColourIsGiven(SkinColour::ButtonFace));
    EXPECT_EQ(defaults.Colour(SkinColour::ButtonFace), static_cast<std::int32_t>(0xFF00000F));
    EXPECT_EQ(defaults.SysButtons.size(), 3u) << "the three MDI buttons only";
    ASSERT_TRUE(defaults.Track) << "the program's groove stands in";
    EXPECT_EQ(defaults.Track->LeftWidth, 3);
}

TEST(BrokenSkins, BadBitmapGivesAnEmptyImageAndTheRestLoads) {
    TSkinData sd;
    ASSERT_TRUE(sd.ReadSkinStream(test::Broken("badbmp")));
    ASSERT_TRUE(sd.Scrollbar);
    EXPECT_FALSE(sd.Scrollbar->HasImage());
    EXPECT_EQ(sd.Scrollbar->Frame, 23);
    EXPECT_TRUE(sd.HorzScroll->HasImage());
}

TEST(BrokenSkins, FrameCountsBelowOneAreClampedToOne) {
    TSkinData sd;
    ASSERT_TRUE(sd.ReadSkinStream(test::Broken("framezero")));
    EXPECT_EQ(sd.Left.Frame, 1);
    EXPECT_EQ(sd.Top.Frame, 1);
    EXPECT_EQ(sd.Buttons.RadioButtonFrame, 1);
    EXPECT_EQ(sd.Buttons.CheckButtonFrame, 4) << "0 means: infer (at least 4)";
    EXPECT_EQ(sd.SysButtons[0].Frame, 1);
    EXPECT_EQ(sd.ProgressChunk->Frame, 1);
    EXPECT_EQ(sd.Headerbar->Frame, 1);
    EXPECT_EQ(sd.HorzScrollThumb->Frame, 1);
    EXPECT_EQ(sd.Track->Frame, 1);
    // The frame colour of a one-frame caption strip: a third down the whole image.
    EXPECT_EQ(sd.Colour(SkinColour::FrameColour), Colour("top.bmp", 1));
    for (const auto& b : sd.SysButtons) EXPECT_GE(b.Frame, 1);
}

TEST(BrokenSkins, UpperCaseBmpNamesGiveEmptyImages) {
    TSkinData sd;
    ASSERT_TRUE(sd.ReadSkinStream(test::Broken("uppercasebmp")));
    ASSERT_TRUE(sd.Scrollbar) << "the object exists";
    EXPECT_FALSE(sd.Scrollbar->HasImage());
    EXPECT_FALSE(sd.Buttons.HasImage());
    EXPECT_TRUE(sd.Buttons.CheckImage.Width() > 0);
}

TEST(ParseSkinColour, NumbersSeparatorsExtrasAndOverflow) {
    EXPECT_EQ(ParseSkinColour("255 0 255"), 0xFF00FF);
    EXPECT_EQ(ParseSkinColour("10,20,30;"), Rgb(10, 20, 30));
    EXPECT_EQ(ParseSkinColour("10 20"), Rgb(10, 0, 0));
    EXPECT_EQ(ParseSkinColour("1 2 3 4 5"), Rgb(1, 2, 3));
    EXPECT_EQ(ParseSkinColour(""), 0);
    EXPECT_EQ(ParseSkinColour("   7 8 9   "), Rgb(7, 8, 9));
    EXPECT_EQ(ParseSkinColour("256 257 258"), Rgb(0, 1, 2));
    EXPECT_EQ(ParseSkinColour("r=12 g=34 b=56"), Rgb(12, 34, 56));
    EXPECT_EQ(ParseSkinColour("7 99999999999 1"), Rgb(7, 0, 0)) << "a run too long swallows the rest";
    EXPECT_EQ(ParseSkinColour("99999999999 5 6"), 0);
    EXPECT_EQ(ParseSkinColour("2147483647 1 1"), Rgb(255, 1, 1));
    // Leading zeros make a run long, not large: only a value past 2147483647 is refused.
    EXPECT_EQ(ParseSkinColour("000000000010 000000000000020 30"), Rgb(10, 20, 30));
    EXPECT_EQ(ParseSkinColour("1 2 00000000002147483647"), Rgb(1, 2, 255));
    EXPECT_EQ(ParseSkinColour("1 2 2147483648"), Rgb(1, 2, 0));
    EXPECT_EQ(ParseSkinColour("0000000000000 5 6"), Rgb(0, 5, 6));
}

// Thousands of caption-button and colour sections, all naming one bitmap: every section is read, in time
// that grows with their number (a lookup per key, not a walk over every section), and the bitmap is
// decoded once.
TEST(LargeDescriptions, ThousandsOfSectionsLoadInLinearTimeAndShareOneDecodedBitmap) {
    PixelBuffer glyph(6, 2);  // small: the copies each button keeps cost little memory
    glyph.FillRect({0, 0, 6, 2}, Rgb(9, 8, 7));
    const std::string bmp = WriteBmp(glyph);
    // The quickest of a few loads of a description with n sections of each kind.
    auto load = [&](int n, int rounds, TSkinData& sd) {
        std::string ini = "[Personality]\r\nTop=glyph.bmp\r\n";
        for (int i = 0; i < n; ++i) {
            ini += "[Button" + std::to_string(i) + "]\r\nAction=0\r\nButtonImage=GLYPH.bmp\r\n";
            ini += "[Colour" + std::to_string(i) + "]\r\ncolor=" + std::to_string(i % 256) + " 2 3\r\n";
        }
        const std::string stream = test::Stream(art::PackSkin({{"glyph.bmp", bmp}, {"skin.ini", ini}}));
        double best = 1e9;
        for (int r = 0; r < rounds; ++r) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_TRUE(sd.ReadSkinStream(stream));
            best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        return best;
    };
    TSkinData small, sd;
    constexpr int kSections = 16000;
    const double few = load(kSections / 8, 3, small), many = load(kSections, 2, sd);
    std::printf("%d and %d sections of each kind: %.3f s and %.3f s\n", kSections / 8, kSections, few, many);
    // Eight times the sections: about eight times the time, where a walk over every section per lookup takes 64
    // times (16000 of each: 14 s). A busy machine stretches both; seconds stay far from the walk's figure.
    EXPECT_LT(many, std::max(24 * few, 3.0));
    ASSERT_EQ(sd.SysButtons.size(), static_cast<std::size_t>(kSections) + 3);
    EXPECT_EQ(sd.SysButtons[kSections - 1].Image.GetPixel(5, 1), Rgb(9, 8, 7));
    ASSERT_EQ(sd.SectionColours.size(), static_cast<std::size_t>(kSections));
    EXPECT_EQ(sd.SectionColours[kSections - 1], Rgb((kSections - 1) % 256, 2, 3));

    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(art::PackSkin({{"glyph.bmp", WriteBmp(glyph)}, {"bad.bmp", "BM junk"}})));
    SkinBitmapCache cache(reader, 3 * glyph.SizeBytes());
    EXPECT_EQ(cache.Get("glyph.bmp").GetPixel(0, 0), Rgb(9, 8, 7));
    EXPECT_EQ(cache.Get("Glyph.BMP").Width(), 6);
    EXPECT_EQ(cache.Decoded(), 1u) << "one name, one decode";
    EXPECT_EQ(cache.Get("bad.bmp").Width(), 0);
    EXPECT_EQ(cache.Get("missing.bmp").Width(), 0);
    EXPECT_EQ(cache.Get("glyph.bmp").Width(), 6);
    EXPECT_EQ(cache.Get("glyph.bmp").Width(), 0) << "past the budget of three copies";
}

}  // namespace

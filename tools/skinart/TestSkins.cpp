// Test skins: every frame of every image is one solid colour, so a single pixel tells which frame of which
// image was drawn; descriptions with distinct values for every key; and broken containers.
#include <stdexcept>

#include "Bmp.h"
#include "SkinArt.h"
#include "SkinWriter.h"

namespace kes::art {

namespace {

struct TestImage {
    const char* name;
    int frames, frameWidth, frameHeight;
    bool vertical;  // frames stacked
};

// Every image of the test skins, in a fixed order (its index picks its colours).
const TestImage kImages[] = {
    {"left.bmp", 2, 4, 40, false},      {"right.bmp", 2, 5, 40, false},      {"top.bmp", 2, 30, 24, true},
    {"bottom.bmp", 2, 30, 5, true},     {"textback.bmp", 2, 10, 20, false},  {"menubar.bmp", 2, 12, 18, false},
    {"close.bmp", 3, 20, 20, false},    {"wide.bmp", 6, 20, 20, false},      {"max.bmp", 4, 20, 20, false},
    {"sysmenu.bmp", 3, 16, 16, false},  {"mdi.bmp", 12, 16, 16, false},      {"button.bmp", 5, 20, 20, false},
    {"check.bmp", 4, 16, 13, false},    {"radio.bmp", 12, 16, 20, false},    {"progress.bmp", 2, 20, 10, false},
    {"chunk.bmp", 3, 8, 10, false},     {"groupedge.bmp", 2, 12, 12, false}, {"groupbox.bmp", 1, 24, 20, false},
    {"tabs.bmp", 5, 30, 22, false},     {"tabborder.bmp", 1, 20, 20, false}, {"statusbar.bmp", 3, 12, 12, false},
    {"pane.bmp", 1, 20, 20, false},     {"toolbars.bmp", 5, 22, 22, false},  {"combobutton.bmp", 4, 19, 21, false},
    {"sunkedge.bmp", 4, 20, 21, false}, {"extra.bmp", 5, 17, 17, false},     {"header.bmp", 5, 20, 22, false},
    {"menuitem.bmp", 5, 24, 20, false}, {"menuback.bmp", 1, 16, 16, false},  {"scrollbar.bmp", 23, 17, 17, false},
    {"hscroll.bmp", 4, 20, 17, false},  {"vscroll.bmp", 4, 17, 20, false},   {"hthumb.bmp", 4, 20, 17, false},
    {"vthumb.bmp", 3, 17, 20, false},   {"thumbh.bmp", 5, 11, 20, false},    {"thumbv.bmp", 5, 20, 11, false},
    {"thumbl.bmp", 5, 20, 11, false},   {"thumbr.bmp", 5, 20, 11, false},    {"thumbu.bmp", 5, 11, 20, false},
    {"thumbd.bmp", 5, 11, 20, false},   {"updownh.bmp", 8, 11, 17, false},   {"updownhg.bmp", 8, 7, 9, false},
    {"updownv.bmp", 8, 17, 11, false},  {"updownvg.bmp", 8, 9, 7, false},    {"track.bmp", 2, 24, 6, false},
    {"trackvert.bmp", 1, 6, 24, false},
};

int IndexOf(const std::string& image) {
    int i = 0;
    for (const TestImage& t : kImages) {
        if (image == t.name) return i;
        ++i;
    }
    throw std::invalid_argument("no test image " + image);
}

// The colours of the second test skin: those of the first with red and blue exchanged, so that every image
// frame differs from the first skin's.
bool g_otherColours = false;

PixelBuffer Draw(const TestImage& t, int index) {
    const int w = t.vertical ? t.frameWidth : t.frames * t.frameWidth;
    const int h = t.vertical ? t.frames * t.frameHeight : t.frameHeight;
    PixelBuffer b(w, h);
    for (int f = 1; f <= t.frames; ++f) {
        std::int32_t c = TestColour(t.name, f);
        if (g_otherColours) c = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        (void)index;
        if (t.vertical)
            b.FillRect({0, (f - 1) * t.frameHeight, w, f * t.frameHeight}, c);
        else
            b.FillRect({(f - 1) * t.frameWidth, 0, f * t.frameWidth, h}, c);
    }
    return b;
}

std::vector<SkinEntry> Images() {
    std::vector<SkinEntry> out;
    int i = 0;
    for (const TestImage& t : kImages) {
        PixelBuffer b = Draw(t, i++);
        // The combo button's first frame has a magenta column, for the arrow that replaces magenta.
        if (std::string(t.name) == "combobutton.bmp") b.FillRect({0, 0, 1, b.Height()}, 0xFF00FF);
        out.push_back({t.name, WriteBmp(b)});
    }
    return out;
}

// Every section and key, with values that differ from each other and from the defaults.
const char* const kFull = R"([TitlebarSkin]
SkinName=Distinct Test Skin
[Personality]
Left=left.bmp
LeftTopHeight=11
LeftBotHeight=12
LeftFrame=2
LeftStretch=5
LeftTrans=0
Right=skins\test\right.bmp
RightTopHeight=13
RightBotHeight=14
RightFrame=2
RightStretch=0
RightTrans=1
Top=top.bmp
TopTopHeight=15
TopBotHeight=16
TopFrame=2
TopStretch=1
TopTrans=0
Bottom=bottom.bmp
BottomTopHeight=17
BottomBotHeight=18
BottomFrame=2
BottomStretch=1
BottomTrans=1
TextBack=textback.bmp
TextShift=21
TextShiftVert=22
TextRightClip=23
TextAlignment=1
Textbackground=1
TXTBackleft=24
TXTBackRight=25
ActiveTextR=300
ActiveTextG=20
ActiveTextB=30
InActiveTextR=40
InActiveTextG=-1
InActiveTextB=60
menuBar=menubar.bmp
TileMenu=2
TileLeftMenu=26
TileRightMenu=27
[Fonts]
FontHeight=19
[Colours]
WindowText=1 2 3
ButtonFace=10,20,30;
Scrollbar=4 5 6
HilightText=7 8 9
Hilight=11 12 13
Menu=14 15 16
MenuText=17 18 19
ButtonText=21 22 23
ButtonHilight=24 25 26
Buttonlight=27 28 29
ButtonShadow=31 32 33
ButtonDkShadow=34 35 36
MenuBarText=37 38 39
TitleTextActive=41 42 43
TitleTextNoActive=44 45 46
[Colour1]
color=51 52 53
[Colours.Extra]
color=
[Colour2]
color=54 55 56
[Customcolors]
Color0=0x010203
Color9=99
[ButtonClose]
Action=0
Align=1
Xcoord=30
Ycoord=4
CombineOp=2
ButtonImage=close.bmp
[ButtonMax]
Action=1
Align=1
Xcoord=52
Ycoord=5
Visibility=2
Visibility1=6
frame=4
ButtonImage=max.bmp
[ButtonHelp]
Action=4
Align=1
Xcoord=1
Ycoord=1
Visibility=10
ButtonImage=wide.bmp
[ButtonIcon]
Action=3
ButtonImage=sysmenu.bmp
[Button1]
Action=-1
ButtonImage=close.bmp
[Button2]
Action=-1
Visibility=0
ButtonImage=close.bmp
[Button]
Action=5
[Button.Radio]
Action=5
[Button.Checkbox]
Action=5
[MDICONTROLS]
Image=mdi.bmp
[Buttons]
Bitmap=button.bmp
CheckButton=check.bmp
RadioButton=radio.bmp
LeftWidth=1
RightWidth=2
TopHeight=3
BottomHeight=4
Trans=1
Tile=2
NormalColour=0x102030
MouseOverColour=5
PressedColour=6
NormalColour2=1 2 3 4 5
PressedColour2=10 20
RadioButtonFrame=0
CheckButtonFrame=4
[Progress]
Bitmap=progress.bmp
Style=0
LeftWidth=2
RightWidth=3
TopHeight=4
BottomHeight=5
Trans=1
Tile=2
[Progress.Chunk]
Image=chunk.bmp
Frame=3
Tile=1
[GroupBoxEdge]
Image=groupedge.bmp
[GroupBox]
Image=groupbox.bmp
Frame=9
LeftWidth=6
BackgroundAlignment=1
BackgroundLeftShift=7
BackgroundRightShift=8
[Tabs]
Image=tabs.bmp
Border=tabborder.bmp
Style=1
Frame=9
LeftWidth=5
NormalColour2=100 110 120
MouseOverColour2=130 140 150
[StatusBarEdges]
Image=statusbar.bmp
NormalColour2=200 201 202
[Tab.Pane]
Image=pane.bmp
LeftWidth=9
TopHeight=4
RightWidth=3
BottomHeight=5
[ToolBars]
Image=toolbars.bmp
[ComboButton]
Image=combobutton.bmp
LeftWidth=3
TopHeight=3
RightWidth=3
BottomHeight=3
[SunkEdge]
Image=sunkedge.bmp
LeftWidth=3
TopHeight=4
RightWidth=3
BottomHeight=5
Trans=1
[ExtraImages]
Image=extra.bmp
Trans=1
[Headerbar]
Image=header.bmp
Frame=2
[MenuItem]
Image=menuitem.bmp
LeftWidth=5
RightWidth=6
Tile=1
[MenuBackground]
Image=menuback.bmp
[Scrollbar]
Image=scrollbar.bmp
Frame=7
[HorzScroll]
Image=hscroll.bmp
[VertScroll]
Image=vscroll.bmp
[HorzScrollThumb]
Image=hthumb.bmp
FrameCount=4
[VertScrollThumb]
Image=vthumb.bmp
[Trackbar.ThumbHorz]
Image=thumbh.bmp
[Trackbar.ThumbVert]
Image=thumbv.bmp
[Trackbar.ThumbLeft]
Image=thumbl.bmp
[Trackbar.ThumbRight]
Image=thumbr.bmp
[Trackbar.ThumbUp]
Image=thumbu.bmp
[Trackbar.ThumbDown]
Image=thumbd.bmp
[UpDown.Horz]
Image=updownh.bmp
GlyphImage=updownhg.bmp
[UpDown.Vert]
Image=updownv.bmp
GlyphImage=updownvg.bmp
[Track]
Image=track.bmp
Frame=2
[TRACKVERT]
Image=trackvert.bmp
Frame=1
)";

// Few sections: the defaults, the inferred frame counts and the program's own grooves.
const char* const kSparse = R"([Personality]
Top=top.bmp
TopFrame=2
[Buttons]
Bitmap=button.bmp
CheckButton=check.bmp
RadioButton=radio.bmp
[ButtonClose]
Action=0
ButtonImage=close.bmp
[ButtonWide]
Action=2
ButtonImage=wide.bmp
[ButtonNoImage]
Action=1
[ButtonHelp]
Action=4
Xcoord=7
Ycoord=8
[ComboButton]
Image=combobutton.bmp
[Headerbar]
Image=header.bmp
[HorzScrollThumb]
Image=hthumb.bmp
[Progress]
Bitmap=progress.bmp
Style=1
[MDICONTROLS]
Image=check.bmp
)";

const char* const kFrameZero = R"([Personality]
Left=left.bmp
LeftFrame=0
Top=top.bmp
TopFrame=-3
[Buttons]
Bitmap=button.bmp
RadioButton=radio.bmp
RadioButtonFrame=-2
CheckButtonFrame=0
[ButtonClose]
Action=0
frame=-1
ButtonImage=close.bmp
[Progress.Chunk]
Image=chunk.bmp
Frame=0
[Headerbar]
Image=header.bmp
Frame=-5
[HorzScrollThumb]
Image=hthumb.bmp
FrameCount=0
[Track]
Image=track.bmp
Frame=0
[SunkEdge]
Image=sunkedge.bmp
[ComboButton]
Image=combobutton.bmp
)";

std::vector<SkinEntry> WithDescription(const char* ini) {
    std::vector<SkinEntry> e = Images();
    e.push_back({"Test.ini", ini});
    return e;
}

}  // namespace

std::int32_t TestColour(const std::string& image, int frame) {
    const int i = IndexOf(image);
    return (8 + 4 * i) | ((20 + 9 * frame) << 8) | ((60 + 7 * (i % 20)) << 16);
}

std::vector<SkinEntry> TestSkin(const std::string& kind) {
    if (kind == "full") return WithDescription(kFull);
    if (kind == "sparse") return WithDescription(kSparse);
    if (kind == "other") {
        g_otherColours = true;
        std::vector<SkinEntry> e = Images();
        g_otherColours = false;
        std::string ini = kFull;
        ini.replace(ini.find("ButtonFace=10,20,30;"), 20, "ButtonFace=110,120,130;");
        ini.replace(ini.find("MenuBarText=37 38 39"), 20, "MenuBarText=237 238 239");
        e.push_back({"Test.ini", ini});
        return e;
    }
    throw std::invalid_argument("no test skin " + kind);
}

const std::vector<std::string>& BrokenSkinKinds() {
    static const std::vector<std::string> kinds = {"nodescription", "unknownformat", "badbmp", "framezero",
                                                   "uppercasebmp"};
    return kinds;
}

std::string BrokenSkin(const std::string& kind) {
    if (kind == "nodescription") return PackSkin(Images());
    if (kind == "unknownformat") {
        std::string archive = BuildSkinArchive(70000, WithDescription(kFull));
        const std::int32_t bogus = 12345;
        for (int i = 0; i < 4; ++i) archive[static_cast<std::size_t>(i)] = static_cast<char>((bogus >> (8 * i)) & 0xFF);
        return PackSkinArchive(archive);
    }
    if (kind == "badbmp") {
        std::vector<SkinEntry> e = WithDescription(kFull);
        for (SkinEntry& s : e)
            if (s.name == "scrollbar.bmp") s.data = "BM this is not a bitmap";
        return PackSkin(e);
    }
    if (kind == "framezero") return PackSkin(WithDescription(kFrameZero));
    if (kind == "uppercasebmp") {
        std::vector<SkinEntry> e = WithDescription(R"([Scrollbar]
Image=Scroll.BMP
[Buttons]
Bitmap=BUTTON.Bmp
CheckButton=check.bmp
)");
        e.push_back({"Scroll.BMP", e.front().data});
        return PackSkin(e);
    }
    throw std::invalid_argument("no broken skin " + kind);
}

std::string PackSkin(const std::vector<SkinEntry>& entries) { return WriteSkinContainer(70000, entries); }

std::string SkinStreamOf(const std::string& container) {
    const auto n = static_cast<std::uint32_t>(container.size());
    std::string out;
    for (int i = 0; i < 4; ++i) out += static_cast<char>((n >> (8 * i)) & 0xFF);
    return out + container;
}

}  // namespace kes::art

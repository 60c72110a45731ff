// The walk of the skin description: every section and key a skin gives, in a fixed order, into the skin
// objects; then the frame counts and the images derived at load time.
#include <algorithm>
#include <climits>

#include "skin/container/ImgUtil.h"
#include "skin/container/QuickIni.h"
#include "skin/container/SkinBitmapCache.h"
#include "skin/data/SkinData.h"
#include "skin/draw/SkinRaster.h"
#include "skin/container/SkinReader.h"
#include "skin/container/BmpReader.h"

namespace kes {

namespace {

constexpr std::int32_t SysColour(int index) { return static_cast<std::int32_t>(0xFF000000u | unsigned(index)); }

// Default of each colour slot (slot 13 takes the value read for slot 3).
constexpr std::int32_t kColourDefaults[kSkinColourSlots] = {SysColour(8),
                                                            SysColour(9),
                                                            SysColour(19),
                                                            SysColour(15),
                                                            SysColour(18),
                                                            SysColour(20),
                                                            SysColour(20),
                                                            SysColour(16),
                                                            SysColour(21),
                                                            0,
                                                            0,
                                                            SysColour(14),
                                                            SysColour(13),
                                                            0,
                                                            SysColour(7),
                                                            SysColour(7),
                                                            SysColour(4),
                                                            0,
                                                            SysColour(0)};

class DescriptionWalk {
public:
    DescriptionWalk(const TQuickIni& ini, const TSkinReader& reader, SkinPlatform& platform, TSkinObjects& out)
        : ini_(ini), reader_(reader), platform_(platform), s_(out), bitmaps_(reader) {}

    void Run(const TSkinObjects& previous);

private:
    int Int(const std::string& section, const std::string& key, int def) const {
        return ini_.ReadInteger(section, key, def);
    }
    std::string Str(const std::string& section, const std::string& key) const {
        return ini_.ReadString(section, key, std::string());
    }
    std::int32_t ButtonText() const { return s_.Colours[static_cast<int>(SkinColour::ButtonText)]; }
    static std::int32_t ColourText(const std::string& text, std::int32_t def) {
        return text.empty() ? def : ParseSkinColour(text);
    }

    void LoadSkinBitmap(PixelBuffer& image, const std::string& value) const;
    void ReadCommon(TDataSkinObject& o, const std::string& section, bool readFrame, bool colours);
    template <typename T>
    std::unique_ptr<T> ReadImageObject(const std::string& section);
    std::unique_ptr<TDataSkinBorder> ReadBorderObject(const std::string& section, const std::string& key2);
    std::unique_ptr<TDataSkinBorder> ReadProgress(const std::string& section);
    std::unique_ptr<TDataSkinBoxLabel> ReadBoxLabel(const std::string& section);
    std::unique_ptr<TDataSkinObject> ReadMenuBar(const std::string& section);
    void ReadTitle(TDataSkinTitle& t, const std::string& section);
    void ReadTextColour(const std::string& section, const std::string& name, std::int32_t& colour) const;
    void ReadButtons();
    void ReadBorders();
    void ReadSysButtons();
    void ReadMDIButtons();
    void ReadColours();
    std::unique_ptr<TDataSkinObject> LoadProgramBitmap(const std::string& resource);
    void SetFrameCounts();
    void MakeComboImages();
    void MakeComboArrow();
    void MakeToolbarGradient();
    std::int32_t GetFrameColour() const;

    const TQuickIni& ini_;
    const TSkinReader& reader_;
    SkinPlatform& platform_;
    TSkinObjects& s_;
    TStringList sections_;
    mutable SkinBitmapCache bitmaps_;
};

// The file-name part of a skin value and its extension.
void SplitFileName(const std::string& value, std::string& name, std::string& ext) {
    const std::size_t slash = value.find_last_of("\\/:");
    name = slash == std::string::npos ? value : value.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    ext = dot == std::string::npos ? std::string() : name.substr(dot);
}

void DescriptionWalk::LoadSkinBitmap(PixelBuffer& image, const std::string& value) const {
    image = PixelBuffer();
    std::string name, ext;
    SplitFileName(value, name, ext);
    if (name.empty() || ext != ".bmp") return;
    // A bitmap that cannot be read leaves the image empty; the skin goes on without it.
    image = bitmaps_.Get(name);
}

void DescriptionWalk::ReadCommon(TDataSkinObject& o, const std::string& section, bool readFrame, bool colours) {
    o.Style = Int(section, "Style", 0);
    o.LeftWidth = Int(section, "LeftWidth", 0);
    o.RightWidth = Int(section, "RightWidth", 0);
    o.TopHeight = Int(section, "TopHeight", 0);
    o.BottomHeight = Int(section, "BottomHeight", 0);
    if (readFrame) o.Frame = Int(section, "Frame", 0);
    o.Trans = Int(section, "Trans", 0);
    o.Tile = Int(section, "Tile", 0);
    if (colours) {
        o.NormalColour = Int(section, "NormalColour", -1);
        o.MouseOverColour = Int(section, "MouseOverColour", -1);
        o.PressedColour = Int(section, "PressedColour", -1);
        o.NormalColour2 = ColourText(Str(section, "NormalColour2"), ButtonText());
        o.MouseOverColour2 = ColourText(Str(section, "MouseOverColour2"), ButtonText());
        o.PressedColour2 = ColourText(Str(section, "PressedColour2"), ButtonText());
    }
}

template <typename T>
std::unique_ptr<T> DescriptionWalk::ReadImageObject(const std::string& section) {
    const std::string image = Str(section, "Image");
    if (image.empty()) return nullptr;
    auto o = std::make_unique<T>(section);
    LoadSkinBitmap(o->Image, image);
    ReadCommon(*o, section, true, true);
    if (o->Tile > 1) o->Tile = 0;
    return o;
}

std::unique_ptr<TDataSkinBorder> DescriptionWalk::ReadBorderObject(const std::string& section,
                                                                   const std::string& key2) {
    const std::string image = Str(section, "Image");
    if (image.empty()) return nullptr;
    auto o = std::make_unique<TDataSkinBorder>(section);
    LoadSkinBitmap(o->Image, image);
    const std::string second = Str(section, key2);
    if (!second.empty()) LoadSkinBitmap(o->Image2, second);
    ReadCommon(*o, section, false, true);
    if (o->Tile > 1) o->Tile = 0;
    return o;
}

std::unique_ptr<TDataSkinBorder> DescriptionWalk::ReadProgress(const std::string& section) {
    const std::string image = Str(section, "Bitmap");
    if (image.empty()) return nullptr;
    auto o = std::make_unique<TDataSkinBorder>(section);
    LoadSkinBitmap(o->Image, image);
    ReadCommon(*o, section, false, false);
    if (o->Tile > 1) o->Tile = 1;
    return o;
}

std::unique_ptr<TDataSkinBoxLabel> DescriptionWalk::ReadBoxLabel(const std::string& section) {
    const std::string image = Str(section, "Image");
    if (image.empty()) return nullptr;
    auto o = std::make_unique<TDataSkinBoxLabel>(section);
    LoadSkinBitmap(o->Image, image);
    ReadCommon(*o, section, false, true);
    if (o->Tile > 1) o->Tile = 0;
    o->BackgroundAlignment = Int(section, "BackgroundAlignment", 0);
    o->BackgroundLeftShift = Int(section, "BackgroundLeftShift", 0);
    o->BackgroundRightShift = Int(section, "BackgroundRightShift", 0);
    return o;
}

std::unique_ptr<TDataSkinObject> DescriptionWalk::ReadMenuBar(const std::string& section) {
    const std::string image = Str(section, "menuBar");
    if (image.empty()) return nullptr;
    auto o = std::make_unique<TDataSkinObject>(section);
    LoadSkinBitmap(o->Image, image);
    o->TopHeight = o->BottomHeight = 0;
    o->Tile = Int(section, "TileMenu", 1);
    o->LeftWidth = Int(section, "TileLeftMenu", 1);
    o->RightWidth = Int(section, "TileRightMenu", 1);
    if (o->Tile > 1) o->Tile = 1;
    return o;
}

void DescriptionWalk::ReadTextColour(const std::string& section, const std::string& name, std::int32_t& colour) const {
    const int r = Int(section, name + "R", -1), g = Int(section, name + "G", -1), b = Int(section, name + "B", -1);
    if (r >= 0 && g >= 0 && b >= 0) colour = (r % 256) | ((g % 256) << 8) | ((b % 256) << 16);
}

void DescriptionWalk::ReadTitle(TDataSkinTitle& t, const std::string& section) {
    LoadSkinBitmap(t.Image, Str(section, "TextBack"));
    t.LeftWidth = Int(section, "TextShift", 0);
    t.TopHeight = Int(section, "TextShiftVert", 0);
    t.RightWidth = Int(section, "TextRightClip", 0);
    t.BottomHeight = 0;
    t.TextAlignment = Int(section, "TextAlignment", 0);
    t.Textbackground = Int(section, "Textbackground", 0);
    t.FontHeight = Int("Fonts", "FontHeight", 14);
    t.TXTBackleft = Int(section, "TXTBackleft", 0);
    t.TXTBackRight = Int(section, "TXTBackRight", 0);
    t.ActiveText = t.InActiveText = kSkinColourNotGiven;
    ReadTextColour(section, "ActiveText", t.ActiveText);
    ReadTextColour(section, "InActiveText", t.InActiveText);
}

void DescriptionWalk::ReadButtons() {
    const std::string section = "Buttons";
    TDataSkinButton& b = s_.Buttons;
    b.LeftWidth = Int(section, "LeftWidth", 0);
    b.RightWidth = Int(section, "RightWidth", 0);
    b.TopHeight = Int(section, "TopHeight", 0);
    b.BottomHeight = Int(section, "BottomHeight", 0);
    b.Trans = Int(section, "Trans", 0);
    LoadSkinBitmap(b.Image, Str(section, "Bitmap"));
    b.Tile = Int(section, "Tile", 0);
    LoadSkinBitmap(b.CheckImage, Str(section, "CheckButton"));
    LoadSkinBitmap(b.RadioImage, Str(section, "RadioButton"));
    b.NormalColour = Int(section, "NormalColour", -1);
    b.MouseOverColour = Int(section, "MouseOverColour", -1);
    b.PressedColour = Int(section, "PressedColour", -1);
    b.RadioButtonFrame = Int(section, "RadioButtonFrame", 0);
    b.CheckButtonFrame = Int(section, "CheckButtonFrame", 0);
    if (b.Tile > 1) b.Tile = 0;
    const std::string n2 = Str(section, "NormalColour2"), m2 = Str(section, "MouseOverColour2"),
                      p2 = Str(section, "PressedColour2");
    b.NormalColour2Given = !n2.empty();
    b.MouseOverColour2Given = !m2.empty();
    b.PressedColour2Given = !p2.empty();
    b.NormalColour2 = ColourText(n2, ButtonText());
    b.MouseOverColour2 = ColourText(m2, ButtonText());
    b.PressedColour2 = ColourText(p2, ButtonText());
}

void DescriptionWalk::ReadBorders() {
    const std::string section = "Personality";
    TDataSkinBorder* parts[4] = {&s_.Left, &s_.Right, &s_.Top, &s_.Bottom};
    for (int i = 0; i < 4; ++i) {
        TDataSkinBorder& o = *parts[i];
        const std::string& p = o.Name;
        const int first = Int(section, p + "TopHeight", 0), second = Int(section, p + "BotHeight", 0);
        if (i < 2) {
            o.TopHeight = first;
            o.BottomHeight = second;
            o.LeftWidth = o.RightWidth = 0;
        } else {
            o.TopHeight = o.BottomHeight = 0;
            o.LeftWidth = first;
            o.RightWidth = second;
        }
        o.Frame = Int(section, p + "Frame", 1);
        o.Tile = Int(section, p + "Stretch", 1);
        o.Trans = Int(section, p + "Trans", 1);
        LoadSkinBitmap(o.Image, Str(section, p));
        if (o.Tile > 1) o.Tile = 1;
    }
}

bool IsCaptionButtonSection(const std::string& upper) {
    return upper.rfind("BUTTON", 0) == 0 && upper != "BUTTON" && upper != "BUTTONS" && upper != "BUTTON.RADIO" &&
           upper != "BUTTON.CHECKBOX";
}

void DescriptionWalk::ReadSysButtons() {
    s_.SysButtons.clear();
    std::vector<std::string> kept;
    for (const std::string& name : sections_.Items()) {
        if (!IsCaptionButtonSection(UpperAZ(name))) continue;
        if (Int(name, "Action", 0) == -1 && Int(name, "Visibility", -1) != 0) continue;
        kept.push_back(name);
    }
    s_.SysButtons.reserve(kept.size() + 3);
    bool remembered = false;
    int rememberedX = 0, rememberedY = 0;
    for (const std::string& section : kept) {
        TDataSkinSysButton b(UpperAZ(section));
        b.Action = Int(section, "Action", 0);
        b.Align = Int(section, "Align", 0);
        b.Xcoord = Int(section, "Xcoord", 0);
        b.Ycoord = Int(section, "Ycoord", 0);
        b.Visibility = Int(section, "Visibility", 0);
        b.Visibility1 = Int(section, "Visibility1", b.Action == -1 ? -1 : 0);
        if (b.Action == 1 && b.Visibility == 2) {
            remembered = true;
            rememberedX = b.Xcoord;
            rememberedY = b.Ycoord;
        }
        // A help button sits where the maximize button of a normal window sits; without one it keeps its own place.
        if (b.Action == 4 && remembered) {
            b.Xcoord = rememberedX;
            b.Ycoord = rememberedY;
        }
        b.CombineOp = Int(section, "CombineOp", -1);
        b.Frame = Int(section, "frame", 0);
        LoadSkinBitmap(b.Image, Str(section, "ButtonImage"));
        if (b.Frame == 0) {
            b.Frame = 6;
            if (b.HasImage()) b.Frame = static_cast<double>(b.Image.Width()) / b.Image.Height() <= 3.8 ? 3 : 6;
            if (b.Action < 0) b.Frame = 6;
            if (b.Action == 3 || b.Action == 11) b.Image = PixelBuffer();
        }
        s_.SysButtons.push_back(std::move(b));
    }
    for (int action = 7; action <= 9; ++action) {
        TDataSkinSysButton b;
        b.Action = action;
        b.Align = b.Visibility = b.Visibility1 = 100;
        b.Frame = 4;
        s_.SysButtons.push_back(std::move(b));
    }
    ReadMDIButtons();
}

void DescriptionWalk::ReadMDIButtons() {
    PixelBuffer strip;
    LoadSkinBitmap(strip, Str("MDICONTROLS", "Image"));
    if (strip.Width() == 0 || strip.Height() == 0) return;
    const int fw = strip.Width() / 12;
    const std::size_t first = s_.SysButtons.size() - 3;
    for (int i = 0; i < 3; ++i) {
        TDataSkinSysButton& b = s_.SysButtons[first + static_cast<std::size_t>(i)];
        b.Image = PixelBuffer(4 * fw, strip.Height());
        StretchCopy(b.Image, {0, 0, 4 * fw, strip.Height()}, strip,
                    {4 * i * fw, 0, 4 * i * fw + 4 * fw, strip.Height()});
        b.Xcoord = (3 - i) * (fw + 4);
    }
}

void DescriptionWalk::ReadColours() {
    static const std::pair<const char*, SkinColour> kKeys[] = {{"WindowText", SkinColour::WindowText},
                                                               {"ButtonFace", SkinColour::ButtonFace},
                                                               {"Scrollbar", SkinColour::Scrollbar},
                                                               {"HilightText", SkinColour::HilightText},
                                                               {"Hilight", SkinColour::Hilight},
                                                               {"Menubar", SkinColour::Menubar},
                                                               {"Menu", SkinColour::Menu},
                                                               {"MenuText", SkinColour::MenuText},
                                                               {"ButtonText", SkinColour::ButtonText},
                                                               {"ButtonHilight", SkinColour::ButtonHilight},
                                                               {"Buttonlight", SkinColour::Buttonlight},
                                                               {"ButtonShadow", SkinColour::ButtonShadow},
                                                               {"ButtonDkShadow", SkinColour::ButtonDkShadow},
                                                               {"MenuBarText", SkinColour::MenuBarText},
                                                               {"TitleTextActive", SkinColour::TitleTextActive},
                                                               {"TitleTextNoActive", SkinColour::TitleTextNoActive}};
    for (const auto& [key, slotName] : kKeys) {
        const int slot = static_cast<int>(slotName);
        const std::int32_t def = slotName == SkinColour::Menubar ? s_.Colours[static_cast<int>(SkinColour::ButtonFace)]
                                                                 : kColourDefaults[slot];
        const std::string text = Str("Colours", key);
        s_.ColourGiven[static_cast<std::size_t>(slot)] = !text.empty();
        s_.Colours[static_cast<std::size_t>(slot)] = text.empty() ? def : ParseSkinColour(text);
    }
    s_.SectionColours.clear();
    for (const std::string& name : sections_.Items()) {
        const std::string upper = UpperAZ(name);
        if (upper.rfind("COLOUR", 0) == 0 && upper != "COLOURS")
            s_.SectionColours.push_back(ColourText(Str(name, "color"), SysColour(8)));
    }
    for (int n = 0; n < kSkinCustomColours; ++n)
        s_.CustomColours[static_cast<std::size_t>(n)] = Int("Customcolors", "Color" + std::to_string(n), 0xFFFFFF);
}

std::unique_ptr<TDataSkinObject> DescriptionWalk::LoadProgramBitmap(const std::string& resource) {
    auto o = std::make_unique<TDataSkinObject>(resource);
    platform_.LoadProgramBitmap(resource, o->Image);
    o->LeftWidth = o->TopHeight = o->RightWidth = o->BottomHeight = 3;
    o->Tile = 0;
    o->Frame = 1;
    return o;
}

// A strip's own frame count when it gives none: width / 16 for strips at least 16 high, else / 13; at least 4.
int InferBoxFrames(const PixelBuffer& image) {
    const int n = image.Width() / (image.Height() >= 16 ? 16 : 13);
    return std::max(n, 4);
}

void DescriptionWalk::SetFrameCounts() {
    auto set = [](auto& slot, int frames) {
        if (slot) slot->Frame = frames;
    };
    TDataSkinButton& b = s_.Buttons;
    b.Frame = 5;
    if (b.RadioButtonFrame == 0) b.RadioButtonFrame = InferBoxFrames(b.RadioImage);
    if (b.CheckButtonFrame == 0) b.CheckButtonFrame = InferBoxFrames(b.CheckImage);
    s_.Title.Frame = 2;
    if (s_.Progress) s_.Progress->Frame = s_.Progress->Style == 0 ? 2 : 1;
    set(s_.MenuBar, 2);
    set(s_.GroupBoxEdge, 2);
    set(s_.Toolbar, 1);
    set(s_.ToolBars, 5);
    set(s_.Tabs, 5);
    set(s_.TabPane, 1);
    set(s_.StatusBarEdges, 3);
    set(s_.GroupBox, 1);
    set(s_.ComboButton, 4);
    set(s_.SunkEdge, 4);
    set(s_.ExtraImages, 5);
    if (s_.Headerbar && s_.Headerbar->Frame == 0) s_.Headerbar->Frame = 5;
    set(s_.MenuItem, 5);
    set(s_.MenuBackground, 1);
    set(s_.Scrollbar, 23);
    set(s_.HorzScroll, 4);
    set(s_.VertScroll, 4);
    set(s_.UpDownVert, 8);
    set(s_.UpDownHorz, 8);
    for (auto* thumb : {&s_.TrackbarThumbHorz, &s_.TrackbarThumbVert, &s_.TrackbarThumbLeft, &s_.TrackbarThumbRight,
                        &s_.TrackbarThumbUp, &s_.TrackbarThumbDown})
        set(*thumb, 5);
    set(s_.HorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
    set(s_.VertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));

    // Frame counts below 1 from the skin would divide by zero wherever a strip is cut into frames.
    auto clamp = [](TDataSkinObject* o) {
        if (o && o->Frame < 1) o->Frame = 1;
    };
    for (TDataSkinObject* o : {static_cast<TDataSkinObject*>(&s_.Title), static_cast<TDataSkinObject*>(&b),
                               static_cast<TDataSkinObject*>(&s_.Left), static_cast<TDataSkinObject*>(&s_.Right),
                               static_cast<TDataSkinObject*>(&s_.Top), static_cast<TDataSkinObject*>(&s_.Bottom)})
        clamp(o);
    for (TDataSkinSysButton& sb : s_.SysButtons) clamp(&sb);
    for (TDataSkinObject* o : {static_cast<TDataSkinObject*>(s_.Tabs.get()),
                               static_cast<TDataSkinObject*>(s_.UpDownHorz.get()),
                               static_cast<TDataSkinObject*>(s_.UpDownVert.get()),
                               static_cast<TDataSkinObject*>(s_.ComboButton.get()),
                               static_cast<TDataSkinObject*>(s_.Progress.get()),
                               static_cast<TDataSkinObject*>(s_.GroupBox.get()),
                               s_.SunkEdge.get(),
                               s_.ExtraImages.get(),
                               s_.ComboxArrow.get(),
                               s_.GroupBoxEdge.get(),
                               s_.Toolbar.get(),
                               s_.ToolBars.get(),
                               s_.ProgressChunk.get(),
                               s_.StatusBarEdges.get(),
                               s_.TabPane.get(),
                               s_.Headerbar.get(),
                               s_.MenuBar.get(),
                               s_.MenuItem.get(),
                               s_.MenuBackground.get(),
                               s_.Scrollbar.get(),
                               s_.HorzScroll.get(),
                               s_.VertScroll.get(),
                               s_.HorzScrollThumb.get(),
                               s_.VertScrollThumb.get(),
                               s_.TrackbarThumbHorz.get(),
                               s_.TrackbarThumbVert.get(),
                               s_.TrackbarThumbLeft.get(),
                               s_.TrackbarThumbRight.get(),
                               s_.TrackbarThumbUp.get(),
                               s_.TrackbarThumbDown.get(),
                               s_.Track.get(),
                               s_.TrackVert.get()})
        clamp(o);
    b.RadioButtonFrame = std::max(b.RadioButtonFrame, 1);
    b.CheckButtonFrame = std::max(b.CheckButtonFrame, 1);
}

SkinMargins MarginsOf(const TDataSkinObject& o) { return {o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight}; }

void DescriptionWalk::MakeComboImages() {
    if (!s_.SunkEdge || !s_.ComboButton) return;
    TDataSkinObject& sunk = *s_.SunkEdge;
    TDataSkinBorder& button = *s_.ComboButton;
    constexpr int kW = 50, kH = 21;
    const int B = platform_.Metric(SkinMetric::HScrollArrowWidth) + 2;
    const int n = sunk.Frame;
    PixelBuffer strip(n * kW, kH);
    strip.FillRect({0, 0, strip.Width(), kH}, kSkinTransparent);
    PixelBuffer work(kW, kH);
    const PixelRect buttonRect{kW - B, 0, kW, kH};
    for (int f = 1; f <= n; ++f) {
        // Each frame starts on a clean magenta sheet, so no pixel of the previous frame shows through.
        work.FillRect({0, 0, kW, kH}, kSkinTransparent);
        DrawSkinImage(work, {0, 0, kW, kH}, sunk.Image, MarginsOf(sunk), f, n, sunk.Trans != 0, sunk.Tile != 0, false);
        DrawSkinImage(work, buttonRect, button.Image, MarginsOf(button), f, button.Frame, true, button.Tile != 0,
                      false);
        if (s_.ExtraImages)
            DrawSkinFrameCentered(work, buttonRect, s_.ExtraImages->Image, f, s_.ExtraImages->Frame, true);
        work.FillRect({2, 2, 49 - B, 18}, kSkinTransparent);
        StretchCopy(strip, {(f - 1) * kW, 0, f * kW, kH}, work, {0, 0, kW, kH});
    }
    button.Style = 2;
    button.LeftWidth = 2;
    button.TopHeight = sunk.TopHeight;
    button.RightWidth = B + 2;
    button.BottomHeight = sunk.BottomHeight;
    button.Image = strip;
    MirrorBitmap(strip);
    sunk.Image = std::move(strip);
    sunk.LeftWidth = B + 2;
    sunk.RightWidth = 2;
}

void DescriptionWalk::MakeComboArrow() {
    if (!s_.ComboxArrow) s_.ComboxArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
    TDataSkinObject& arrow = *s_.ComboxArrow;
    if (!s_.ComboButton) return;
    const TDataSkinBorder& button = *s_.ComboButton;
    if (!s_.SunkEdge) {
        arrow.Image = button.Image;
        // The face colour may name a system colour: resolve it before it becomes pixels.
        ReplaceMagenta(arrow.Image, ColourToRGB(s_.Colours[static_cast<int>(SkinColour::ButtonFace)]));
        arrow.Frame = button.Frame;
        return;
    }
    if (button.Style != 2) return;
    const int n = s_.SunkEdge->Frame;
    const int w = button.Image.Width() / n;
    PixelBuffer out(n * 17, 17);
    for (int f = 1; f <= n; ++f)
        StretchCopy(out, {(f - 1) * 17, 0, f * 17, 17}, button.Image, {f * w - 19, 2, f * w - 2, 19});
    arrow.Image = std::move(out);
    arrow.Frame = n;
}

std::int32_t DescriptionWalk::GetFrameColour() const {
    const TDataSkinBorder& top = s_.Top;
    if (!top.HasImage()) return s_.Colours[static_cast<int>(SkinColour::ButtonFace)];
    const int fh = top.Image.Height() / std::max(top.Frame, 1);
    return top.Image.GetPixel(top.Image.Width() / 3, fh / 3);
}

void DescriptionWalk::MakeToolbarGradient() {
    const std::int32_t F = GetFrameColour();
    // BlendColours and ColourSaturation resolve system colours before mixing.
    std::int32_t E = BlendColours(0x808080, F, 150);
    const std::int32_t S = BlendColours(s_.Colours[static_cast<int>(SkinColour::ButtonFace)], 0xFFFFFF, 150);
    const int L = ColourSaturation(F);
    if (L > 110) E = BlendColours(F, 0xFFFFFF, (225 - L) * 25 / 140 + 50);
    PixelBuffer gradient(10, 40);
    PixelFillTarget target(gradient);
    GradientFill(target, {0, 0, 10, 40}, S, E, true);
    if (!s_.Toolbar) s_.Toolbar = std::make_unique<TDataSkinObject>("Toolbar");
    s_.Toolbar->Image = std::move(gradient);
    s_.Toolbar->Frame = 1;
}

void DescriptionWalk::Run(const TSkinObjects& previous) {
    // The derived objects live on from load to load.
    if (previous.ComboxArrow) s_.ComboxArrow = std::make_unique<TDataSkinObject>(*previous.ComboxArrow);
    if (previous.Toolbar) s_.Toolbar = std::make_unique<TDataSkinObject>(*previous.Toolbar);

    ini_.ReadSections(sections_);
    s_.SkinName = Str("TitlebarSkin", "SkinName");
    ReadBorders();
    ReadColours();
    ReadSysButtons();
    ReadButtons();
    ReadTitle(s_.Title, "Personality");
    s_.Progress = ReadProgress("Progress");
    s_.ProgressChunk = ReadImageObject<TDataSkinObject>("Progress.Chunk");
    s_.MenuBar = ReadMenuBar("Personality");
    s_.GroupBoxEdge = ReadImageObject<TDataSkinObject>("GroupBoxEdge");
    s_.GroupBox = ReadBoxLabel("GroupBox");
    s_.Tabs = ReadBorderObject("Tabs", "Border");
    s_.StatusBarEdges = ReadImageObject<TDataSkinObject>("StatusBarEdges");
    s_.TabPane = ReadImageObject<TDataSkinObject>("Tab.Pane");
    if (s_.TabPane) {
        TDataSkinObject& p = *s_.TabPane;
        for (std::int32_t* m : {&p.LeftWidth, &p.TopHeight, &p.RightWidth, &p.BottomHeight}) *m = std::min(*m, 4);
    }
    s_.ToolBars = ReadImageObject<TDataSkinObject>("ToolBars");
    s_.ComboButton = ReadBorderObject("ComboButton", "****");
    s_.SunkEdge = ReadImageObject<TDataSkinObject>("SunkEdge");
    if (s_.ComboButton && s_.ComboButton->HasImage()) {
        s_.ComboButton->Image2 = s_.ComboButton->Image;
        MirrorBitmap(s_.ComboButton->Image2);
    }
    struct Plain {
        const char* section;
        std::unique_ptr<TDataSkinObject> TSkinObjects::*slot;
    };
    static const Plain kPlain[] = {
        {"ExtraImages", &TSkinObjects::ExtraImages},
        {"Headerbar", &TSkinObjects::Headerbar},
        {"MenuItem", &TSkinObjects::MenuItem},
        {"MenuBackground", &TSkinObjects::MenuBackground},
        {"Scrollbar", &TSkinObjects::Scrollbar},
        {"HorzScroll", &TSkinObjects::HorzScroll},
        {"VertScroll", &TSkinObjects::VertScroll},
        {"HorzScrollThumb", &TSkinObjects::HorzScrollThumb},
        {"VertScrollThumb", &TSkinObjects::VertScrollThumb},
        {"Trackbar.ThumbHorz", &TSkinObjects::TrackbarThumbHorz},
        {"Trackbar.ThumbVert", &TSkinObjects::TrackbarThumbVert},
        {"Trackbar.ThumbLeft", &TSkinObjects::TrackbarThumbLeft},
        {"Trackbar.ThumbRight", &TSkinObjects::TrackbarThumbRight},
        {"Trackbar.ThumbUp", &TSkinObjects::TrackbarThumbUp},
        {"Trackbar.ThumbDown", &TSkinObjects::TrackbarThumbDown},
    };
    for (const Plain& p : kPlain) s_.*p.slot = ReadImageObject<TDataSkinObject>(p.section);
    s_.UpDownHorz = ReadBorderObject("UpDown.Horz", "GlyphImage");
    s_.UpDownVert = ReadBorderObject("UpDown.Vert", "GlyphImage");
    s_.Track = ReadImageObject<TDataSkinObject>("Track");
    s_.TrackVert = ReadImageObject<TDataSkinObject>("TRACKVERT");
    if (!s_.Track) s_.Track = LoadProgramBitmap("TRACK");
    if (!s_.TrackVert) s_.TrackVert = LoadProgramBitmap("TRACKVERT");
    SetFrameCounts();
    MakeComboImages();
    MakeComboArrow();
    MakeToolbarGradient();
    s_.Colours[static_cast<int>(SkinColour::FrameColour)] = GetFrameColour();
}

}  // namespace

void SetDefaultSkinColours(TSkinObjects& s) {
    for (int i = 0; i < kSkinColourSlots; ++i) {
        s.Colours[static_cast<std::size_t>(i)] = kColourDefaults[i];
        s.ColourGiven[static_cast<std::size_t>(i)] = false;
    }
    s.Colours[static_cast<int>(SkinColour::Menubar)] = s.Colours[static_cast<int>(SkinColour::ButtonFace)];
    s.Colours[static_cast<int>(SkinColour::FrameColour)] = s.Colours[static_cast<int>(SkinColour::ButtonFace)];
    s.CustomColours.fill(0xFFFFFF);
}

PixelBuffer SkinBitmapCache::Get(const std::string& name) {
    auto found = decoded_.find(LowerAZ(name));
    if (found == decoded_.end()) {
        std::string bytes;
        reader_.ExtractFile(name, bytes);
        PixelBuffer loaded;
        std::string why;
        if (!bytes.empty()) ReadBmp(bytes, loaded, why);  // leaves `loaded` empty when it fails
        found = decoded_.emplace(LowerAZ(name), std::move(loaded)).first;
    }
    const std::size_t size = found->second.SizeBytes();
    if (size == 0 || size > budget_ - handedOut_) return PixelBuffer();
    handedOut_ += size;
    return found->second;
}

void ReadSkinDescription(const TQuickIni& ini, const TSkinReader& reader, SkinPlatform& platform,
                         const TSkinObjects& previous, TSkinObjects& out) {
    DescriptionWalk(ini, reader, platform, out).Run(previous);
}

std::int32_t ParseSkinColour(const std::string& text) {
    std::string t = text;
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!t.empty() && blank(t.back())) t.pop_back();
    std::size_t start = 0;
    while (start < t.size() && blank(t[start])) ++start;
    t = t.substr(start);
    if (t.empty()) return 0;
    int channel[3] = {0, 0, 0};
    int n = 1;
    std::string digits;
    bool overflow = false;  // a run too long for a 32-bit integer swallows everything after it
    // Leading zeros do not count: "000000000010" is 10. Only a value past a 32-bit signed integer fails.
    auto convert = [&](const std::string& d, long long& value) {
        const std::size_t first = std::min(d.find_first_not_of('0'), d.size());
        if (d.size() - first > 10) return false;
        value = first == d.size() ? 0 : std::stoll(d.substr(first));
        return value <= INT_MAX;
    };
    for (char c : t) {
        if (c >= '0' && c <= '9') {
            digits += c;
            continue;
        }
        if (digits.empty() || overflow) continue;
        long long v = 0;
        if (!convert(digits, v)) {
            overflow = true;
            continue;
        }
        if (n <= 3) channel[n - 1] = static_cast<int>(v);
        ++n;
        digits.clear();
    }
    if (!digits.empty() && !overflow && n == 3) {
        long long v = 0;
        if (convert(digits, v)) channel[2] = static_cast<int>(v);
    }
    return (channel[0] % 256) | ((channel[1] % 256) << 8) | ((channel[2] % 256) << 16);
}

}  // namespace kes

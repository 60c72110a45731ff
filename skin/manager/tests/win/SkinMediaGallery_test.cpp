// A gallery form skinned by the skin manager, as a program's window is: two media players, bit buttons with an
// image list (enabled, disabled with and without a disabled image) and stand-ins of the check and radio boxes
// of other control libraries, which draw their boxes from a glyph bitmap they publish. In the distinct-colour
// test skin one pixel tells which frame a control shows; a click with the real pointer on a media-player
// button reaches the player's handler through the skin's panel; the skin switched off gives every control its
// own look back and every counted GDI object back. A picture of the gallery in the default skin is saved.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/win/Application.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "gui/win/Buttons.h"
#include "gui/win/ImgList.h"
#include "gui/win/MPlayer.h"
#include "skin/data/win/SkinDataWin.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/manager/win/SkinManage.h"
#include "skin/controls/media/win/SkinMediaPlayer.h"
#include "skin/frame/win/WinSkinForm.h"
#include "skin/manager/tests/win/SkinManageSettle.h"
#include "testsupport/FrameTestSkin.h"
#include "testsupport/Wait.h"
#include "testsupport/WindowPicture.h"

using namespace kes;

namespace {

// ---- stand-ins of other libraries' check and radio boxes ----

// A box drawn from a glyph strip of `slots` frames when one is given, else the system's box; a click toggles it.
class TGlyphBox : public TCustomControl {
    KES_CLASS(TGlyphBox, TCustomControl)
public:
    TGlyphBox(TComponent* owner, bool radio) : TCustomControl(owner), radio_(radio) {
        SetParentColor(true);
        TabStop = true;
    }
    bool Checked = false;
    void Click() override {
        Checked = radio_ || !Checked;
        Invalidate();
        TCustomControl::Click();
    }
    void Paint(TCanvas& canvas) override {
        canvas.Brush().Color = Color();
        canvas.FillRect(Rect(0, 0, Width(), Height()));
        TBitmap* strip = Strip();
        int boxW = 13;
        if (strip && !strip->Empty()) {
            const int slots = Slots(), w = strip->Width() / slots, h = strip->Height();
            const int slot = Slot();
            TBitmap frame(w, h);
            BitBlt(frame.Canvas().Handle(), 0, 0, w, h, strip->Canvas().Handle(), (slot - 1) * w, 0, SRCCOPY);
            canvas.DrawTransparent(0, (Height() - h) / 2, frame, Key());
            boxW = w;
        } else {
            RECT r{0, (Height() - 13) / 2, 13, (Height() - 13) / 2 + 13};
            DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON,
                             (radio_ ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) | (Checked ? DFCS_CHECKED : 0u) |
                                 (Enabled() ? 0u : DFCS_INACTIVE));
        }
        canvas.Brush().Style = bsClear;
        canvas.Font().Assign(Font());
        TRect t = Rect(boxW + 4, 0, Width(), Height());
        canvas.DrawText(t, Text(), DT_SINGLELINE | DT_VCENTER);
    }
    int BoxCentreY() const { return Height() / 2; }

protected:
    virtual TBitmap* Strip() = 0;
    virtual int Slots() const = 0;
    virtual int Slot() const = 0;
    virtual TColor Key() const { return clFuchsia; }
    bool radio_;
};

// A check box with "CustomGlyphs" (9 frames: unchecked, checked, grayed; normal, pressed, disabled).
class TRzCheckBox : public TGlyphBox {
    KES_CLASS(TRzCheckBox, TGlyphBox)
    KES_PUBLISHED
public:
    explicit TRzCheckBox(TComponent* owner, bool radio = false) : TGlyphBox(owner, radio) {}
    TBitmap CustomGlyphs;
    bool UseCustomGlyphs = false;
    TColor TransparentColor = clOlive;
    int UseChanges = 0;

protected:
    TBitmap* Strip() override { return UseCustomGlyphs ? &CustomGlyphs : nullptr; }
    int Slots() const override { return 9; }
    int Slot() const override { return (Checked ? 2 : 1) + (Enabled() ? 0 : 6); }
    TColor Key() const override { return TransparentColor; }
};

const TPropTable& TRzCheckBox::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            ObjProp<TRzCheckBox>("CustomGlyphs",
                                 [](const TRzCheckBox& c) { return const_cast<TBitmap*>(&c.CustomGlyphs); }),
            BoolProp<TRzCheckBox>(
                "UseCustomGlyphs", [](const TRzCheckBox& c) { return c.UseCustomGlyphs; },
                [](TRzCheckBox& c, bool v) {
                    c.UseCustomGlyphs = v;
                    ++c.UseChanges;
                    c.Invalidate();
                }),
            IntProp<TRzCheckBox>(
                "TransparentColor", [](const TRzCheckBox& c) { return c.TransparentColor; },
                [](TRzCheckBox& c, int v) { c.TransparentColor = v; }),
        });
    return t;
}

// Its radio button (6 frames: unchecked, checked; normal, pressed, disabled).
class TRzRadioButton : public TRzCheckBox {
    KES_CLASS(TRzRadioButton, TRzCheckBox)
public:
    explicit TRzRadioButton(TComponent* owner) : TRzCheckBox(owner, true) {}

protected:
    int Slots() const override { return 6; }
    int Slot() const override { return (Checked ? 2 : 1) + (Enabled() ? 0 : 4); }
};

// The "Properties" object of the third kind, with the "Glyph" its check box draws from.
class TcxCheckBoxProperties : public TPersistent, public IPublished {
    KES_CLASS(TcxCheckBoxProperties, TPersistent)
    KES_PUBLISHED
public:
    TBitmap Glyph;
};

const TPropTable& TcxCheckBoxProperties::ClassProps() {
    static const TPropTable t(nullptr, {ObjProp<TcxCheckBoxProperties>("Glyph", [](const TcxCheckBoxProperties& c) {
                                  return const_cast<TBitmap*>(&c.Glyph);
                              })});
    return t;
}

// A check box whose glyphs (6 frames: unchecked, checked, grayed; normal and pressed) sit in its Properties.
class TcxCheckBox : public TGlyphBox {
    KES_CLASS(TcxCheckBox, TGlyphBox)
    KES_PUBLISHED
public:
    explicit TcxCheckBox(TComponent* owner) : TGlyphBox(owner, false) {}
    TcxCheckBoxProperties Props;  // published as "Properties"

protected:
    TBitmap* Strip() override { return &Props.Glyph; }
    int Slots() const override { return 6; }
    int Slot() const override { return Checked ? 2 : 1; }
    TColor Key() const override { return Props.Glyph.TransparentColor(); }
};

const TPropTable& TcxCheckBox::ClassProps() {
    static const TPropTable t(&TWinControl::ClassProps(), {ObjProp<TcxCheckBox>("Properties", [](const TcxCheckBox& c) {
        return static_cast<TObject*>(const_cast<TcxCheckBoxProperties*>(&c.Props));
    })});
    return t;
}

// A bit button of another library whose picture is a graphic property, skinned by the default Skin3rd line
// "TPngBitBtn=pngbitbtn".
class TPngBitBtn : public TButton {
    KES_CLASS(TPngBitBtn, TButton)
    KES_PUBLISHED
public:
    using TButton::TButton;
    TBitmap PngImage;
};

const TPropTable& TPngBitBtn::ClassProps() {
    static const TPropTable t(
        &TButton::ClassProps(),
        {ObjProp<TPngBitBtn>("PngImage", [](const TPngBitBtn& c) { return const_cast<TBitmap*>(&c.PngImage); })});
    return t;
}

// ---- the gallery ----

// Waits until the windows came to rest and the skin manager ran its pending command.
void Pump() { test::SettleSkins(); }
LRESULT Skinned(HWND w) { return SendMessageW(w, SKM_ISSKINNED, 0, 0); }
std::int32_t Rgb(TColor c) { return static_cast<std::int32_t>(ColorToRGB(c)); }

// The colour of frame `frame` of a strip of `frames` frames side by side.
std::int32_t FrameColour(const PixelBuffer& image, int frame, int frames) {
    const int fw = image.Width() / frames;
    return image.GetPixel((frame - 1) * fw + fw / 2, image.Height() / 2);
}

std::int32_t Picture(TWinControl* c, int x, int y) {
    HWND h = Hwnd(c);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return test::CaptureWindow(h).At(x, y);
}

TSkinMP* ControllerOf(TWinControl* c) {
    for (int i = 0; i < c->ComponentCount(); ++i)
        if (auto* mp = dynamic_cast<TSkinMP*>(c->Components(i))) return mp;
    return nullptr;
}

// A press and release of the left button with the real pointer at a client point of a control (the second
// point, when given, is where the button is let go).
void RealClick(TWinControl* c, POINT down, POINT up) {
    POINT a = down, b = up;
    ClientToScreen(Hwnd(c), &a);
    ClientToScreen(Hwnd(c), &b);
    const auto move = [](POINT p) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = static_cast<LONG>(p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
        in.mi.dy = static_cast<LONG>(p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &in, sizeof in);
        test::PumpUntil(
            [&] {
                POINT now;
                GetCursorPos(&now);
                return std::abs(now.x - p.x) <= 1 && std::abs(now.y - p.y) <= 1;
            },
            2000);
    };
    const auto button = [](DWORD flag) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flag;
        SendInput(1, &in, sizeof in);
        Pump();
    };
    move(a);
    button(MOUSEEVENTF_LEFTDOWN);
    if (b.x != a.x || b.y != a.y) move(b);
    button(MOUSEEVENTF_LEFTUP);
}

class MediaGallery : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        form_ = new TForm(nullptr);
        form_->SetCaption("Media gallery");
        form_->SetBounds(80, 80, 440, 250);
        skin_ = new TSkinData(form_);
        panel_ = new TPanel(form_);
        panel_->SetParent(form_);
        panel_->SetAlign(alClient);
        panel_->SetBevelOuter(bvNone);

        player_ = new TMediaPlayer(form_);
        player_->SetParent(panel_);
        player_->SetBounds(10, 10, 270, 30);
        player_->SetEnabledButtons(kAllMPButtons & ~(1u << btRecord));
        player_->SetColoredButtons(kAllMPButtons & ~(1u << btStop));
        small_ = new TMediaPlayer(form_);
        small_->SetParent(panel_);
        small_->SetBounds(300, 10, 100, 30);
        small_->SetVisibleButtons((1u << btPlay) | (1u << btStop));
        small_->OnButtonClick = [this](TObject*, TMPBtnType b, bool&) { clicks_.push_back(b); };

        images_ = new TImageList(form_, 16, 16);
        TBitmap pictures(32, 16);
        pictures.Canvas().Brush().Color = clFuchsia;
        pictures.Canvas().FillRect(Rect(0, 0, 32, 16));
        pictures.Canvas().Brush().Color = clRed;
        pictures.Canvas().FillRect(Rect(2, 2, 14, 14));
        pictures.Canvas().Brush().Color = clLime;
        pictures.Canvas().FillRect(Rect(18, 2, 30, 14));
        images_->AddMasked(pictures, clFuchsia);
        open_ = Bit(10, 55, 110, "Open", true, -1);
        greyed_ = Bit(130, 55, 80, "", false, 1);
        plain_ = Bit(220, 55, 80, "", false, -1);
        png_ = new TPngBitBtn(form_);
        png_->SetParent(panel_);
        png_->SetBounds(310, 55, 80, 34);
        png_->PngImage.SetSize(16, 16);
        png_->PngImage.Canvas().Brush().Color = clRed;
        png_->PngImage.Canvas().FillRect(Rect(0, 0, 16, 16));
        png_->SetEnabled(false);

        rzCheck_ = new TRzCheckBox(form_);
        rzRadio_ = new TRzRadioButton(form_);
        cxCheck_ = new TcxCheckBox(form_);
        int x = 10;
        for (TGlyphBox* b : std::initializer_list<TGlyphBox*>{rzCheck_, rzRadio_, cxCheck_}) {
            b->SetParent(panel_);
            b->SetBounds(x, 110, 120, 22);
            x += 130;
        }
        rzCheck_->SetCaption("Rz check box");
        rzRadio_->SetCaption("Rz radio button");
        cxCheck_->SetCaption("cx check box");
    }
    void TearDown() override {
        delete form_;
        Pump();
        DestroySkinManager();
        app_.reset();
    }
    TBitBtn* Bit(int x, int y, int w, const char* caption, bool enabled, int disabledIndex) {
        auto* b = new TBitBtn(form_);
        b->SetParent(panel_);
        b->SetBounds(x, y, w, 34);
        b->SetCaption(caption);
        b->SetImages(images_);
        b->ImageIndex = 0;
        b->DisabledIndex = disabledIndex;
        b->SetEnabled(enabled);
        return b;
    }
    // Loads a skin into the form's skin data and shows the form, which the manager skins.
    void ShowSkinned(bool testSkin) {
        skin_->BeginLoading();
        skin_->SetActive(true);
        skin_->Skin3rd().Add("TBitBtn=bitbtn");
        if (testSkin)
            ASSERT_TRUE(skin_->ReadSkinStream(test::TestSkinStream()));
        else
            ASSERT_TRUE(LoadStoredSkin(*skin_));
        skin_->EndLoading();
        ASSERT_NE(SkinManage(), nullptr);
        for (int k = 0; k < kSkinGdiKinds; ++k) start_[k] = SkinGdiLive(static_cast<SkinGdiKind>(k));
        form_->ShowForm();
        SetForegroundWindow(Hwnd(form_));
        ASSERT_TRUE(test::PumpUntil([&] { return Skinned(Hwnd(player_)) == 1 && Skinned(Hwnd(cxCheck_)) == 1; }));
        Pump();
    }
    std::vector<HWND> All() {
        return {Hwnd(player_),  Hwnd(small_),   Hwnd(open_),    Hwnd(greyed_), Hwnd(plain_),
                Hwnd(rzCheck_), Hwnd(rzRadio_), Hwnd(cxCheck_), Hwnd(png_)};
    }
    TWMediaPlayer* Overlay(TMediaPlayer* p) {
        TSkinMP* c = ControllerOf(p);
        return c ? c->Overlay() : nullptr;
    }

    std::unique_ptr<TApplication> app_;
    TForm* form_ = nullptr;
    TSkinData* skin_ = nullptr;
    TPanel* panel_ = nullptr;
    TMediaPlayer *player_ = nullptr, *small_ = nullptr;
    TImageList* images_ = nullptr;
    TBitBtn *open_ = nullptr, *greyed_ = nullptr, *plain_ = nullptr;
    TPngBitBtn* png_ = nullptr;
    TRzCheckBox* rzCheck_ = nullptr;
    TRzRadioButton* rzRadio_ = nullptr;
    TcxCheckBox* cxCheck_ = nullptr;
    std::vector<TMPBtnType> clicks_;
    long start_[kSkinGdiKinds] = {};
};

TEST_F(MediaGallery, EveryControlShowsTheSkinAndGivesItsOwnLookBack) {
    ShowSkinned(true);
    for (HWND h : All()) EXPECT_EQ(Skinned(h), 1);
    const TDataSkinButton& buttons = skin_->Buttons;
    const auto face = [&](int f) { return FrameColour(buttons.Image, f, buttons.Frame); };

    // The player: a panel of the skin over it, the player's nine buttons in 30-pixel faces; record is
    // disabled (frame 3, its grey glyph), stop not coloured (its light glyph), play coloured (green).
    TWMediaPlayer* bar = Overlay(player_);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->BoundsRect(), player_->BoundsRect());
    EXPECT_EQ(bar->Tag, skin_->DisableTag);
    EXPECT_EQ(Skinned(Hwnd(bar)), 0) << "the skin never skins its own panel";
    const auto barAt = [&](int x, int y) { return Picture(bar, x, y); };
    EXPECT_EQ(barAt(2, 3), face(1));
    EXPECT_EQ(barAt(30 * btRecord + 2, 3), face(3));
    EXPECT_EQ(barAt(30 * btPlay + 15, 15), Rgb(RGBColor(48, 184, 72))) << "the coloured play glyph";
    EXPECT_EQ(barAt(30 * btStop + 15, 15), Rgb(RGBColor(224, 224, 228))) << "the plain stop glyph";
    EXPECT_EQ(barAt(30 * btRecord + 15, 15), Rgb(RGBColor(128, 128, 132))) << "the disabled record glyph";
    // A press shows the pressed face and moves the glyph; the player hears of it.
    // The pause glyph (15 x 11, centred) has its left bar at its x 4, beside a dark rim at x 3.
    const std::int32_t pause = Rgb(RGBColor(232, 172, 40)), rim = Rgb(RGBColor(32, 32, 36));
    const int bar0 = 30 * btPause + (30 - 15) / 2 + 4, row = (30 - 11) / 2 + 5;
    EXPECT_EQ(barAt(bar0, row), pause);
    EXPECT_EQ(barAt(bar0 - 1, row), rim);
    SendMessageW(Hwnd(bar), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30 * btPause + 10, 10));
    EXPECT_EQ(bar->PressedButton(), btPause);
    EXPECT_EQ(barAt(30 * btPause + 2, 3), face(2));
    EXPECT_EQ(barAt(bar0 + 1, row + 1), pause) << "pressed, the glyph moves one pixel right and down";
    EXPECT_EQ(barAt(bar0, row + 1), rim);
    SendMessageW(Hwnd(bar), WM_LBUTTONUP, 0, MAKELPARAM(30 * btPause + 10, 10));
    EXPECT_EQ(barAt(30 * btPause + 2, 3), face(1));
    // The player's own change of its buttons shows at once.
    player_->SetEnabledButtons(kAllMPButtons);
    Pump();
    EXPECT_EQ(barAt(30 * btRecord + 2, 3), face(1));
    // It follows the player's place and visibility.
    player_->SetBounds(10, 12, 270, 30);
    Pump();
    EXPECT_EQ(bar->BoundsRect(), player_->BoundsRect());
    player_->Hide();
    Pump();
    EXPECT_FALSE(IsWindowVisible(Hwnd(bar)));
    player_->Show();
    Pump();
    EXPECT_TRUE(IsWindowVisible(Hwnd(bar)));

    // Bit buttons: the image list's picture beside the caption on the normal face; disabled, the disabled
    // picture, or the enabled one greyed, on the disabled face.
    const int mid = open_->Height() / 2;
    EXPECT_EQ(Picture(open_, 3, mid), face(1));
    bool red = false;
    RedrawWindow(Hwnd(open_), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const test::WindowPixels o = test::CaptureWindow(Hwnd(open_));
    for (int x = 0; x < o.W; ++x) red = red || o.At(x, mid) == Rgb(clRed);
    EXPECT_TRUE(red) << "the enabled picture";
    EXPECT_EQ(Picture(greyed_, 3, mid), face(3));
    const std::int32_t disabledPicture = Picture(greyed_, greyed_->Width() / 2, mid);
    const std::int32_t greyedPicture = Picture(plain_, plain_->Width() / 2, mid);
    EXPECT_NE(disabledPicture, face(3));
    EXPECT_NE(greyedPicture, face(3));
    EXPECT_NE(disabledPicture, Rgb(clRed));
    EXPECT_NE(greyedPicture, Rgb(clRed));
    EXPECT_NE(disabledPicture, greyedPicture) << "the disabled index is a picture of its own";
    // A graphic property's picture is drawn whole, also on a disabled button.
    EXPECT_EQ(Picture(png_, 3, mid), face(3));
    EXPECT_EQ(Picture(png_, png_->Width() / 2, mid), Rgb(clRed));

    // The foreign boxes draw the skin's strips handed to them: unchecked, and checked after a click.
    const PixelBuffer& check = buttons.CheckImage;
    const PixelBuffer& radio = buttons.RadioImage;
    const int cw = check.Width() / buttons.CheckButtonFrame, rw = radio.Width() / buttons.RadioButtonFrame;
    EXPECT_EQ(Picture(rzCheck_, cw / 2, rzCheck_->BoxCentreY()), FrameColour(check, 1, buttons.CheckButtonFrame));
    EXPECT_EQ(Picture(rzRadio_, rw / 2, rzRadio_->BoxCentreY()), FrameColour(radio, 1, buttons.RadioButtonFrame));
    EXPECT_EQ(Picture(cxCheck_, cw / 2, cxCheck_->BoxCentreY()), FrameColour(check, 1, buttons.CheckButtonFrame));
    for (TGlyphBox* b : std::initializer_list<TGlyphBox*>{rzCheck_, rzRadio_, cxCheck_}) {
        PostMessageW(Hwnd(b), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(Hwnd(b), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    Pump();
    EXPECT_EQ(Picture(rzCheck_, cw / 2, rzCheck_->BoxCentreY()), FrameColour(check, 2, buttons.CheckButtonFrame));
    EXPECT_EQ(Picture(rzRadio_, rw / 2, rzRadio_->BoxCentreY()), FrameColour(radio, 2, buttons.RadioButtonFrame));
    EXPECT_EQ(Picture(cxCheck_, cw / 2, cxCheck_->BoxCentreY()), FrameColour(check, 2, buttons.CheckButtonFrame));
    EXPECT_EQ(rzCheck_->TransparentColor, static_cast<TColor>(0xFF00FF));
    EXPECT_EQ(rzCheck_->CustomGlyphs.Width(), cw * 9);
    EXPECT_EQ(rzRadio_->CustomGlyphs.Width(), rw * 6);
    EXPECT_FALSE(cxCheck_->Props.Glyph.Transparent);

    // The skin off: the system's look everywhere, and every counted object given back.
    skin_->SetActive(false);
    ASSERT_TRUE(test::PumpUntil([&] {
        for (HWND h : All())
            if (Skinned(h) != 0) return false;
        return true;
    }));
    Pump();
    EXPECT_EQ(ControllerOf(player_), nullptr);
    EXPECT_EQ(ControllerOf(small_), nullptr);
    const std::int32_t system = static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Picture(player_, 30 * btRecord + 8, 8), system) << "the player paints itself";
    EXPECT_EQ(Picture(open_, 4, mid), system) << "the system's push button";
    EXPECT_FALSE(rzCheck_->UseCustomGlyphs);
    EXPECT_TRUE(cxCheck_->Props.Glyph.Empty());
    EXPECT_NE(Picture(rzCheck_, cw / 2, rzCheck_->BoxCentreY()), FrameColour(check, 2, buttons.CheckButtonFrame))
        << "the system's box";
    EXPECT_NE(Picture(rzRadio_, rw / 2, rzRadio_->BoxCentreY()), FrameColour(radio, 2, buttons.RadioButtonFrame));
    EXPECT_NE(Picture(cxCheck_, cw / 2, cxCheck_->BoxCentreY()), FrameColour(check, 2, buttons.CheckButtonFrame));
    for (int k = 0; k < kSkinGdiKinds; ++k)
        EXPECT_EQ(SkinGdiLive(static_cast<SkinGdiKind>(k)), start_[k]) << "regions, bitmaps, DCs, icons: kind " << k;
}

TEST_F(MediaGallery, ARealClickOnAPlayersButtonReachesItsHandlerThroughTheSkin) {
    ShowSkinned(true);
    TWMediaPlayer* bar = Overlay(small_);
    ASSERT_NE(bar, nullptr);
    // Two buttons of 50 in a bar of 100: a click at x 60 lands on stop.
    RealClick(small_, {60, 15}, {60, 15});
    ASSERT_TRUE(test::PumpUntil([&] { return !clicks_.empty(); }, 3000)) << "the click reached the player";
    EXPECT_EQ(clicks_, std::vector<TMPBtnType>{btStop});
    // A press on play let go on stop clicks nothing.
    RealClick(small_, {10, 15}, {60, 15});
    Pump();
    EXPECT_EQ(clicks_.size(), 1u);
    // Pressed again at once, the press comes as a double click: it clicks all the same.
    RealClick(small_, {10, 15}, {10, 15});
    ASSERT_TRUE(test::PumpUntil([&] { return clicks_.size() == 2; }, 3000));
    EXPECT_EQ(clicks_.back(), btPlay);
    // Unskinned, the same click reaches the player directly.
    skin_->SetActive(false);
    ASSERT_TRUE(test::PumpUntil([&] { return Skinned(Hwnd(small_)) == 0; }));
    Pump();
    RealClick(small_, {60, 15}, {60, 15});
    ASSERT_TRUE(test::PumpUntil([&] { return clicks_.size() == 3; }, 3000));
    EXPECT_EQ(clicks_.back(), btStop);
}

TEST_F(MediaGallery, APictureInTheDefaultSkin) {
    ShowSkinned(false);
    for (HWND h : All()) EXPECT_EQ(Skinned(h), 1);
    rzCheck_->Checked = true;
    rzCheck_->Invalidate();
    Pump();
    RedrawWindow(Hwnd(form_), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    const char* dir = std::getenv("KESTRUP_SHOT_DIR");
    EXPECT_TRUE(test::SaveWindowPicture(Hwnd(form_), std::string(dir ? dir : ".") + "/media-gallery.bmp"));
    // The face of the skin, not the system's, behind the controls and on the player's bar.
    const std::int32_t system = static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE));
    EXPECT_NE(Picture(panel_, 5, 150), system);
    EXPECT_NE(Picture(Overlay(player_), 2, 15), system);
}

}  // namespace

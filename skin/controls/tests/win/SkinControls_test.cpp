// The skinned controls of a form and of a raw window, skinned the way the skin manager does it (the frame, then
// SKM_START), in the distinct-colour test skin: every frame of every strip is one solid colour, so one pixel
// tells which frame a control shows.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "base/win/Application.h"
#include "gui/ComCtrls.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/data/win/SkinDataWin.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/frame/win/WinSkinForm.h"
#include "testsupport/SkinSettle.h"
#include "testsupport/Wait.h"
#include "testsupport/WindowPicture.h"
#include "testsupport/FrameTestSkin.h"

using namespace kes;

namespace {

// Waits until the windows came to rest.
void Pump() { test::Settle(); }

// The colour of frame `frame` of a strip whose frames lie side by side.
std::int32_t FrameColour(const TDataSkinObject& o, int frame) {
    const int fw = o.Image.Width() / o.Frame;
    return o.Image.GetPixel((frame - 1) * fw + fw / 2, o.Image.Height() / 2);
}

// A windowless button of a class the program does not have, skinned through a Skin3rd line.
class TTestSpeedButton : public TGraphicControl {
    KES_CLASS(TTestSpeedButton, TGraphicControl)
public:
    using TGraphicControl::TGraphicControl;
};

std::int32_t Rgb(TColor c) { return static_cast<std::int32_t>(ColorToRGB(c)); }

// A form with the controls the program uses, skinned.
class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin_.ReadSkinStream(kes::test::TestSkinStream()));
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(60, 60, 420, 300);
        panel_ = new TPanel(form_.get());
        panel_->SetParent(form_.get());
        panel_->SetBounds(0, 0, 420, 60);
        panel_->SetAlign(alTop);
        button_ = new TButton(form_.get());
        button_->SetParent(panel_);
        button_->SetBounds(10, 10, 120, 30);
        button_->SetCaption("Press");
        button_->OnClick = [this](TObject*) { ++clicks_; };
        plain_ = new TButton(form_.get());
        plain_->SetParent(panel_);
        plain_->SetBounds(140, 10, 120, 30);
        plain_->SetCaption("Plain");
        plain_->Tag = skin_.DisableTag;
        speed_ = new TTestSpeedButton(form_.get());
        speed_->SetParent(panel_);
        speed_->SetBounds(280, 10, 100, 30);
        speed_->SetCaption("Speed");
        speed_->OnClick = [this](TObject*) { ++speedClicks_; };
        skin_.Skin3rd().Add("TTestSpeedButton=speedbutton");
        group_ = new TGroupBox(form_.get());
        group_->SetParent(form_.get());
        group_->SetBounds(10, 70, 200, 100);
        group_->SetCaption("Group");
        bar_ = new TStatusBar(form_.get());
        bar_->SetParent(form_.get());
        bar_->Panels().Add().SetWidth(80);
        bar_->Panels().Add().SetText("second");
        form_->Show();
        Pump();
        frame_ = new TWinSkinForm(form_.get());
        frame_->SetWindow(Hwnd(*form_), nullptr, "TForm");
        frame_->SkinForm(&skin_, form_.get());
        PostMessageW(Hwnd(*form_), SKM_START, 0, 1000);
        Pump();
    }
    void TearDown() override {
        form_.reset();
        Pump();
    }
    // The pixel a little inside the left edge of a control, half way down (no caption there).
    std::int32_t Edge(TWinControl* c) {
        RedrawWindow(Hwnd(c), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        const test::WindowPixels p = test::CaptureWindow(Hwnd(c));
        return p.At(4, p.H / 2);
    }
    int Face(TWinControl* c) {
        const std::int32_t px = Edge(c);
        for (int f = 1; f <= 5; ++f)
            if (px == FrameColour(skin_.Buttons, f)) return f;
        return 0;
    }

    TApplication app_;
    TSkinData skin_;
    std::unique_ptr<TForm> form_;
    TWinSkinForm* frame_ = nullptr;
    TPanel* panel_ = nullptr;
    TButton *button_ = nullptr, *plain_ = nullptr;
    TTestSpeedButton* speed_ = nullptr;
    int speedClicks_ = 0;
    TGroupBox* group_ = nullptr;
    TStatusBar* bar_ = nullptr;
    int clicks_ = 0;
};

TEST_F(Controls, ButtonsShowTheFrameOfTheirStateAndClickOncePerPress) {
    HWND b = Hwnd(button_);
    EXPECT_EQ(SendMessageW(b, SKM_ISSKINNED, 0, 0), 1);
    SetFocus(Hwnd(plain_));
    EXPECT_EQ(Face(button_), 1) << "normal";
    SetFocus(b);
    EXPECT_EQ(Face(button_), 5) << "focused";
    // The pointer over the button (it asks to hear when the pointer leaves).
    RECT br;
    GetWindowRect(b, &br);
    SetCursorPos(br.left + 20, br.top + 10);
    PostMessageW(b, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    Pump();
    EXPECT_EQ(Face(button_), 4) << "hot";
    PostMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    Pump();
    EXPECT_EQ(Face(button_), 2) << "pressed";
    PostMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    Pump();
    EXPECT_EQ(clicks_, 1) << "one click by the mouse";
    SendMessageW(b, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(Face(button_), 2) << "pressed by space";
    SendMessageW(b, WM_KEYUP, VK_SPACE, 0xC0000001);
    Pump();
    EXPECT_EQ(clicks_, 2) << "one click by space";
    // A default button (the control makes its window anew for it, and stays skinned).
    SetCursorPos(0, 0);
    button_->SetDefault(true);
    b = Hwnd(button_);
    SetFocus(Hwnd(plain_));
    EXPECT_EQ(SendMessageW(b, SKM_ISSKINNED, 0, 0), 1);
    EXPECT_EQ(Face(button_), 5) << "default";
    button_->SetEnabled(false);
    EXPECT_EQ(Face(button_), 3) << "disabled";
    button_->SetEnabled(true);

    // Switched off the system draws the button; switched on the skin is back.
    SendMessageW(b, SKM_SETACTIVE, 0, 0);
    EXPECT_EQ(Face(button_), 0);
    EXPECT_EQ(SendMessageW(b, SKM_ISSKINNED, 0, 0), 0) << "an inactive controller lets everything through";
    SendMessageW(b, SKM_SETACTIVE, 1, 0);
    EXPECT_EQ(Face(button_), 5);

    // A control tagged with DisableTag keeps the system's look.
    EXPECT_EQ(SendMessageW(Hwnd(plain_), SKM_ISSKINNED, 0, 0), 0);
    EXPECT_EQ(Face(plain_), 0);
    // The skin off gives every control its own look back.
    frame_->UnskinWindow();
    EXPECT_EQ(SendMessageW(b, SKM_ISSKINNED, 0, 0), 0);
    EXPECT_EQ(Face(button_), 0);
    EXPECT_EQ(frame_->Controllers().Count(), 0);
}

TEST_F(Controls, ASpeedButtonPaintsOnItsParentAndFollowsTheMouse) {
    const HWND panel = Hwnd(panel_);
    const auto face = [&] {
        const test::WindowPixels p = test::CaptureWindow(panel);
        const std::int32_t px = p.At(speed_->Left() + 4, speed_->Top() + speed_->Height() / 2);
        for (int f = 1; f <= 5; ++f)
            if (px == FrameColour(skin_.Buttons, f)) return f;
        return 0;
    };
    RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(face(), 1);
    RECT pr;
    GetWindowRect(panel, &pr);
    SetCursorPos(pr.left + 300, pr.top + 20);
    PostMessageW(panel, WM_MOUSEMOVE, 0, MAKELPARAM(300, 20));
    Pump();
    EXPECT_EQ(face(), 4) << "hot";
    PostMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 20));
    Pump();
    EXPECT_EQ(face(), 2) << "pressed";
    PostMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(300, 20));
    Pump();
    EXPECT_EQ(speedClicks_, 1);
    EXPECT_EQ(face(), 4);
    SetCursorPos(0, 0);
    SendMessageW(panel, WM_MOUSELEAVE, 0, 0);
    Pump();
    EXPECT_EQ(face(), 1) << "the mouse left";
}

TEST_F(Controls, PanelsGroupBoxesAndStatusBarsTakeTheSkinsColoursAndImages) {
    const std::int32_t face = Rgb(skin_.Colour(SkinColour::ButtonFace));
    EXPECT_EQ(panel_->Color(), skin_.Colour(SkinColour::ButtonFace));
    EXPECT_EQ(Edge(panel_), face);
    // The group box: the background colour, the frame line in ButtonShadow at x = 1.
    RedrawWindow(Hwnd(group_), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const test::WindowPixels g = test::CaptureWindow(Hwnd(group_));
    EXPECT_EQ(g.At(1, g.H / 2), Rgb(skin_.Colour(SkinColour::ButtonShadow)));
    EXPECT_EQ(g.At(10, g.H / 2), face);
    // The status bar: lowered panels on frame 1 of "StatusBarEdges", the grip from frame 5 of "ExtraImages".
    ASSERT_TRUE(skin_.StatusBarEdges && skin_.ExtraImages);
    RedrawWindow(Hwnd(bar_), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const test::WindowPixels s = test::CaptureWindow(Hwnd(bar_));
    EXPECT_EQ(s.At(40, s.H / 2), FrameColour(*skin_.StatusBarEdges, 1));
    EXPECT_EQ(s.At(s.W - 3, s.H - 3), FrameColour(*skin_.ExtraImages, 5));
    bar_->Panels()[0].SetBevel(pbRaised);
    RedrawWindow(Hwnd(bar_), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(test::CaptureWindow(Hwnd(bar_)).At(40, s.H / 2), FrameColour(*skin_.StatusBarEdges, 2));
    // An owner-drawn panel is painted by OnDrawPanel.
    int drawn = 0;
    bar_->OnDrawPanel = [&](TCustomStatusBar*, TStatusPanel& p, const TRect&) { drawn += p.Index() == 1; };
    bar_->Panels()[1].SetStyle(psOwnerDraw);
    RedrawWindow(Hwnd(bar_), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GE(drawn, 1);
    // The skin off: the panel's own colour is back.
    const TColor before = clBtnFace;
    frame_->UnskinWindow();
    EXPECT_EQ(panel_->Color(), before);
}

// A raw window with a dialog push button, as in a message box: a press and release posts the button's id.
LRESULT CALLBACK RawProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND) SetPropW(h, L"command", reinterpret_cast<HANDLE>(wp + 1));
    return DefWindowProcW(h, msg, wp, lp);
}

TEST_F(Controls, ARawDialogButtonIsSkinnedAndPostsItsId) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RawProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KesRawBox";
    RegisterClassW(&wc);
    HWND box = CreateWindowExW(0, L"KesRawBox", L"Box", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 240, 140,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 20, 20, 80, 26, box,
                              reinterpret_cast<HMENU>(1234), GetModuleHandleW(nullptr), nullptr);
    HWND group = CreateWindowExW(0, L"BUTTON", L"G", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 120, 10, 80, 60, box,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    {
        auto f = std::make_unique<TWinSkinForm>(nullptr);
        f->SetWindow(box, nullptr, "KesRawBox");
        f->SkinWindow(&skin_);
        PostMessageW(box, SKM_START, 0, 1000);
        Pump();
        EXPECT_EQ(SendMessageW(ok, SKM_ISSKINNED, 0, 0), 1);
        EXPECT_EQ(SendMessageW(group, SKM_ISSKINNED, 0, 0), 0) << "a group-box button gets no controller";
        RedrawWindow(ok, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const test::WindowPixels p = test::CaptureWindow(ok);
        EXPECT_EQ(p.At(3, p.H / 2), FrameColour(skin_.Buttons, 5)) << "a default push button";
        PostMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        Pump();
        EXPECT_EQ(reinterpret_cast<WPARAM>(GetPropW(box, L"command")), WPARAM{1234 + 1});
        DestroyWindow(box);
        Pump();
        EXPECT_EQ(f->Controllers().Count(), 0);
    }
}

// A controller whose drawing fails: the failure stays inside, and the window DC it took goes back.
struct FailingController : TSkinControl {
    using TSkinControl::TSkinControl;
    int draws = 0;
    void DrawControl(HDC, const TRect&) override {
        ++draws;
        throw std::runtime_error("drawing failed");
    }
};

TEST_F(Controls, AFailedPaintGivesItsWindowDcBackAndAttachingTwiceDoesNothing) {
    HWND w = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    {
        TWinSkinForm owner(nullptr);
        auto* c = new FailingController(&owner);
        c->AttachWindow(w, &skin_, &owner);
        c->AttachWindow(w, &skin_, &owner);
        EXPECT_EQ(owner.Controllers().Count(), 1);
        const long before = SkinGdiLive(SkinGdiKind::Dc);
        c->PaintWindow(0);
        EXPECT_EQ(c->draws, 1);
        EXPECT_EQ(SkinGdiLive(SkinGdiKind::Dc), before);
        EXPECT_EQ(SendMessageW(w, SKM_ISSKINNED, 0, 0), 1);
        DestroyWindow(w);
        EXPECT_EQ(c->State(), kControlWindowGone);
    }
    Pump();
}

}  // namespace

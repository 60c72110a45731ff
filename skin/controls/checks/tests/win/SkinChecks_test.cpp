// Check boxes, progress bars and track bars in the distinct-colour test skin, on real windows: the program's
// source window (its check boxes cb1 and cbSkipComments and its progress bar), skinned the way the skin manager
// skins it, a raw vertical progress bar and a raw track bar. Every frame of every test image is one solid colour,
// so a pixel tells which frame was drawn.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "base/win/Application.h"
#include "shell/Unit2.h"
#include "skin/controls/checks/CheckGeometry.h"
#include "skin/controls/checks/ValueBarGeometry.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/frame/win/WinSkinForm.h"
#include "testsupport/SkinSettle.h"
#include "testsupport/Wait.h"
#include "testsupport/WindowPicture.h"
#include "testsupport/FrameTestSkin.h"

using namespace kes;
using test::WindowShot;

namespace {

// Waits until the windows came to rest.
void Pump() { test::Settle(); }

// The colour of frame `frame` of a strip of `frames` frames lying side by side.
std::int32_t FrameColour(const PixelBuffer& strip, int frame, int frames) {
    const int fw = strip.Width() / frames;
    return strip.GetPixel((frame - 1) * fw + fw / 2, strip.Height() / 2);
}

// Reflects the notifications of raw children back to them, as the class library does for its controls.
LRESULT CALLBACK HostProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NOTIFY && lp) {
        const auto* n = reinterpret_cast<const NMHDR*>(lp);
        if (GetParent(n->hwndFrom) == h) return SendMessageW(n->hwndFrom, OCM__BASE + WM_NOTIFY, wp, lp);
    }
    return DefWindowProcW(h, msg, wp, lp);
}

HWND MakeHost() {
    static const ATOM cls = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"KesChecksHost";
        return RegisterClassW(&wc);
    }();
    (void)cls;
    HWND h = CreateWindowExW(0, L"KesChecksHost", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    Pump();
    return h;
}

// A controller of a kind attached to a raw window, as a skinned dialog's children get theirs.
std::unique_ptr<TSkinControl> AttachRaw(SkinKind kind, HWND window, TSkinData& skin) {
    SkinControllerMaker make = FindSkinController(kind);
    EXPECT_NE(make, nullptr);
    std::unique_ptr<TSkinControl> c(make ? make(nullptr, ControlDecision{}) : nullptr);
    if (c) c->AttachWindow(window, &skin, nullptr);
    Pump();
    return c;
}

// The client area of a window as the screen shows it: a bar's pixels inside its thin edge.
struct ClientShot {
    explicit ClientShot(HWND h) : shot(h) {
        RECT c{};
        GetClientRect(h, &c);
        W = c.right;
        H = c.bottom;
        edgeX = (shot.W - W) / 2;
        edgeY = (shot.H - H) / 2;
    }
    std::int32_t At(int x, int y) const { return shot.At(x + edgeX, y + edgeY); }
    WindowShot shot;
    int W = 0, H = 0, edgeX = 0, edgeY = 0;
};

std::array<long, kSkinGdiKinds> GdiCounts() {
    std::array<long, kSkinGdiKinds> n{};
    for (int k = 0; k < kSkinGdiKinds; ++k) n[k] = SkinGdiLive(static_cast<SkinGdiKind>(k));
    return n;
}

class SkinChecks : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin_.ReadSkinStream(kes::test::TestSkinStream()));
        ASSERT_EQ(skin_.Buttons.CheckButtonFrame, 4);
    }
    // The program's source window, shown and skinned as the manager does it (attach, then SKM_START).
    void ShowSourceWindow() {
        source_ = std::make_unique<TSourceFile>(nullptr);
        source_->Show();
        source_->SetBounds(20, 20, 950, 500);  // whatever place an earlier run left in the registry
        Pump();
        HWND h = static_cast<HWND>(source_->Handle());
        SetForegroundWindow(h);
        form_ = new TWinSkinForm(source_.get());  // owned by the window, freed with it
        form_->SetWindow(h, nullptr, "TSourceFile");
        form_->SkinForm(&skin_, source_.get());
        PostMessageW(h, SKM_START, 0, 1000);
        Pump();
    }
    HWND Window(TWinControl* c) { return static_cast<HWND>(c->Handle()); }
    // The check frame the box of a check box shows now.
    std::int32_t BoxColour(TWinControl* c) {
        const WindowShot s(Window(c));
        const CheckPlacement p = PlaceCheckBox({0, 0, s.W, s.H}, skin_.Buttons.CheckImage.Width() / 4,
                                               skin_.Buttons.CheckImage.Height(), false, false);
        return s.At((p.Box.Left + p.Box.Right) / 2, (p.Box.Top + p.Box.Bottom) / 2);
    }
    std::int32_t Check(int frame) const { return FrameColour(skin_.Buttons.CheckImage, frame, 4); }
    void Click(TWinControl* c) {
        const HWND h = Window(c);
        PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 9));
        PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(6, 9));
        Pump();
    }
    void Space(TWinControl* c) {
        const HWND h = Window(c);
        SetFocus(h);
        PostMessageW(h, WM_KEYDOWN, VK_SPACE, 0x00390001);
        PostMessageW(h, WM_KEYUP, VK_SPACE, 0xC0390001);
        Pump();
    }

    TApplication app_;
    TSkinData skin_;
    std::unique_ptr<TSourceFile> source_;
    TWinSkinForm* form_ = nullptr;
};

}  // namespace

TEST_F(SkinChecks, TheSourceWindowsCheckBoxesToggleOnceAndShowTheirFrames) {
    ShowSourceWindow();
    for (TCheckBox* box : {source_->cb1, source_->cbSkipComments}) {
        SCOPED_TRACE(box->Name());
        ASSERT_NE(form_->Controllers().FindByWindow(Window(box)), nullptr);
        int clicks = 0;
        auto own = box->OnClick;
        box->OnClick = [&](TObject* s) {
            ++clicks;
            if (own) own(s);
        };
        ASSERT_TRUE(box->Checked());
        EXPECT_EQ(BoxColour(box), Check(2));
        Click(box);
        EXPECT_FALSE(box->Checked());
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(BoxColour(box), Check(1));
        Space(box);
        EXPECT_TRUE(box->Checked());
        EXPECT_EQ(clicks, 2);
        EXPECT_EQ(BoxColour(box), Check(2));
        box->SetEnabled(false);
        Pump();
        EXPECT_EQ(BoxColour(box), Check(4));
        box->SetChecked(false);
        Pump();
        EXPECT_EQ(BoxColour(box), Check(3));
        box->SetEnabled(true);
        box->SetChecked(true);
        Pump();
        EXPECT_EQ(BoxColour(box), Check(2));
        box->OnClick = own;
    }
    // The caption is the control's own, on the skin's button face.
    const WindowShot s(Window(source_->cb1));
    EXPECT_EQ(s.At(s.W - 2, 1), skin_.Colour(SkinColour::ButtonFace) & 0xFFFFFF);
}

TEST_F(SkinChecks, TheProgressBarFillsByItsRangeInBothModesAndOrientations) {
    ShowSourceWindow();
    TProgressBar* bar = source_->ProgressBar1;
    ASSERT_NE(form_->Controllers().FindByWindow(Window(bar)), nullptr);
    const TDataSkinBorder& image = *skin_.Progress;
    const std::int32_t empty = FrameColour(image.Image, 1, 2), full = FrameColour(image.Image, 2, 2);
    bar->SetRange(20, 120);
    for (int pos : {70, 45, 120, 20}) {
        SCOPED_TRACE(pos);
        bar->SetPosition(pos);
        Pump();
        const ClientShot s(Window(bar));
        const int filled = ProgressFill(s.W, pos, 20, 120);
        if (filled > 4) {
            EXPECT_EQ(s.At(filled / 2, s.H / 2), full);
        }
        if (filled < s.W - 4) {
            EXPECT_EQ(s.At((filled + s.W) / 2, s.H / 2), empty);
        }
    }
    // Chunks: tiled from beside the chunk's left margin; the minimum counts here too.
    skin_.Progress->Style = 1;
    bar->SetPosition(70);
    InvalidateRect(Window(bar), nullptr, TRUE);
    Pump();
    const ClientShot chunks(Window(bar));
    const std::int32_t chunk = FrameColour(skin_.ProgressChunk->Image, 1, skin_.ProgressChunk->Frame);
    const int filled = ProgressFill(chunks.W, 70, 20, 120);
    EXPECT_EQ(chunks.At(2 + skin_.ProgressChunk->LeftWidth + 1, chunks.H / 2), chunk);
    EXPECT_EQ(chunks.At(2 + skin_.ProgressChunk->LeftWidth + filled - 2, chunks.H / 2), chunk);
    EXPECT_NE(chunks.At(2 + skin_.ProgressChunk->LeftWidth + filled + 3, chunks.H / 2), chunk);
    skin_.Progress->Style = 0;

    // A vertical bar (a raw window) fills from the bottom.
    HWND host = MakeHost();
    HWND vertical = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_VERTICAL, 10, 10, 20, 200,
                                    host, nullptr, nullptr, nullptr);
    SendMessageW(vertical, PBM_SETRANGE32, 0, 100);
    SendMessageW(vertical, PBM_SETPOS, 25, 0);
    auto c = AttachRaw(SkinKind::Progress, vertical, skin_);
    const ClientShot v(vertical);
    EXPECT_EQ(v.At(v.W / 2, v.H - 1 - ProgressFill(v.H, 25, 0, 100) / 2), full);
    EXPECT_EQ(v.At(v.W / 2, v.H / 2), empty);
    c.reset();
    DestroyWindow(host);
}

TEST_F(SkinChecks, ARawTrackBarIsDrawnFromTheSkinAndAnswersOnlyItsOwnCustomDraw) {
    HWND host = MakeHost();
    HWND track = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_AUTOTICKS, 10, 10, 300,
                                 40, host, nullptr, nullptr, nullptr);
    HWND edit =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 80, 100, 20, host, nullptr, nullptr, nullptr);
    SendMessageW(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendMessageW(track, TBM_SETPOS, TRUE, 3);
    auto c = AttachRaw(SkinKind::TrackBar, track, skin_);
    ASSERT_NE(c, nullptr);
    RedrawWindow(track, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    RECT thumb{}, channel{};
    SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    SendMessageW(track, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const WindowShot s(track);
    EXPECT_EQ(s.At((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2),
              FrameColour(skin_.TrackbarThumbHorz->Image, 2, 5));
    EXPECT_EQ(s.At(channel.right - 4, channel.top + 1), FrameColour(skin_.Track->Image, 1, skin_.Track->Frame));

    // A custom draw of another window (the bar's tool tip) is left to the bar's own handling.
    NMCUSTOMDRAW cd{};
    cd.hdr = {host, 0, static_cast<UINT>(NM_CUSTOMDRAW)};
    cd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_NE(SendMessageW(track, OCM__BASE + WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&cd)), CDRF_NOTIFYITEMDRAW);
    cd.hdr.hwndFrom = track;
    EXPECT_EQ(SendMessageW(track, OCM__BASE + WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&cd)), CDRF_NOTIFYITEMDRAW);

    // A new skin repaints the bar and leaves the keyboard focus where it was.
    SetFocus(edit);
    c->SkinChanged();
    EXPECT_EQ(GetFocus(), edit);
    c.reset();
    DestroyWindow(host);
}

TEST_F(SkinChecks, RepeatedPaintsLeaveTheEnginesGdiCountsWhereTheyStarted) {
    ShowSourceWindow();
    HWND host = MakeHost();
    HWND track = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 300, 40, host, nullptr,
                                 nullptr, nullptr);
    auto c = AttachRaw(SkinKind::TrackBar, track, skin_);
    const HWND windows[] = {Window(source_->cb1), Window(source_->cbSkipComments), Window(source_->ProgressBar1),
                            track};
    const auto paintAll = [&] {
        for (HWND w : windows) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    };
    paintAll();  // the strips' bitmaps are made once, at the first paint
    const auto start = GdiCounts();
    for (int i = 0; i < 300; ++i) {
        source_->ProgressBar1->SetPosition(i % 100);
        paintAll();
    }
    EXPECT_EQ(GdiCounts(), start);
    c.reset();
    DestroyWindow(host);
}

// Skinned scroll bars on real windows: the overlays of a memo and a list box lie over the native bars, show the
// skin's frames and scroll their control by arrow, page and thumb; a drag ends when the capture goes. The
// drop-down list's own bar is painted and its thumb drag scrolls the list and ends on every way out without
// spinning.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "base/win/Application.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "gui/win/Canvas.h"
#include "skin/controls/scrollbars/win/ComboListScrollbar.h"
#include "skin/controls/scrollbars/win/SkinScrollbar.h"
#include "skin/draw/win/SkinText.h"
#include "testsupport/SkinSettle.h"
#include "testsupport/Wait.h"
#include "testsupport/FrameTestSkin.h"

using namespace kes;

namespace {

// Waits until the windows came to rest.
void Pump() { test::Settle(); }

// The distinct-colour test skin: every frame of every image one solid colour.
COLORREF FrameColour(const TDataSkinObject& o, int frame) {
    const int fw = o.Image.Width() / o.Frame;
    return static_cast<COLORREF>(o.Image.GetPixel((frame - 1) * fw + fw / 2, o.Image.Height() / 2));
}

COLORREF ScreenPixel(HWND w, int x, int y) {
    HDC dc = GetWindowDC(w);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}

RECT BarRect(HWND w, LONG object) {
    SCROLLBARINFO info{};
    EXPECT_TRUE(CallGetScrollBarInfo(w, object, info));
    return info.rcScrollBar;
}

// Runs `what` from a timer while a drag (started by `start`) waits; gives the drag's wall time and the CPU time
// this thread spent meanwhile, milliseconds.
struct DragTimes {
    double wall = 0, cpu = 0;
};
std::function<void()> g_onTimer;
void CALLBACK FireTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_onTimer) g_onTimer();
}
double ThreadCpuMs() {
    FILETIME c, e, k, u;
    GetThreadTimes(GetCurrentThread(), &c, &e, &k, &u);
    const auto ms = [](FILETIME f) { return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e4; };
    return ms(k) + ms(u);
}
DragTimes TimedDrag(const std::function<void()>& start, std::function<void()> what, UINT after = 300) {
    g_onTimer = std::move(what);
    SetTimer(nullptr, 0, after, FireTimer);
    const ULONGLONG t0 = GetTickCount64();
    const double c0 = ThreadCpuMs();
    start();
    DragTimes t{static_cast<double>(GetTickCount64() - t0), ThreadCpuMs() - c0};
    g_onTimer = nullptr;
    return t;
}

class Scrollbars : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        ASSERT_TRUE(skin_.ReadSkinStream(kes::test::TestSkinStream()));
        ASSERT_TRUE(skin_.Scrollbar && skin_.Scrollbar->HasImage());
        form_ = new TForm(nullptr);
        form_->SetBounds(40, 40, 520, 420);
        memo_ = new TMemo(form_);
        memo_->SetParent(form_);
        memo_->SetBounds(10, 10, 300, 200);
        memo_->SetWordWrap(false);
        memo_->SetScrollBars(ssVertical);
        list_ = new TListBox(form_);
        list_->SetParent(form_);
        list_->SetBounds(320, 10, 180, 200);
        form_->Show();
        std::string text;
        for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\r\n";
        memo_->SetText(text);
        for (int i = 0; i < 100; ++i) list_->Items().Add("item " + std::to_string(i));
        SendMessageA(Memo(), EM_SETSEL, 0, 0);
        SendMessageA(Memo(), EM_SCROLLCARET, 0, 0);
        memoBars_ = new TSkinScrollbar(memo_);
        memoBars_->AttachScrollControl(memo_, &skin_, nullptr);
        listBars_ = new TSkinScrollbar(list_);
        listBars_->AttachScrollControl(list_, &skin_, nullptr);
        Pump();
    }
    void TearDown() override {
        delete form_;
        app_.reset();
    }
    HWND Memo() const { return static_cast<HWND>(memo_->WindowHandle()); }
    HWND List() const { return static_cast<HWND>(list_->WindowHandle()); }
    static HWND H(TWScrollbar* b) { return static_cast<HWND>(b->WindowHandle()); }
    int FirstLine() const { return static_cast<int>(SendMessageA(Memo(), EM_GETFIRSTVISIBLELINE, 0, 0)); }
    // A press and release at a point of the overlay, as the user clicks it.
    void Click(TWScrollbar* b, int x, int y) {
        PostMessageA(H(b), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageA(H(b), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Pump();
    }
    // The thumb's middle, overlay coordinates, as the system has it.
    int ThumbMiddle(HWND w) {
        SCROLLBARINFO info{};
        CallGetScrollBarInfo(w, OBJID_VSCROLL, info);
        return (info.xyThumbTop + info.xyThumbBottom) / 2;
    }

    std::unique_ptr<TApplication> app_;
    TSkinData skin_;
    TForm* form_ = nullptr;
    TMemo* memo_ = nullptr;
    TListBox* list_ = nullptr;
    TSkinScrollbar* memoBars_ = nullptr;
    TSkinScrollbar* listBars_ = nullptr;
};

TEST_F(Scrollbars, OverlaysLieOverTheNativeBarsAndShowTheSkinsFrames) {
    for (auto [bars, w] : {std::pair{memoBars_, Memo()}, std::pair{listBars_, List()}}) {
        TWScrollbar* v = bars->Vertical();
        ASSERT_NE(v, nullptr);
        EXPECT_TRUE(v->Shown());
        EXPECT_FALSE(bars->Horizontal()->Shown()) << "no horizontal bar, no overlay";
        RECT over{};
        GetWindowRect(H(v), &over);
        const RECT bar = BarRect(w, OBJID_VSCROLL);
        EXPECT_TRUE(EqualRect(&over, &bar)) << over.left << "," << over.top << " " << over.right << "," << over.bottom
                                            << " vs " << bar.left << "," << bar.top << " " << bar.right << ","
                                            << bar.bottom;
        EXPECT_EQ(GetParent(H(v)), GetParent(w));
        EXPECT_EQ(GetWindow(w, GW_HWNDPREV), H(v)) << "the overlay lies just above its control";
    }
    // The memo's bar at rest: up arrow, thumb at the top, down arrow; the two-line border.
    const HWND v = H(memoBars_->Vertical());
    const RECT r = BarRect(Memo(), OBJID_VSCROLL);
    const int h = r.bottom - r.top, a = GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(ScreenPixel(v, 4, a / 2), FrameColour(*skin_.Scrollbar, 9));
    EXPECT_EQ(ScreenPixel(v, 4, h - a / 2), FrameColour(*skin_.Scrollbar, 13));
    EXPECT_EQ(ScreenPixel(v, 4, a + 1), FrameColour(*skin_.VertScrollThumb, 1));
    EXPECT_EQ(ScreenPixel(v, 4, h - a - 3), FrameColour(*skin_.VertScroll, 1));
    EXPECT_EQ(ScreenPixel(Memo(), 0, 50), static_cast<COLORREF>(ColorToRGB(skin_.Colour(SkinColour::ButtonShadow))));

    // Hovering the down arrow lights it.
    PostMessageA(v, WM_MOUSEMOVE, 0, MAKELPARAM(4, h - a / 2));
    Pump();
    EXPECT_EQ(memoBars_->Vertical()->Hot(), kScrollSecondArrow);
    EXPECT_EQ(ScreenPixel(v, 4, h - a / 2), FrameColour(*skin_.Scrollbar, 16));

    // A resized control takes its overlay along.
    memo_->SetBounds(10, 10, 260, 150);
    Pump();
    RECT over{};
    GetWindowRect(v, &over);
    const RECT moved = BarRect(Memo(), OBJID_VSCROLL);
    EXPECT_TRUE(EqualRect(&over, &moved));
}

TEST_F(Scrollbars, ArrowPageAndThumbOnTheOverlayScrollTheMemoAndTheList) {
    TWScrollbar* v = memoBars_->Vertical();
    const RECT r = BarRect(Memo(), OBJID_VSCROLL);
    const int h = r.bottom - r.top, a = GetSystemMetrics(SM_CXHSCROLL);
    ASSERT_EQ(FirstLine(), 0);
    Click(v, 4, h - a / 2);
    EXPECT_EQ(FirstLine(), 1) << "the down arrow scrolls a line";
    Click(v, 4, a / 2);
    EXPECT_EQ(FirstLine(), 0) << "the up arrow scrolls back";
    Click(v, 4, h - a - 2);
    const int page = FirstLine();
    EXPECT_GT(page, 5) << "the track below the thumb scrolls a page";
    EXPECT_FALSE(v->Pressed());

    // Dragging the thumb: the press goes to the native bar, the moves and the release come to the memo, which
    // holds the capture while its bar tracks.
    const int from = ThumbMiddle(Memo());
    POINT to{r.left + 4, r.top + from + 60};
    ScreenToClient(Memo(), &to);
    PostMessageA(H(v), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, from));
    PostMessageA(Memo(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageA(Memo(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Pump();
    EXPECT_GT(FirstLine(), page + 20) << "the text follows the thumb";
    EXPECT_GT(ThumbMiddle(Memo()), from + 40) << "and so does the system's thumb the overlay shows";

    // The list box likewise.
    TWScrollbar* lv = listBars_->Vertical();
    const RECT lr = BarRect(List(), OBJID_VSCROLL);
    Click(lv, 4, lr.bottom - lr.top - a / 2);
    EXPECT_EQ(SendMessageA(List(), LB_GETTOPINDEX, 0, 0), 1);
}

TEST_F(Scrollbars, ALostCaptureEndsTheThumbDragWithoutSpinning) {
    TWScrollbar* v = memoBars_->Vertical();
    const int from = ThumbMiddle(Memo());
    const DragTimes t = TimedDrag([&] { SendMessageA(H(v), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, from)); },
                                  [] { ReleaseCapture(); });
    EXPECT_LT(t.wall, 3000);
    EXPECT_GE(t.wall, 250);
    EXPECT_LT(t.cpu, t.wall / 3) << "the drag waits for messages";
    EXPECT_FALSE(v->Pressed());
}

TEST_F(Scrollbars, UnskinningTakesTheOverlaysAway) {
    const HWND v = H(memoBars_->Vertical());
    memoBars_->Unskin();
    EXPECT_FALSE(IsWindow(v));
    EXPECT_EQ(memoBars_->Vertical(), nullptr);
    EXPECT_NE(ScreenPixel(Memo(), 0, 50), static_cast<COLORREF>(ColorToRGB(skin_.Colour(SkinColour::ButtonShadow))));
}

class ComboList : public Scrollbars {
protected:
    void SetUp() override {
        Scrollbars::SetUp();
        combo_ = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 10, 230,
                                 160, 200, static_cast<HWND>(form_->Handle()), nullptr, GetModuleHandleA(nullptr),
                                 nullptr);
        for (int i = 0; i < 60; ++i)
            SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("choice " + std::to_string(i)).c_str()));
        COMBOBOXINFO info{};
        ASSERT_TRUE(CallGetComboBoxInfo(combo_, info));
        bar_.reset(AttachComboxScrollBar(nullptr, info.hwndList, &skin_, nullptr));
        ASSERT_NE(bar_, nullptr);
        dropList_ = bar_->Window();
    }
    void TearDown() override {
        SendMessageA(combo_, CB_SHOWDROPDOWN, FALSE, 0);
        bar_.reset();
        Scrollbars::TearDown();
    }
    void Drop() {
        SendMessageA(combo_, CB_SHOWDROPDOWN, TRUE, 0);
        Pump();
        ASSERT_TRUE(IsWindowVisible(dropList_));
    }
    int Top() const { return static_cast<int>(SendMessageA(dropList_, LB_GETTOPINDEX, 0, 0)); }
    // The thumb's middle, screen.
    POINT Thumb() {
        SCROLLBARINFO info{};
        CallGetScrollBarInfo(dropList_, OBJID_VSCROLL, info);
        return {info.rcScrollBar.left + 4, info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
    }
    LRESULT Press(POINT p) { return SendMessageA(dropList_, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(p.x, p.y)); }

    HWND combo_ = nullptr;
    HWND dropList_ = nullptr;
    std::unique_ptr<TComboxScrollBar> bar_;
};

TEST_F(ComboList, TheDroppedListsBarIsPaintedAndItsThumbDragScrolls) {
    Drop();
    RECT wr{};
    GetWindowRect(dropList_, &wr);
    const RECT r = BarRect(dropList_, OBJID_VSCROLL);
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    RedrawWindow(dropList_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(ScreenPixel(dropList_, r.left - wr.left + 4, r.top - wr.top + a / 2), FrameColour(*skin_.Scrollbar, 9));
    EXPECT_EQ(ScreenPixel(dropList_, r.left - wr.left + 4, r.bottom - wr.top - a / 2), FrameColour(*skin_.Scrollbar, 13));

    // Released without a move: the list stays.
    const POINT p = Thumb();
    POINT c = p;
    ScreenToClient(dropList_, &c);
    PostMessageA(dropList_, WM_LBUTTONUP, 0, MAKELPARAM(c.x, c.y));
    Press(p);
    EXPECT_EQ(Top(), 0);
    // Moved down by a third of the bar: the list follows.
    POINT to{p.x, p.y + (r.bottom - r.top) / 3};
    ScreenToClient(dropList_, &to);
    PostMessageA(dropList_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageA(dropList_, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Press(p);
    EXPECT_GT(Top(), 10);
    EXPECT_FALSE(bar_->Dragging());
}

TEST_F(ComboList, TheThumbDragEndsOnEveryWayOutAndWaitsMeanwhile) {
    struct Way {
        const char* what;
        std::function<void(HWND list, HWND combo)> end;
    } ways[] = {
        {"capture taken", [](HWND, HWND combo) { SetCapture(combo); }},
        {"capture released", [](HWND, HWND) { ReleaseCapture(); }},
        {"cancel mode", [](HWND list, HWND) { SendMessageA(list, WM_CANCELMODE, 0, 0); }},
        {"list hidden", [](HWND list, HWND) { ShowWindow(list, SW_HIDE); }},
        {"Esc", [](HWND list, HWND) { PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"quit", [](HWND, HWND) { PostQuitMessage(7); }},
    };
    for (const Way& way : ways) {
        Drop();
        const POINT p = Thumb();
        const DragTimes t = TimedDrag([&] { Press(p); }, [&] { way.end(dropList_, combo_); });
        EXPECT_FALSE(bar_->Dragging()) << way.what;
        EXPECT_LT(t.wall, 3000) << way.what;
        EXPECT_LT(t.cpu, t.wall / 3) << way.what << ": the drag waits for messages";
        MSG quit{};
        const bool requit = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
        EXPECT_EQ(requit, std::string(way.what) == "quit") << way.what;
        if (requit) {
            EXPECT_EQ(quit.wParam, 7u);
        }
        SendMessageA(combo_, CB_SHOWDROPDOWN, FALSE, 0);
        ReleaseCapture();
        Pump();
    }
}

}  // namespace

namespace {

// The list of a simple combo box (a raw child window of the combo box) gets the overlays too.
TEST_F(Scrollbars, ASimpleComboBoxsListScrollsByItsOverlay) {
    const HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_SIMPLE, 10, 220, 160,
                                       150, static_cast<HWND>(form_->Handle()), nullptr, GetModuleHandleA(nullptr),
                                       nullptr);
    for (int i = 0; i < 40; ++i)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("entry " + std::to_string(i)).c_str()));
    COMBOBOXINFO info{};
    ASSERT_TRUE(CallGetComboBoxInfo(combo, info));
    TSkinScrollbarH* bars = AttachListScrollBars(*memoBars_, info.hwndList);
    ASSERT_NE(bars, nullptr);
    Pump();
    TWScrollbar* v = bars->Vertical();
    ASSERT_TRUE(v->Shown());
    RECT over{};
    GetWindowRect(H(v), &over);
    const RECT bar = BarRect(info.hwndList, OBJID_VSCROLL);
    EXPECT_TRUE(EqualRect(&over, &bar));
    Click(v, 4, bar.bottom - bar.top - GetSystemMetrics(SM_CXHSCROLL) / 2);
    EXPECT_EQ(SendMessageA(info.hwndList, LB_GETTOPINDEX, 0, 0), 1);
    const HWND overlay = H(v);
    delete bars;
    EXPECT_FALSE(IsWindow(overlay)) << "the overlays go with their controller";
    DestroyWindow(combo);
}

}  // namespace

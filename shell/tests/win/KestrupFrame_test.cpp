// Kestrup.exe's main window handled as a new user handles it, with the real pointer and keyboard (hardware input
// through SendInput, not messages posted to the window): every edge and corner sizes the window by the pointer's
// way, the caption drags it, a double click on the caption maximizes and restores it, the caption buttons
// minimize, maximize, restore and close, and a maximized window stays where it is. Each of these runs on the
// program in its default skin and on the same program built without the skin manager, whose system frame is the
// reference. Then the skinned bar from the keyboard (F10, the arrows, Enter), its command buttons under the mouse,
// Alt+Space on the setup dialog, and a letter in a popup of owner-drawn items. Pictures go to skin-shots/.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "KestrupDriver.h"
#include "KestrupOnBoard.h"
#include "testsupport/RealInput.h"
#include "testsupport/WindowPicture.h"

using namespace kes::test;

namespace {

RECT RectOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

void Shot(HWND w, const std::string& name) {
    std::filesystem::create_directories("skin-shots");
    CaptureScreen(RectOf(w)).Save("skin-shots/" + name + ".bmp");
}

HWND VisiblePopup(DWORD pid) {
    return FindTopWindowOf(pid, [](HWND h) { return IsWindowVisible(h) && ClassOf(h) == "#32768"; });
}

struct Program {
    const char* exe;
    bool skinned;
    int border;  // the width of the frame's sizing border as it is drawn
};
void PrintTo(const Program& p, std::ostream* os) { *os << p.exe; }

// The main window placed where every border can be reached, in front, with the keyboard.
class FrameOf : public ::testing::TestWithParam<Program> {
protected:
    void SetUp() override {
        ResetTerminalSettings();
        k_ = std::make_unique<KestrupProcess>();
        std::string error;
        ASSERT_TRUE(k_->Start(error, GetParam().exe)) << error;
        main_ = k_->Main();
        if (GetParam().skinned) {
            ASSERT_TRUE(WaitUntil([&] { return Skinned(main_) == 1; }, 5000));
        }
        SetWindowPos(main_, HWND_TOP, 200, 150, 720, 520, 0);
        ASSERT_TRUE(WaitUntil([&] { return Same(RectOf(main_), RECT{200, 150, 920, 670}); }, 3000))
            << Text(RectOf(main_));
        ASSERT_TRUE(ToFront(main_));
        k_->Sync();
        Wait(200);  // the X server restacks in its own time and tells Wine nothing to wait for
    }
    void TearDown() override { k_.reset(); }

    // A point of the window: x and y from its left and top, or (negative) from its right and bottom edge.
    POINT At(int x, int y) const {
        const RECT r = RectOf(main_);
        return {x >= 0 ? r.left + x : r.right + x, y >= 0 ? r.top + y : r.bottom + y};
    }
    // Where a caption button (HTMINBUTTON, HTMAXBUTTON, HTCLOSE) is: the system frame tells it by its hit test;
    // the skin's buttons lie where the default skin puts them (20 pixels square, 28, 52 and 76 pixels left of
    // the right edge, 5 below the top).
    POINT CaptionButton(int code) const {
        if (GetParam().skinned) return At(code == HTCLOSE ? -18 : code == HTMAXBUTTON ? -42 : -66, 15);
        const RECT r = RectOf(main_);
        for (int y = r.top; y < r.top + 40; ++y) {
            int first = -1, last = -1;
            for (int x = r.right - 1; x > r.right - 200; --x)
                if (SendMessageA(main_, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == code) {
                    if (last < 0) last = x;
                    first = x;
                }
            if (first >= 0) return {(first + last) / 2, y + 6};
        }
        return {-1, -1};
    }
    // The main window's rectangle once it is `want` (the program's loops may lag behind the pointer), or as it
    // is when the time ran out.
    RECT Becomes(const RECT& want) {
        WaitUntil([&] { return Same(RectOf(main_), want); }, 3000);
        k_->Sync();
        return RectOf(main_);
    }

    std::unique_ptr<KestrupProcess> k_;
    HWND main_ = nullptr;
};

TEST_P(FrameOf, EveryEdgeAndCornerSizesTheWindowByThePointersWay) {
    struct Handle {
        const char* what;
        int x, y;    // the press, as At() takes it
        int dx, dy;  // the pointer's way
        bool left, top, right, bottom;  // the edges that follow it
    };
    // Pressed on the border's innermost pixels: the skin's border is wider than the system's.
    const int in = GetParam().border - 1, back = -GetParam().border;
    const Handle handles[] = {
        {"top-left corner", in, in, -30, -20, true, true, false, false},
        {"top edge", 360, 1, 0, -20, false, true, false, false},
        {"top-right corner", back, in, 30, -20, false, true, true, false},
        {"right edge", back, 260, 30, 0, false, false, true, false},
        {"bottom-right corner", back, back, 30, 20, false, false, true, true},
        {"bottom edge", 360, back, 0, 20, false, false, false, true},
        {"bottom-left corner", in, back, -30, 20, true, false, false, true},
        {"left edge", in, 260, -30, 0, true, false, false, false},
        {"top-left corner, at its curve", 3, 3, -30, -20, true, true, false, false},
    };
    for (const Handle& h : handles) {
        const RECT before = RectOf(main_);
        const POINT from = At(h.x, h.y);
        const POINT to{from.x + h.dx, from.y + h.dy};
        if (GetParam().skinned && std::string(h.what) == "bottom-right corner") {
            // Half way, with the button still down: the window as it is sized.
            PointerTo(from);
            Wait(60);  // the pointer's steps at a hand's pace
            PointerButton(true);
            Wait(60);  // the pointer's steps at a hand's pace
            const POINT half{from.x + h.dx / 2, from.y + h.dy / 2};
            PointerGlide(from, half, 4);
            Wait(200);  // the sizing redraws as the pointer moves: no event ends it
            Shot(main_, "MainWindowWhileSizing");
            PointerGlide(half, to, 4);
            Wait(60);  // the pointer's steps at a hand's pace
            PointerButton(false);
            Wait(60);  // the pointer's steps at a hand's pace
        } else {
            Drag(from, to);
        }
        const RECT want{before.left + (h.left ? h.dx : 0), before.top + (h.top ? h.dy : 0),
                        before.right + (h.right ? h.dx : 0), before.bottom + (h.bottom ? h.dy : 0)};
        const RECT after = Becomes(want);
        EXPECT_TRUE(Same(after, want)) << h.what << ": " << Text(before) << " became " << Text(after) << ", not "
                                       << Text(want);
    }
    EXPECT_TRUE(k_->Running());
}

TEST_P(FrameOf, TheCaptionDragsMaximizesAndRestoresAndAMaximizedWindowStaysPut) {
    // The caption drags the window: it moves by the pointer's way and keeps its size.
    RECT before = RectOf(main_);
    Drag(At(260, 12), {before.left + 260 + 40, before.top + 12 + 30});
    const RECT moved{before.left + 40, before.top + 30, before.right + 40, before.bottom + 30};
    RECT after = Becomes(moved);
    EXPECT_TRUE(Same(after, moved)) << Text(before) << " became " << Text(after);

    // A double click on the caption maximizes; the maximized window does not move when its caption is dragged,
    // and a press on the caption released over the close button closes nothing.
    const RECT normal = RectOf(main_);
    DoubleClick(At(260, 12));
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(main_) != FALSE; }, 3000));
    k_->Sync();
    Wait(200);  // the X server restacks in its own time and tells Wine nothing to wait for
    const RECT maximized = RectOf(main_);
    if (GetParam().skinned) Shot(main_, "MainWindowMaximized");
    Drag(At(260, 12), {maximized.left + 260 + 60, maximized.top + 12 + 80});
    k_->Sync();
    Wait(300);  // that nothing happens: no event to wait for
    EXPECT_TRUE(Same(RectOf(main_), maximized)) << Text(RectOf(main_)) << " was " << Text(maximized);
    EXPECT_TRUE(IsZoomed(main_));
    const POINT close = CaptionButton(HTCLOSE);
    Drag(At(260, 12), close);
    Wait(500);  // that nothing happens: no event to wait for
    EXPECT_TRUE(k_->Running()) << "a press on the caption released over the close button";
    EXPECT_TRUE(IsZoomed(main_));

    // A second double click restores the place it had.
    DoubleClick(At(260, 12));
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(main_) == FALSE; }, 3000));
    after = Becomes(normal);
    EXPECT_TRUE(Same(after, normal)) << Text(after) << " not " << Text(normal);
}

TEST_P(FrameOf, TheCaptionButtonsMinimizeMaximizeRestoreAndClose) {
    const RECT normal = RectOf(main_);
    Click(CaptionButton(HTMAXBUTTON));
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(main_) != FALSE; }, 3000)) << "maximize";
    k_->Sync();
    Wait(200);  // the X server restacks in its own time and tells Wine nothing to wait for
    // Maximized, the same place holds the restore button.
    Click(CaptionButton(HTMAXBUTTON));
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(main_) == FALSE; }, 3000)) << "restore";
    EXPECT_TRUE(Same(Becomes(normal), normal));
    k_->Sync();
    Wait(200);  // the X server restacks in its own time and tells Wine nothing to wait for

    Click(CaptionButton(HTMINBUTTON));
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main_) != FALSE; }, 3000)) << "minimize";
    k_->Sync();
    Wait(300);  // the X server restacks in its own time and tells Wine nothing to wait for
    // The minimized window is a caption: a double click on it restores the window.
    const RECT icon = RectOf(main_);
    DoubleClick({(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2});
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main_) == FALSE; }, 3000)) << "restore from " << Text(icon);
    k_->Sync();
    Wait(300);  // the X server restacks in its own time and tells Wine nothing to wait for
    ASSERT_TRUE(ToFront(main_));

    // A drag from the top-right corner ending over the close button sizes the window and closes nothing.
    const RECT before = RectOf(main_);
    const POINT corner = At(-4, 3);
    Drag(corner, CaptionButton(HTCLOSE));
    Wait(500);  // that nothing happens: no event to wait for
    EXPECT_TRUE(k_->Running()) << "a sizing drag ended over the close button";
    EXPECT_FALSE(Same(RectOf(main_), before)) << "the corner sized the window";

    Click(CaptionButton(HTCLOSE));
    EXPECT_TRUE(k_->WaitForExit(10000)) << "close";
}

INSTANTIATE_TEST_SUITE_P(Kestrup, FrameOf,
                         ::testing::Values(Program{"Kestrup.exe", true, 6}, Program{"KestrupUnskinned.exe", false, 4}),
                         [](const ::testing::TestParamInfo<Program>& i) {
                             return std::string(i.param.skinned ? "InItsSkin" : "WithTheSystemFrame");
                         });

// ---- the skinned bar, the system menu and the menus' letters from the keyboard ----

// The main window's bar buttons in the order of its menu.
const char* const kBar[] = {"File", "Serial-Setup", "Connect", "Disconnect", "Log", "Clear-Screen",
                            "Processor-Type", "Help", "Win10-ANSI-Console"};

RECT BarButton(HWND w, const std::string& caption) {
    return SkinnedBarButton(w, {std::begin(kBar), std::end(kBar)}, caption);
}

POINT Middle(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The share of a bar button's top row that shows the highlight's white frame (the skin's ButtonHilight).
double Highlighted(HWND w, const std::string& caption) {
    const RECT b = BarButton(w, caption);
    const WindowPixels c = CaptureScreen(b);
    int white = 0;
    for (int x = 0; x < c.W; ++x) white += c.At(x, 0) == 0xFFFFFF;
    return c.W > 0 ? static_cast<double>(white) / c.W : 0;
}

class KestrupBar : public KestrupOnBoard {
protected:
    void SetUp() override {
        KestrupOnBoard::SetUp();
        if (!Ready()) return;
        k_ = std::make_unique<KestrupProcess>();
        std::string error;
        ASSERT_TRUE(k_->Start(error)) << error;
        main_ = k_->Main();
        ASSERT_TRUE(WaitUntil([&] { return Skinned(main_) == 1; }, 5000));
        ASSERT_TRUE(ToFront(main_));
        k_->Sync();
        Wait(300);  // the X server restacks in its own time and tells Wine nothing to wait for
    }
    void TearDown() override { k_.reset(); }

    HWND WaitPopup(HWND not_ = nullptr) {
        HWND found = nullptr;
        WaitUntil([&] { return (found = VisiblePopup(k_->ProcessId())) != nullptr && found != not_; }, 5000);
        return found != not_ ? found : nullptr;
    }
    bool WaitClosed() {
        return WaitUntil([&] { return VisiblePopup(k_->ProcessId()) == nullptr; }, 5000);
    }
    bool Connected() {
        return WaitUntil([&] { return k_->MemoText().find(" ok") != std::string::npos; }, 5000);
    }

    std::unique_ptr<KestrupProcess> k_;
    HWND main_ = nullptr;
};

// F10 opens the first button's popup; Right goes on to the command buttons, which show highlighted and run
// nothing until Enter runs the one the keys are on.
TEST_F(KestrupBar, F10AndTheArrowsReachConnectAndEnterRunsIt) {
    if (!Ready()) return;
    Stroke(VK_F10);
    HWND file = WaitPopup();
    ASSERT_NE(file, nullptr) << "F10 opens File";
    Stroke(VK_RIGHT);
    ASSERT_TRUE(WaitClosed()) << "Serial-Setup has no popup";
    EXPECT_TRUE(WaitUntil([&] { return Highlighted(main_, "Serial-Setup") > 0.8; }, 3000));
    Stroke(VK_RIGHT);
    EXPECT_TRUE(WaitUntil([&] { return Highlighted(main_, "Connect") > 0.8; }, 3000));
    EXPECT_LT(Highlighted(main_, "Serial-Setup"), 0.2);
    Shot(main_, "BarKeysOnConnect");
    Wait(300);  // that nothing happens: no event to wait for
    EXPECT_EQ(VisiblePopup(k_->ProcessId()), nullptr);
    EXPECT_TRUE(board_.Lines().empty()) << "passing over a command runs nothing";
    EXPECT_EQ(k_->MemoText().find(" ok"), std::string::npos);
    Stroke(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !board_.Lines().empty(); }, 5000)) << "Enter runs Connect";
    EXPECT_TRUE(Connected());
    EXPECT_LT(Highlighted(main_, "Connect"), 0.2) << "the bar is left";

    // Left goes back along the bar, into File's popup again; Escape closes it, and Alt alone opens File too.
    Stroke(VK_F10);
    ASSERT_NE(WaitPopup(), nullptr);
    Stroke(VK_RIGHT);
    Stroke(VK_RIGHT);
    EXPECT_TRUE(WaitUntil([&] { return Highlighted(main_, "Connect") > 0.8; }, 3000));
    Stroke(VK_LEFT);
    Stroke(VK_LEFT);
    ASSERT_NE(WaitPopup(), nullptr) << "back on File";
    Stroke(VK_ESCAPE);
    EXPECT_TRUE(WaitClosed());
    Stroke(VK_MENU);
    HWND again = WaitPopup();
    ASSERT_NE(again, nullptr) << "Alt alone opens File";
    Stroke(VK_ESCAPE);
    EXPECT_TRUE(WaitClosed());
    EXPECT_TRUE(k_->Running());
}

// A command button of the bar runs when the press and the release are both on it, and only then.
TEST_F(KestrupBar, ACommandButtonRunsOnTheReleaseOverTheButtonPressed) {
    if (!Ready()) return;
    const POINT connect = Middle(BarButton(main_, "Connect"));
    const POINT setup = Middle(BarButton(main_, "Serial-Setup"));
    const RECT r = RectOf(main_);
    // Pressed on Connect, released on the caption; pressed on Serial-Setup, released on Connect.
    Drag(connect, {r.left + 300, r.top + 12});
    Drag(setup, connect);
    k_->Sync();
    Wait(500);  // that nothing happens: no event to wait for
    EXPECT_TRUE(board_.Lines().empty());
    EXPECT_EQ(FindTopWindowOf(k_->ProcessId(), [](HWND h) { return IsWindowVisible(h) && ClassOf(h) == "TComSetupFrm"; }),
              nullptr);
    EXPECT_TRUE(Same(RectOf(main_), r)) << "a press on the bar moves nothing";
    Click(connect);
    ASSERT_TRUE(WaitUntil([&] { return !board_.Lines().empty(); }, 5000));
    EXPECT_TRUE(Connected());
}

// A letter in a popup of the skin's owner-drawn items picks the item it begins (File: "SourceFile Window").
TEST_F(KestrupBar, ALetterPicksAnOwnerDrawnItem) {
    if (!Ready()) return;
    Stroke(VK_F10);
    ASSERT_NE(WaitPopup(), nullptr);
    Stroke('S');
    EXPECT_TRUE(WaitClosed());
    EXPECT_TRUE(WaitUntil(
        [&] {
            return FindTopWindowOf(k_->ProcessId(),
                                   [](HWND h) { return IsWindowVisible(h) && ClassOf(h) == "TSourceFile"; }) != nullptr;
        },
        5000))
        << "the source window";
}

// Alt+Space on the setup dialog, which has no bar, opens the skinned system menu.
TEST_F(KestrupBar, AltSpaceOpensTheSkinnedSystemMenuOfTheSetupDialog) {
    if (!Ready()) return;
    ASSERT_TRUE(k_->Menu("SerialSetup1"));
    HWND setup = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            return (setup = FindTopWindowOf(k_->ProcessId(), [](HWND h) {
                        return IsWindowVisible(h) && ClassOf(h) == "TComSetupFrm";
                    })) != nullptr;
        },
        5000));
    ASSERT_TRUE(WaitUntil([&] { return Skinned(setup) == 1; }, 5000));
    ASSERT_TRUE(ToFront(setup));
    Wait(300);  // the X server restacks in its own time and tells Wine nothing to wait for
    Stroke(VK_SPACE, VK_MENU);
    HWND menu = WaitPopup();
    ASSERT_NE(menu, nullptr) << "Alt+Space";
    EXPECT_EQ(Skinned(menu), 1);
    RECT both = RectOf(setup), m = RectOf(menu);
    UnionRect(&both, &both, &m);
    Wait(200);  // the popup shown on the screen (read from it: under the lock)
    std::filesystem::create_directories("skin-shots");
    CaptureScreen(both).Save("skin-shots/SetupSystemMenu.bmp");
    Stroke(VK_ESCAPE);
    EXPECT_TRUE(WaitClosed());
    PostMessageA(setup, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(setup); }, 5000));
}

}  // namespace

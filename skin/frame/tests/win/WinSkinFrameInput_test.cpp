// The skinned frame under the real pointer and keyboard (SendInput: hardware input, which the system's loops and
// the mouse capture see): a caption button acts only on a release over the button the press began on; a hovered
// button shows normal after a full frame paint until the pointer moves again; the skin's borders size the window
// at every edge and corner; Alt and a letter in a second form open the main form's bar button; Alt+Space on a
// window without a bar opens the skinned system menu. On our own windows and forms under the distinct-colour test
// skin, skinned as the skin manager does it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/win/Application.h"
#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "skin/data/win/SkinDataWin.h"
#include "skin/frame/win/WinSkinForm.h"
#include "skin/frame/win/WinSkinMenu.h"
#include "testsupport/DeferredAction.h"
#include "testsupport/FrameTestSkin.h"
#include "testsupport/RealInput.h"
#include "testsupport/SkinSettle.h"
#include "testsupport/Wait.h"
#include "testsupport/WindowPicture.h"

using namespace kes;

namespace {

std::vector<WPARAM> g_sysCommands;

LRESULT CALLBACK InputProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYSCOMMAND) {
        const WPARAM cmd = wp & 0xFFF0;
        g_sysCommands.push_back(cmd);
        if (cmd == SC_CLOSE || cmd == SC_MAXIMIZE || cmd == SC_MINIMIZE) return 0;  // recorded, nothing more
    }
    return DefWindowProcW(h, msg, wp, lp);
}

HWND MakeWindow() {
    static const ATOM cls = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = InputProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"KesFrameInput";
        return RegisterClassW(&wc);
    }();
    (void)cls;
    HWND h = CreateWindowExW(0, L"KesFrameInput", L"Frame input", WS_OVERLAPPEDWINDOW, 200, 160, 420, 300, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(h, SW_SHOW);
    EXPECT_TRUE(test::ToFront(h));
    EXPECT_TRUE(test::Settle());
    return h;
}

class FrameInput : public ::testing::Test {
protected:
    void SetUp() override {
        g_sysCommands.clear();
        ASSERT_TRUE(skin_.ReadSkinStream(test::TestSkinStream()));
    }
    std::unique_ptr<TWinSkinForm> Skin(HWND h) {
        auto f = std::make_unique<TWinSkinForm>(nullptr);
        f->SetWindow(h, nullptr, "KesFrameInput");
        f->SkinWindow(&skin_);
        PostMessageW(h, SKM_START, 0, 1000);
        EXPECT_TRUE(test::Settle());
        EXPECT_EQ(f->Stage(), 1) << "skinned";
        return f;
    }
    const TDataSkinSysButton& Button(int action) const {
        for (const auto& b : skin_.SysButtons)
            if (b.Action == action) return b;
        return skin_.SysButtons.front();
    }
    // A caption button's rectangle in window coordinates (the test skin's buttons are right-aligned).
    TRect ButtonRect(HWND h, int action) const {
        const TDataSkinSysButton& b = Button(action);
        RECT r;
        GetWindowRect(h, &r);
        const int bw = b.Image.Width() / std::max(1, b.Frame);
        return Bounds(r.right - r.left - b.Xcoord, b.Ycoord, bw, b.Image.Height());
    }
    POINT OnScreen(HWND h, TPoint p) const {
        RECT r;
        GetWindowRect(h, &r);
        return {r.left + p.X, r.top + p.Y};
    }
    POINT Centre(HWND h, int action) const {
        const TRect b = ButtonRect(h, action);
        return OnScreen(h, {(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2});
    }
    // The frame of a caption button's image that the window shows at the button's middle (0 for none).
    int ShownFrame(HWND h, int action) const {
        const TDataSkinSysButton& b = Button(action);
        const TRect r = ButtonRect(h, action);
        const test::WindowPixels shot = test::CaptureWindow(h);
        const std::int32_t shown = shot.At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        const int bw = b.Image.Width() / std::max(1, b.Frame);
        for (int f = 1; f <= b.Frame; ++f)
            if (b.Image.GetPixel((f - 1) * bw + bw / 2, b.Image.Height() / 2) == shown) return f;
        return 0;
    }
    // Looks (serving messages) until the caption button shows `frame`, up to 3 s; the frame it showed last.
    int ShownWhen(HWND h, int action, int frame) const {
        int shown = 0;
        test::PumpUntil([&] { return test::QueueQuiet() && (shown = ShownFrame(h, action)) == frame; }, 3000);
        return shown;
    }
    size_t Count(WPARAM cmd) const { return static_cast<size_t>(std::count(g_sysCommands.begin(), g_sysCommands.end(), cmd)); }

    TSkinData skin_;
};

TEST_F(FrameInput, ACaptionButtonActsOnlyWhenThePressBeganOnIt) {
    HWND h = MakeWindow();
    auto f = Skin(h);
    const POINT close = Centre(h, 0), max = Centre(h, 1);
    RECT wr;
    GetWindowRect(h, &wr);
    const POINT client{(wr.left + wr.right) / 2, (wr.top + wr.bottom) / 2};

    // Pressed on maximize, released on close: neither acts. Pressed on close, released in the client area: nothing.
    test::Drag(max, close, 6);
    test::Drag(close, client, 6);
    // Pressed in the client area, released on close (the close button was hot before): nothing.
    test::PointerGlide(client, close, 4);
    test::Drag(client, close, 6);
    EXPECT_EQ(ShownWhen(h, 0, 3), 3) << "the close button is hot under the pointer, not pressed";
    // A command would have been posted by the release's own handling: once the queue is at rest, none came.
    EXPECT_TRUE(test::Settle());
    EXPECT_EQ(Count(SC_CLOSE), 0u);
    EXPECT_EQ(Count(SC_MAXIMIZE), 0u);

    // While the press is held, the button shows pressed over it and normal off it.
    test::PointerTo(close);
    test::PointerButton(true);
    EXPECT_EQ(ShownWhen(h, 0, 2), 2) << "pressed";
    test::PointerGlide(close, client, 4);
    EXPECT_EQ(ShownWhen(h, 0, 1), 1) << "the held press left the button";
    test::PointerGlide(client, close, 4);
    EXPECT_EQ(ShownWhen(h, 0, 2), 2) << "back over it";
    test::PointerButton(false);
    EXPECT_TRUE(test::PumpUntil([&] { return Count(SC_CLOSE) >= 1; }, 3000)) << "no SC_CLOSE";
    EXPECT_TRUE(test::Settle());
    EXPECT_EQ(Count(SC_CLOSE), 1u) << "pressed and released on close";
    EXPECT_TRUE(IsWindow(h));
    DestroyWindow(h);
}

TEST_F(FrameInput, AHoveredButtonShowsNormalAfterAFullFramePaint) {
    HWND h = MakeWindow();
    auto f = Skin(h);
    const POINT close = Centre(h, 0);
    test::PointerGlide({close.x - 60, close.y + 60}, close, 4);
    ASSERT_EQ(ShownWhen(h, 0, 3), 3) << "hot";
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ShownWhen(h, 0, 1), 1) << "the full paint drops the hot button";
    test::PointerTo({close.x + 2, close.y + 1});
    EXPECT_EQ(ShownWhen(h, 0, 3), 3) << "hot again once the pointer moves";
    DestroyWindow(h);
}

TEST_F(FrameInput, TheSkinsBordersSizeAtEveryEdgeAndCorner) {
    HWND h = MakeWindow();
    auto f = Skin(h);
    // (The test skin's icon button covers the top-left corner: a press there is the button's.)
    const int corner = 3;
    struct Handle {
        const char* what;
        int x, y;  // from the left/top, or (negative) from the right/bottom
        int dx, dy;
        bool left, top, right, bottom;
    } handles[] = {
        {"top", 150, 1, 0, -15, false, true, false, false},
        {"top-right", -corner - 1, corner, 20, -15, false, true, true, false},
        {"right", -2, 150, 20, 0, false, false, true, false},
        {"bottom-right", -corner - 1, -corner - 1, 20, 15, false, false, true, true},
        {"bottom", 150, -2, 0, 15, false, false, false, true},
        {"bottom-left", corner, -corner - 1, -20, 15, true, false, false, true},
        {"left", 1, 150, -20, 0, true, false, false, false},
    };
    for (const Handle& c : handles) {
        RECT before;
        GetWindowRect(h, &before);
        const POINT from{c.x >= 0 ? before.left + c.x : before.right + c.x,
                         c.y >= 0 ? before.top + c.y : before.bottom + c.y};
        // The system's size loop runs on this thread: the hands move from another.
        test::WithOwnHands([&] { test::Drag(from, {from.x + c.dx, from.y + c.dy}); });
        const RECT want{before.left + (c.left ? c.dx : 0), before.top + (c.top ? c.dy : 0),
                        before.right + (c.right ? c.dx : 0), before.bottom + (c.bottom ? c.dy : 0)};
        RECT after;
        test::PumpUntil([&] { return GetWindowRect(h, &after) && EqualRect(&after, &want) && test::QueueQuiet(); },
                        3000);
        EXPECT_TRUE(EqualRect(&after, &want)) << c.what << ": " << after.left << "," << after.top << " "
                                              << after.right << "," << after.bottom;
    }
    // Maximized, the window neither sizes nor moves.
    ShowWindow(h, SW_MAXIMIZE);
    EXPECT_TRUE(test::PumpUntil([&] { return IsZoomed(h) != FALSE; }, 3000));
    EXPECT_TRUE(test::Settle());
    RECT max;
    GetWindowRect(h, &max);
    test::WithOwnHands([&] {
        test::Drag({max.left + 200, max.top + 12}, {max.left + 260, max.top + 90});
        test::Drag({max.left + 200, max.bottom - 2}, {max.left + 200, max.bottom - 60});
    });
    // A move or size loop would have run while the hands dragged: once the queue is at rest, nothing moved.
    EXPECT_TRUE(test::Settle());
    RECT still;
    GetWindowRect(h, &still);
    EXPECT_TRUE(EqualRect(&still, &max));
    EXPECT_TRUE(IsZoomed(h));
    DestroyWindow(h);
}

// Forms of the class library: a main form with a bar ("&File" with a popup, "&Go" a command) and a second form
// with an edit that has the keyboard.
class FormKeys : public FrameInput {
protected:
    void SetUp() override {
        FrameInput::SetUp();
        app_ = std::make_unique<TApplication>();
        main_ = std::make_unique<TForm>(nullptr);
        main_->SetCaption("Main form");
        main_->SetBounds(120, 120, 420, 260);
        auto* menu = new TMainMenu(main_.get());
        auto* file = new TMenuItem(menu);
        file->SetCaption("&File");
        auto* open = new TMenuItem(menu);
        open->SetCaption("&Open");
        file->Add(open);
        menu->Items()->Add(file);
        auto* go = new TMenuItem(menu);
        go->SetCaption("&Go");
        go->OnClick = [this](TObject*) { ++goClicks_; };
        menu->Items()->Add(go);
        main_->SetMenu(menu);
        Screen().MainForm = main_.get();
        main_->Show();
        second_ = std::make_unique<TForm>(nullptr);
        second_->SetCaption("Second form");
        second_->SetBounds(600, 200, 300, 200);
        edit_ = new TEdit(second_.get());
        edit_->SetParent(second_.get());
        second_->Show();
        EXPECT_TRUE(test::Settle());
        mainSkin_ = SkinOf(*main_);
        secondSkin_ = SkinOf(*second_);
    }
    void TearDown() override {
        second_.reset();
        main_.reset();
        Screen().MainForm = nullptr;
        app_.reset();
    }
    TWinSkinForm* SkinOf(TForm& form) {
        HWND h = static_cast<HWND>(form.Handle());
        auto* f = new TWinSkinForm(&form);  // owned by the form
        f->SetWindow(h, nullptr, "TForm");
        f->SkinForm(&skin_, &form);
        PostMessageW(h, SKM_START, 0, 1000);
        EXPECT_TRUE(test::Settle());
        EXPECT_EQ(f->Stage(), 1) << form.Caption();
        return f;
    }
    // The second form in front with the keyboard in its edit.
    bool TypingInTheSecondForm() {
        if (!test::ToFront(static_cast<HWND>(second_->Handle()))) return false;
        edit_->SetFocus();
        HWND edit = static_cast<HWND>(edit_->Handle());
        return test::PumpUntil([&] { return GetFocus() == edit; }, 3000) && test::Settle();
    }
    static HWND OpenPopup() {
        return FindWindowA("#32768", nullptr) && IsWindowVisible(FindWindowA("#32768", nullptr))
                   ? FindWindowA("#32768", nullptr)
                   : nullptr;
    }

    std::unique_ptr<TApplication> app_;
    std::unique_ptr<TForm> main_, second_;
    TEdit* edit_ = nullptr;
    TWinSkinForm* mainSkin_ = nullptr;
    TWinSkinForm* secondSkin_ = nullptr;
    int goClicks_ = 0;
};

TEST_F(FormKeys, AltAndALetterInTheSecondFormOpenTheMainFormsBarButton) {
    ASSERT_NE(mainSkin_->MenuBar(), nullptr);
    ASSERT_TRUE(TypingInTheSecondForm());
    // Alt+F: the main form's File popup opens (seen from inside its menu loop, then closed).
    bool looked = false, sawPopup = false;
    ActionWhen look([] { return OpenPopup() != nullptr; },
                    [&] {
                        looked = true;
                        sawPopup = OpenPopup() != nullptr;
                        EndMenu();
                    });
    test::Stroke('F', VK_MENU);
    test::PumpUntil([&] { return looked; }, 6000);
    EXPECT_TRUE(sawPopup) << "Alt+F opened File";
    EXPECT_TRUE(test::PumpUntil([&] { return !OpenPopup() && !mainSkin_->MenuBar()->Tracking(); }, 3000))
        << "the popup closed";
    // Alt+G: the command button of that accelerator runs.
    ASSERT_TRUE(TypingInTheSecondForm());
    test::Stroke('G', VK_MENU);
    EXPECT_TRUE(test::PumpUntil([&] { return goClicks_ == 1; }, 3000)) << "Alt+G ran Go";
}

TEST_F(FormKeys, AltSpaceOnAFormWithoutABarOpensTheSkinnedSystemMenu) {
    ASSERT_EQ(secondSkin_->MenuBar(), nullptr);
    ASSERT_TRUE(TypingInTheSecondForm());
    HWND popup = nullptr;
    bool ownerDrawn = false;
    int items = 0;
    ActionWhen look(
        [] { return OpenPopup() != nullptr; },
        [&] {
            popup = OpenPopup();
            // The skin's system menu: its items owner-drawn (the system's own is plain, and needs WS_SYSMENU,
            // which the frame takes off).
            auto menu = popup ? reinterpret_cast<HMENU>(SendMessageW(popup, 0x01E1, 0, 0)) : nullptr;  // MN_GETHMENU
            items = menu ? GetMenuItemCount(menu) : 0;
            MENUITEMINFOW mii{};
            mii.cbSize = sizeof mii;
            mii.fMask = MIIM_FTYPE;
            ownerDrawn = menu && GetMenuItemInfoW(menu, 0, TRUE, &mii) && (mii.fType & MFT_OWNERDRAW);
            EndMenu();
        });
    test::Stroke(VK_SPACE, VK_MENU);
    test::PumpUntil([&] { return popup != nullptr; }, 6000);
    ASSERT_NE(popup, nullptr) << "Alt+Space opened a menu";
    EXPECT_GT(items, 3);
    EXPECT_TRUE(ownerDrawn);
}

}  // namespace

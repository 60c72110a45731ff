// The skinned window frame on real windows: our own raw windows, a form and a message box, skinned the way
// the skin manager does it (attach, then SKM_START posted). Pictures are taken with BitBlt from the window DC.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "base/win/Application.h"
#include "gui/Forms.h"
#include "gui/win/Canvas.h"
#include "skin/frame/FrameLayout.h"
#include "skin/data/win/SkinDataWin.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/frame/win/WinSkinForm.h"
#include "skin/frame/win/WinSkinMenu.h"
#include "testsupport/SkinSettle.h"
#include "testsupport/Wait.h"
#include "testsupport/WindowPicture.h"
#include "testsupport/FrameTestSkin.h"

using namespace kes;

namespace {


// What our test window saw.
struct Seen {
    std::vector<WPARAM> sysCommands;
    std::vector<WPARAM> commands;
    int skinApplied = 0;
    int buttonClicks = 0;
};
Seen g_seen;

LRESULT CALLBACK TestProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYSCOMMAND) {
        g_seen.sysCommands.push_back(wp & 0xFFF0);
        if ((wp & 0xFFF0) == SC_CLOSE) return 0;  // recorded, the window stays
    }
    if (msg == SKM_SKINAPPLIED && lp == SKIN_MAGIC) ++g_seen.skinApplied;
    if (msg == SKM_BUTTONCLICK) ++g_seen.buttonClicks;
    if (msg == WM_COMMAND) g_seen.commands.push_back(LOWORD(wp));
    return DefWindowProcW(h, msg, wp, lp);
}

HWND MakeWindow(const wchar_t* title = L"Frame test", DWORD style = WS_OVERLAPPEDWINDOW) {
    static const ATOM cls = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = TestProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"KesFrameTest";
        return RegisterClassW(&wc);
    }();
    (void)cls;
    HWND h = CreateWindowExW(0, L"KesFrameTest", title, style, 60, 60, 320, 220, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ShowWindow(h, SW_SHOW);
    SetForegroundWindow(h);
    test::Settle();
    return h;
}

// The distinct-colour test skin: every frame of every image one solid colour.
class Frame : public ::testing::Test {
protected:
    void SetUp() override {
        g_seen = {};
        ASSERT_TRUE(skin_.ReadSkinStream(kes::test::TestSkinStream()));
    }
    // Skins a window as the manager does: attach, then SKM_START.
    std::unique_ptr<TWinSkinForm> Skin(HWND h, TSkinData& skin) {
        auto f = std::make_unique<TWinSkinForm>(nullptr);
        f->SetWindow(h, nullptr, "KesFrameTest");
        f->SkinWindow(&skin);
        PostMessageW(h, SKM_START, 0, 1000);
        test::Settle();
        return f;
    }
    std::int32_t Colour(const TDataSkinObject& o, int frame, bool stacked) const {
        const int fw = stacked ? o.Image.Width() : o.Image.Width() / o.Frame;
        const int fh = stacked ? o.Image.Height() / o.Frame : o.Image.Height();
        return stacked ? o.Image.GetPixel(fw / 2, (frame - 1) * fh + fh / 2)
                       : o.Image.GetPixel((frame - 1) * fw + fw / 2, fh / 2);
    }
    POINT ScreenPoint(HWND h, int x, int y) {
        RECT r;
        GetWindowRect(h, &r);
        return {r.left + x, r.top + y};
    }
    TSkinData skin_;
};

TEST_F(Frame, ASkinnedWindowAnswersAndShowsTheSkinsPixels) {
    HWND h = MakeWindow();
    RECT before;
    GetWindowRect(h, &before);
    auto f = Skin(h, skin_);
    EXPECT_EQ(f->Stage(), 1);
    EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 1);
    EXPECT_EQ(g_seen.skinApplied, 1);  // sent once by the skinning; the query posts one more
    test::Settle();
    EXPECT_EQ(g_seen.skinApplied, 2);
    // A sizeable window keeps its place; its client area is what the skin's borders leave (left 4, right 5,
    // caption 24, bottom 5).
    RECT client, win;
    GetClientRect(h, &client);
    GetWindowRect(h, &win);
    EXPECT_TRUE(EqualRect(&win, &before));
    EXPECT_EQ(client.right, (win.right - win.left) - 4 - 5);
    EXPECT_EQ(client.bottom, (win.bottom - win.top) - 24 - 5);

    // Active: frame 1 of every border part; inactive: frame 2.
    auto expectFrame = [&](int frame) {
        const test::WindowPixels s = test::CaptureWindow(h);
        EXPECT_EQ(s.At(1, s.H / 2), Colour(skin_.Left, frame, false)) << "left, frame " << frame;
        EXPECT_EQ(s.At(s.W - 2, s.H / 2), Colour(skin_.Right, frame, false)) << "right";
        EXPECT_EQ(s.At(s.W / 2, s.H - 2), Colour(skin_.Bottom, frame, true)) << "bottom";
        EXPECT_EQ(s.At(s.W / 2, 1), Colour(skin_.Top, frame, true)) << "caption";
        EXPECT_EQ(s.At(s.W / 3, 2), Colour(skin_.Top, frame, true)) << "caption";
    };
    expectFrame(1);
    SendMessageW(h, WM_NCACTIVATE, FALSE, 0);
    expectFrame(2);
    SendMessageW(h, WM_NCACTIVATE, TRUE, 0);
    expectFrame(1);
    // A new caption text or icon leaves the skinned caption in place (the system paints its own there).
    SetWindowTextW(h, L"Renamed \u00e4\u00f6\u00fc");
    expectFrame(1);
    SendMessageW(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))));
    expectFrame(1);
    wchar_t text[64];
    GetWindowTextW(h, text, 64);
    EXPECT_STREQ(text, L"Renamed \u00e4\u00f6\u00fc");
    // Hooking twice does nothing: one subclass, one answer to the query.
    f->SkinWindow(&skin_);
    g_seen.skinApplied = 0;
    SendMessageW(h, SKM_ISSKINNED, 0, 0);
    test::Settle();
    EXPECT_EQ(g_seen.skinApplied, 1);
    // A raw window does not answer the form's query.
    EXPECT_EQ(SendMessageW(h, SKM_QUERYSKIN, 0, SKIN_MAGIC), 0);
    DestroyWindow(h);
    EXPECT_EQ(f->Stage(), 6);
    EXPECT_FALSE(f->Hooked());
}

TEST_F(Frame, HitTestsAndTheClientRectangleFollowTheSkin) {
    HWND h = MakeWindow();
    auto f = Skin(h, skin_);
    auto hit = [&](int x, int y) {
        const POINT p = ScreenPoint(h, x, y);
        return SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    };
    RECT win;
    GetWindowRect(h, &win);
    const int W = win.right - win.left, H = win.bottom - win.top;
    EXPECT_EQ(hit(W / 2, 12), HTCAPTION);
    EXPECT_EQ(hit(W / 2, 30), HTCLIENT);
    EXPECT_EQ(hit(W / 2, H / 2), HTCLIENT);
    EXPECT_EQ(hit(W - 1, H / 2), HTRIGHT);  // the system's resize edges stay
    DestroyWindow(h);
}

// A raw window with a menu bar: File (Open, a separator, More > Deep), Connect, a disabled Off and Type (two
// radio items, A checked).
struct MenuWindow {
    HWND h = nullptr;
    HMENU bar = CreateMenu(), file = CreatePopupMenu(), more = CreatePopupMenu(), off = CreatePopupMenu(),
          type = CreatePopupMenu();
    MenuWindow() {
        h = MakeWindow(L"With a menu");
        AppendMenuW(more, MF_STRING, 102, L"Deep");
        AppendMenuW(file, MF_STRING, 100, L"&Open");
        AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(more), L"&More");
        AppendMenuW(off, MF_STRING, 104, L"Nothing");
        AppendMenuW(type, MF_STRING | MFT_RADIOCHECK | MF_CHECKED, 110, L"A");
        AppendMenuW(type, MF_STRING | MFT_RADIOCHECK, 111, L"B");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
        AppendMenuW(bar, MF_STRING, 101, L"Connect");
        AppendMenuW(bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(off), L"&Off");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(type), L"&Type");
        SetMenu(h, bar);
    }
};

// The open popup menus of the program, as the menus they show (a cascade after its parent).
std::vector<HMENU> OpenMenus() {
    std::vector<HMENU> menus;
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (IsWindowVisible(w)) menus.push_back(reinterpret_cast<HMENU>(SendMessageA(w, 0x01E1, 0, 0)));  // MN_GETHMENU
    std::reverse(menus.begin(), menus.end());
    return menus;
}
HWND PopupWindow(HMENU menu) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr))
        if (IsWindowVisible(w) && reinterpret_cast<HMENU>(SendMessageA(w, 0x01E1, 0, 0)) == menu) return w;
    return nullptr;
}
bool WaitMenus(const std::vector<HMENU>& want) {
    return test::PollUntil([&] { return OpenMenus() == want; }, 3000);
}

// Runs `steps` on a second thread while this one runs the window (and the menu loops it enters).
void Drive(const std::function<void()>& steps) {
    std::atomic<bool> done{false};
    std::thread t([&] {
        steps();
        done = true;
    });
    test::PumpUntil([&] { return done.load(); }, 30000);
    t.join();
}

TEST_F(Frame, TheSkinsMenuBarOpensAndSwitchesItsPopups) {
    MenuWindow w;
    auto f = Skin(w.h, skin_);
    const int row = GetSystemMetrics(SM_CYMENU);
    RECT win, client;
    GetWindowRect(w.h, &win);
    GetClientRect(w.h, &client);
    EXPECT_EQ(win.bottom - win.top, client.bottom + 24 + row + 5);
    TWinSkinMenu* bar = f->MenuBar();
    ASSERT_NE(bar, nullptr);
    const auto& r = bar->Rects();
    ASSERT_EQ(r.size(), 4u);
    auto at = [&](int i) {
        return POINT{win.left + (r[static_cast<size_t>(i)].Left + r[static_cast<size_t>(i)].Right) / 2,
                     win.top + (r[static_cast<size_t>(i)].Top + r[static_cast<size_t>(i)].Bottom) / 2};
    };
    EXPECT_EQ(r[0].Top, 24);
    EXPECT_EQ(SendMessageW(w.h, WM_NCHITTEST, 0, MAKELPARAM(at(0).x, at(0).y)), HTMENU);
    // The bar is the skin's menuBar image: frame 1 active, frame 2 inactive.
    auto barColour = [&] { return test::CaptureWindow(w.h).At(r[3].Right + 20, 24 + row / 2); };
    EXPECT_EQ(barColour(), Colour(*skin_.MenuBar, 1, false));
    SendMessageW(w.h, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(barColour(), Colour(*skin_.MenuBar, 2, false));
    SendMessageW(w.h, WM_NCACTIVATE, TRUE, 0);

    const POINT type = at(3);
    // The bar button drawn highlighted (the skin's button-highlight colour framing it), -1 for none.
    auto framed = [&] {
        const test::WindowPixels shot = test::CaptureWindow(w.h);
        for (size_t i = 0; i < r.size(); ++i)
            if (shot.At(r[i].Left, (r[i].Top + r[i].Bottom) / 2) == skin_.Colour(SkinColour::ButtonHilight))
                return static_cast<int>(i);
        return -1;
    };
    // A button without a popup held by the keys: no popup open, the button highlighted. The next key goes to the
    // window's thread only once the popup's menu loop has ended and the hold has begun.
    auto heldOn = [&](int button) {
        int shown = -2;
        const bool ok = test::PollUntil([&] { return OpenMenus().empty() && (shown = framed()) == button; }, 3000);
        EXPECT_TRUE(ok) << "button " << button << " held; highlighted: " << shown;
        return ok;
    };
    // The item of an open popup the menu loop has selected.
    auto selected = [](HMENU m, int item) {
        const bool ok = test::PollUntil([&] { return (GetMenuState(m, item, MF_BYPOSITION) & MF_HILITE) != 0; }, 3000);
        EXPECT_TRUE(ok) << "item " << item << " selected";
        return ok;
    };
    PostMessageW(w.h, SKM_OPENMENUBUTTON, 0, MAKELPARAM(at(0).x, at(0).y));
    Drive([&] {
        // Keys to an open popup: its menu loop takes them in order.
        auto key = [](HMENU m, WORD vk) { PostMessageW(PopupWindow(m), WM_KEYDOWN, vk, 0); };
        // Keys while a bar button without a popup is held: they go to the window's thread.
        auto held = [&](WORD vk) { PostMessageW(w.h, WM_KEYDOWN, vk, 0); };
        ASSERT_TRUE(WaitMenus({w.file}));
        // Right goes on along the bar: the command button and the disabled one are held highlighted without a
        // popup (and run nothing), then Type opens; Left comes back the same way; both wrap.
        key(w.file, VK_RIGHT);
        ASSERT_TRUE(heldOn(1)) << "Connect held";
        held(VK_RIGHT);
        ASSERT_TRUE(heldOn(2)) << "Off held";
        held(VK_RIGHT);
        EXPECT_TRUE(WaitMenus({w.type}));
        key(w.type, VK_RIGHT);
        EXPECT_TRUE(WaitMenus({w.file}));
        key(w.file, VK_LEFT);
        EXPECT_TRUE(WaitMenus({w.type}));
        key(w.type, VK_LEFT);
        ASSERT_TRUE(heldOn(2)) << "Off held";
        held(VK_LEFT);
        ASSERT_TRUE(heldOn(1)) << "Connect held";
        held(VK_LEFT);
        EXPECT_TRUE(WaitMenus({w.file}));
        // Right on a cascade opens it, Left closes it again, Escape closes the popup. (Open is highlighted as
        // the popup opens; Down passes the separator.)
        key(w.file, VK_DOWN);
        EXPECT_TRUE(selected(w.file, 2)) << "More";
        key(w.file, VK_RIGHT);
        EXPECT_TRUE(WaitMenus({w.file, w.more}));
        key(w.more, VK_LEFT);
        EXPECT_TRUE(WaitMenus({w.file}));
        key(w.file, VK_ESCAPE);
        EXPECT_TRUE(WaitMenus({}));
    });
    EXPECT_TRUE(std::find(g_seen.commands.begin(), g_seen.commands.end(), 101) == g_seen.commands.end())
        << "passing over Connect ran it";

    // Alt+t opens Type: the checked radio item and the selected one are drawn from the skin.
    PostMessageW(w.h, WM_SYSCOMMAND, SC_KEYMENU, 't');
    Drive([&] {
        ASSERT_TRUE(WaitMenus({w.type}));
        HWND popup = PopupWindow(w.type);
        RECT a{};
        GetMenuItemRect(w.h, w.type, 0, &a);
        RECT pr{};
        GetWindowRect(popup, &pr);
        const int y = (a.top + a.bottom) / 2 - pr.top;
        auto marksOf = [&](const test::WindowPixels& s) {
            int marks = 0;
            for (int x = 0; x < 30; ++x)
                if (s.At(x, y) == skin_.Colour(SkinColour::HilightText)) ++marks;
            return marks;
        };
        // The menu loop paints the popup on the window's thread after showing it: look until its picture holds
        // the selected item's frame.
        test::WindowPixels s;
        test::PollUntil([&] {
            s = test::CaptureWindow(popup);
            return s.At(s.W - 12, y) == Colour(*skin_.MenuItem, 4, false) && marksOf(s) > 0;
        }, 3000);
        EXPECT_EQ(s.At(s.W - 12, y), Colour(*skin_.MenuItem, 4, false)) << "selected: frame 4";
        EXPECT_GT(marksOf(s), 0) << "the radio mark of A";
        // Both keys go to the menu loop's queue, which keeps their order.
        PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_TRUE(WaitMenus({}));
    });
    test::Settle();
    EXPECT_TRUE(std::find(g_seen.commands.begin(), g_seen.commands.end(), 111) != g_seen.commands.end());

    // Alt alone opens the first button; the mouse moving onto another button switches to it.
    PostMessageW(w.h, WM_SYSCOMMAND, SC_KEYMENU, 0);
    Drive([&] {
        ASSERT_TRUE(WaitMenus({w.file}));
        SetCursorPos(type.x, type.y);
        PostMessageW(PopupWindow(w.file), WM_MOUSEMOVE, 0, 0);
        EXPECT_TRUE(WaitMenus({w.type}));
        PostMessageW(PopupWindow(w.type), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(WaitMenus({}));
    });

    // A command button runs its command; a disabled button nothing.
    g_seen.commands.clear();
    SendMessageW(w.h, SKM_OPENMENUBUTTON, 0, MAKELPARAM(at(1).x, at(1).y));
    SendMessageW(w.h, SKM_OPENMENUBUTTON, 0, MAKELPARAM(at(2).x, at(2).y));
    test::Settle();
    EXPECT_EQ(g_seen.commands, std::vector<WPARAM>{101});
    EXPECT_TRUE(OpenMenus().empty());

    // Skin off: the items marked owner-drawn are plain again, with their texts.
    f->UnskinWindow();
    MENUITEMINFOW mii{};
    wchar_t text[16] = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = 16;
    ASSERT_TRUE(GetMenuItemInfoW(w.type, 0, TRUE, &mii));
    EXPECT_FALSE(mii.fType & MFT_OWNERDRAW);
    EXPECT_STREQ(text, L"A");
    DestroyWindow(w.h);
}

TEST_F(Frame, ARightClickOnTheCaptionOpensTheSkinnedSystemMenu) {
    HWND h = MakeWindow(L"System menu");
    auto f = Skin(h, skin_);
    RECT r;
    GetWindowRect(h, &r);
    PostMessageW(h, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + 60, r.top + 10));
    Drive([&] {
        std::vector<HMENU> open;
        test::PollUntil([&] { return !(open = OpenMenus()).empty(); }, 3000);
        ASSERT_EQ(open.size(), 1u);
        EXPECT_NE(open[0], GetSystemMenu(h, FALSE)) << "the skin's own popup, not the system menu";
        EXPECT_EQ(GetMenuItemCount(open[0]), GetMenuItemCount(GetSystemMenu(h, FALSE)));
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(open[0], 0, TRUE, &mii);
        EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
        // The popup is shown from inside its menu loop, which takes the key in its turn.
        PostMessageW(PopupWindow(open[0]), WM_CHAR, 'c', 0);  // "&Close"
        EXPECT_TRUE(WaitMenus({}));
    });
    test::Settle();
    EXPECT_TRUE(std::find(g_seen.sysCommands.begin(), g_seen.sysCommands.end(), SC_CLOSE) != g_seen.sysCommands.end());
    DestroyWindow(h);
}

// 500 paints of a skinned menu bar and its owner-drawn items leave every counted GDI object where it was.
TEST_F(Frame, FiveHundredMenuPaintsLeaveNothingBehind) {
    TSkinData graphite;
    ASSERT_TRUE(LoadStoredSkin(graphite));
    MenuWindow w;
    auto f = Skin(w.h, graphite);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 200, 40);
    HGDIOBJ old = SelectObject(mem, bmp);
    long start[kSkinGdiKinds];
    for (int k = 0; k < kSkinGdiKinds; ++k) start[k] = SkinGdiLive(static_cast<SkinGdiKind>(k));
    for (int i = 0; i < 500; ++i) {
        SendMessageW(w.h, WM_NCPAINT, 1, 0);
        MEASUREITEMSTRUCT mi{ODT_MENU, 0, static_cast<UINT>(110 + i % 2), 0, 0, 0};
        SendMessageW(w.h, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi));
        DRAWITEMSTRUCT di{ODT_MENU, 0, static_cast<UINT>(110 + i % 2), ODA_DRAWENTIRE,
                          static_cast<UINT>(i % 3 ? 0 : ODS_SELECTED), reinterpret_cast<HWND>(w.type), mem,
                          RECT{0, 0, 200, 20}, 0};
        EXPECT_EQ(SendMessageW(w.h, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di)), TRUE);
    }
    for (int k = 0; k < kSkinGdiKinds; ++k)
        EXPECT_EQ(SkinGdiLive(static_cast<SkinGdiKind>(k)), start[k]) << "kind " << k;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    DestroyWindow(w.h);
}

TEST_F(Frame, CaptionButtonsGoHotAndPressedAndClosePostsScClose) {
    HWND h = MakeWindow();
    auto f = Skin(h, skin_);
    RECT win;
    GetWindowRect(h, &win);
    const int W = win.right - win.left;
    // [ButtonClose]: Align 1, Xcoord 30, Ycoord 4, close.bmp of 3 frames 20 x 20 (normal, pressed, hot).
    const int cx = W - 30 + 10, cy = 4 + 10;
    const POINT p = ScreenPoint(h, cx, cy);
    SetCursorPos(p.x, p.y);  // so that the frame's timer finds the mouse still there
    const LPARAM at = MAKELPARAM(p.x, p.y);
    auto closeColour = [&](int frame) {
        const TDataSkinSysButton* close = nullptr;
        for (const auto& b : skin_.SysButtons)
            if (b.Action == 0) close = &b;
        return Colour(*close, frame, false);
    };
    EXPECT_EQ(test::CaptureWindow(h).At(cx, cy), closeColour(1));
    PostMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, at);
    test::Settle();
    EXPECT_EQ(test::CaptureWindow(h).At(cx, cy), closeColour(3)) << "hot";
    PostMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, at);
    test::Settle();
    EXPECT_EQ(test::CaptureWindow(h).At(cx, cy), closeColour(2)) << "pressed";
    PostMessageW(h, WM_NCLBUTTONUP, HTCAPTION, at);
    test::Settle();
    ASSERT_EQ(g_seen.sysCommands.size(), 1u);
    EXPECT_EQ(g_seen.sysCommands[0], static_cast<WPARAM>(SC_CLOSE));
    EXPECT_TRUE(IsWindow(h));

    // With Close disabled in the system menu the button stays inert, and so does a double click on the icon.
    g_seen.sysCommands.clear();
    EnableMenuItem(GetSystemMenu(h, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, at);
    SendMessageW(h, WM_NCLBUTTONUP, HTCAPTION, at);
    const POINT icon = ScreenPoint(h, 6, 6);
    SendMessageW(h, WM_NCLBUTTONDBLCLK, HTSYSMENU, MAKELPARAM(icon.x, icon.y));
    test::Settle();
    EXPECT_TRUE(g_seen.sysCommands.empty());
    DestroyWindow(h);
}

TEST_F(Frame, AHoveredCaptionButtonShowsItsHint) {
    HWND h = MakeWindow();
    auto f = Skin(h, skin_);
    RECT win;
    GetWindowRect(h, &win);
    const POINT p = ScreenPoint(h, win.right - win.left - 30 + 10, 14);  // the close button
    SetCursorPos(p.x, p.y);
    PostMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(p.x, p.y));
    HWND hint = SkinHintHandle(skin_);
    // The pause itself is what is judged here: nothing can be waited for before it ends.
    test::PumpFor(600);
    EXPECT_FALSE(IsWindowVisible(hint)) << "not before twice the hint pause";
    EXPECT_TRUE(test::PumpUntil([&] { return IsWindowVisible(hint) != FALSE; }, 3000));
    char text[32] = {};
    GetWindowTextA(hint, text, sizeof text);
    EXPECT_STREQ(text, "Close");
    // The mouse leaves: the button goes back to normal and the hint goes.
    SetCursorPos(win.left + 60, win.top + 100);
    EXPECT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(hint); }, 3000));
    DestroyWindow(h);
}

TEST_F(Frame, MinimizeMaximizeAndRestoreKeepTheSkinnedFrame) {
    HWND h = MakeWindow();
    auto f = Skin(h, skin_);
    RECT normal;
    GetWindowRect(h, &normal);
    const std::int32_t caption = Colour(skin_.Top, 1, true);
    auto expectSkinned = [&](const char* what) {
        const test::WindowPixels s = test::CaptureWindow(h);
        EXPECT_EQ(s.At(s.W / 2, 1), caption) << what;
        EXPECT_EQ(s.At(1, s.H / 2), Colour(skin_.Left, 1, false)) << what;
    };
    ShowWindow(h, SW_MAXIMIZE);
    test::Settle();
    EXPECT_EQ(f->WindowState(), kStateMaximized);
    expectSkinned("maximized");
    ShowWindow(h, SW_RESTORE);
    test::Settle();
    EXPECT_EQ(f->WindowState(), kStateNormal);
    expectSkinned("restored from maximized");
    ShowWindow(h, SW_MINIMIZE);
    test::Settle();
    EXPECT_EQ(f->WindowState(), kStateMinimized);
    EXPECT_EQ(test::CaptureWindow(h).At(2, 1), caption) << "minimized";
    ShowWindow(h, SW_RESTORE);
    test::Settle();
    EXPECT_EQ(f->WindowState(), kStateNormal);
    expectSkinned("restored from minimized");
    RECT back;
    GetWindowRect(h, &back);
    EXPECT_EQ(back.right - back.left, normal.right - normal.left);
    EXPECT_EQ(back.bottom - back.top, normal.bottom - normal.top);
    EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 1);
    DestroyWindow(h);
}

TEST_F(Frame, UnskinningGivesBackTheSystemFrame) {
    HWND h = MakeWindow();
    RECT client0, win0;
    GetClientRect(h, &client0);
    GetWindowRect(h, &win0);
    auto f = Skin(h, skin_);
    f->UnskinWindow();
    test::Settle();
    EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 0);
    RECT client, win;
    GetClientRect(h, &client);
    GetWindowRect(h, &win);
    EXPECT_EQ(client.right, client0.right);
    EXPECT_EQ(client.bottom, client0.bottom);
    EXPECT_EQ(win.right - win.left, win0.right - win0.left);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(h, rgn), ERROR);  // no region left
    DeleteObject(rgn);
    DestroyWindow(h);
}

// The default skin "Kestrup Graphite": rounded corners cut off by the region; a picture for looking at.
TEST_F(Frame, TheDefaultSkinsCornersAreOutsideTheRegion) {
    TSkinData graphite;
    ASSERT_TRUE(LoadStoredSkin(graphite));
    HWND h = MakeWindow(L"Kestrup \u2013 skinned frame");
    HMENU bar = CreateMenu();
    for (const wchar_t* item : {L"Connect", L"Processor-Type", L"Log", L"Help"}) AppendMenuW(bar, MF_STRING, 1, item);
    SetMenu(h, bar);
    auto f = Skin(h, graphite);
    ASSERT_TRUE(f->OwnsRegion());
    RECT win;
    GetWindowRect(h, &win);
    const int W = win.right - win.left, H = win.bottom - win.top;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(h, rgn), ERROR);
    for (auto [x, y] : {std::pair{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}})
        EXPECT_FALSE(PtInRegion(rgn, x, y)) << x << "," << y;
    for (auto [x, y] : {std::pair{W / 2, 0}, {0, H / 2}, {W / 2, H / 2}, {W - 1, H / 2}})
        EXPECT_TRUE(PtInRegion(rgn, x, y)) << x << "," << y;
    DeleteObject(rgn);
    // Painting again at the same size keeps the region; a new size makes a new one.
    SendMessageW(h, WM_NCPAINT, 1, 0);
    EXPECT_TRUE(f->OwnsRegion());
    SetWindowPos(h, nullptr, 0, 0, 400, 260, SWP_NOMOVE | SWP_NOZORDER);
    test::Settle();
    rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(h, rgn), ERROR);
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box.right, 400);
    EXPECT_EQ(box.bottom, 260);
    DeleteObject(rgn);
    const test::WindowPixels s = test::CaptureWindow(h);
    s.Save("skinned-frame.bmp");
    DestroyWindow(h);
}

// A message box (a Unicode system dialog) skinned while it is up keeps its texts.
TEST_F(Frame, AMessageBoxKeepsItsTextAfterSkinning) {
    static std::unique_ptr<TWinSkinForm> box;
    static TSkinData* skin = nullptr;
    static std::wstring read, caption;
    static LRESULT skinned = 0;
    static std::int32_t captionPixel = 0;
    static HHOOK hook = nullptr;
    TSkinData graphite;
    ASSERT_TRUE(LoadStoredSkin(graphite));
    skin = &graphite;
    hook = SetWindowsHookExW(
        WH_CBT,
        [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
            if (code == HCBT_ACTIVATE && !box) {
                auto h = reinterpret_cast<HWND>(wp);
                char cls[32] = {};
                GetClassNameA(h, cls, sizeof cls);
                if (std::string(cls) == "#32770") {
                    box = std::make_unique<TWinSkinForm>(nullptr);
                    box->SetWindow(h, nullptr, cls);
                    box->SkinWindow(skin);
                    PostMessageW(h, SKM_START, 0, 1000);
                }
            }
            return CallNextHookEx(hook, code, wp, lp);
        },
        nullptr, GetCurrentThreadId());
    const std::wstring text = L"Gr\u00fc\u00dfe \u2013 \u00e9t\u00e9 \u2713 ready?";
    SetTimer(nullptr, 0, 400, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (!box) return;
        HWND h = box->Window();
        wchar_t t[256] = {};
        GetDlgItemTextW(h, 0xFFFF, t, 256);
        read = t;
        GetWindowTextW(h, t, 256);
        caption = t;
        skinned = SendMessageW(h, SKM_ISSKINNED, 0, 0);
        const test::WindowPixels s = test::CaptureWindow(h);
        captionPixel = s.At(s.W / 2, 1);
        s.Save("skinned-messagebox.bmp");
        PostMessageW(h, WM_COMMAND, IDOK, 0);
    });
    MessageBoxW(nullptr, text.c_str(), L"Caption \u00e4", MB_OK);
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(box);
    EXPECT_EQ(skinned, 1);
    EXPECT_EQ(read, text);
    EXPECT_EQ(caption, L"Caption \u00e4");
    EXPECT_EQ(captionPixel, graphite.Top.Image.GetPixel(graphite.Top.Image.Width() / 2, 1));
    EXPECT_EQ(box->Stage(), 6);
    box.reset();
}

// A 16 x 16 icon, all red and opaque; the caption's icon button sits at (0, 0) in the test skin.
constexpr int s_iconX = 8, s_iconY = 8;
std::vector<BYTE> IconMask() { return std::vector<BYTE>(16 * 16 / 8, 0); }
std::vector<BYTE> IconPixels() {
    std::vector<BYTE> px(16 * 16 * 4, 0);
    for (size_t i = 0; i < px.size(); i += 4) {
        px[i + 2] = 255;
        px[i + 3] = 255;
    }
    return px;
}

TEST_F(Frame, AFormAnswersTheSkinQueryAndKeepsItsOwnHandling) {
    TApplication app;
    {
        TForm form(nullptr);
        form.SetCaption("Skinned form");
        form.SetBounds(80, 80, 300, 200);
        form.Show();
        test::Settle();
        HWND h = static_cast<HWND>(form.Handle());
        auto* f = new TWinSkinForm(&form);  // owned by the form, freed with it
        f->SetWindow(h, nullptr, "TForm");
        f->SkinForm(&skin_, &form);
        PostMessageW(h, SKM_START, 0, 1000);
        test::Settle();
        EXPECT_EQ(SendMessageW(h, SKM_QUERYSKIN, 0, SKIN_MAGIC), SKIN_MAGIC);
        EXPECT_EQ(SendMessageW(h, SKM_QUERYSKIN, 0, 5), 1);
        EXPECT_EQ(SendMessageW(h, SKM_ISSKINNED, 0, 0), 1);
        EXPECT_EQ(form.Color(), skin_.Colour(SkinColour::ButtonFace));
        // The form's own caption handling still runs inside the frame, and the frame shows the new text.
        const test::WindowPixels named = test::CaptureWindow(h);
        form.SetCaption("Renamed form");
        char t[64];
        GetWindowTextA(h, t, 64);
        EXPECT_STREQ(t, "Renamed form");
        const test::WindowPixels renamed = test::CaptureWindow(h);
        int changed = 0;
        for (int x = 0; x < named.W; ++x)
            for (int y = 0; y < skin_.Top.Image.Height() / std::max(1, skin_.Top.Frame); ++y)
                changed += named.At(x, y) != renamed.At(x, y);
        EXPECT_GT(changed, 20) << "the caption's text was drawn again";
        // The caption's icon button shows the application window's icon (none at first: the program's own
        // icon, which the application window takes when the program has one, is taken off).
        SendMessageW(app.Handle(), WM_SETICON, ICON_SMALL, 0);
        SendMessageW(app.Handle(), WM_SETICON, ICON_BIG, 0);
        SendMessageW(h, WM_NCPAINT, 1, 0);
        const test::WindowPixels plain = test::CaptureWindow(h);
        EXPECT_EQ(plain.At(s_iconX, s_iconY), Colour(skin_.Top, 1, true));
        HICON icon = CreateIcon(GetModuleHandleW(nullptr), 16, 16, 1, 32, IconMask().data(), IconPixels().data());
        SendMessageW(app.Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        SendMessageW(h, WM_NCPAINT, 1, 0);
        const test::WindowPixels s = test::CaptureWindow(h);
        EXPECT_EQ(s.At(s.W / 2, 1), Colour(skin_.Top, 1, true));
        EXPECT_EQ(s.At(s_iconX, s_iconY), 0x0000FF) << "the icon's red";
        SendMessageW(app.Handle(), WM_SETICON, ICON_SMALL, 0);
        DestroyIcon(icon);
    }
    test::Settle();
}

// An MDI frame and its child, skinned as the manager does (the frame when activated, the child when made).
TEST_F(Frame, AnMdiFrameAndItsChild) {
    static HWND client = nullptr;
    static const ATOM frameClass = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
            return DefFrameProcW(h, client, msg, wp, lp);
        };
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KesMdiFrame";
        RegisterClassW(&wc);
        wc.lpfnWndProc = DefMDIChildProcW;
        wc.lpszClassName = L"KesMdiChild";
        return RegisterClassW(&wc);
    }();
    (void)frameClass;
    HWND frame = CreateWindowExW(0, L"KesMdiFrame", L"MDI frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 500,
                                 360, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    CLIENTCREATESTRUCT ccs{nullptr, 1000};
    client =
        CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0,
                        0, 400, 300, frame, nullptr, GetModuleHandleW(nullptr), &ccs);
    ShowWindow(frame, SW_SHOW);
    test::Settle();
    auto f = std::make_unique<TWinSkinForm>(nullptr);
    f->SetWindow(frame, nullptr, "KesMdiFrame");
    f->SkinWindow(&skin_);
    PostMessageW(frame, SKM_START, 0, 1000);
    test::Settle();
    EXPECT_EQ(f->MDIKind(), kMdiFrame);
    SetWindowPos(client, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(GetWindowLongPtrW(client, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0) << "the client's own bars go";

    MDICREATESTRUCTW mcs{L"KesMdiChild", L"Child", GetModuleHandleW(nullptr), 10, 10, 200, 150, 0, 0};
    HWND child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(child, nullptr);
    RECT cr0;
    GetClientRect(child, &cr0);
    auto c = std::make_unique<TWinSkinForm>(nullptr);
    c->SetWindow(child, nullptr, "KesMdiChild");
    c->SkinWindow(&skin_);
    PostMessageW(child, SKM_START, 0, 1000);
    test::Settle();
    EXPECT_EQ(c->MDIKind(), kMdiChild);
    EXPECT_EQ(c->Stage(), 1);
    RECT cr;
    GetClientRect(child, &cr);
    EXPECT_EQ(cr.right, cr0.right) << "client size kept";
    EXPECT_EQ(cr.bottom, cr0.bottom) << "client size kept";
    const test::WindowPixels s = test::CaptureWindow(child);
    EXPECT_EQ(s.At(s.W / 2, 1), Colour(skin_.Top, 1, true));
    SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    test::Settle();
    EXPECT_EQ(c->WindowState(), kStateMaximized);
    SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
    test::Settle();
    EXPECT_EQ(c->WindowState(), kStateNormal);
    EXPECT_EQ(SendMessageW(child, SKM_ISSKINNED, 0, 0), 1);
    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    test::Settle();
    EXPECT_EQ(c->Stage(), 6);
    DestroyWindow(frame);
    EXPECT_EQ(f->Stage(), 6);
    client = nullptr;
}

// 200 windows skinned, painted, hovered and destroyed: every region, bitmap, DC and icon the engine made is
// freed or handed over.
TEST_F(Frame, TwoHundredCyclesLeaveNothingBehind) {
    TSkinData graphite;
    ASSERT_TRUE(LoadStoredSkin(graphite));
    long start[kSkinGdiKinds];
    for (int k = 0; k < kSkinGdiKinds; ++k) start[k] = SkinGdiLive(static_cast<SkinGdiKind>(k));
    for (int i = 0; i < 200; ++i) {
        HWND h = MakeWindow(L"cycle");
        SendMessageW(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))));
        auto f = Skin(h, i % 2 ? graphite : skin_);
        const POINT p = ScreenPoint(h, 10, 10);
        SendMessageW(h, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(p.x, p.y));
        SetWindowPos(h, nullptr, 0, 0, 250 + i % 7, 180, SWP_NOMOVE | SWP_NOZORDER);
        SendMessageW(h, WM_NCPAINT, 1, 0);
        if (i % 3 == 0) f->UnskinWindow();
        DestroyWindow(h);
        f.reset();
    }
    for (int k = 0; k < kSkinGdiKinds; ++k)
        EXPECT_EQ(SkinGdiLive(static_cast<SkinGdiKind>(k)), start[k]) << "kind " << k;
}

}  // namespace

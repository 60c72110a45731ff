// Kestrup.exe, started as a user starts it, shows every window in its default skin "Kestrup Graphite": the main
// window, the source, log and help windows, the setup dialog, a message box, the open and save dialogs and a popup
// menu each answer SKM_ISSKINNED with 1 once shown, and their frames show the skin's graphite, not the system's
// blue caption. Each window's picture, as the program painted it, goes to skin-shots/ beside this test (24-bit BMP).
// All the while a watcher looks at the screen, from before the program starts: no window of it ever shows the
// system's caption, not even for a moment before the skin takes it over.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "KestrupDriver.h"
#include "KestrupOnBoard.h"
#include "testsupport/WindowPicture.h"

using namespace kes::test;

namespace {

// The window as the program painted it, whatever lies over it on the screen.
WindowPixels Grab(HWND w) { return ProgramPicture(w); }

void SaveBmp(const WindowPixels& c, const std::string& name) {
    std::filesystem::create_directories("skin-shots");
    c.Save("skin-shots/" + name + ".bmp");
}

// Wine's caption blues (and any strongly blue pixel) in the top rows of the window.
int BluePixels(const WindowPixels& c, int rows) {
    int n = 0;
    for (int y = 0; y < std::min(rows, c.H); ++y)
        for (int x = 0; x < c.W; ++x) {
            const COLORREF p = c.At(x, y);
            if (GetBValue(p) > GetRValue(p) + 60 && GetBValue(p) > GetGValue(p) + 20) ++n;
        }
    return n;
}

// Watches the screen from its own thread: every few milliseconds the top rows of every visible captioned window of
// another process are read back from the screen and searched, where no other window lies over them, for the system's
// caption colours (both ends of the active and the inactive caption gradient and the colours between them). Notes
// each window seen so, with its process.
class SystemCaptionWatch {
public:
    SystemCaptionWatch() {
        for (auto [from, to] : {std::pair{COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION},
                                std::pair{COLOR_INACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION}}) {
            const COLORREF a = GetSysColor(from), b = GetSysColor(to);
            for (int i = 0; i <= 16; ++i) {
                auto mix = [&](int ca, int cb) { return ca + (cb - ca) * i / 16; };
                captionColours_.push_back(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                                              mix(GetBValue(a), GetBValue(b))));
            }
        }
        thread_ = std::thread([this] { Run(); });
    }
    ~SystemCaptionWatch() { Stop(); }
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    int Looks() const { return looks_; }
    // "" when no window of process `pid` showed the system's caption; else what was seen where.
    std::string Seen(DWORD pid) {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string out;
        for (const auto& [of, line] : seen_)
            if (of == pid && out.size() < 2000) out += line;
        return out;
    }

private:
    bool CaptionColour(COLORREF p) const {
        auto close = [](int a, int b) { return a - b <= 6 && b - a <= 6; };
        return std::any_of(captionColours_.begin(), captionColours_.end(), [&](COLORREF c) {
            return close(GetRValue(p), GetRValue(c)) && close(GetGValue(p), GetGValue(c)) &&
                   close(GetBValue(p), GetBValue(c));
        });
    }
    void Run() {
        const DWORD self = GetCurrentProcessId();
        const ULONGLONG t0 = GetTickCount64();
        while (!stop_) {
            // Each window with what lies over it (the windows above it): the screen shows those there.
            std::vector<std::pair<HWND, std::vector<RECT>>> windows;
            std::vector<RECT> above;
            for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
                if (!IsWindowVisible(h)) continue;
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                if (pid != self && (GetWindowLongA(h, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) windows.emplace_back(h, above);
                RECT r{};
                if (GetWindowRect(h, &r)) above.push_back(r);
            }
            for (const auto& [h, over] : windows) Look(h, over, GetTickCount64() - t0);
            ++looks_;
            Sleep(2);
        }
    }
    void Look(HWND w, const std::vector<RECT>& over, ULONGLONG ms) {
        RECT r{};
        if (!GetWindowRect(w, &r)) return;
        r.left = std::max<LONG>(r.left, 0);
        r.top = std::max<LONG>(r.top, 0);
        r.right = std::min<LONG>(r.right, GetSystemMetrics(SM_CXSCREEN));
        r.bottom = std::min<LONG>({r.bottom, r.top + 30, GetSystemMetrics(SM_CYSCREEN)});
        const int cw = r.right - r.left, ch = r.bottom - r.top;
        if (cw <= 0 || ch <= 0) return;
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), cw, -ch, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, cw, ch, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        int hits = 0;
        const auto* px = static_cast<const unsigned char*>(bits);
        for (int i = 0; px && i < cw * ch; ++i) {
            const POINT at{r.left + i % cw, r.top + i / cw};
            if (std::none_of(over.begin(), over.end(), [&](const RECT& o) { return PtInRect(&o, at) != FALSE; }))
                hits += CaptionColour(RGB(px[i * 4 + 2], px[i * 4 + 1], px[i * 4]));
        }
        SelectObject(mem, old);
        DeleteObject(dib);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        // A few stray pixels (an icon's shade) are no caption bar.
        if (hits < cw * 2) return;
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        char line[200];
        std::snprintf(line, sizeof line, "%s \"%s\": %d pixels of the system caption at %llu ms\n", ClassOf(w).c_str(),
                      WindowText(w).c_str(), hits, ms);
        std::lock_guard<std::mutex> lock(mutex_);
        if (seen_.size() < 100) seen_.emplace_back(pid, line);
    }

    std::vector<COLORREF> captionColours_;
    std::atomic<bool> stop_{false};
    std::atomic<int> looks_{0};
    std::mutex mutex_;
    std::vector<std::pair<DWORD, std::string>> seen_;
    std::thread thread_;
};

bool Graphite(COLORREF p) { return GetRValue(p) < 80 && GetGValue(p) < 80 && GetBValue(p) < 90 && GetBValue(p) > 25; }

class KestrupSkin : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTerminalSettings();
        watch_ = std::make_unique<SystemCaptionWatch>();
        k_ = std::make_unique<KestrupProcess>();
        std::string error;
        ASSERT_TRUE(k_->Start(error)) << error;
    }
    void TearDown() override {
        k_.reset();
        watch_.reset();
    }

    HWND Top(const std::function<bool(HWND)>& match) {
        HWND found = nullptr;
        WaitUntil([&] { return (found = FindTopWindowOf(k_->ProcessId(), match)) != nullptr; }, 5000);
        return found;
    }
    HWND Titled(const std::string& title) {
        return Top([&](HWND h) { return IsWindowVisible(h) && WindowText(h) == title; });
    }
    HWND OfClass(const std::string& cls) {
        return Top([&](HWND h) { return IsWindowVisible(h) && ClassOf(h) == cls; });
    }
    // A window is skinned once it answers, and its caption shows graphite and no system blue.
    void ExpectSkinned(HWND w, const std::string& name) {
        ASSERT_NE(w, nullptr) << name;
        EXPECT_TRUE(WaitUntil([&] { return Skinned(w) == 1; }, 5000)) << name;
        const WindowPixels c = Grab(w);
        SaveBmp(c, name);
        EXPECT_EQ(BluePixels(c, 30), 0) << name;
        EXPECT_TRUE(Graphite(c.At(c.W / 2, 4))) << name << " caption " << std::hex << c.At(c.W / 2, 4);
    }
    void SourceMenu(HWND source, const std::string& item) {
        const UINT id = MenuCommandOf(source, item);
        ASSERT_NE(id, 0u) << item;
        PostMessageA(source, WM_COMMAND, static_cast<WPARAM>(id), 0);
    }

    std::unique_ptr<SystemCaptionWatch> watch_;
    std::unique_ptr<KestrupProcess> k_;
};

TEST_F(KestrupSkin, EveryWindowOfTheProgramComesUpInTheDefaultSkin) {
    ExpectSkinned(k_->Main(), "Kestrup");

    ASSERT_TRUE(k_->Menu("SourceFileWindow1"));
    const HWND source = Titled("SourceFile");
    ExpectSkinned(source, "SourceFile");
    ASSERT_TRUE(k_->Menu("Log1"));
    ExpectSkinned(OfClass("TLOGform"), "LOG");
    ASSERT_TRUE(k_->Menu("Help1"));
    ExpectSkinned(Titled("Help FlashForth GLOSSARY"), "Help");

    // A message box: the companion counts as running while a window has its title.
    HWND companion = CreateWindowExA(0, "STATIC", "KestrupTirvane", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    PostMessageA(k_->Main(), WM_NULL, 0, 0);
    k_->Menu("W10Tirvane1");
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = k_->FindBox("Info")) != nullptr; }));
    ExpectSkinned(box, "MessageBox");
    EXPECT_EQ(k_->BoxText(box), "KestrupTirvane already up and running :-)") << "the box's text survives the skin";
    k_->Answer(box, IDOK);
    DestroyWindow(companion);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));

    k_->Menu("SerialSetup1");
    const HWND setup = OfClass("TComSetupFrm");
    ExpectSkinned(setup, "Setup");
    PostMessageA(setup, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(setup); }));

    const std::pair<const char*, const char*> dialogs[] = {{"Openasourcetextfile1", "Open"},
                                                           {"File|Save content in a source/text file", "Save"}};
    for (const auto& [item, name] : dialogs) {
        SourceMenu(source, item);
        const HWND dialog = Top([](HWND h) { return IsWindowVisible(h) && ClassOf(h) == "#32770"; });
        ExpectSkinned(dialog, name);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); })) << name;
    }

    // The terminal memo's context menu.
    RECT r{};
    GetWindowRect(k_->Memo(), &r);
    PostMessageA(k_->Memo(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(k_->Memo()), MAKELPARAM(r.left + 40, r.top + 40));
    const HWND menu = OfClass("#32768");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Skinned(menu), 1);
    SaveBmp(Grab(menu), "PopupMenu");
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));

    // From the program's start to here no window showed the system's caption.
    EXPECT_TRUE(WaitUntil([&] { return watch_->Looks() > 100; }, 20000)) << "the watcher looked " << watch_->Looks();
    watch_->Stop();
    EXPECT_EQ(watch_->Seen(k_->ProcessId()), "");
}

// Pixels of a captured menu inside its 3-pixel frame that are near a colour (within `tolerance` on each channel).
int PixelsNear(const WindowPixels& c, COLORREF colour, int tolerance) {
    auto within = [&](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
    int n = 0;
    for (int y = 3; y < c.H - 3; ++y)
        for (int x = 3; x < c.W - 3; ++x) {
            const COLORREF p = c.At(x, y);
            n += within(GetRValue(p), GetRValue(colour)) && within(GetGValue(p), GetGValue(colour)) &&
                 within(GetBValue(p), GetBValue(colour));
        }
    return n;
}

// A right click in the command line opens the edit's own menu (Undo, Cut, Copy, Paste, Delete, Select All) drawn by
// the skin like every other menu of the program: light text on the dark menu surface, the unavailable items grey,
// nothing in the system's black. Its commands still act: Select All selects the line, Copy puts it on the clipboard.
TEST_F(KestrupSkin, TheCommandLinesOwnMenuIsDrawnByTheSkinAndItsCommandsAct) {
    ASSERT_TRUE(WaitUntil([&] { return Skinned(k_->Main()) == 1; }, 5000));
    const HWND line = k_->CommandLine();
    const std::string text = "2 3 + .";
    k_->SetCommandLineText(text);
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    const auto rightClick = [&] {
        PostMessageA(line, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 8));
        PostMessageA(line, WM_RBUTTONUP, 0, MAKELPARAM(20, 8));
        return OfClass("#32768");
    };
    const auto choose = [&](HWND menu, std::initializer_list<WORD> keys) {
        for (WORD vk : keys) PostMessageA(menu, WM_KEYDOWN, vk, 0);
        return WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); });
    };

    HWND menu = rightClick();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Skinned(menu), 1);
    const WindowPixels shot = Grab(menu);
    SaveBmp(shot, "EditMenu");
    // Select All in the skin's menu text colour, Undo, Cut, Copy, Paste and Delete (nothing to act on) in its grey.
    EXPECT_GT(PixelsNear(shot, RGB(220, 222, 226), 24), 40) << "menu text";
    EXPECT_GT(PixelsNear(shot, RGB(128, 131, 137), 12), 100) << "unavailable items";
    EXPECT_EQ(PixelsNear(shot, RGB(0, 0, 0), 12), 0) << "the system's black text";

    // Select All by its letter (the items keep their texts and so their mnemonics).
    ASSERT_TRUE(choose(menu, {WORD('A')}));
    const LRESULT sel = SendMessageA(line, EM_GETSEL, 0, 0);
    EXPECT_EQ(LOWORD(sel), 0);
    EXPECT_EQ(HIWORD(sel), text.size());

    // Copy, now available: Undo, Cut, Copy from the top (the separator is passed over).
    menu = rightClick();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(choose(menu, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
    std::string copied;
    ASSERT_TRUE(WaitUntil([&] {
        if (!OpenClipboard(nullptr)) return false;
        if (HANDLE h = GetClipboardData(CF_TEXT))
            if (const auto* p = static_cast<const char*>(GlobalLock(h))) {
                copied = p;
                GlobalUnlock(h);
            }
        CloseClipboard();
        return !copied.empty();
    }, 5000));
    EXPECT_EQ(copied, text);
    EXPECT_EQ(k_->CommandLineText(), text) << "nothing cut or deleted";
}

// The setup dialog's drop-down lists are skinned and still drop down and select with the mouse and the keys.
TEST_F(KestrupSkin, TheSetupDialogsDropDownListsAreSkinnedAndKeepWorking) {
    k_->Menu("SerialSetup1");
    const HWND setup = OfClass("TComSetupFrm");
    ExpectSkinned(setup, "Setup");
    std::vector<HWND> combos;
    EnumChildWindows(
        setup,
        [](HWND c, LPARAM found) {
            std::string cls = ClassOf(c);
            for (char& ch : cls) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
            if (cls == "combobox") reinterpret_cast<std::vector<HWND>*>(found)->push_back(c);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&combos));
    ASSERT_GE(combos.size(), 5u);
    for (HWND c : combos) EXPECT_EQ(Skinned(c), 1) << "a drop-down list of the setup dialog";

    // A press on the second list's button drops it down, below the dialog.
    const HWND combo = combos[1];
    RECT r{};
    GetWindowRect(combo, &r);
    const LPARAM button = MAKELPARAM(r.right - r.left - 8, (r.bottom - r.top) / 2);
    PostMessageA(combo, WM_LBUTTONDOWN, MK_LBUTTON, button);
    PostMessageA(combo, WM_LBUTTONUP, 0, button);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 3000));
    // The dropped list is a top-level window of its own (its combo's information does not cross processes).
    const HWND dropped = OfClass("ComboLBox");
    ASSERT_NE(dropped, nullptr);
    SaveBmp(Grab(setup), "SetupDropped");
    SaveBmp(Grab(dropped), "SetupDroppedList");
    // The mouse picks the item at the top of the list.
    const LRESULT top = SendMessageA(dropped, LB_GETTOPINDEX, 0, 0);
    const auto itemHeight = static_cast<int>(SendMessageA(dropped, LB_GETITEMHEIGHT, 0, 0));
    const LPARAM at = MAKELPARAM(6, itemHeight / 2);
    PostMessageA(dropped, WM_MOUSEMOVE, 0, at);
    PostMessageA(dropped, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(dropped, WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; }, 3000));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), top);
    // Keys: down picks the next item.
    PostMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(combo, CB_GETCURSEL, 0, 0) == top + 1; }, 3000));
    PostMessageA(setup, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(setup); }));
}

// ---- the skinned menu bar of the main window ----

constexpr UINT kOpenMenuButton = 0x3518, kGetHMenu = 0x01E1;  // SKM_OPENMENUBUTTON, MN_GETHMENU

// The main window's bar buttons in the order of its menu.
const char* const kBarCaptions[] = {"File", "Serial-Setup", "Connect", "Disconnect", "Log", "Clear-Screen",
                                    "Processor-Type", "Help", "Win10-ANSI-Console"};

class KestrupSkinMenu : public KestrupOnBoard {
protected:
    void SetUp() override {
        KestrupOnBoard::SetUp();
        if (!Ready()) return;
        k_ = std::make_unique<KestrupProcess>();
        std::string error;
        ASSERT_TRUE(k_->Start(error)) << error;
        ASSERT_TRUE(WaitUntil([&] { return Skinned(k_->Main()) == 1; }, 5000));
        ASSERT_TRUE(Settled(k_->Main()));
    }
    void TearDown() override { k_.reset(); }

    // The middle of a bar button on the screen.
    POINT Button(const std::string& caption) {
        const RECT b = SkinnedBarButton(k_->Main(), {std::begin(kBarCaptions), std::end(kBarCaptions)}, caption);
        return {(b.left + b.right) / 2, b.top + GetSystemMetrics(SM_CYMENU) / 2};
    }
    HWND Popup() { return FindTopWindowOf(k_->ProcessId(), [](HWND h) { return IsWindowVisible(h) && ClassOf(h) == "#32768"; }); }
    // The open popup once it is there (and no other than `not`), else nullptr.
    HWND WaitPopup(HWND not_ = nullptr) {
        HWND found = nullptr;
        WaitUntil([&] { return (found = Popup()) != nullptr && found != not_; }, 5000);
        return found != not_ ? found : nullptr;
    }
    bool WaitClosed() {
        return WaitUntil([&] { return Popup() == nullptr; }, 5000);
    }
    void Key(HWND popup, WORD vk) {
        PostMessageA(popup, WM_KEYDOWN, vk, 0);
        Settled(popup);
    }
    int Height(HWND h) {
        RECT r{};
        GetWindowRect(h, &r);
        return r.bottom - r.top;
    }
    void Open(const std::string& caption) {
        const POINT p = Button(caption);
        PostMessageA(k_->Main(), kOpenMenuButton, 0, MAKELPARAM(p.x, p.y));
    }

    std::unique_ptr<KestrupProcess> k_;
};

// Amber: the skin's selection bar and check marks.
int AmberPixels(const WindowPixels& c) {
    int n = 0;
    for (int y = 0; y < c.H; ++y)
        for (int x = 0; x < c.W; ++x) {
            const COLORREF p = c.At(x, y);
            if (GetRValue(p) > 180 && GetGValue(p) > 110 && GetGValue(p) < 200 && GetBValue(p) < 90) ++n;
        }
    return n;
}

TEST_F(KestrupSkinMenu, TheBarDrawnByTheSkinOpensItsPopupsByMouseAndKeyboard) {
    if (!Ready()) return;
    const HWND main = k_->Main();
    SaveBmp(Grab(main), "MenuBar");
    // The bar is the skin's graphite, with no system colours.
    {
        const POINT p = Button("Connect");
        RECT r{};
        GetWindowRect(main, &r);
        const WindowPixels c = Grab(main);
        EXPECT_TRUE(Graphite(c.At(c.W - 30, p.y - r.top))) << std::hex << c.At(c.W - 30, p.y - r.top);
    }

    // The button under a point opens; its first item is highlighted. Down three times and Enter picks ESP32.
    Open("Processor-Type");
    HWND type = WaitPopup();
    ASSERT_NE(type, nullptr);
    const int typeHeight = Height(type);
    Key(type, VK_DOWN);
    const WindowPixels shot = Grab(type);
    SaveBmp(shot, "ProcessorTypeMenu");
    EXPECT_GT(AmberPixels(shot), 100) << "the selected item's amber bar and the radio mark";
    Key(type, VK_DOWN);
    Key(type, VK_DOWN);
    Key(type, VK_RETURN);
    ASSERT_TRUE(WaitClosed());
    k_->Sync();
    ASSERT_TRUE(k_->Close());
    EXPECT_EQ(ReadSetting("MCUtype", "ESP32forth"), "1");
    EXPECT_EQ(ReadSetting("MCUtype", "Arduino"), "0");

    std::string error;
    ASSERT_TRUE(k_->Start(error)) << error;
    ASSERT_TRUE(WaitUntil([&] { return Skinned(k_->Main()) == 1; }, 5000));
    ASSERT_TRUE(Settled(k_->Main()));
    // Alt alone opens the first button (File, two items); Right goes on along the bar, past the command buttons
    // (Serial-Setup, Connect, Disconnect, Log: highlighted, no popup) to Clear-Screen, again to Processor-Type
    // (four items), Left back; Escape closes.
    PostMessageA(k_->Main(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    HWND file = WaitPopup();
    ASSERT_NE(file, nullptr);
    const int fileHeight = Height(file);
    EXPECT_LT(fileHeight, typeHeight);
    Key(file, VK_RIGHT);
    ASSERT_TRUE(WaitClosed());
    for (int i = 0; i < 4; ++i) Key(k_->Main(), VK_RIGHT);
    HWND clear = WaitPopup(file);
    ASSERT_NE(clear, nullptr);
    Key(clear, VK_RIGHT);
    HWND type2 = WaitPopup(clear);
    ASSERT_NE(type2, nullptr);
    EXPECT_EQ(Height(type2), typeHeight);
    Key(type2, VK_LEFT);
    HWND back = WaitPopup(type2);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(Height(back), fileHeight);
    Key(back, VK_ESCAPE);
    EXPECT_TRUE(WaitClosed());

    // A right click on the caption opens the skinned system menu; Escape closes it.
    RECT r{};
    GetWindowRect(k_->Main(), &r);
    PostMessageA(k_->Main(), WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + 200, r.top + 8));
    HWND sys = WaitPopup();
    ASSERT_NE(sys, nullptr);
    SaveBmp(Grab(sys), "SystemMenu");
    Key(sys, VK_ESCAPE);
    EXPECT_TRUE(WaitClosed());
}

TEST_F(KestrupSkinMenu, BarCommandsReachTheBoard) {
    if (!Ready()) return;
    // Connect from the bar: the terminal sends its carriage returns and the board answers.
    Open("Connect");
    ASSERT_TRUE(WaitUntil([&] { return board_.Lines().size() >= 1; }, 5000));
    ASSERT_TRUE(WaitUntil([&] { return k_->MemoText().find(" ok") != std::string::npos; }, 5000));
    // Disconnect: typed text no longer reaches the board.
    Open("Disconnect");
    k_->Sync();
    const size_t before = board_.Lines().size();
    k_->SetCommandLineText("words");
    k_->PressKey(k_->CommandLine(), VK_RETURN);
    Wait(500);  // that no line goes out: no event to wait for
    EXPECT_EQ(board_.Lines().size(), before);
    // Log shows the log window.
    Open("Log");
    EXPECT_TRUE(WaitUntil([&] {
        return FindTopWindowOf(k_->ProcessId(), [](HWND h) { return IsWindowVisible(h) && ClassOf(h) == "TLOGform"; }) !=
               nullptr;
    }));
}

}  // namespace

namespace {

// The skinned overlays (class "TWScrollbar") among a window's children.
std::vector<HWND> Overlays(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(
        parent,
        [](HWND h, LPARAM lp) -> BOOL {
            if (ClassOf(h) == "TWScrollbar" && IsWindowVisible(h)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The native vertical bar of a window of the program: as the system reports it, or (where it will not report
// on another program's window) right of the client area, one bar wide.
RECT VerticalBar(HWND w) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (GetScrollBarInfo(w, OBJID_VSCROLL, &info)) return info.rcScrollBar;
    RECT c{};
    GetClientRect(w, &c);
    POINT tl{c.right, 0}, br{c.right + GetSystemMetrics(SM_CXVSCROLL), c.bottom};
    ClientToScreen(w, &tl);
    ClientToScreen(w, &br);
    return {tl.x, tl.y, br.x, br.y};
}

HWND OverlayOver(HWND w) {
    const RECT bar = VerticalBar(w);
    for (HWND o : Overlays(GetParent(w))) {
        RECT r{};
        GetWindowRect(o, &r);
        if (EqualRect(&r, &bar)) return o;
    }
    return nullptr;
}

void ClickOverlay(HWND overlay, int x, int y) {
    PostMessageA(overlay, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(overlay, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Settled(overlay);
}

}  // namespace

// The terminal memo's and the log list's bars are the skin's overlays, exactly over the native bars, and scroll
// their control by arrow, page and thumb.
TEST_F(KestrupSkin, TheMemoAndTheLogListScrollByTheirSkinnedBars) {
    const HWND memo = k_->Memo();
    ASSERT_TRUE(WaitUntil([&] { return Skinned(k_->Main()) == 1; }, 5000));
    std::string text;
    for (int i = 0; i < 400; ++i) text += "ok " + std::to_string(i) + " : the board answers line after line\r\n";
    SendMessageA(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(memo, EM_SETSEL, 0, 0);
    SendMessageA(memo, EM_SCROLLCARET, 0, 0);
    HWND bar = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (bar = OverlayOver(memo)) != nullptr; }, 5000)) << "no overlay over the memo's bar";
    const auto first = [&] { return static_cast<int>(SendMessageA(memo, EM_GETFIRSTVISIBLELINE, 0, 0)); };
    RECT r{};
    GetWindowRect(bar, &r);
    const int h = r.bottom - r.top, a = GetSystemMetrics(SM_CXHSCROLL);
    ASSERT_EQ(first(), 0);
    ClickOverlay(bar, 4, h - a / 2);
    EXPECT_TRUE(WaitUntil([&] { return first() == 1; }, 3000)) << "down arrow: " << first();
    ClickOverlay(bar, 4, h - a - 2);
    EXPECT_TRUE(WaitUntil([&] { return first() > 10; }, 3000)) << "page: " << first();
    // Thumb: back at the top, press on the thumb just below the up arrow, move the mouse down 80 pixels (the
    // memo holds the capture meanwhile), release.
    SendMessageA(memo, WM_VSCROLL, SB_TOP, 0);
    ASSERT_EQ(first(), 0);
    const int thumb = a + 3;
    POINT to{r.left + 4, r.top + thumb + 80};
    ScreenToClient(memo, &to);
    PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, thumb));
    PostMessageA(memo, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageA(memo, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Settled(bar);
    EXPECT_TRUE(WaitUntil([&] { return first() > 40; }, 3000)) << "thumb drag: " << first();
    // The whole window on the screen for its picture.
    SetWindowPos(k_->Main(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SaveBmp(Grab(k_->Main()), "TerminalBars");

    ASSERT_TRUE(k_->Menu("Log1"));
    const HWND log = OfClass("TLOGform");
    ASSERT_NE(log, nullptr);
    const HWND list = FindWindowExA(log, nullptr, "ListBox", nullptr);
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 100; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((L"log line " + std::to_wstring(i)).c_str()));
    HWND logBar = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (logBar = OverlayOver(list)) != nullptr; }, 5000)) << "no overlay over the log";
    GetWindowRect(logBar, &r);
    const auto top = [&] { return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)); };
    ClickOverlay(logBar, 4, r.bottom - r.top - a / 2);
    EXPECT_TRUE(WaitUntil([&] { return top() == 1; }, 3000)) << "down arrow: " << top();
    ClickOverlay(logBar, 4, r.bottom - r.top - a - 2);
    EXPECT_TRUE(WaitUntil([&] { return top() > 3; }, 3000)) << "page: " << top();
    SaveBmp(Grab(log), "LogBars");
}

// Kestrup.exe, started as a user starts it, shows every window in its default skin "Kestrup Graphite": the main
// window, the source, log and help windows, the setup dialog, a message box, the open and save dialogs and a popup
// menu each answer SKM_ISSKINNED with 1 once shown, and their frames show the skin's graphite, not the system's
// blue caption. Each window is captured from the screen into skin-shots/ beside this test (24-bit BMP) to look at.
// All the while a watcher looks at the screen, from before the program starts: no window of it ever shows the
// system's caption, not even for a moment before the skin takes it over.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "KestrupDriver.h"

using namespace kes::test;

namespace {

constexpr UINT kIsSkinned = 0x3523;

LRESULT Skinned(HWND w) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutA(w, kIsSkinned, 0, 0, SMTO_NORMAL, 3000, &r)) return -1;
    return static_cast<LRESULT>(r);
}

// The window as the screen shows it (its part on the screen), 24 bits per pixel, rows top-down (after it was brought to
// the front).
struct Capture {
    int w = 0, h = 0;
    std::vector<unsigned char> bgr;
    COLORREF At(int x, int y) const {
        const unsigned char* p = &bgr[(static_cast<size_t>(y) * w + x) * 3];
        return RGB(p[2], p[1], p[0]);
    }
};

Capture Grab(HWND w) {
    SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Wait(300);
    RECT r{};
    GetWindowRect(w, &r);
    // Only the part on the screen (a copy reaching past its edge comes back black).
    r.right = std::min<LONG>(r.right, GetSystemMetrics(SM_CXSCREEN));
    r.bottom = std::min<LONG>(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    Capture c;
    c.w = r.right - r.left;
    c.h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), c.w, -c.h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, c.w, c.h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const int stride = (c.w * 3 + 3) & ~3;
    for (int y = 0; y < c.h; ++y) {
        const auto* row = static_cast<unsigned char*>(bits) + static_cast<size_t>(y) * stride;
        c.bgr.insert(c.bgr.end(), row, row + c.w * 3);
    }
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return c;
}

void SaveBmp(const Capture& c, const std::string& name) {
    std::filesystem::create_directories("skin-shots");
    const int stride = (c.w * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(54 + stride * c.h), 0, 0, 54};
    BITMAPINFOHEADER ih{sizeof ih, c.w, -c.h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::ofstream out("skin-shots/" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.write(reinterpret_cast<const char*>(&ih), sizeof ih);
    const std::string pad(static_cast<size_t>(stride - c.w * 3), '\0');
    for (int y = 0; y < c.h; ++y) {
        out.write(reinterpret_cast<const char*>(&c.bgr[static_cast<size_t>(y) * c.w * 3]), c.w * 3);
        out.write(pad.data(), static_cast<std::streamsize>(pad.size()));
    }
}

// Wine's caption blues (and any strongly blue pixel) in the top rows of the window.
int BluePixels(const Capture& c, int rows) {
    int n = 0;
    for (int y = 0; y < std::min(rows, c.h); ++y)
        for (int x = 0; x < c.w; ++x) {
            const COLORREF p = c.At(x, y);
            if (GetBValue(p) > GetRValue(p) + 60 && GetBValue(p) > GetGValue(p) + 20) ++n;
        }
    return n;
}

// Watches the screen from its own thread: every few milliseconds the top rows of every visible captioned window of
// another process are read back from the screen and searched for the system's caption colours (both ends of the
// active and the inactive caption gradient and the colours between them). Notes each window seen so.
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
    // "" when no window showed the system's caption; else what was seen where.
    std::string Seen() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
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
            std::vector<HWND> windows;
            for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                if (pid != self && IsWindowVisible(h) && (GetWindowLongA(h, GWL_STYLE) & WS_CAPTION) == WS_CAPTION)
                    windows.push_back(h);
            }
            for (HWND h : windows) Look(h, GetTickCount64() - t0);
            ++looks_;
            Sleep(2);
        }
    }
    void Look(HWND w, ULONGLONG ms) {
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
        for (int i = 0; px && i < cw * ch; ++i) hits += CaptionColour(RGB(px[i * 4 + 2], px[i * 4 + 1], px[i * 4]));
        SelectObject(mem, old);
        DeleteObject(dib);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        // A few stray pixels (an icon's shade) are no caption bar.
        if (hits < cw * 2) return;
        std::lock_guard<std::mutex> lock(mutex_);
        char line[200];
        std::snprintf(line, sizeof line, "%s \"%s\": %d pixels of the system caption at %llu ms\n", ClassOf(w).c_str(),
                      WindowText(w).c_str(), hits, ms);
        if (seen_.size() < 2000) seen_ += line;
    }

    std::vector<COLORREF> captionColours_;
    std::atomic<bool> stop_{false};
    std::atomic<int> looks_{0};
    std::mutex mutex_;
    std::string seen_;
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
        const Capture c = Grab(w);
        SaveBmp(c, name);
        EXPECT_EQ(BluePixels(c, 30), 0) << name;
        EXPECT_TRUE(Graphite(c.At(c.w / 2, 4))) << name << " caption " << std::hex << c.At(c.w / 2, 4);
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
    watch_->Stop();
    EXPECT_GT(watch_->Looks(), 100);
    EXPECT_EQ(watch_->Seen(), "");
}

}  // namespace

// A test-only library that the end-to-end tests put into Kestrup.exe through a message hook. Inside the program it
// answers two registered messages, posted to a window of the program's GUI thread; lParam is the thread to answer,
// and the answer, posted to that thread, carries the question's wParam back in its lParam. The program itself
// never sees the questions.
// - "KestrupTestMenuCommandOf": wParam is a global atom holding an item's caption path ("Clear-Screen|Sure?
//   (Clear screen)") of the window's menu; the answer's wParam is the item's command id (0: no such item). Wine
//   cannot read the menus of another process.
// - "KestrupTestSettled": wParam is a window of the program; the answer's wParam is 1, and it comes once the thread
//   handled every message posted before and painted what waited to be painted in the window's top-level window.
// - "KestrupTestWindowPicture": wParam is a window of the program; its picture, copied from its window DC here,
//   (cut at the screen's right and bottom edges) goes into the file mapping "KestrupTestPicture<answering thread>" the asker made: [capacity in pixels, width,
//   height, pixels 0x00BBGGRR from the top], once what waited to be painted is painted. The answer's wParam is 1
//   when the picture is there. Only inside its
//   own program does a window DC give what the window painted: from another process Wine copies the screen's
//   X window, black where another window lies over it.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/win/Unique.h"

namespace {

std::string Stripped(std::string s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\t') break;  // a shortcut text follows
        if (s[i] == '&' && i + 1 < s.size()) ++i;
        out += s[i];
    }
    return out;
}

UINT FindCommand(HMENU menu, const std::string& path) {
    const size_t bar = path.find('|');
    const std::string caption = path.substr(0, bar);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU;
        mii.dwTypeData = text;
        mii.cch = sizeof text;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mii) || Stripped(text) != caption) continue;
        if (bar == std::string::npos) return mii.wID;
        return mii.hSubMenu ? FindCommand(mii.hSubMenu, path.substr(bar + 1)) : 0;
    }
    return 0;
}

struct ViewTraits {
    using Handle = void*;
    static Handle Invalid() noexcept { return nullptr; }
    static bool Close(Handle h) noexcept { return UnmapViewOfFile(h) != FALSE; }
};

// Paints what waits to be painted in the top-level window of `window` and its children (on their own thread).
void PaintWaiting(HWND window) {
    if (IsWindow(window)) RedrawWindow(GetAncestor(window, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool CopyPicture(HWND window, DWORD asker) {
    RECT r{};
    if (!IsWindow(window)) return false;
    PaintWaiting(window);
    if (!GetWindowRect(window, &r)) return false;
    // Wine keeps no picture of what lies beyond the screen's right and bottom edges.
    const int w = std::min<LONG>(r.right, GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN)) - r.left;
    const int h = std::min<LONG>(r.bottom, GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)) - r.top;
    if (w <= 0 || h <= 0) return false;
    char name[64];
    std::snprintf(name, sizeof name, "KestrupTestPicture%lu", static_cast<unsigned long>(asker));
    const kes::UniqueHandle map(OpenFileMappingA(FILE_MAP_WRITE, FALSE, name));
    if (!map) return false;
    const kes::Unique<ViewTraits> view(MapViewOfFile(map.Get(), FILE_MAP_WRITE, 0, 0, 0));
    auto* out = static_cast<std::uint32_t*>(view.Get());
    if (!out || static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h) > out[0]) return false;

    const kes::WindowDc source(window, true);
    const kes::UniqueDc memory(CreateCompatibleDC(source.Get()));
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const kes::UniqueGdi<HBITMAP> dib(CreateDIBSection(source.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!source.Get() || !memory || !dib || !bits) return false;
    {
        const kes::SelectGuard select(memory.Get(), dib.Get());
        if (!BitBlt(memory.Get(), 0, 0, w, h, source.Get(), 0, 0, SRCCOPY)) return false;
        GdiFlush();
    }
    const auto* px = static_cast<const std::uint8_t*>(bits);
    for (int i = 0; i < w * h; ++i, px += 4) out[3 + i] = px[2] | (px[1] << 8) | (px[0] << 16);
    out[1] = static_cast<std::uint32_t>(w);
    out[2] = static_cast<std::uint32_t>(h);
    return true;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProgramProbeHook(int code, WPARAM removed, LPARAM lp) {
    static const UINT menuQuestion = RegisterWindowMessageA("KestrupTestMenuCommandOf");
    static const UINT pictureQuestion = RegisterWindowMessageA("KestrupTestWindowPicture");
    static const UINT settledQuestion = RegisterWindowMessageA("KestrupTestSettled");
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && removed == PM_REMOVE &&
        (msg->message == menuQuestion || msg->message == pictureQuestion || msg->message == settledQuestion)) {
        const auto asker = static_cast<DWORD>(msg->lParam);
        WPARAM answer = 1;
        if (msg->message == menuQuestion) {
            answer = 0;
            char path[512] = "";
            if (GlobalGetAtomNameA(static_cast<ATOM>(msg->wParam), path, sizeof path) > 0)
                if (HMENU menu = GetMenu(msg->hwnd)) answer = FindCommand(menu, path);
        } else if (msg->message == pictureQuestion) {
            answer = CopyPicture(reinterpret_cast<HWND>(msg->wParam), asker) ? 1 : 0;
        } else {
            PaintWaiting(reinterpret_cast<HWND>(msg->wParam));
        }
        PostThreadMessageA(asker, msg->message, answer, static_cast<LPARAM>(msg->wParam));
        msg->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, removed, lp);
}

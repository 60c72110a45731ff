// A test-only library that the end-to-end tests put into Kestrup.exe through a message hook (Wine cannot read
// the menus of another process). Inside the program it answers one registered message, posted to a window:
// wParam is a global atom holding an item's caption path ("Clear-Screen|Sure? (Clear screen)"), lParam the
// thread to answer; the answer, posted to that thread, carries the item's command id (0: no such item) and
// the atom. The program itself never sees the question.
#include <windows.h>

#include <string>

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

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM removed, LPARAM lp) {
    static const UINT question = RegisterWindowMessageA("KestrupTestMenuCommandOf");
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && removed == PM_REMOVE && msg->message == question) {
        char path[512] = "";
        UINT id = 0;
        if (GlobalGetAtomNameA(static_cast<ATOM>(msg->wParam), path, sizeof path) > 0)
            if (HMENU menu = GetMenu(msg->hwnd)) id = FindCommand(menu, path);
        PostThreadMessageA(static_cast<DWORD>(msg->lParam), question, id, static_cast<LPARAM>(msg->wParam));
        msg->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, removed, lp);
}

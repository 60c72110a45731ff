#include "skin/draw/win/SkinText.h"

#include "skin/draw/win/SkinDraw.h"

namespace kes {

namespace {

unsigned g_codePage = CP_ACP;

template <typename F>
void LookUp(HMODULE module, const char* name, F& entry) {
    entry = module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// user32 held for the life of the process and its optional entries.
struct User32Module {
    HMODULE module = LoadLibraryA("user32.dll");
    OptionalUser32 entries;
    User32Module() {
        LookUp(module, "GetScrollBarInfo", entries.GetScrollBarInfo);
        LookUp(module, "TrackMouseEvent", entries.TrackMouseEvent);
        LookUp(module, "GetComboBoxInfo", entries.GetComboBoxInfo);
    }
    ~User32Module() {
        if (module) FreeLibrary(module);
    }
    User32Module(const User32Module&) = delete;
    User32Module& operator=(const User32Module&) = delete;
};

}  // namespace

unsigned SkinCodePage() { return g_codePage; }
void SetSkinCodePage(unsigned codePage) { g_codePage = codePage; }

void StrToWideStr(const std::string& text, std::wstring& wide) {
    wide.clear();
    if (text.empty()) return;
    const int n = MultiByteToWideChar(g_codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return;
    wide.resize(static_cast<std::size_t>(n));
    MultiByteToWideChar(g_codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
}

void WideStrCopy(const wchar_t* text, int n, std::wstring& wide) {
    wide.clear();
    if (!text) return;
    std::size_t len = 0;
    while (text[len] != 0 && (n < 0 || len < static_cast<std::size_t>(n))) ++len;
    wide.assign(text, len);
}

int SkinDrawText(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
    if (SkinIsNT()) return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    std::wstring cut;
    WideStrCopy(text.c_str(), static_cast<int>(text.size()), cut);
    std::string ansi;
    if (!cut.empty()) {
        const int n =
            WideCharToMultiByte(CP_ACP, 0, cut.data(), static_cast<int>(cut.size()), nullptr, 0, nullptr, nullptr);
        if (n > 0) {
            ansi.resize(static_cast<std::size_t>(n));
            WideCharToMultiByte(CP_ACP, 0, cut.data(), static_cast<int>(cut.size()), ansi.data(), n, nullptr, nullptr);
        }
    }
    return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
}

TWinControl* FindControlByHandle(HWND window) { return window ? FindControl(window) : nullptr; }

OptionalUser32& SkinUser32() {
    static User32Module user32;
    return user32.entries;
}

bool CallGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info) {
    auto call = SkinUser32().GetScrollBarInfo;
    if (!call) return false;
    info.cbSize = sizeof(SCROLLBARINFO);
    return call(window, objectId, &info) != 0;
}

void CallTrackMouseEvent(HWND window) {
    auto call = SkinUser32().TrackMouseEvent;
    if (!call) return;
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(TRACKMOUSEEVENT);
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = window;
    call(&tme);
}

bool CallGetComboBoxInfo(HWND combo, COMBOBOXINFO& info) {
    auto call = SkinUser32().GetComboBoxInfo;
    if (!call) return false;
    info.cbSize = sizeof(COMBOBOXINFO);
    return call(combo, &info) != 0;
}

}  // namespace kes

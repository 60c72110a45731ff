// kestrup-deskkeeper: holds the Wine desktop open while a test run goes on.
//
// Wine closes a prefix's desktop (its explorer.exe) about a second after the last program with a window has
// ended, and the next program to make a window starts a new one. Tests started back to back under load fall
// into that hand-over: the new program waits ten seconds for a desktop that is going away, fails to make its
// window, and the new explorer.exe inherits the test's output pipe, so that CTest waits on it until the time-out.
// The harness starts this program once before the tests and stops it with the prefix's wineserver.
//
// It owns a single window that is never shown, and sleeps in its message loop until told to quit.
#include <windows.h>

namespace {

LRESULT CALLBACK KeeperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW type{};
    type.lpfnWndProc = KeeperProc;
    type.hInstance = instance;
    type.lpszClassName = L"KestrupDeskKeeper";
    if (!RegisterClassW(&type)) return 1;
    // A top-level window that stays hidden: the program counts as one of the desktop's own.
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, type.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) return 2;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

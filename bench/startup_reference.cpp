// The minimal reference of the start-up benchmark: one top-level window titled "Kestrup", of the terminal's size,
// with a black area where the terminal shows its text, shown and painted, then the message loop.
#include <windows.h>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        InflateRect(&r, -8, -60);
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = "StartupReference";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, "StartupReference", "Kestrup", WS_OVERLAPPEDWINDOW, 300, 300, 1200, 500, nullptr,
                             nullptr, instance, nullptr);
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

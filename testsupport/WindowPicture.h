#pragma once
// Pictures of real windows for the Windows tests: a whole window of this program with its frame, as it painted it,
// copied with BitBlt from its window DC (PrintWindow draws nothing under Wine 8), or from the screen where the
// window lies, and saved as a 24-bit bitmap file or read pixel by pixel. Only in its own program does a window DC
// give the window's picture whatever lies over it; from another program Wine gives black there (and all black for
// a child window), and the screen shows what lies over it: a test reads another program's window from inside that
// program (the end-to-end tests' driver does so for Kestrup.exe) and takes the screen's lock to read the screen.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "gui/win/Canvas.h"
#include "gui/win/Win.h"

namespace kes::test {

inline void GrabWindow(HWND hwnd, TBitmap& shot, bool fromScreen = false) {
    RECT r;
    GetWindowRect(hwnd, &r);
    shot.SetSize(r.right - r.left, r.bottom - r.top);
    WindowDc source(fromScreen ? nullptr : hwnd, !fromScreen);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), source.Get(), fromScreen ? r.left : 0,
           fromScreen ? r.top : 0, SRCCOPY);
    GdiFlush();
}

inline bool SaveWindowPicture(HWND hwnd, const std::string& path, bool fromScreen = false) {
    TBitmap shot;
    GrabWindow(hwnd, shot, fromScreen);
    return shot.SaveToFile(path);
}

// A picture's pixels, each 0x00BBGGRR like a COLORREF, rows from the top; Save writes a 24-bit bitmap file.
struct WindowPixels {
    int W = 0, H = 0;
    std::vector<std::uint32_t> Px;
    std::int32_t At(int x, int y) const { return static_cast<std::int32_t>(Px.at(static_cast<size_t>(y) * static_cast<size_t>(W) + x)); }
    bool Save(const std::string& path) const {
        TBitmap b(W, H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                std::uint8_t* p = b.ScanLine(y) + 3 * x;
                const std::int32_t c = At(x, y);
                p[0] = static_cast<std::uint8_t>(c >> 16), p[1] = static_cast<std::uint8_t>(c >> 8),
                p[2] = static_cast<std::uint8_t>(c);
            }
        return b.SaveToFile(path);
    }
};

inline WindowPixels PixelsOf(TBitmap& shot) {
    WindowPixels out;
    out.W = shot.Width();
    out.H = shot.Height();
    for (int y = 0; y < out.H; ++y)
        for (int x = 0; x < out.W; ++x) {
            const std::uint8_t* p = shot.ScanLine(y) + 3 * x;
            out.Px.push_back(p[2] | (p[1] << 8) | (p[0] << 16));
        }
    return out;
}

inline WindowPixels CaptureWindow(HWND hwnd, bool fromScreen = false) {
    TBitmap shot;
    GrabWindow(hwnd, shot, fromScreen);
    return PixelsOf(shot);
}

// A part of the screen as it shows now (several windows, a dropped list beside its dialog), cut at the screen's
// right and bottom edges: a copy reaching past them comes back black.
inline WindowPixels CaptureScreen(RECT r) {
    r.right = std::min<LONG>(r.right, GetSystemMetrics(SM_CXSCREEN));
    r.bottom = std::min<LONG>(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    TBitmap shot;
    shot.SetSize(std::max<LONG>(0, r.right - r.left), std::max<LONG>(0, r.bottom - r.top));
    WindowDc screen(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen.Get(), r.left, r.top, SRCCOPY);
    GdiFlush();
    return PixelsOf(shot);
}

// The pixels of a window kept by value, to be read and saved.
struct WindowShot : WindowPixels {
    explicit WindowShot(HWND hwnd, bool fromScreen = false) : WindowPixels(CaptureWindow(hwnd, fromScreen)) {}
};

}  // namespace kes::test

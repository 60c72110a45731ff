#pragma once
// Pictures of real windows for the Windows tests: a whole window with its frame, as it shows on screen, copied
// with BitBlt from its window DC (PrintWindow draws nothing under Wine 8) and saved as a 24-bit bitmap file.
#include <cstdint>
#include <string>
#include <vector>

#include "gui/win/Canvas.h"
#include "gui/win/Win.h"

namespace kes::test {

inline bool SaveWindowPicture(HWND hwnd, const std::string& path) {
    RECT r;
    GetWindowRect(hwnd, &r);
    TBitmap shot(r.right - r.left, r.bottom - r.top);
    WindowDc window(hwnd, true);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), window.Get(), 0, 0, SRCCOPY);
    GdiFlush();
    return shot.SaveToFile(path);
}

// The pixels of a whole window (frame included), each 0x00BBGGRR (red in the low byte, as the skin's colours
// are): from its window DC, or, for a window of another process, from the screen where it shows.
struct WindowShot {
    explicit WindowShot(HWND hwnd, bool fromScreen = false) {
        RECT r;
        GetWindowRect(hwnd, &r);
        TBitmap shot(r.right - r.left, r.bottom - r.top);
        WindowDc window(fromScreen ? nullptr : hwnd, !fromScreen);
        BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), window.Get(), fromScreen ? r.left : 0,
               fromScreen ? r.top : 0, SRCCOPY);
        GdiFlush();
        W = shot.Width();
        H = shot.Height();
        Px.reserve(static_cast<size_t>(W) * static_cast<size_t>(H));
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const uint8_t* p = shot.ScanLine(y) + 3 * x;
                Px.push_back(p[2] | (p[1] << 8) | (p[0] << 16));
            }
    }
    int32_t At(int x, int y) const { return Px.at(static_cast<size_t>(y) * static_cast<size_t>(W) + x); }
    // As a 24-bit bitmap file.
    bool Save(const std::string& path) const {
        TBitmap b(W, H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                uint8_t* p = b.ScanLine(y) + 3 * x;
                const int32_t c = At(x, y);
                p[0] = static_cast<uint8_t>(c >> 16), p[1] = static_cast<uint8_t>(c >> 8),
                p[2] = static_cast<uint8_t>(c);
            }
        return b.SaveToFile(path);
    }
    int W = 0, H = 0;
    std::vector<int32_t> Px;
};

}  // namespace kes::test

#pragma once
// Pictures of real windows for the Windows tests: a whole window with its frame, as it shows on screen, copied
// with BitBlt from its window DC (PrintWindow draws nothing under Wine 8) and saved as a 24-bit bitmap file.
#include <string>

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

}  // namespace kes::test

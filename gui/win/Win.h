#pragma once
// The one header of the window layer that brings in the platform API, with small helpers around it:
// owned GDI handles, scoped device contexts, colour and font conversion, the handler chain's next call and
// the platform half of colours and fonts. Exceptions stay inside window procedures through base's Guarded.
#include "base/win/Win.h"
#include <commctrl.h>

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "base/win/Application.h"
#include "gui/Controls.h"
#include "gui/Graphics.h"

namespace kes {

inline HWND Hwnd(TWinControl& c) { return static_cast<HWND>(c.Handle()); }
inline HWND Hwnd(TWinControl* c) { return c ? static_cast<HWND>(c->Handle()) : nullptr; }
inline RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
inline TRect ToTRect(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }

// Runs the rest of a control's handler chain (down to the control's own handling) and stores the result.
LRESULT CallNextHandler(TMessage& m);

// A system colour index or an RGB value to the platform's COLORREF.
COLORREF ColorToRGB(TColor color);
// A new GDI font for `font` (the caller owns it).
HFONT CreateFontFor(const TFont& font);
// The shift state from the keyboard (and mouse buttons when `mouseKeys` holds MK_ flags).
TShiftState KeyboardShiftState();
TShiftState MouseShiftState(WPARAM mouseKeys);

// An owned GDI object: deleted once, never copied.
template <typename H>
class UniqueGdi {
public:
    UniqueGdi() = default;
    explicit UniqueGdi(H h) : h_(h) {}
    UniqueGdi(UniqueGdi&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueGdi& operator=(UniqueGdi&& o) noexcept {
        if (this != &o) Reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    UniqueGdi(const UniqueGdi&) = delete;
    UniqueGdi& operator=(const UniqueGdi&) = delete;
    ~UniqueGdi() { Reset(); }
    void Reset(H h = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }
    H Release() { return std::exchange(h_, nullptr); }
    H Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    H h_ = nullptr;
};

// Selects an object into a DC and puts the old one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectGuard() { SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintDc() { EndPaint(hwnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// GetDC (client) or GetWindowDC (whole window, for non-client painting), released at scope end.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd, bool wholeWindow = false)
        : hwnd_(hwnd), dc_(wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A memory DC with a compatible bitmap; Blit copies it out.
class MemoryDc {
public:
    MemoryDc(HDC ref, int width, int height);
    ~MemoryDc();
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }
    void Blit(HDC target, int x, int y) const;

private:
    HDC dc_;
    HBITMAP bmp_;
    HGDIOBJ old_;
    int w_, h_;
};

}  // namespace kes

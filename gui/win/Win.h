#pragma once
// The one header of the window layer that brings in the platform API, with small helpers around it: owned
// handles and scoped device contexts (base/win/Unique.h, PaintDc, MemoryDc), colour and font conversion, the
// handler chain's next call and the platform half of colours and fonts. Exceptions stay inside window
// procedures through base's Guarded.
#include "base/win/Win.h"
#include <commctrl.h>

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "base/win/Application.h"
#include "base/win/Unique.h"
#include "gui/Controls.h"
#include "gui/Graphics.h"

namespace kes {

inline HWND Hwnd(TWinControl& c) { return static_cast<HWND>(c.Handle()); }
inline HWND Hwnd(TWinControl* c) { return c ? static_cast<HWND>(c->Handle()) : nullptr; }
inline RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
inline TRect ToTRect(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }

// Runs the rest of a control's handler chain (down to the control's own handling) and stores the result.
LRESULT CallNextHandler(TMessage& m);

// Paints the windowless children of parent onto dc, which shows parent's client area (each at its place).
void PaintControls(TWinControl* parent, HDC dc);

// A system colour index or an RGB value to the platform's COLORREF.
COLORREF ColorToRGB(TColor color);
// A new GDI font for `font`.
UniqueGdi<HFONT> CreateFontFor(const TFont& font);
// The rectangle DrawText would fill with `text` in `font` on the screen (DT_CALCRECT with `format`), starting
// from a rectangle `width` wide at (0, 0).
RECT MeasureText(const TFont& font, const std::string& text, int width, UINT format);
// The shift state from the keyboard (and mouse buttons when `mouseKeys` holds MK_ flags).
TShiftState KeyboardShiftState();
TShiftState MouseShiftState(WPARAM mouseKeys);

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

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle Invalid() noexcept { return nullptr; }
    static bool Close(Handle h) noexcept { return ImageList_Destroy(h) != FALSE; }
};
using UniqueImageList = Unique<ImageListTraits>;

// A memory DC with a compatible bitmap; Blit copies it out.
class MemoryDc {
public:
    MemoryDc(HDC ref, int width, int height);
    ~MemoryDc();
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_.Get(); }
    void Blit(HDC target, int x, int y) const;

private:
    UniqueDc dc_;
    UniqueGdi<HBITMAP> bmp_;
    HGDIOBJ old_;
    int w_, h_;
};

}  // namespace kes

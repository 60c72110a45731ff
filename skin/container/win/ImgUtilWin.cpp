#include "ImgUtilWin.h"

#include "base/win/Unique.h"

namespace kes {

namespace {

std::int32_t SystemColour(int index) { return static_cast<std::int32_t>(GetSysColor(index)); }

}  // namespace

void UseSystemColours() { SetSysColourSource(SystemColour); }

bool DcFillTarget::ClipBox(PixelRect& box) const {
    RECT r;
    const int kind = GetClipBox(dc_, &r);
    if (kind == ERROR || kind == NULLREGION) return false;
    box = {r.left, r.top, r.right, r.bottom};
    return true;
}

void DcFillTarget::FillSolid(const PixelRect& rect, std::int32_t rgb) {
    const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    const UniqueGdi<HBRUSH> brush(CreateSolidBrush(static_cast<COLORREF>(rgb & 0xFFFFFF)));
    if (brush) FillRect(dc_, &r, brush.Get());
}

void GradientFill(HDC dc, const RECT& rect, std::int32_t colour1, std::int32_t colour2, bool vertical) {
    if (!RectVisible(dc, &rect)) return;
    DcFillTarget target(dc);
    GradientFill(target, PixelRect{rect.left, rect.top, rect.right, rect.bottom}, colour1, colour2, vertical);
}

}  // namespace kes

#pragma once
// The bitmap routines on Windows: system colours from the system, gradient fills into a device context.
#include <cstdint>

#include "base/win/Win.h"
#include "skin/container/ImgUtil.h"

namespace kes {

// System colours (negative colour values) resolve through GetSysColor from now on.
void UseSystemColours();

// A device context as a fill target: its clip box, and solid brushes filled band by band.
class DcFillTarget : public FillTarget {
public:
    explicit DcFillTarget(HDC dc) : dc_(dc) {}  // borrowed
    bool ClipBox(PixelRect& box) const override;
    void FillSolid(const PixelRect& rect, std::int32_t rgb) override;

private:
    HDC dc_;
};

// Fills rect of dc with a gradient from colour1 to colour2 (top to bottom when vertical, else left to right);
// only the bands inside the clip box are painted.
void GradientFill(HDC dc, const RECT& rect, std::int32_t colour1, std::int32_t colour2, bool vertical);

}  // namespace kes

#pragma once
// Bitmap and colour routines of the skin engine: key-colour replacement, mirroring, flipping and
// rotating 24-bit images, colour blending and saturation, and two-colour gradients with a small cache.
//
// Colours are 32-bit: red in bits 0-7, green 8-15, blue 16-23; a negative value names a system colour
// by its low byte and is resolved through the system-colour source.
#include <cstdint>
#include <vector>

#include "PixelBuffer.h"

namespace kes {

// Where system colours come from: the window layer installs GetSysColor; until then they read as black.
using SysColourSource = std::int32_t (*)(int index);
void SetSysColourSource(SysColourSource source);
// RGB value of a colour, system colours resolved.
std::int32_t ColourToRGB(std::int32_t colour);

// Every pixel of exactly red 255, green 0, blue 255 becomes colour (taken as a plain RGB value).
void ReplaceMagenta(PixelBuffer& bitmap, std::int32_t colour);
// Pixel x of every row becomes pixel width - 1 - x.
void MirrorBitmap(PixelBuffer& bitmap);
// Row y becomes row height - 1 - y.
void FlipBitmapVertical(PixelBuffer& bitmap);
// Turned by 90 degrees counter-clockwise / clockwise; width and height exchange. The bitmap becomes an
// image of its own in the same row order (a wrapped bitmap no longer points at the caller's memory).
void RotateBitmapLeft(PixelBuffer& bitmap);
void RotateBitmapRight(PixelBuffer& bitmap);

// Mix of two colours; weight belongs to colour1: below 100 a percentage, 100 and more tenths of a
// percent. Weights below 0 count as 0, above 1000 as 1000.
std::int32_t BlendColours(std::int32_t colour1, std::int32_t colour2, int weight);
// 200 for a colour whose channels are all below 160; else (max - min) / max scaled to 0..255.
int ColourSaturation(std::int32_t colour);

// Slot (0..15) of the cached table of count colours running from colour1 to colour2; -1 for count <= 0.
int GetGradient(int count, std::int32_t colour1, std::int32_t colour2);
const std::vector<std::int32_t>& GradientTable(int slot);
// Empties every slot and starts filling at slot 0 again.
void ClearGradientCache();

// A surface that can be filled with solid colours: a device context, or a pixel buffer.
class FillTarget {
public:
    virtual ~FillTarget() = default;
    // The bounding box of the visible area; false when nothing is visible.
    virtual bool ClipBox(PixelRect& box) const = 0;
    virtual void FillSolid(const PixelRect& rect, std::int32_t rgb) = 0;
};

// A pixel buffer as a fill target, optionally clipped to a rectangle.
class PixelFillTarget : public FillTarget {
public:
    explicit PixelFillTarget(PixelBuffer& bitmap) : bitmap_(bitmap), clip_{0, 0, bitmap.Width(), bitmap.Height()} {}
    PixelFillTarget(PixelBuffer& bitmap, const PixelRect& clip)
        : bitmap_(bitmap), clip_(clip.Intersect({0, 0, bitmap.Width(), bitmap.Height()})) {}
    bool ClipBox(PixelRect& box) const override;
    void FillSolid(const PixelRect& rect, std::int32_t rgb) override;

private:
    PixelBuffer& bitmap_;
    PixelRect clip_;
};

// Fills rect with a gradient from colour1 to colour2, top to bottom (vertical) or left to right, one
// 1-pixel band per step; only the bands inside the clip box are drawn, each in its full-gradient colour.
void GradientFill(FillTarget& target, const PixelRect& rect, std::int32_t colour1, std::int32_t colour2, bool vertical);

}  // namespace kes

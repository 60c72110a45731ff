#pragma once
// The skin drawing routines in software, on 24-bit pixel buffers: the same plans as the GDI routines
// (win/SkinDraw.h), with nearest-pixel stretching (the COLORONCOLOR mode). Everything is clipped to the
// target buffer; rectangles are in the target's pixels.
#include <cstdint>

#include "skin/container/PixelBuffer.h"
#include "SkinGeometry.h"

namespace kes {

// Source rectangle of `source` stretched onto dest of `target`, each target pixel taking the source pixel
// under its centre.
void StretchCopy(PixelBuffer& target, const PixelRect& dest, const PixelBuffer& source, const PixelRect& src);
// Carries out a plan, its destinations moved by (dx, dy).
void RunPlan(PixelBuffer& target, int dx, int dy, const SkinPlan& plan, const PixelBuffer& source);
// The top-left width x height pixels of image at (x, y), leaving out the pixels of colour key.
void TransparentCopy(PixelBuffer& target, int x, int y, const PixelBuffer& image, int width, int height,
                     std::int32_t key);

// The primitives; see win/SkinDraw.h for what each one draws.
PixelBuffer StretchSkinImage(const PixelRect& rect, const PixelBuffer& image, SkinMargins margins, int frame,
                             int frames, bool tile, bool vertical);
void DrawSkinImage(PixelBuffer& target, const PixelRect& rect, const PixelBuffer& image, SkinMargins margins, int frame,
                   int frames, bool transparent, bool tile, bool vertical);
void DrawSkinImage3(PixelBuffer& target, const PixelRect& rect, const PixelBuffer& image, SkinMargins margins,
                    int frame, int frames, bool transparent, bool vertical);
void DrawSkinFrame(PixelBuffer& target, const PixelRect& rect, const PixelBuffer& image, int frame, int frames,
                   bool transparent);
void DrawSkinFrameCentered(PixelBuffer& target, const PixelRect& rect, const PixelBuffer& image, int frame, int frames,
                           bool transparent);
void StretchSkinFrame(PixelBuffer& target, const PixelRect& rect, const PixelBuffer& image, SkinMargins margins,
                      int frame, int frames, bool vertical);
void DrawTransparent(PixelBuffer& target, const PixelRect& rect, const PixelBuffer& image, std::int32_t key);
void TileBitmap(PixelBuffer& target, const PixelRect& dest, const PixelBuffer& image, const PixelRect& src);

}  // namespace kes

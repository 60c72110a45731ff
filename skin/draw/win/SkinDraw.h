#pragma once
// GDI drawing routines that paint skinned elements from the frames of a skin image strip. They keep no
// state between calls and free their work bitmaps before returning; only StretchSkinImage's bitmap and
// BitmapToRegion's region belong to the caller. They never let an exception out (they draw nothing
// instead), so they are safe inside window procedures. Stretching uses the COLORONCOLOR mode.
//
// An image strip holds `frames` equal frames numbered from 1, side by side (or stacked when `vertical`);
// a frame count below 1 reads as 1 and frame numbers are kept within the strip. With `transparent` set
// the magenta pixels (0xFF00FF) are left out. A rectangle with right < left or bottom < top draws nothing, and
// so does an image without pixels.
// The software renderer in SkinRaster.h draws the same pictures on pixel buffers.
#include <memory>

#include "gui/win/Canvas.h"
#include "skin/draw/SkinGeometry.h"

namespace kes {

// 9-slice of one frame into a new bitmap of the rectangle's size: corners 1:1, edges stretched along
// their length, the centre stretched (or tiled). Margins that do not fit are dropped in pairs. Null only
// when no memory was left.
std::unique_ptr<TBitmap> StretchSkinImage(const TRect& rect, TBitmap& image, SkinMargins margins, int frame, int frames,
                                          bool tile, bool vertical) noexcept;
// StretchSkinImage drawn at the rectangle.
void DrawSkinImage(HDC dc, const TRect& rect, TBitmap& image, SkinMargins margins, int frame, int frames,
                   bool transparent, bool tile, bool vertical) noexcept;
// 3-slice along the width (left part, middle repeated, right part; heights stretched). Top and bottom
// margins are not used; a frame no wider than its left and right parts gets no middle.
void DrawSkinImage3(TCanvas& canvas, const TRect& rect, TBitmap& image, SkinMargins margins, int frame, int frames,
                    bool transparent, bool vertical) noexcept;
// One frame of a horizontal strip stretched over the rectangle.
void DrawSkinFrame(HDC dc, const TRect& rect, TBitmap& image, int frame, int frames, bool transparent) noexcept;
// One frame of a horizontal strip at its own size, centred in the rectangle (sticking out when larger).
void DrawSkinFrameCentered(HDC dc, const TRect& rect, TBitmap& image, int frame, int frames, bool transparent) noexcept;
// 3-slice straight onto the DC (the progress chunk): narrower than the frame, the whole frame is
// stretched; otherwise the left and right parts keep their widths. `tile` has no effect.
void StretchSkinFrame(HDC dc, const TRect& rect, TBitmap& image, SkinMargins margins, int frame, int frames, bool tile,
                      bool vertical) noexcept;
// The image's top-left pixels (the rectangle's size, cut to the image) at the rectangle, leaving out the
// pixels of colour key. The NT family uses a mask blit, older systems XOR and AND blits (SkinIsNT()).
void DrawTransparent(HDC dc, const TRect& rect, TBitmap& image, TColor key) noexcept;
// The src part of image repeated from dest's corner, column by column, while inside dest (the last tiles
// are not cut at dest's right and bottom edges). Nothing when a side of src is 0 or negative.
void TileBitmap(TCanvas& canvas, const TRect& dest, TBitmap& image, const TRect& src) noexcept;
// Has the parent paint its background and contents under the control, into dc (the control's client
// coordinates, clipped to its client area): WM_ERASEBKGND, then WM_PAINT, each with dc as wParam. Nothing
// without a parent. `unused` has no effect.
void DrawParentBackground(TControl& control, HDC dc, bool unused = false);
// A window region of the image's pixels that the key leaves out, moved by (dx, dy): one rectangle per run
// of kept pixels in each row, joined 2000 at a time. The caller owns the region; null when no pixel is kept
// (or the image is empty).
HRGN BitmapToRegion(TBitmap& image, int dx, int dy, TColor key, int redTolerance, int greenTolerance,
                    int blueTolerance) noexcept;

// The same routines with the image as a 24-bit pixel buffer (a skin object's image); each call copies the
// image into a bitmap of its own for the time of the call.
std::unique_ptr<TBitmap> StretchSkinImage(const TRect& rect, const PixelBuffer& image, SkinMargins margins, int frame,
                                          int frames, bool tile, bool vertical) noexcept;
void DrawSkinImage(HDC dc, const TRect& rect, const PixelBuffer& image, SkinMargins margins, int frame, int frames,
                   bool transparent, bool tile, bool vertical) noexcept;
void DrawSkinImage3(TCanvas& canvas, const TRect& rect, const PixelBuffer& image, SkinMargins margins, int frame,
                    int frames, bool transparent, bool vertical) noexcept;
void DrawSkinFrame(HDC dc, const TRect& rect, const PixelBuffer& image, int frame, int frames,
                   bool transparent) noexcept;
void DrawSkinFrameCentered(HDC dc, const TRect& rect, const PixelBuffer& image, int frame, int frames,
                           bool transparent) noexcept;
void StretchSkinFrame(HDC dc, const TRect& rect, const PixelBuffer& image, SkinMargins margins, int frame, int frames,
                      bool tile, bool vertical) noexcept;
void DrawTransparent(HDC dc, const TRect& rect, const PixelBuffer& image, TColor key) noexcept;
void TileBitmap(TCanvas& canvas, const TRect& dest, const PixelBuffer& image, const TRect& src) noexcept;
HRGN BitmapToRegion(const PixelBuffer& image, int dx, int dy, TColor key, int redTolerance, int greenTolerance,
                    int blueTolerance) noexcept;
// A bitmap holding a copy of the pixels (null when the system could not make one).
std::unique_ptr<TBitmap> BitmapFromPixels(const PixelBuffer& image);

// The work bitmap shared by the frame, menu bar and status bar painting (stretch mode COLORONCOLOR);
// GUI thread only.
TBitmap& SkinWorkBitmap();

// Which transparent copy DrawTransparent makes; set from the platform at start-up (see SkinText.h).
bool SkinIsNT();
void SetSkinIsNT(bool nt);

}  // namespace kes

#pragma once
// Where the pieces of a skin image go: frames of an image strip, the 9-slice and 3-slice splits of one
// frame, tile positions, centring and the opaque runs of a window region. A plan is a list of copies that
// the software renderer (SkinRaster.h) and the GDI routines (win/SkinDraw.h) carry out the same way.
#include <cstdint>
#include <vector>

#include "skin/container/PixelBuffer.h"

namespace kes {

// Border widths of a skin image in image pixels (LeftWidth, TopHeight, RightWidth, BottomHeight).
struct SkinMargins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const SkinMargins&) const = default;
};

// The colour that skin images leave out when drawn transparently (magenta).
constexpr std::int32_t kSkinTransparent = 0xFF00FF;

// Frame `frame` (from 1) of an image of `frames` equal frames side by side (or stacked when vertical).
// A frame count below 1 reads as 1 and the frame number is kept within 1..frames.
PixelRect StripFrame(int imageWidth, int imageHeight, int frame, int frames, bool vertical);

// One copy of a plan: Source stretched onto Dest, or, for Tile, Source repeated from Dest's corner while
// inside Dest (the last tiles may reach past Dest's right and bottom edges).
struct SkinBlit {
    PixelRect Dest;
    PixelRect Source;
    bool Tile = false;
    bool operator==(const SkinBlit&) const = default;
};
using SkinPlan = std::vector<SkinBlit>;

// 9-slice of a frame onto a width x height picture, in painting order: corners 1:1, edges stretched along
// their length, the centre stretched or tiled. Margins that the frame cannot hold, or that the picture
// cannot hold, are dropped in pairs (left with right, top with bottom). Copies with nothing to copy are
// left out.
SkinPlan NineSlicePlan(int width, int height, const PixelRect& frame, SkinMargins margins, bool tile);

// 3-slice along the width onto a width x height picture: the left part, the middle repeated from x = left
// while before the right part (the last one may reach under it), then the right part. Heights are
// stretched. A middle of width 0 or less is left out.
SkinPlan ThreeSlicePlan(int width, int height, const PixelRect& frame, SkinMargins margins);

// 3-slice straight onto dest (the progress chunk): a dest narrower than the frame gets the whole frame
// stretched; otherwise the left and right parts keep their widths and the middle is stretched.
SkinPlan StretchFramePlan(const PixelRect& dest, const PixelRect& frame, SkinMargins margins);

struct SkinPoint {
    int X = 0, Y = 0;
    bool operator==(const SkinPoint&) const = default;
};

// Calls place(x, y) for the corner of every tile of a tileWidth x tileHeight picture over dest, column by
// column, top to bottom; nothing when a side is 0 or negative.
template <typename Place>
void ForEachTile(const PixelRect& dest, int tileWidth, int tileHeight, Place&& place) {
    if (tileWidth <= 0 || tileHeight <= 0) return;
    for (long long x = dest.Left; x < dest.Right; x += tileWidth)
        for (long long y = dest.Top; y < dest.Bottom; y += tileHeight) place(static_cast<int>(x), static_cast<int>(y));
}

// Top-left corner of a width x height picture centred in dest (halves truncated toward zero, so a larger
// picture sticks out on every side).
SkinPoint CentredOrigin(const PixelRect& dest, int width, int height);

// The key of a region cut: a pixel is left out when its red lies in key.red .. key.red + redTolerance
// (at most 255), and the same for green and blue.
struct RegionKey {
    std::int32_t Colour = kSkinTransparent;
    int RedTolerance = 0, GreenTolerance = 0, BlueTolerance = 0;
    bool LeavesOut(std::int32_t rgb) const;
};

// Rectangles of the kept pixels, one per run of a row, top row first, moved by (dx, dy).
std::vector<PixelRect> RegionRuns(const PixelBuffer& image, int dx, int dy, const RegionKey& key);

// A region is made from at most this many rectangles at a time.
constexpr int kRegionBatch = 2000;

}  // namespace kes

#include "SkinRaster.h"

#include <algorithm>
#include <cstring>

#include "skin/container/ImgUtil.h"

namespace kes {

void StretchCopy(PixelBuffer& target, const PixelRect& dest, const PixelBuffer& source, const PixelRect& src) {
    const long long dw = dest.Width(), dh = dest.Height(), sw = src.Width(), sh = src.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    const PixelRect clip = dest.Intersect({0, 0, target.Width(), target.Height()});
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        const long long sy = src.Top + ((2 * (y - dest.Top) + 1) * sh) / (2 * dh);
        if (sy < 0 || sy >= source.Height()) continue;
        const std::uint8_t* in = source.Row(static_cast<int>(sy));
        std::uint8_t* out = target.Row(y);
        for (int x = clip.Left; x < clip.Right; ++x) {
            const long long sx = src.Left + ((2 * (x - dest.Left) + 1) * sw) / (2 * dw);
            if (sx < 0 || sx >= source.Width()) continue;
            std::memcpy(out + 3 * x, in + 3 * sx, 3);
        }
    }
}

namespace {

// A 1:1 copy of src with its top-left corner at (x, y).
void Blit(PixelBuffer& target, int x, int y, const PixelBuffer& source, const PixelRect& src) {
    StretchCopy(target, {x, y, x + src.Width(), y + src.Height()}, source, src);
}

void Tile(PixelBuffer& target, const PixelRect& dest, const PixelBuffer& source, const PixelRect& src) {
    ForEachTile(dest, src.Width(), src.Height(), [&](int x, int y) { Blit(target, x, y, source, src); });
}

bool Inverted(const PixelRect& r) { return r.Right < r.Left || r.Bottom < r.Top; }
// Nothing to draw: an inverted rectangle or an image without pixels.
bool Nothing(const PixelRect& r, const PixelBuffer& image) {
    return Inverted(r) || image.Width() == 0 || image.Height() == 0;
}

// The finished picture onto the target, with or without its magenta pixels.
void Place(PixelBuffer& target, int x, int y, const PixelBuffer& picture, bool transparent) {
    if (transparent)
        TransparentCopy(target, x, y, picture, picture.Width(), picture.Height(), kSkinTransparent);
    else
        Blit(target, x, y, picture, {0, 0, picture.Width(), picture.Height()});
}

}  // namespace

void RunPlan(PixelBuffer& target, int dx, int dy, const SkinPlan& plan, const PixelBuffer& source) {
    for (const SkinBlit& b : plan) {
        const PixelRect dest{b.Dest.Left + dx, b.Dest.Top + dy, b.Dest.Right + dx, b.Dest.Bottom + dy};
        if (b.Tile)
            Tile(target, dest, source, b.Source);
        else
            StretchCopy(target, dest, source, b.Source);
    }
}

void TransparentCopy(PixelBuffer& target, int x, int y, const PixelBuffer& image, int width, int height,
                     std::int32_t key) {
    width = std::min(width, image.Width());
    height = std::min(height, image.Height());
    const PixelRect clip = PixelRect{x, y, x + width, y + height}.Intersect({0, 0, target.Width(), target.Height()});
    const std::uint8_t kb = (key >> 16) & 0xFF, kg = (key >> 8) & 0xFF, kr = key & 0xFF;
    for (int ty = clip.Top; ty < clip.Bottom; ++ty) {
        const std::uint8_t* in = image.Row(ty - y);
        std::uint8_t* out = target.Row(ty);
        for (int tx = clip.Left; tx < clip.Right; ++tx) {
            const std::uint8_t* p = in + 3 * (tx - x);
            if (p[0] == kb && p[1] == kg && p[2] == kr) continue;
            std::memcpy(out + 3 * tx, p, 3);
        }
    }
}

PixelBuffer StretchSkinImage(const PixelRect& rect, const PixelBuffer& image, SkinMargins margins, int frame,
                             int frames, bool tile, bool vertical) {
    const int W = std::max(rect.Width(), 0), H = std::max(rect.Height(), 0);
    PixelBuffer result(W, H, false);
    const PixelRect f = StripFrame(image.Width(), image.Height(), frame, frames, vertical);
    RunPlan(result, 0, 0, NineSlicePlan(W, H, f, margins, tile), image);
    return result;
}

void DrawSkinImage(PixelBuffer& target, const PixelRect& rect, const PixelBuffer& image, SkinMargins margins, int frame,
                   int frames, bool transparent, bool tile, bool vertical) {
    if (Nothing(rect, image)) return;
    const PixelBuffer picture = StretchSkinImage(rect, image, margins, frame, frames, tile, vertical);
    Place(target, rect.Left, rect.Top, picture, transparent);
}

void DrawSkinImage3(PixelBuffer& target, const PixelRect& rect, const PixelBuffer& image, SkinMargins margins,
                    int frame, int frames, bool transparent, bool vertical) {
    if (Nothing(rect, image)) return;
    PixelBuffer work(rect.Width(), rect.Height(), false);
    const PixelRect f = StripFrame(image.Width(), image.Height(), frame, frames, vertical);
    RunPlan(work, 0, 0, ThreeSlicePlan(rect.Width(), rect.Height(), f, margins), image);
    Place(target, rect.Left, rect.Top, work, transparent);
}

void DrawSkinFrame(PixelBuffer& target, const PixelRect& rect, const PixelBuffer& image, int frame, int frames,
                   bool transparent) {
    if (Nothing(rect, image)) return;
    PixelBuffer work(rect.Width(), rect.Height(), false);
    StretchCopy(work, {0, 0, rect.Width(), rect.Height()}, image,
                StripFrame(image.Width(), image.Height(), frame, frames, false));
    Place(target, rect.Left, rect.Top, work, transparent);
}

void DrawSkinFrameCentered(PixelBuffer& target, const PixelRect& rect, const PixelBuffer& image, int frame, int frames,
                           bool transparent) {
    if (Nothing(rect, image)) return;
    const PixelRect f = StripFrame(image.Width(), image.Height(), frame, frames, false);
    PixelBuffer work(f.Width(), f.Height(), false);
    Blit(work, 0, 0, image, f);
    const SkinPoint at = CentredOrigin(rect, f.Width(), f.Height());
    Place(target, at.X, at.Y, work, transparent);
}

void StretchSkinFrame(PixelBuffer& target, const PixelRect& rect, const PixelBuffer& image, SkinMargins margins,
                      int frame, int frames, bool vertical) {
    const PixelRect f = StripFrame(image.Width(), image.Height(), frame, frames, vertical);
    RunPlan(target, 0, 0, StretchFramePlan(rect, f, margins), image);
}

void DrawTransparent(PixelBuffer& target, const PixelRect& rect, const PixelBuffer& image, std::int32_t key) {
    if (Inverted(rect)) return;
    TransparentCopy(target, rect.Left, rect.Top, image, rect.Width(), rect.Height(), ColourToRGB(key));
}

void TileBitmap(PixelBuffer& target, const PixelRect& dest, const PixelBuffer& image, const PixelRect& src) {
    Tile(target, dest, image, src);
}

}  // namespace kes

#include "skin/draw/win/SkinDraw.h"
#include "skin/draw/win/SkinGdi.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/win/Unique.h"

namespace kes {

namespace {

PixelRect ToPixel(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
bool Inverted(const TRect& r) { return r.Right < r.Left || r.Bottom < r.Top; }
PixelRect FrameOf(TBitmap& image, int frame, int frames, bool vertical) {
    return StripFrame(image.Width(), image.Height(), frame, frames, vertical);
}

// A memory DC, deleted at scope end.
class ScratchDc {
public:
    explicit ScratchDc(HDC ref) : dc_(CreateCompatibleDC(ref)) {
        if (dc_) SkinGdiMade(SkinGdiKind::Dc);
    }
    ~ScratchDc() {
        if (dc_) {
            dc_.Reset();
            SkinGdiFreed(SkinGdiKind::Dc);
        }
    }
    ScratchDc(const ScratchDc&) = delete;
    ScratchDc& operator=(const ScratchDc&) = delete;
    HDC Get() const { return dc_.Get(); }

private:
    UniqueDc dc_;
};

// Stretching without merging the dropped pixels, for the time of one routine.
class StretchModeGuard {
public:
    explicit StretchModeGuard(HDC dc) : dc_(dc), old_(SetStretchBltMode(dc, COLORONCOLOR)) {}
    ~StretchModeGuard() {
        if (old_) SetStretchBltMode(dc_, old_);
    }
    StretchModeGuard(const StretchModeGuard&) = delete;
    StretchModeGuard& operator=(const StretchModeGuard&) = delete;

private:
    HDC dc_;
    int old_;
};

void Tile(HDC to, const PixelRect& dest, HDC from, const PixelRect& src) {
    ForEachTile(dest, src.Width(), src.Height(),
                [&](int x, int y) { BitBlt(to, x, y, src.Width(), src.Height(), from, src.Left, src.Top, SRCCOPY); });
}

void RunPlan(HDC to, int dx, int dy, const SkinPlan& plan, HDC from) {
    if (!to || !from) return;
    StretchModeGuard mode(to);
    for (const SkinBlit& b : plan) {
        const PixelRect d{b.Dest.Left + dx, b.Dest.Top + dy, b.Dest.Right + dx, b.Dest.Bottom + dy};
        const PixelRect& s = b.Source;
        if (b.Tile)
            Tile(to, d, from, s);
        else
            StretchBlt(to, d.Left, d.Top, d.Width(), d.Height(), from, s.Left, s.Top, s.Width(), s.Height(), SRCCOPY);
    }
}

// A finished work picture onto the DC at (x, y), with or without its magenta pixels.
void Place(HDC dc, int x, int y, TBitmap& picture, bool transparent) {
    if (picture.Empty()) return;
    if (transparent)
        DrawTransparent(dc, Bounds(x, y, picture.Width(), picture.Height()), picture, kSkinTransparent);
    else
        BitBlt(dc, x, y, picture.Width(), picture.Height(), picture.Canvas().Handle(), 0, 0, SRCCOPY);
}

bool g_isNT = (GetVersion() & 0x80000000u) == 0;

}  // namespace

bool SkinIsNT() { return g_isNT; }
void SetSkinIsNT(bool nt) { g_isNT = nt; }

std::unique_ptr<TBitmap> StretchSkinImage(const TRect& rect, TBitmap& image, SkinMargins margins, int frame, int frames,
                                          bool tile, bool vertical) noexcept {
    try {
        const int W = std::max(rect.Width(), 0), H = std::max(rect.Height(), 0);
        auto result = std::make_unique<SkinBitmap>(W, H);
        RunPlan(result->Canvas().Handle(), 0, 0,
                NineSlicePlan(W, H, FrameOf(image, frame, frames, vertical), margins, tile), image.Canvas().Handle());
        return result;
    } catch (...) {
        return nullptr;
    }
}

void DrawSkinImage(HDC dc, const TRect& rect, TBitmap& image, SkinMargins margins, int frame, int frames,
                   bool transparent, bool tile, bool vertical) noexcept {
    if (Inverted(rect) || image.Empty()) return;
    if (auto picture = StretchSkinImage(rect, image, margins, frame, frames, tile, vertical))
        Place(dc, rect.Left, rect.Top, *picture, transparent);
}

void DrawSkinImage3(TCanvas& canvas, const TRect& rect, TBitmap& image, SkinMargins margins, int frame, int frames,
                    bool transparent, bool vertical) noexcept {
    if (Inverted(rect) || image.Empty()) return;
    try {
        SkinBitmap work(rect.Width(), rect.Height());
        RunPlan(work.Canvas().Handle(), 0, 0,
                ThreeSlicePlan(rect.Width(), rect.Height(), FrameOf(image, frame, frames, vertical), margins),
                image.Canvas().Handle());
        Place(canvas.Handle(), rect.Left, rect.Top, work, transparent);
    } catch (...) {
    }
}

void DrawSkinFrame(HDC dc, const TRect& rect, TBitmap& image, int frame, int frames, bool transparent) noexcept {
    if (Inverted(rect) || image.Empty()) return;
    try {
        SkinBitmap work(rect.Width(), rect.Height());
        SkinPlan plan;
        if (!work.Empty()) plan.push_back({{0, 0, rect.Width(), rect.Height()}, FrameOf(image, frame, frames, false)});
        RunPlan(work.Canvas().Handle(), 0, 0, plan, image.Canvas().Handle());
        Place(dc, rect.Left, rect.Top, work, transparent);
    } catch (...) {
    }
}

void DrawSkinFrameCentered(HDC dc, const TRect& rect, TBitmap& image, int frame, int frames,
                           bool transparent) noexcept {
    if (Inverted(rect) || image.Empty()) return;
    try {
        const PixelRect f = FrameOf(image, frame, frames, false);
        SkinBitmap work(f.Width(), f.Height());
        if (work.Empty()) return;
        BitBlt(work.Canvas().Handle(), 0, 0, f.Width(), f.Height(), image.Canvas().Handle(), f.Left, f.Top, SRCCOPY);
        const SkinPoint at = CentredOrigin(ToPixel(rect), f.Width(), f.Height());
        Place(dc, at.X, at.Y, work, transparent);
    } catch (...) {
    }
}

void StretchSkinFrame(HDC dc, const TRect& rect, TBitmap& image, SkinMargins margins, int frame, int frames,
                      bool /*tile*/, bool vertical) noexcept {
    try {
        RunPlan(dc, 0, 0, StretchFramePlan(ToPixel(rect), FrameOf(image, frame, frames, vertical), margins),
                image.Canvas().Handle());
    } catch (...) {
    }
}

void DrawTransparent(HDC dc, const TRect& rect, TBitmap& image, TColor key) noexcept {
    if (Inverted(rect) || image.Empty()) return;
    const int w = std::min(rect.Width(), image.Width()), h = std::min(rect.Height(), image.Height());
    if (w <= 0 || h <= 0) return;
    HDC src = image.Canvas().Handle();
    // Mask: white where the image has the key colour, black elsewhere.
    UniqueGdi<HBITMAP> mask(CreateBitmap(w, h, 1, 1, nullptr));
    ScratchDc maskDc(dc);
    if (!mask || !maskDc.Get()) return;
    SelectGuard selected(maskDc.Get(), mask.Get());
    const COLORREF oldKey = SetBkColor(src, ColorToRGB(key));
    BitBlt(maskDc.Get(), 0, 0, w, h, src, 0, 0, SRCCOPY);
    SetBkColor(src, oldKey);
    const int x = rect.Left, y = rect.Top;
    if (SkinIsNT()) {
        // Mask white keeps the destination (ROP 0xAA0029), black copies the image.
        MaskBlt(dc, x, y, w, h, src, 0, 0, mask.Get(), 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
        return;
    }
    const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, w, h, src, 0, 0, SRCINVERT);
    BitBlt(dc, x, y, w, h, maskDc.Get(), 0, 0, SRCAND);
    BitBlt(dc, x, y, w, h, src, 0, 0, SRCINVERT);
    SetBkColor(dc, oldBk);
    SetTextColor(dc, oldText);
}

void TileBitmap(TCanvas& canvas, const TRect& dest, TBitmap& image, const TRect& src) noexcept {
    if (!canvas.Handle() || image.Empty()) return;
    Tile(canvas.Handle(), ToPixel(dest), image.Canvas().Handle(), ToPixel(src));
}

void DrawParentBackground(TControl& control, HDC dc, bool /*unused*/) {
    TWinControl* parent = control.Parent();
    if (!parent || !dc) return;
    const TRect client = control.ClientRect();
    const int left = control.Left(), top = control.Top();
    struct Restore {
        HDC dc;
        int saved;
        ~Restore() { RestoreDC(dc, saved); }
    } restore{dc, SaveDC(dc)};
    OffsetViewportOrgEx(dc, -left, -top, nullptr);
    IntersectClipRect(dc, client.Left + left, client.Top + top, client.Right + left, client.Bottom + top);
    const auto wp = reinterpret_cast<uintptr_t>(dc);
    if (!control.Designing()) {
        parent->Perform(WM_ERASEBKGND, wp, 0);
        parent->Perform(WM_PAINT, wp, 0);
        return;
    }
    try {
        parent->Perform(WM_ERASEBKGND, wp, 0);
    } catch (...) {
        return;
    }
    try {
        parent->Perform(WM_PAINT, wp, 0);
    } catch (...) {
    }
}

HRGN BitmapToRegion(const PixelBuffer& image, int dx, int dy, TColor key, int redTolerance, int greenTolerance,
                    int blueTolerance) noexcept {
    try {
        const RegionKey rk{static_cast<std::int32_t>(ColorToRGB(key)), redTolerance, greenTolerance, blueTolerance};
        const std::vector<PixelRect> runs = RegionRuns(image, dx, dy, rk);
        UniqueGdi<HRGN> result;
        std::vector<unsigned char> buffer;
        for (std::size_t first = 0; first < runs.size(); first += kRegionBatch) {
            const std::size_t n = std::min<std::size_t>(kRegionBatch, runs.size() - first);
            buffer.assign(sizeof(RGNDATAHEADER) + n * sizeof(RECT), 0);
            auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
            RGNDATAHEADER& h = data->rdh;
            h.dwSize = sizeof(RGNDATAHEADER);
            h.iType = RDH_RECTANGLES;
            h.nCount = static_cast<DWORD>(n);
            h.nRgnSize = static_cast<DWORD>(n * sizeof(RECT));
            auto* rects = reinterpret_cast<RECT*>(data->Buffer);
            for (std::size_t i = 0; i < n; ++i) {
                const PixelRect& r = runs[first + i];
                rects[i] = {r.Left, r.Top, r.Right, r.Bottom};
                if (i == 0) h.rcBound = rects[i];
                h.rcBound.left = std::min<LONG>(h.rcBound.left, r.Left);
                h.rcBound.top = std::min<LONG>(h.rcBound.top, r.Top);
                h.rcBound.right = std::max<LONG>(h.rcBound.right, r.Right);
                h.rcBound.bottom = std::max<LONG>(h.rcBound.bottom, r.Bottom);
            }
            UniqueGdi<HRGN> part(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
            if (!part) continue;
            if (!result)
                result = std::move(part);
            else
                CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
        }
        return result.Release();
    } catch (...) {
        return nullptr;
    }
}

HRGN BitmapToRegion(TBitmap& image, int dx, int dy, TColor key, int redTolerance, int greenTolerance,
                    int blueTolerance) noexcept {
    if (image.Empty()) return nullptr;
    GdiFlush();
    const PixelBuffer pixels = PixelBuffer::Attach(image.ScanLine(0), image.Width(), image.Height(), false);
    return BitmapToRegion(pixels, dx, dy, key, redTolerance, greenTolerance, blueTolerance);
}

// ---- pixel-buffer images ----

std::unique_ptr<TBitmap> BitmapFromPixels(const PixelBuffer& image) {
    auto bmp = std::make_unique<SkinBitmap>(image.Width(), image.Height());
    if (bmp->Width() != image.Width() || bmp->Height() != image.Height()) return nullptr;
    GdiFlush();
    for (int y = 0; y < image.Height(); ++y)
        std::memcpy(bmp->ScanLine(y), image.Row(y), static_cast<std::size_t>(image.Width()) * 3);
    return bmp;
}

namespace {
// Runs draw(bitmap) with a bitmap copy of image; nothing when the copy cannot be made.
template <typename Draw>
void WithBitmap(const PixelBuffer& image, Draw&& draw) noexcept {
    try {
        if (auto bmp = BitmapFromPixels(image)) draw(*bmp);
    } catch (...) {
    }
}
}  // namespace

std::unique_ptr<TBitmap> StretchSkinImage(const TRect& rect, const PixelBuffer& image, SkinMargins margins, int frame,
                                          int frames, bool tile, bool vertical) noexcept {
    std::unique_ptr<TBitmap> result;
    WithBitmap(image, [&](TBitmap& b) { result = StretchSkinImage(rect, b, margins, frame, frames, tile, vertical); });
    return result;
}
void DrawSkinImage(HDC dc, const TRect& rect, const PixelBuffer& image, SkinMargins margins, int frame, int frames,
                   bool transparent, bool tile, bool vertical) noexcept {
    WithBitmap(image,
               [&](TBitmap& b) { DrawSkinImage(dc, rect, b, margins, frame, frames, transparent, tile, vertical); });
}
void DrawSkinImage3(TCanvas& canvas, const TRect& rect, const PixelBuffer& image, SkinMargins margins, int frame,
                    int frames, bool transparent, bool vertical) noexcept {
    WithBitmap(image,
               [&](TBitmap& b) { DrawSkinImage3(canvas, rect, b, margins, frame, frames, transparent, vertical); });
}
void DrawSkinFrame(HDC dc, const TRect& rect, const PixelBuffer& image, int frame, int frames,
                   bool transparent) noexcept {
    WithBitmap(image, [&](TBitmap& b) { DrawSkinFrame(dc, rect, b, frame, frames, transparent); });
}
void DrawSkinFrameCentered(HDC dc, const TRect& rect, const PixelBuffer& image, int frame, int frames,
                           bool transparent) noexcept {
    WithBitmap(image, [&](TBitmap& b) { DrawSkinFrameCentered(dc, rect, b, frame, frames, transparent); });
}
void StretchSkinFrame(HDC dc, const TRect& rect, const PixelBuffer& image, SkinMargins margins, int frame, int frames,
                      bool tile, bool vertical) noexcept {
    WithBitmap(image, [&](TBitmap& b) { StretchSkinFrame(dc, rect, b, margins, frame, frames, tile, vertical); });
}
void DrawTransparent(HDC dc, const TRect& rect, const PixelBuffer& image, TColor key) noexcept {
    WithBitmap(image, [&](TBitmap& b) { DrawTransparent(dc, rect, b, key); });
}
void TileBitmap(TCanvas& canvas, const TRect& dest, const PixelBuffer& image, const TRect& src) noexcept {
    WithBitmap(image, [&](TBitmap& b) { TileBitmap(canvas, dest, b, src); });
}

TBitmap& SkinWorkBitmap() {
    static TBitmap work;
    if (HDC dc = work.Canvas().Handle()) SetStretchBltMode(dc, COLORONCOLOR);
    return work;
}

}  // namespace kes

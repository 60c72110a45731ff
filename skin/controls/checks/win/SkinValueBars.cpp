// The skinned progress and track bars.
#include "skin/controls/checks/win/SkinValueBars.h"

#include <commctrl.h>

#include <cstring>

#include "skin/container/ImgUtil.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/draw/win/SkinDraw.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/controls/checks/win/SkinStripCache.h"

namespace kes {

namespace {

constexpr UINT kOcmNotify = 0x204E;  // WM_NOTIFY reflected to the control by the class library
constexpr UINT kCnNotify = 0xBC4E;   // ... by other control libraries
constexpr TColor kMagenta = static_cast<TColor>(0xFF00FF);

bool Usable(const TDataSkinObject* o) { return o && o->HasImage(); }

// The lying-down work bitmap turned a quarter to the left: a vertical bar fills from the bottom.
void TurnLeft(SkinBitmap& work) {
    GdiFlush();
    PixelBuffer pixels = PixelBuffer::Attach(work.ScanLine(0), work.Width(), work.Height(), false);
    RotateBitmapLeft(pixels);
    work.SetSize(pixels.Width(), pixels.Height());
    GdiFlush();
    for (int y = 0; y < pixels.Height(); ++y)
        std::memcpy(work.ScanLine(y), pixels.Row(y), static_cast<size_t>(pixels.Width()) * 3);
}

}  // namespace

// ---- progress bars ----

bool TSkinProgress::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        if (!skin_ || !Usable(skin_->Progress.get())) return TSkinControl::BeforeMessage(m);
        HandlePaint(m);
        m.Result = 0;
        return false;
    case WM_ERASEBKGND: m.Result = 1; return false;
    default: return TSkinControl::BeforeMessage(m);
    }
}

// Paints into the client area (the system keeps the bar's thin edge), whose size it takes from the window.
void TSkinProgress::DrawControl(HDC dc, const TRect& window) {
    if (!skin_ || !Usable(skin_->Progress.get())) return;
    RECT client{};
    GetClientRect(window_, &client);
    const TRect rect = Rect(window.Left, window.Top, window.Left + client.right, window.Top + client.bottom);
    const bool vertical = (GetWindowLongPtrA(window_, GWL_STYLE) & PBS_VERTICAL) != 0;
    const auto pos = static_cast<int>(SendMessageA(window_, PBM_GETPOS, 0, 0));
    const auto max = static_cast<int>(SendMessageA(window_, PBM_GETRANGE, FALSE, 0));
    const auto min = static_cast<int>(SendMessageA(window_, PBM_GETRANGE, TRUE, 0));
    // Kept for chunks too: the fill counts from the minimum, so a chunk bar at its minimum is empty, not partly full.
    const ProgressPlan plan = PlanProgress(rect.Width(), rect.Height(), vertical, pos, min, max);
    if (plan.Width <= 0 || plan.Height <= 0) return;
    SkinBitmap work(plan.Width, plan.Height);
    HDC w = work.Canvas().Handle();
    if (!w) return;
    // Kept: the background is drawn even without chunk images, as the paint is consumed and would leave stale pixels.
    FillBackground(w, Rect(0, 0, plan.Width, plan.Height));
    if (skin_->Progress->Style == 1)
        DrawChunks(w, plan);
    else
        DrawBar(w, plan);
    if (vertical) TurnLeft(work);
    BitBlt(dc, rect.Left, rect.Top, work.Width(), work.Height(), work.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TSkinProgress::DrawBar(HDC work, const ProgressPlan& plan) {
    const TDataSkinBorder& bar = *skin_->Progress;
    TBitmap* image = CachedSkinBitmap(bar.Image);
    if (!image) return;
    DrawSkinImage(work, Rect(0, 0, plan.Width, plan.Height), *image, MarginsOf(bar), 1, 2, true, bar.Tile != 0, false);
    if (plan.Filled > 0)
        DrawSkinImage(work, Rect(0, 0, plan.Filled, plan.Height), *image, MarginsOf(bar), 2, 2, true, bar.Tile != 0,
                      false);
}

// The trough, then the chunks: tiled copies of the chunk image, or one chunk stretched along the filled part.
void TSkinProgress::DrawChunks(HDC work, const ProgressPlan& plan) {
    const TDataSkinObject* chunk = skin_->ProgressChunk.get();
    TBitmap* trough = CachedSkinBitmap(skin_->Progress->Image);
    if (!Usable(chunk) || !trough) return;
    DrawSkinImage(work, Rect(0, 0, plan.Width, plan.Height), *trough, MarginsOf(*skin_->Progress), 1, 1, true, false,
                  false);
    TBitmap* image = CachedSkinBitmap(chunk->Image);
    if (!image) return;
    const int cw = chunk->FrameWidth(), ch = chunk->Image.Height();
    const ChunkPlan c = PlanChunks(plan, cw, ch, chunk->Tile == 1, chunk->LeftWidth);
    if (c.Strip.Empty()) return;
    SkinBitmap strip(c.Strip.Width(), c.Strip.Height());
    HDC s = strip.Canvas().Handle();
    if (!s) return;
    if (c.Copies > 0) {
        for (int k = 0; k < c.Copies; ++k) BitBlt(s, k * cw, 0, cw, ch, image->Canvas().Handle(), 0, 0, SRCCOPY);
    } else {
        FillRectColour(s, Rect(0, 0, strip.Width(), strip.Height()), kMagenta);
        StretchSkinFrame(s, Rect(0, 0, strip.Width(), strip.Height()), *image, MarginsOf(*chunk), 1,
                         std::max(1, chunk->Frame), false, false);
    }
    DrawTransparent(work, Rect(c.Strip.Left, c.Strip.Top, c.Strip.Right, c.Strip.Bottom), strip, kMagenta);
}

// ---- track bars ----

bool TSkinTrackBar::BeforeMessage(TMessage& m) {
    if (m.Msg != WM_NOTIFY && m.Msg != kOcmNotify && m.Msg != kCnNotify) return TSkinControl::BeforeMessage(m);
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(m.LParam);
    // Only the bar's own drawing: its tool tip's notifications come here too.
    if (!cd || cd->hdr.hwndFrom != window_ || cd->hdr.code != static_cast<UINT>(NM_CUSTOMDRAW))
        return TSkinControl::BeforeMessage(m);
    const TrackDrawAnswer a = TrackCustomDraw(cd->dwDrawStage, cd->dwItemSpec);
    if (a.Draw == TrackPart::Channel) DrawChannel(cd->hdc);
    if (a.Draw == TrackPart::Thumb) DrawThumb(cd->hdc);
    m.Result = a.Result;
    return false;
}

void TSkinTrackBar::DrawChannel(HDC dc) {
    if (!skin_ || !dc) return;
    RECT reported{};
    SendMessageA(window_, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&reported));
    const bool vertical = (GetWindowLongPtrA(window_, GWL_STYLE) & TBS_VERT) != 0;
    const bool upright = vertical && Usable(skin_->TrackVert.get());
    const TDataSkinObject* o = upright ? skin_->TrackVert.get() : skin_->Track.get();
    TBitmap* image = Usable(o) ? CachedSkinBitmap(o->Image) : nullptr;
    if (!image) return;
    const int iw = o->FrameWidth(), ih = o->Image.Height();
    const auto pieces =
        TrackChannelPieces({reported.left, reported.top, reported.right, reported.bottom}, upright, iw, ih,
                           upright ? o->TopHeight : o->LeftWidth, upright ? o->BottomHeight : o->RightWidth);
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    for (const StretchPiece& p : pieces) {
        if (p.Src.Empty() || p.Dst.Empty()) continue;
        StretchBlt(dc, p.Dst.Left, p.Dst.Top, p.Dst.Width(), p.Dst.Height(), image->Canvas().Handle(), p.Src.Left,
                   p.Src.Top, p.Src.Width(), p.Src.Height(), SRCCOPY);
    }
    SetStretchBltMode(dc, oldMode);
}

void TSkinTrackBar::DrawThumb(HDC dc) {
    if (!skin_ || !dc || !IsWindow(window_)) return;
    RECT r{};
    SendMessageA(window_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    const bool vertical = (GetWindowLongPtrA(window_, GWL_STYLE) & TBS_VERT) != 0;
    const TDataSkinObject* o = vertical && Usable(skin_->TrackbarThumbVert.get()) ? skin_->TrackbarThumbVert.get()
                                                                                  : skin_->TrackbarThumbHorz.get();
    if (TBitmap* image = Usable(o) ? CachedSkinBitmap(o->Image) : nullptr) {
        DrawSkinFrame(dc, ToTRect(r), *image, 2, 5, true);
        return;
    }
    UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRGB(ColourOf(SkinColour::ButtonShadow))));
    const HGDIOBJ oldPen = SelectObject(dc, pen.Get());
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

// A new skin shows at once: the whole bar is drawn again (the keyboard focus stays where it is).
void TSkinTrackBar::SkinChanged() {
    if (window_) RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// ---- registration ----

static TSkinControl* MakeProgress(TComponent* owner, const ControlDecision&) { return new TSkinProgress(owner); }
static TSkinControl* MakeTrackBar(TComponent* owner, const ControlDecision&) { return new TSkinTrackBar(owner); }

static const bool registered = [] {
    RegisterSkinController(SkinKind::Progress, MakeProgress);
    RegisterSkinController(SkinKind::TrackBar, MakeTrackBar);
    return true;
}();

}  // namespace kes

// Keeps this file's registration in every program that links the frame library.
extern "C" {
int kes_skin_valuebars_anchor = 0;
}

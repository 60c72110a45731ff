// The skinned window frame's painting and window region; see WinSkinForm.h.
#include <algorithm>

#include "skin/data/win/SkinDataWin.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/draw/win/SkinText.h"
#include "skin/frame/win/WinSkinFormImpl.h"

namespace kes {

TBitmap* TWinSkinForm::Impl::Strip(const PixelBuffer& image) {
    if (image.Width() <= 0 || image.Height() <= 0) return nullptr;
    std::unique_ptr<TBitmap>& bitmap = strips[&image];
    if (!bitmap) bitmap = BitmapFromPixels(image);
    return bitmap.get();
}

// The window's small (else big) icon drawn on magenta; all magenta without one. The copy made for drawing
// is destroyed at once.
void TWinSkinForm::Impl::BuildIcon() {
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    strips.erase(&icon);
    icon = PixelBuffer(w, h);
    icon.FillRect({0, 0, w, h}, kSkinTransparent);
    auto src = reinterpret_cast<HICON>(SendMessageA(Wnd(), WM_GETICON, ICON_SMALL, 0));
    if (!src) src = reinterpret_cast<HICON>(SendMessageA(Wnd(), WM_GETICON, ICON_BIG, 0));
    if (!src) return;
    UniqueIcon copy(static_cast<HICON>(CopyImage(src, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE)));
    if (!copy) return;
    SkinGdiMade(SkinGdiKind::Icon);
    SkinBitmap bmp(w, h);
    bmp.Canvas().Brush().Color = kSkinTransparent;
    bmp.Canvas().FillRect({0, 0, w, h});
    if (DrawIconEx(bmp.Canvas().Handle(), 0, 0, copy.Get(), w, h, 0, nullptr, DI_NORMAL)) {
        GdiFlush();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) icon.SetPixel(x, y, bmp.Canvas().Pixel(x, y));
    }
    copy.Reset();
    SkinGdiFreed(SkinGdiKind::Icon);
}

// ---- painting ----

void TWinSkinForm::Impl::PaintBorderPart(HDC dc, int part, const TRect& r) {
    if (r.IsEmpty()) return;
    const TDataSkinBorder& o = Part(Skin(), part);
    if (!o.HasImage()) return;
    const int frame = (active || o.Frame <= 1) ? 1 : 2;
    TBitmap* strip = Strip(o.Image);
    if (!strip) return;
    auto bmp = StretchSkinImage(Bounds(0, 0, r.Width(), r.Height()), *strip, MarginsOf(o), frame, o.Frame, o.Tile != 1,
                                part >= 3);
    if (bmp) BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), bmp->Canvas().Handle(), 0, 0, SRCCOPY);
}

namespace {
// The application window's small (else big) icon, which the caption's icon button shows; null without one.
HICON ApplicationIcon() {
    HWND app = Application ? Application->Handle() : nullptr;
    if (!app) return nullptr;
    auto icon = reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_SMALL, 0));
    return icon ? icon : reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_BIG, 0));
}
}  // namespace

void TWinSkinForm::Impl::PaintButton(HDC dc, const CaptionButton& b) {
    if (!b.Visible || b.Rect.IsEmpty()) return;
    if (b.IsIcon()) {
        // The application window's icon, else the skin's picture, else the window's own icon.
        if (HICON appIcon = ApplicationIcon())
            if (DrawIconEx(dc, b.Rect.Left, b.Rect.Top, appIcon, GetSystemMetrics(SM_CXSMICON),
                           GetSystemMetrics(SM_CYSMICON), 0, nullptr, DI_NORMAL))
                return;
        const PixelBuffer& img = b.Rec->HasImage() ? b.Rec->Image : icon;
        if (TBitmap* strip = Strip(img))
            DrawTransparent(dc, Bounds(b.Rect.Left, b.Rect.Top, img.Width(), img.Height()), *strip, kSkinTransparent);
        return;
    }
    const int frames = std::max(1, b.Rec->Frame);
    int frame = b.State;
    if (!b.Enabled || !active) frame = frames > 3 ? 4 : 1;
    if (b.Rec->Visibility == 100 && frame == 3) frame = 4;
    if (TBitmap* strip = Strip(b.Rec->Image)) DrawSkinFrame(dc, b.Rect, *strip, std::min(frame, frames), frames, true);
}

// The caption text as drawn: the window's text between the pads.
std::wstring TWinSkinForm::Impl::CaptionText() const {
    std::wstring text = L" ";
    if (unicode) {
        wchar_t t[1000];
        GetWindowTextW(Wnd(), t, 1000);
        text += t;
    } else {
        char t[1000] = {};
        SendMessageA(Wnd(), WM_GETTEXT, sizeof t, reinterpret_cast<LPARAM>(t));
        std::wstring w;
        StrToWideStr(t, w);
        text += w;
    }
    return text + L"  ";
}

// The caption's text and buttons over the composed caption strip (canvas: the frame image).
void TWinSkinForm::Impl::PaintCaption(TCanvas& canvas, int width, const std::wstring& text) {
    TSkinData& s = Skin();
    const int ch = m.Caption;
    if (ch <= 0 || width <= 0) return;
    HDC b = canvas.Handle();
    widestRight = 0;
    for (const CaptionButton& cb : buttons)
        if (cb.Visible && cb.Rec->Align == 1 && cb.Rec->HasImage()) widestRight = std::max(widestRight, cb.Rec->Xcoord);
    HGDIOBJ oldFont = captionFont ? SelectObject(b, captionFont.Get()) : nullptr;
    SetBkMode(b, TRANSPARENT);
    SetTextColor(b, ColorToRGB(s.Colour(active ? SkinColour::TitleTextActive : SkinColour::TitleTextNoActive)));
    RECT calc{0, 0, 0, 0};
    SkinDrawText(b, text, calc, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    CaptionTextInput in;
    in.StripWidth = width;
    in.StripHeight = ch;
    in.TextWidth = calc.right - calc.left;
    in.TextHeight = calc.bottom - calc.top;
    in.Alignment = s.Title.TextAlignment;
    in.TextShift = s.Title.LeftWidth;
    in.TextShiftVert = s.Title.TopHeight;
    in.TextRightClip = s.Title.RightWidth;
    in.TxtBackLeft = s.Title.TXTBackleft;
    in.TxtBackRight = s.Title.TXTBackRight;
    in.WidestRightOffset = widestRight;
    in.RightToLeft = kinds.RightToLeft;
    in.Popup = (GetWindowLongPtrA(Wnd(), GWL_STYLE) & WS_POPUP) != 0;
    in.Dialog = kinds.Border == kBorderDialog;
    textRect = CaptionTextRect(in);
    if (TBitmap* back = Strip(s.Title.Image); back && !textRect.IsEmpty())
        DrawSkinImage3(canvas, textRect, *back, {s.Title.TXTBackleft, 0, s.Title.TXTBackRight, 0}, active ? 1 : 2, 2,
                       true, false);
    RECT tr = ToRECT(textRect);
    tr.left += s.Title.TXTBackleft;
    tr.right -= s.Title.TXTBackRight;
    if (tr.right > tr.left) SkinDrawText(b, text, tr, kinds.RightToLeft ? 0x28822u : 0x8820u);
    if (oldFont) SelectObject(b, oldFont);

    // The caption buttons.
    for (CaptionButton& cb : buttons) {
        const TDataSkinSysButton& r = *cb.Rec;
        const PixelBuffer& img = cb.IsIcon() && !r.HasImage() ? icon : r.Image;
        const int frames = cb.IsIcon() && !r.HasImage() ? 1 : std::max(1, r.Frame);
        cb.Rect = {};
        if (!cb.Visible || img.Width() <= 0) continue;
        const int menuBarLeft = s.MenuBar ? s.MenuBar->LeftWidth : 0;
        cb.Rect = CaptionButtonRect(r.Align, r.Xcoord, r.Ycoord, img.Width() / frames, img.Height(), width, textRect, m,
                                    menuBarLeft);
        if (r.Visibility != 100) PaintButton(b, cb);
    }
}

// The borders and the caption strip for this size and state, drawn once from the skin's strips: left, right and
// bottom parts, then the caption over (left, 0, width - right, caption). A minimized window is only its caption
// over the face colour.
bool TWinSkinForm::Impl::ComposeFrame(int width, int height) {
    FrameImage& fi = frameImage;
    const bool minimized = Minimized();
    if (fi.frame && fi.width == width && fi.height == height && fi.active == active && fi.minimized == minimized)
        return true;
    // The bitmaps only grow: a change of state, or a window that gets smaller, draws into those it has.
    fi.content = false;
    TSkinData& s = Skin();
    const int ch = std::min(m.Caption, height);
    auto fits = [](const std::unique_ptr<SkinBitmap>& b, int w, int h) {
        return b && b->Width() >= w && b->Height() >= h;
    };
    if (!fits(fi.frame, width, height))
        fi.frame = std::make_unique<SkinBitmap>(std::max(width, fi.frame ? fi.frame->Width() : 0),
                                                std::max(height, fi.frame ? fi.frame->Height() : 0));
    if (!fits(fi.caption, width, std::max(ch, 1)))
        fi.caption =
            std::make_unique<SkinBitmap>(std::max(width, fi.caption ? fi.caption->Width() : 0), std::max(ch, 1));
    if (fi.frame->Empty() || fi.caption->Empty()) {
        fi = {};
        return false;
    }
    SkinBitmap* frame = fi.frame.get();
    HDC d = frame->Canvas().Handle();
    if (minimized) {
        RECT all{0, 0, width, height};
        if (HBRUSH face = SkinFaceBrush(s)) FillRect(d, &all, face);
    } else {
        PaintBorderPart(d, 1, {0, 0, m.Left, height});
        PaintBorderPart(d, 2, {width - m.Right, 0, width, height});
        PaintBorderPart(d, 4, {m.Left, height - m.Bottom, width - m.Right, height});
    }
    const TRect strip = minimized ? TRect{0, 0, width, ch} : TRect{m.Left, 0, width - m.Right, ch};
    if (TBitmap* top = Strip(s.Top.Image); top && ch > 0 && !strip.IsEmpty())
        DrawSkinImage(d, strip, *top, MarginsOf(s.Top), (active || s.Top.Frame <= 1) ? 1 : 2, s.Top.Frame, false,
                      s.Top.Tile != 1, true);
    if (ch > 0) BitBlt(fi.caption->Canvas().Handle(), 0, 0, width, ch, d, 0, 0, SRCCOPY);
    fi.width = width;
    fi.height = height;
    fi.active = active;
    fi.minimized = minimized;
    return true;
}

void TWinSkinForm::Impl::PaintNC(HDC dc) {
    if (!dc || (f.stage_ != 1 && f.stage_ != 3) || kinds.Border == kBorderNone || MaxMdiChild()) return;
    const int saved = SaveDC(dc);
    // A full frame paint drops the hot object: a hovered button shows normal in this very paint (until the mouse
    // moves again); a button held pressed stays so.
    if (hot >= 0 && hot != pressed) {
        buttons[static_cast<size_t>(hot)].State = 1;
        hot = -1;
    }
    try {
        RECT wr;
        GetWindowRect(Wnd(), &wr);
        const int W = wr.right - wr.left, H = wr.bottom - wr.top;
        const ButtonContext c = Context();
        for (CaptionButton& b : buttons) {
            const ButtonShow show = CaptionButtonShow(b.Rec->Action, b.Rec->Visibility, b.Rec->Visibility1, c);
            b.Visible = show.Visible;
            b.Enabled = show.Enabled;
        }
        if (W > 0 && H > 0 && ComposeFrame(W, H)) {
            FrameImage& fi = frameImage;
            HDC img = fi.frame->Canvas().Handle();
            std::wstring text = CaptionText();
            std::vector<int> states;
            for (const CaptionButton& b : buttons) states.push_back(b.Visible | b.Enabled << 1 | b.State << 2);
            const HICON appIcon = ApplicationIcon();
            if (!fi.content || text != fi.text || states != fi.buttons || appIcon != fi.appIcon) {
                const int ch = std::min(m.Caption, H);
                if (ch > 0) BitBlt(img, 0, 0, W, ch, fi.caption->Canvas().Handle(), 0, 0, SRCCOPY);
                PaintCaption(fi.frame->Canvas(), W, text);
                fi.text = std::move(text);
                fi.buttons = std::move(states);
                fi.appIcon = appIcon;
                fi.content = true;
            }
            // One copy onto the window: everything inside the borders (menu row, client area) is left alone.
            const int clip = SaveDC(dc);
            if (!Minimized()) ExcludeClipRect(dc, m.Left, m.Caption, W - m.Right, H - m.Bottom);
            BitBlt(dc, 0, 0, W, H, img, 0, 0, SRCCOPY);
            RestoreDC(dc, clip);
            SetBkMode(dc, OPAQUE);
        }
        if (!Minimized() && m.Menu > 0) {
            RECT row{m.Left, m.Caption, W - m.Right, m.Caption + m.Menu};
            if (menuBar) {
                menuBar->Paint(dc, ToTRect(row), active, MdiButtonsLeft());
                if (f.mdiKind_ == kMdiFrame) PaintMdiButtons(dc);
            } else if (HBRUSH face = SkinFaceBrush(Skin()))
                FillRect(dc, &row, face);
        }
    } catch (...) {
        if (hot >= 0 && hot != pressed) buttons[static_cast<size_t>(hot)].State = 1;
        if (hot != pressed) hot = -1;
    }
    RestoreDC(dc, saved);
}

void TWinSkinForm::Impl::RepaintFrame() {
    if (!IsWindowVisible(Wnd())) return;
    FrameDc dc(Wnd());
    PaintNC(dc.Get());
}

void TWinSkinForm::Impl::RepaintButton(int index) {
    if (index < 0 || index >= static_cast<int>(buttons.size())) return;
    FrameDc dc(Wnd());
    if (!dc.Get()) return;
    const int saved = SaveDC(dc.Get());
    PaintButton(dc.Get(), buttons[static_cast<size_t>(index)]);
    RestoreDC(dc.Get(), saved);
}

void TWinSkinForm::UpdateRegion() {
    Impl& d = *impl_;
    if (stage_ == 6 || !frameSkinned_ || !skin_ || !window_) return;
    if (mdiKind_ == kMdiChild && (d.Maximized() || d.Minimized())) return;
    RECT wr;
    GetWindowRect(window_, &wr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    if (W <= 0 || H <= 0) return;
    if (W == d.regionW && H == d.regionH && mdiKind_ != kMdiChild && stage_ != 3 && regionOwned_) return;
    RegionPlanInput in;
    in.Width = W;
    in.Height = H;
    in.Metrics = d.m;
    in.Border = d.kinds.Border;
    for (int p = 1; p <= 4; ++p) in.Trans[p] = Part(*skin_, p).Trans != 0;
    SkinRegion region(CreateRectRgn(0, 0, 0, 0));
    if (!region.Get()) return;
    for (const RegionPiece& piece : RegionPlan(in)) {
        const TRect& r = piece.Rect;
        if (piece.Part == 0) {
            SkinRegion rect(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
            if (rect.Get()) CombineRgn(region.Get(), region.Get(), rect.Get(), RGN_OR);
            continue;
        }
        const TDataSkinBorder& o = Part(*skin_, piece.Part);
        if (!o.HasImage()) continue;
        auto bmp = StretchSkinImage(Bounds(0, 0, r.Width(), r.Height()), o.Image, MarginsOf(o), 1, o.Frame, o.Tile != 1,
                                    piece.Part >= 3);
        if (!bmp) continue;
        // Nothing kept gives no region at all.
        SkinRegion cut(BitmapToRegion(*bmp, r.Left, r.Top, kSkinTransparent, 0, 0, 0));
        if (cut.Get()) CombineRgn(region.Get(), region.Get(), cut.Get(), RGN_OR);
    }
    regionOwned_ = region.GiveTo(window_, true);
    d.regionW = regionOwned_ ? W : -1;
    d.regionH = regionOwned_ ? H : -1;
}

void TWinSkinForm::ClearRegion() {
    if (!regionOwned_ || !window_) return;
    SetWindowRgn(window_, nullptr, mdiKind_ == kMdiChild);
    regionOwned_ = false;
    impl_->regionW = impl_->regionH = -1;
}

}  // namespace kes

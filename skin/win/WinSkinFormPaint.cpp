// The skinned window frame's painting and window region; see WinSkinForm.h.
#include <algorithm>

#include "skin/win/SkinDataWin.h"
#include "skin/win/SkinObjectDraw.h"
#include "skin/win/SkinText.h"
#include "skin/win/WinSkinFormImpl.h"

namespace kes {

// The window's small (else big) icon drawn on magenta; all magenta without one. The copy made for drawing
// is destroyed at once.
void TWinSkinForm::Impl::BuildIcon() {
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    icon = PixelBuffer(w, h);
    icon.FillRect({0, 0, w, h}, kSkinTransparent);
    auto src = reinterpret_cast<HICON>(SendMessageA(Wnd(), WM_GETICON, ICON_SMALL, 0));
    if (!src) src = reinterpret_cast<HICON>(SendMessageA(Wnd(), WM_GETICON, ICON_BIG, 0));
    if (!src) return;
    auto copy = static_cast<HICON>(CopyImage(src, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE));
    if (!copy) return;
    SkinGdiMade(SkinGdiKind::Icon);
    SkinBitmap bmp(w, h);
    bmp.Canvas().Brush().Color = kSkinTransparent;
    bmp.Canvas().FillRect({0, 0, w, h});
    if (DrawIconEx(bmp.Canvas().Handle(), 0, 0, copy, w, h, 0, nullptr, DI_NORMAL)) {
        GdiFlush();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) icon.SetPixel(x, y, bmp.Canvas().Pixel(x, y));
    }
    DestroyIcon(copy);
    SkinGdiFreed(SkinGdiKind::Icon);
}

// ---- painting ----

void TWinSkinForm::Impl::PaintBorderPart(HDC dc, int part, const TRect& r) {
    if (r.IsEmpty()) return;
    const TDataSkinBorder& o = Part(Skin(), part);
    if (!o.HasImage()) return;
    const int frame = (active || o.Frame <= 1) ? 1 : 2;
    auto bmp = StretchSkinImage(Bounds(0, 0, r.Width(), r.Height()), o.Image, MarginsOf(o), frame, o.Frame, o.Tile != 1,
                                part >= 3);
    if (bmp) BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), bmp->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TWinSkinForm::Impl::PaintButton(HDC dc, const CaptionButton& b) {
    if (!b.Visible || b.Rect.IsEmpty()) return;
    if (b.IsIcon()) {
        // The application window's icon, else the skin's picture, else the window's own icon.
        if (HWND app = Application ? Application->Handle() : nullptr) {
            auto appIcon = reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_SMALL, 0));
            if (!appIcon) appIcon = reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_BIG, 0));
            if (appIcon && DrawIconEx(dc, b.Rect.Left, b.Rect.Top, appIcon, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), 0, nullptr, DI_NORMAL))
                return;
        }
        const PixelBuffer& img = b.Rec->HasImage() ? b.Rec->Image : icon;
        DrawTransparent(dc, Bounds(b.Rect.Left, b.Rect.Top, img.Width(), img.Height()), img, kSkinTransparent);
        return;
    }
    const int frames = std::max(1, b.Rec->Frame);
    int frame = b.State;
    if (!b.Enabled || !active) frame = frames > 3 ? 4 : 1;
    if (b.Rec->Visibility == 100 && frame == 3) frame = 4;
    DrawSkinFrame(dc, b.Rect, b.Rec->Image, std::min(frame, frames), frames, true);
}

void TWinSkinForm::Impl::PaintCaption(HDC dc, int width) {
    TSkinData& s = Skin();
    const int ch = m.Caption;
    if (ch <= 0 || width <= 0) return;
    SkinBitmap buf(width, Minimized() ? std::max(ch, 1) : ch);
    HDC b = buf.Canvas().Handle();
    BitBlt(b, 0, 0, width, ch, dc, 0, 0, SRCCOPY);
    const int frame = (active || s.Top.Frame <= 1) ? 1 : 2;
    const TRect strip = Minimized() ? TRect{0, 0, width, ch} : TRect{m.Left, 0, width - m.Right, ch};
    if (!strip.IsEmpty() && s.Top.HasImage())
        DrawSkinImage(b, strip, s.Top.Image, MarginsOf(s.Top), frame, s.Top.Frame, false, s.Top.Tile != 1, true);

    // The caption text.
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
    text += L"  ";
    widestRight = 0;
    for (const CaptionButton& cb : buttons)
        if (cb.Visible && cb.Rec->Align == 1 && cb.Rec->HasImage()) widestRight = std::max(widestRight, cb.Rec->Xcoord);
    HGDIOBJ oldFont = captionFont ? SelectObject(b, captionFont) : nullptr;
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
    if (s.Title.HasImage() && !textRect.IsEmpty())
        DrawSkinImage3(buf.Canvas(), textRect, s.Title.Image, {s.Title.TXTBackleft, 0, s.Title.TXTBackRight, 0},
                       active ? 1 : 2, 2, true, false);
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
    BitBlt(dc, 0, 0, width, ch, b, 0, 0, SRCCOPY);
    SetBkMode(dc, OPAQUE);
}

void TWinSkinForm::Impl::PaintNC(HDC dc) {
    if (!dc || (f.stage_ != 1 && f.stage_ != 3) || kinds.Border == kBorderNone || MaxMdiChild()) return;
    const int saved = SaveDC(dc);
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
        if (!Minimized()) {
            PaintBorderPart(dc, 1, {0, 0, m.Left, H});
            PaintBorderPart(dc, 2, {W - m.Right, 0, W, H});
            PaintBorderPart(dc, 4, {m.Left, H - m.Bottom, W - m.Right, H});
        }
        PaintCaption(dc, W);
        if (!Minimized() && m.Menu > 0) {
            RECT row{m.Left, m.Caption, W - m.Right, m.Caption + m.Menu};
            if (menuBar)
                menuBar->Paint(dc, ToTRect(row), active);
            else if (HBRUSH face = SkinFaceBrush(Skin()))
                FillRect(dc, &row, face);
        }
    } catch (...) {
    }
    // A full frame paint drops the hot object.
    if (hot >= 0) buttons[static_cast<size_t>(hot)].State = 1;
    hot = -1;
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

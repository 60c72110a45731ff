// The scroll-bar overlays and the controller of a scrollable control.
#include "skin/controls/scrollbars/win/SkinScrollbar.h"

#include <algorithm>

#include "base/StringList.h"
#include "gui/TypInfo.h"
#include "gui/win/MsgCrack.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/draw/win/SkinText.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

namespace {

const TDataSkinObject* WithImage(const std::unique_ptr<TDataSkinObject>& o) {
    return o && o->HasImage() ? o.get() : nullptr;
}

TRect Shifted(const PixelRect& r) { return Rect(r.Left, r.Top, r.Right, r.Bottom); }

// A scroll-bar control lies across unless its "Kind" says horizontal.
bool VerticalKind(const TObject* control) { return LowerAZ(GetEnumPropByName(control, "Kind")) != "sbhorizontal"; }

}  // namespace

int SkinScrollBreadth(const TSkinData& skin, int arrow) {
    const TDataSkinObject* strip = WithImage(skin.Scrollbar);
    return ScrollBreadth(strip ? strip->Image.Height() : arrow, arrow);
}

bool PaintScrollbar(HDC dc, POINT at, SIZE size, const TSkinData& skin, const ScrollbarLook& look,
                    const SIZE* stretchTo) {
    const TDataSkinObject* strip = WithImage(skin.Scrollbar);
    if (!strip || size.cx <= 0 || size.cy <= 0) return false;
    TBitmap& work = SkinWorkBitmap();
    work.SetSize(size.cx, size.cy);
    HDC mdc = work.Canvas().Handle();
    if (!mdc || work.Width() < size.cx || work.Height() < size.cy) return false;
    SetStretchBltMode(mdc, COLORONCOLOR);
    FillRectColour(mdc, Rect(0, 0, size.cx, size.cy), static_cast<TColor>(skin.Colour(SkinColour::ButtonFace)));
    const ScrollbarPicture p = PlanScrollbar(look);
    const TDataSkinObject* track = WithImage(look.Vertical ? skin.VertScroll : skin.HorzScroll);
    if (track && p.Track.Frame) DrawSkinImage(mdc, Shifted(p.Track.Rect), *track, p.Track.Frame);
    for (const ScrollPiece* arrow : {&p.FirstArrow, &p.SecondArrow})
        if (arrow->Frame && !arrow->Rect.Empty()) DrawSkinFrame(mdc, Shifted(arrow->Rect), *strip, arrow->Frame);
    const TDataSkinObject* thumb = WithImage(look.Vertical ? skin.VertScrollThumb : skin.HorzScrollThumb);
    if (thumb && p.Thumb.Frame)
        DrawSkinImage(mdc, Shifted(p.Thumb.Rect), thumb->Image, MarginsOf(*thumb), p.Thumb.Frame, thumb->Frame,
                      thumb->Trans != 0, false, false);
    if (p.Grip.Frame) DrawSkinFrame(mdc, Shifted(p.Grip.Rect), *strip, p.Grip.Frame);
    if (stretchTo)
        StretchBlt(dc, at.x, at.y, stretchTo->cx, stretchTo->cy, mdc, 0, 0, size.cx, size.cy, SRCCOPY);
    else
        BitBlt(dc, at.x, at.y, size.cx, size.cy, mdc, 0, 0, SRCCOPY);
    return true;
}

// ---- the overlay ----

TWScrollbar::TWScrollbar(TSkinControl* controller) : TCustomPanel(controller), controller_(controller) {
    arrow_ = GetSystemMetrics(SM_CXHSCROLL);
    SetBevelOuter(bvNone);
    TabStop = false;
}

void TWScrollbar::CreateParams(TCreateParams& p) {
    TCustomPanel::CreateParams(p);
    p.Style = WS_CHILD | WS_CLIPSIBLINGS;
    p.ExStyle = WS_EX_TOOLWINDOW;
    p.WndParent = parentWindow_;
}

void TWScrollbar::AttachToControl(TWinControl* control, int mode) {
    targetControl_ = control;
    const TControl* parent = control ? control->Parent() : nullptr;
    if (IsPublishedProp(parent, "Color"))
        SetColor(static_cast<TColor>(GetIntPropByName(parent, "Color")));
    else if (controller_->Skin())
        SetColor(static_cast<TColor>(controller_->Skin()->Colour(SkinColour::ButtonFace)));
    const bool vertical = mode == 2 ? VerticalKind(control) : mode == 1;
    Attach(control ? static_cast<HWND>(control->Handle()) : nullptr, mode, vertical);
}

void TWScrollbar::AttachToWindow(HWND window, int mode) { Attach(window, mode, mode == 1); }

void TWScrollbar::Attach(HWND window, int mode, bool vertical) {
    if (!window) return;
    target_ = window;
    mode_ = mode;
    vertical_ = vertical;
    parentWindow_ = GetParent(window);
    if (!parentWindow_) return;
    // The target's own painting of its bar must not cover the overlay.
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    if (!(style & WS_CLIPSIBLINGS)) {
        SetWindowLongPtrA(window, GWL_STYLE, style | WS_CLIPSIBLINGS);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    HandleNeeded();
    UpdatePosition(window);
}

bool TWScrollbar::BarInfo(SCROLLBARINFO& info) const {
    if (mode_ != 2) return target_ && CallGetScrollBarInfo(target_, vertical_ ? OBJID_VSCROLL : OBJID_HSCROLL, info);
    // A scroll-bar control: the whole window is the bar, its thumb reckoned from the control's range.
    if (!targetControl_ || !target_ || !GetWindowRect(target_, &info.rcScrollBar)) return false;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(target_, SB_CTL, &si)) return false;
    const RECT& r = info.rcScrollBar;
    const int length = vertical_ ? r.bottom - r.top : r.right - r.left;
    const ThumbSpan t = ControlThumb(length, arrow_, {si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos});
    info.xyThumbTop = t.Start;
    info.xyThumbBottom = t.End;
    info.rgstate[0] = IsWindowEnabled(target_) ? 0 : STATE_SYSTEM_UNAVAILABLE;
    return true;
}

void TWScrollbar::Retarget(HWND window) {
    if (!window) return;
    target_ = window;
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    if (!(style & WS_CLIPSIBLINGS)) SetWindowLongPtrA(window, GWL_STYLE, style | WS_CLIPSIBLINGS);
    if (mode_ == 2 && targetControl_) vertical_ = VerticalKind(targetControl_);
}

void TWScrollbar::HideBar() {
    if (HandleAllocated()) ShowWindow(static_cast<HWND>(WindowHandle()), SW_HIDE);
    shown_ = false;
    visible_ = false;
}

void TWScrollbar::UpdatePosition(HWND window) {
    if (window) target_ = window;
    SCROLLBARINFO info{};
    if (!BarInfo(info) || !HandleAllocated()) return;
    if (!(GetWindowLongPtrA(target_, GWL_STYLE) & WS_VISIBLE) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) {
        HideBar();
        return;
    }
    const RECT& r = info.rcScrollBar;
    const int w = r.right - r.left, h = r.bottom - r.top;
    length_ = vertical_ ? h : w;
    origin_ = {r.left, r.top};
    POINT place = origin_;
    ::ScreenToClient(parentWindow_, &place);
    const HWND self = static_cast<HWND>(WindowHandle());
    // Just above the target: below the window that is above it, or at the top when none is.
    const HWND above = GetWindow(target_, GW_HWNDPREV);
    UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
    if (above == self) flags |= SWP_NOZORDER;
    SetWindowPos(self, above ? above : HWND_TOP, place.x, place.y, w, h, flags);
    shown_ = true;
    visible_ = true;
    InvalidateRect(self, nullptr, FALSE);
}

ScrollPart TWScrollbar::HitTest(int x, int y) const {
    return ScrollHitTest(vertical_ ? y : x, length_, arrow_, thumb_);
}

void TWScrollbar::ShowScrollCode(int code) {
    hot_ = PartFromScrollCode(code);
    Refresh();
}

void TWScrollbar::Refresh() {
    if (HandleAllocated() && shown_) InvalidateRect(static_cast<HWND>(WindowHandle()), nullptr, FALSE);
}

void TWScrollbar::RefreshIfChanged() {
    SCROLLBARINFO info{};
    if (!shown_ || !BarInfo(info)) return;
    const RECT& r = info.rcScrollBar;
    const Painted now{{info.xyThumbTop, info.xyThumbBottom}, vertical_ ? r.bottom - r.top : r.right - r.left,
                      !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE)};
    if (!(now == painted_)) Refresh();
}

void TWScrollbar::WndProc(TMessage& m) {
    const HWND self = static_cast<HWND>(WindowHandle());
    switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = msg::PaintDcOf(m);
        if (dc) {
            Paint(dc);
        } else if ((dc = BeginPaint(self, &ps)) != nullptr) {
            Paint(dc);
            EndPaint(self, &ps);
        }
        m.Result = 0;
        return;
    }
    case WM_MOUSEMOVE: {
        const TPoint p = msg::Point(m);
        const ScrollPart part = HitTest(p.X, p.Y);
        if (part != hot_) {
            hot_ = part;
            Refresh();
        }
        CallTrackMouseEvent(self);
        m.Result = 0;
        return;
    }
    case WM_MOUSELEAVE:
        if (!pressed_) {
            hot_ = kScrollNone;
            Refresh();
        }
        m.Result = 0;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: Press(m); return;
    case WM_LBUTTONUP: Release(m); return;
    default: TCustomPanel::WndProc(m);
    }
}

void TWScrollbar::Press(TMessage& m) {
    GetCursorPos(&pressCursor_);
    SCROLLBARINFO info{};
    if (BarInfo(info)) {
        pressThumb_ = {info.xyThumbTop, info.xyThumbBottom};
        origin_ = {info.rcScrollBar.left, info.rcScrollBar.top};
    }
    const TPoint p = msg::Point(m);
    hot_ = HitTest(p.X, p.Y);
    const POINT screen{origin_.x + p.X, origin_.y + p.Y};
    pressed_ = true;
    const HWND self = static_cast<HWND>(WindowHandle());
    RedrawWindow(self, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ReleaseCapture();
    // The native bar tracks the press inside this call, scrolling its window as the user goes. A scroll-bar
    // control lies under the overlay point for point: it takes the press as its own.
    if (mode_ == 2)
        SendMessageA(target_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
    else
        SendMessageA(target_, WM_NCLBUTTONDOWN, vertical_ ? HTVSCROLL : HTHSCROLL, MAKELPARAM(screen.x, screen.y));
    pressed_ = false;
    ReleaseCapture();
    if (IsWindow(self)) {
        POINT c;
        GetCursorPos(&c);
        RECT r;
        GetWindowRect(self, &r);
        if (!PtInRect(&r, c)) hot_ = kScrollNone;
        Refresh();
    }
    m.Result = 0;
}

void TWScrollbar::Release(TMessage& m) {
    const TPoint p = msg::Point(m);
    const POINT screen{origin_.x + p.X, origin_.y + p.Y};
    pressed_ = false;
    ReleaseCapture();
    if (mode_ == 2) {
        PostMessageA(target_, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
        Refresh();
    } else {
        PostMessageA(target_, WM_NCLBUTTONUP, vertical_ ? HTVSCROLL : HTHSCROLL, MAKELPARAM(screen.x, screen.y));
    }
    m.Result = 0;
}

void TWScrollbar::Paint(HDC dc) {
    const TSkinData* skin = controller_->Skin();
    SCROLLBARINFO info{};
    if (!skin || !WithImage(skin->Scrollbar) || !BarInfo(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return;
    RECT client;
    GetClientRect(static_cast<HWND>(WindowHandle()), &client);
    const int w = info.rcScrollBar.right - info.rcScrollBar.left, h = info.rcScrollBar.bottom - info.rcScrollBar.top;
    if (w < 0 || h < 0 || w > client.right || h > client.bottom) return;
    ScrollbarLook look;
    look.Vertical = vertical_;
    look.Length = length_ = vertical_ ? h : w;
    look.Arrow = arrow_;
    look.Breadth = SkinScrollBreadth(*skin, arrow_);
    look.Enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    look.Hot = hot_;
    look.Pressed = pressed_;
    look.GripLength = skin->Scrollbar->Image.Height();
    look.Extent = vertical_ ? client.bottom : client.right;
    POINT cursor;
    GetCursorPos(&cursor);
    const int moved = vertical_ ? cursor.y - pressCursor_.y : cursor.x - pressCursor_.x;
    const ThumbSpan system{info.xyThumbTop, info.xyThumbBottom};
    if (mode_ == 2) {
        // The control's own thumb while the control tracks; the bar drawn skin-wide, stretched over the control.
        look.Thumb = thumb_ = system;
        painted_ = {system, look.Length, look.Enabled};
        const SIZE bar = vertical_ ? SIZE{look.Breadth, h} : SIZE{w, look.Breadth};
        const SIZE over{client.right, client.bottom};
        PaintScrollbar(dc, {0, 0}, bar, *skin, look, &over);
        return;
    }
    look.Thumb = thumb_ = OverlayThumb(look, system, pressThumb_, moved);
    painted_ = {system, look.Length, look.Enabled};
    PaintScrollbar(dc, {0, 0}, {w, h}, *skin, look);
}

// ---- the overlays of one window ----

void OverlayPair::Make(TSkinControl* controller, TWinControl* control, HWND window) {
    for (int mode = 0; mode < 2; ++mode) {
        bars_[mode] = new TWScrollbar(controller);
        if (control) {
            bars_[mode]->AttachToControl(control, mode);
            bars_[mode]->SetEnabled(control->Enabled());
            if (!control->Visible()) bars_[mode]->HideBar();
        } else {
            bars_[mode]->AttachToWindow(window, mode);
        }
    }
}

void OverlayPair::Free() {
    for (TWScrollbar*& b : bars_) {
        delete b;
        b = nullptr;
    }
}

void OverlayPair::UpdatePosition(HWND window) {
    for (TWScrollbar* b : bars_)
        if (b) b->UpdatePosition(window);
}

void OverlayPair::ShowScrollCode(bool vertical, int code) {
    if (TWScrollbar* b = bars_[vertical ? 1 : 0]) b->ShowScrollCode(code);
}

void OverlayPair::Refresh() {
    for (TWScrollbar* b : bars_)
        if (b) b->Refresh();
}

void OverlayPair::SetEnabled(bool on) {
    for (TWScrollbar* b : bars_)
        if (b) b->SetEnabled(on);
}

void OverlayPair::Hide() {
    for (TWScrollbar* b : bars_)
        if (b) b->HideBar();
}

void OverlayPair::Paint(TSkinControl& controller, HDC dc, HWND window) {
    for (TWScrollbar* b : bars_) {
        if (!b) continue;
        if (b->Shown())
            b->RefreshIfChanged();
        else if (GetWindowLongPtrA(window, GWL_STYLE) & (b->Mode() == 1 ? WS_VSCROLL : WS_HSCROLL))
            b->UpdatePosition(window);
    }
    if (!dc || !bars_[0] || !bars_[1] || !bars_[0]->Shown() || !bars_[1]->Shown()) return;
    // The corner between the two bars, in window coordinates.
    SCROLLBARINFO v{}, h{};
    RECT wr;
    if (!CallGetScrollBarInfo(window, OBJID_VSCROLL, v) || !CallGetScrollBarInfo(window, OBJID_HSCROLL, h) ||
        !GetWindowRect(window, &wr))
        return;
    FillRectColour(dc,
                   Rect(v.rcScrollBar.left - wr.left, h.rcScrollBar.top - wr.top, v.rcScrollBar.right - wr.left,
                        h.rcScrollBar.bottom - wr.top),
                   controller.Skin() ? static_cast<TColor>(controller.Skin()->Colour(SkinColour::ButtonFace))
                                     : clBtnFace);
}

// ---- the controller of a scrollable control ----

void TSkinScrollbar::AttachScrollControl(TWinControl* control, TSkinData* skin, TWinSkinForm* form) {
    if (Attached() || !control) return;
    std::string style = GetEnumPropByName(control, "BorderStyle");
    std::transform(style.begin(), style.end(), style.begin(), [](unsigned char c) { return std::tolower(c); });
    border_ = style != "bsnone";
    if (std::string(control->ClassName()) == "TImageScrollBox" || BackgroundMode == 1) border_ = false;
    skin_ = skin;
    if (IsPublishedProp(control, "FixedColor")) {
        savedFixed_ = GetIntPropByName(control, "FixedColor");
        fixedColour_ = true;
        SetPropByName(control, "FixedColor", std::to_string(skin->Colour(SkinColour::ButtonFace)));
    }
    bars_.Make(this, control, nullptr);
    AttachControl(form, skin, false);
    // The new border shows at once.
    SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollbar::DrawBorder(HDC dc) {
    RECT wr;
    if (!dc || !GetWindowRect(window_, &wr)) return;
    try {
        const TRect r = Rect(0, 0, wr.right - wr.left, wr.bottom - wr.top);
        const TColor shadow = ColourOf(SkinColour::ButtonShadow), face = ColourOf(SkinColour::ButtonFace);
        for (int i = 0; i < 2; ++i) {
            const TColor c = i == 0 ? shadow : face;
            FillRectColour(dc, Rect(r.Left + i, r.Top + i, r.Right - i, r.Top + i + 1), c);
            FillRectColour(dc, Rect(r.Left + i, r.Bottom - i - 1, r.Right - i, r.Bottom - i), c);
            FillRectColour(dc, Rect(r.Left + i, r.Top + i, r.Left + i + 1, r.Bottom - i), c);
            FillRectColour(dc, Rect(r.Right - i - 1, r.Top + i, r.Right - i, r.Bottom - i), c);
        }
    } catch (...) {
    }
}

bool TSkinScrollbar::BeforeMessage(TMessage& m) {
    if (m.Msg == WM_NCPAINT && border_) {
        CallPrevious(m);
        WindowDc dc(window_, true);
        DrawBorder(dc.Get());
        return false;
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinScrollbar::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED: bars_.UpdatePosition(window_); return;
    case WM_HSCROLL:
    case WM_VSCROLL: bars_.ShowScrollCode(m.Msg == WM_VSCROLL, LOWORD(m.WParam)); return;
    case WM_MOUSEWHEEL: bars_.Refresh(); return;
    case WM_ENABLE:
        bars_.SetEnabled(m.WParam != 0);
        TSkinControl::AfterMessage(m);
        return;
    case CM_RECREATEWND:
        if (control_ && form_) PostMessageA(form_->Window(), SKM_RECREATED, reinterpret_cast<WPARAM>(window_), 0);
        return;
    case SKM_PAINTNC:
        if (m.LParam == SKIN_MAGIC) {
            if (m.WParam) DrawBorder(reinterpret_cast<HDC>(m.WParam));
            m.Result = SKIN_MAGIC;
            return;
        }
        break;
    default: break;
    }
    TSkinControl::AfterMessage(m);
}

void TSkinScrollbar::DrawControl(HDC dc, const TRect&) { bars_.Paint(*this, dc, window_); }

void TSkinScrollbar::SkinChanged() {
    if (fixedColour_ && control_) {
        savedFixed_ = GetIntPropByName(control_, "FixedColor");
        SetPropByName(control_, "FixedColor", std::to_string(ColourOf(SkinColour::ButtonFace)));
    }
    bars_.Refresh();
    TSkinControl::SkinChanged();
}

void TSkinScrollbar::Unskin() {
    if (!active_) return;
    if (fixedColour_ && control_ && !control_->Destroying())
        SetPropByName(control_, "FixedColor", std::to_string(savedFixed_));
    fixedColour_ = false;
    TSkinControl::Unskin();
    if (state_ == kControlWindowGone) return;
    bars_.Free();
    border_ = false;
    // The system's frame and bars come back.
    if (window_ && IsWindow(window_))
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---- the bars of a raw list window ----

void TSkinScrollbarH::AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* form) {
    if (Attached() || !window) return;
    skin_ = skin;
    bars_.Make(this, nullptr, window);
    TSkinControl::AttachWindow(window, skin, form);
}

void TSkinScrollbarH::AfterMessage(TMessage& m) {
    if (!IsWindowVisible(window_) && bars_[1]) bars_[1]->HideBar();
    switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
        bars_.UpdatePosition(window_);
        bars_.Refresh();
        return;
    case WM_HSCROLL:
    case WM_VSCROLL: bars_.ShowScrollCode(m.Msg == WM_VSCROLL, LOWORD(m.WParam)); return;
    default: TSkinControl::AfterMessage(m);
    }
}

void TSkinScrollbarH::DrawControl(HDC dc, const TRect&) { bars_.Paint(*this, dc, window_); }

void TSkinScrollbarH::Unskin() {
    if (!active_) return;
    TSkinControl::Unskin();
    if (state_ != kControlWindowGone) bars_.Free();
}

TSkinScrollbarH* AttachListScrollBars(TSkinControl& owner, HWND list) {
    if (!list) return nullptr;
    auto* c = new TSkinScrollbarH(&owner);
    c->AttachWindow(list, owner.Skin(), owner.Form());
    return c;
}

// ---- registration ----

static TSkinControl* MakeScrollbar(TComponent* owner, const ControlDecision& d) {
    auto* c = new TSkinScrollbar(owner);
    c->BackgroundMode = d.BackgroundMode;
    return c;
}

static const bool registered = [] {
    RegisterSkinController(SkinKind::Scrollbar, MakeScrollbar);
    return true;
}();

}  // namespace kes

extern "C" {
int kes_skin_scrollbars_anchor = 0;
}

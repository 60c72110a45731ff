// The skinned frame's share of MDI: the MDIClient of an MDI frame (its scroll bars, the children it makes and takes
// away, tiling and cascading, the menu its frame shows), the maximized child's buttons in the frame's menu bar, and
// what an MDI child's size changes tell the frame. See WinSkinForm.h.
#include <algorithm>

#include "skin/data/win/SkinDataWin.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/frame/win/WinSkinFormImpl.h"

namespace kes {

LRESULT MdiClientSubclass::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    const bool skinned = frame.FrameSkinned() && frame.Skin();
    switch (msg) {
    case WM_NCCALCSIZE:
        if (skinned && !InSet(frame.Skin()->Options, xoMDIScrollbar)) {
            const LONG_PTR style = GetWindowLongPtrA(Window(), GWL_STYLE);
            if (style & (WS_VSCROLL | WS_HSCROLL))
                SetWindowLongPtrA(Window(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
        }
        break;
    case WM_MDICREATE:
        // While children live the bar keeps the menu the client gives it.
        if (frame.Skin()) frame.Skin()->MenuUpdate = false;
        break;
    case WM_MDIDESTROY: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        if (skinned) frame.impl_->MdiChildGone();
        return r;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (skinned && Host().MDIMaximized()) Host().SetMDIMaximized(false);
        break;
    case WM_MDISETMENU: {
        const LRESULT r = DefaultProc(msg, wp, lp);
        if (skinned) frame.impl_->MdiMenuSet(reinterpret_cast<HMENU>(wp));
        return r;
    }
    case SKM_MDIREDRAW:
        RedrawWindow(frame.Window(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        return 0;
    default: break;
    }
    return DefaultProc(msg, wp, lp);
}

bool TWinSkinForm::Impl::ActiveChildMaximized() const {
    if (f.mdiKind_ != kMdiFrame || !mdiClient || !IsWindow(mdiClient)) return false;
    BOOL maximized = FALSE;
    const LRESULT active = SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
    return active != 0 && maximized;
}

void TWinSkinForm::Impl::PaintMdiButtons(HDC dc) {
    if (!menuBar || !ActiveChildMaximized()) return;
    for (const CaptionButton& b : buttons) {
        if (b.Rec->Visibility != 100 || !b.Visible || !b.Rec->HasImage() || b.Rect.IsEmpty()) continue;
        if (TBitmap* strip = Strip(b.Rec->Image)) DrawSkinFrame(dc, b.Rect, *strip, 1, std::max(1, b.Rec->Frame), true);
    }
    if (!Host().MDIMaximized()) Host().SetMDIMaximized(true);
}

int TWinSkinForm::Impl::MdiButtonsLeft() const {
    if (!kinds.RightToLeft || !menuBar || !ActiveChildMaximized()) return -1;
    int left = -1;
    for (const CaptionButton& b : buttons)
        if (b.Rec->Visibility == 100 && b.Visible && b.Rec->HasImage() && !b.Rect.IsEmpty())
            left = left < 0 ? b.Rect.Left : std::min(left, b.Rect.Left);
    return left;
}

void TWinSkinForm::Impl::MdiMenuSet(HMENU menu) {
    if (!menuBar) return;
    if (menu) menuBar->Rebuild(menu);
    // The bar draws the menu; the system's own bar goes.
    SetMenu(Wnd(), nullptr);
    frameImage.content = false;
    RepaintFrame();
}

void TWinSkinForm::Impl::MdiChildGone() {
    BOOL maximized = FALSE;
    const bool active = SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)) != 0;
    Host().SetMDIMaximized(active && maximized);
    if (active || !menuBar) return;
    // The last child went: the bar follows the frame's menu again.
    Skin().MenuUpdate = savedMenuUpdate;
    menuBar->UpdateButtons();
    frameImage.content = false;
    RepaintFrame();
}

void TWinSkinForm::Impl::MdiChildSized(int before) {
    const bool now = f.windowState_ == kStateMaximized;
    if ((before == kStateMaximized) == now) return;
    // The client may pass a child through the maximized size on its way back: the flag follows the client's
    // active child once this one is no longer maximized.
    HWND client = GetParent(Wnd());
    BOOL activeMaximized = FALSE;
    SendMessageA(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&activeMaximized));
    Host().SetMDIMaximized(now || activeMaximized);
    // The frame's bar shows (or no longer shows) this child's buttons.
    PostMessageA(client, SKM_MDIREDRAW, reinterpret_cast<WPARAM>(Wnd()), 0);
}

TPoint TWinSkinForm::Impl::WindowPoint(POINT screen) const {
    POINT client = screen;
    ScreenToClient(Wnd(), &client);
    return FrameWindowPoint({client.x, client.y}, m, f.mdiKind_ == kMdiChild && Minimized());
}

}  // namespace kes

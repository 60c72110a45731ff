// The skinned scroll-bar control.
#include "skin/controls/lists/win/SkinScControl.h"

#include <utility>

namespace kes {

TSkinScControl::~TSkinScControl() { FreeOverlay(); }

void TSkinScControl::FreeOverlay() {
    delete std::exchange(bar_, nullptr);
}

void TSkinScControl::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == bar_) bar_ = nullptr;
}

void TSkinScControl::AttachScrollBarControl(TWinControl* control, TSkinData* skin, TWinSkinForm* form) {
    if (Attached() || !control || control != Owner()) return;
    skin_ = skin;
    bar_ = new TWScrollbar(this);
    bar_->ShowHint = control->ShowHint;
    bar_->Hint = control->Hint;
    bar_->AttachToControl(control, 2);
    if (!control->Visible()) bar_->HideBar();
    TSkinControl::AttachControl(form, skin, false);
}

void TSkinScControl::AttachScrollControl(TWinControl* control, TSkinData* skin, TWinSkinForm* form) {
    AttachScrollBarControl(control, skin, form);
}

void TSkinScControl::AttachControl(TWinSkinForm* form, TSkinData* skin, bool) {
    AttachScrollBarControl(dynamic_cast<TWinControl*>(Owner()), skin, form);
}

void TSkinScControl::AfterMessage(TMessage& m) {
    // A control that made its window anew (a new Kind) is followed at its new window's first message.
    if (bar_ && window_ && bar_->Target() != window_ && m.Msg != WM_NCDESTROY) {
        bar_->Retarget(window_);
        bar_->UpdatePosition(window_);
    }
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
        if (!bar_) break;
        if (reinterpret_cast<const WINDOWPOS*>(m.LParam)->flags & SWP_HIDEWINDOW)
            bar_->HideBar();
        else
            bar_->UpdatePosition(window_);
        return;
    case WM_NCPAINT:
        // A control that made its window anew shows it first here: the overlay follows.
        if (bar_ && control_) {
            if (auto* w = dynamic_cast<TWinControl*>(control_); w && w->HandleAllocated())
                bar_->Retarget(static_cast<HWND>(w->WindowHandle()));
            bar_->UpdatePosition(window_);
        }
        return;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case OCM_HSCROLL:
    case OCM_VSCROLL:
    case WM_ENABLE:
        if (bar_) bar_->Refresh();
        if (m.Msg == WM_ENABLE) break;
        return;
    default: break;
    }
    TSkinControl::AfterMessage(m);
}

void TSkinScControl::DrawControl(HDC, const TRect&) {
    if (bar_) bar_->Refresh();
}

void TSkinScControl::Unskin() {
    if (!active_) return;
    TSkinControl::Unskin();
    if (state_ == kControlWindowGone) return;
    FreeOverlay();
    if (window_ && IsWindow(window_)) InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace kes

// The menu a skinned control opens for itself. An edit answers WM_CONTEXTMENU with the system's own menu (Undo,
// Cut, Copy, Paste, Delete, Select All), tracked with the edit as owner but without notifications: no
// WM_INITMENUPOPUP says which menu it is. So while the control handles WM_CONTEXTMENU a creation hook watches
// for the popup-menu window the control makes; the menu comes with it (its creation parameter), before any item
// is measured. Its items become owner-drawn through the window's menu items and are drawn as every other menu of
// the skin; WM_EXITMENULOOP, still before the control destroys the menu, gives them back.
#include "skin/controls/win/SkinControl.h"

#include "skin/frame/win/SkinMenuItems.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

// The controller whose WM_CONTEXTMENU is under way, and its creation hook (GUI thread only).
struct TSkinControl::OwnMenuWatch {
    static inline TSkinControl* control = nullptr;
    static inline HHOOK hook = nullptr;

    static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp) {
        if (code == HCBT_CREATEWND && control) {
            const CREATESTRUCTA& cs = *reinterpret_cast<const CBT_CREATEWNDA*>(lp)->lpcs;
            char cls[16] = {};
            GetClassNameA(reinterpret_cast<HWND>(wp), cls, sizeof cls);
            auto* menu = static_cast<HMENU>(cs.lpCreateParams);
            if (lstrcmpA(cls, "#32768") == 0 && cs.hwndParent == control->window_ && menu && IsMenu(menu))
                control->OwnMenuOpens(menu);
        }
        return CallNextHookEx(hook, code, wp, lp);
    }
};

bool TSkinControl::BeforeMessage(TMessage& m) {
    if (OwnMenuMessage(m)) return false;
    return SkinControlCore::BeforeMessage(m);
}

bool TSkinControl::OwnMenuMessage(TMessage& m) {
    SkinMenuItems* items = form_ ? form_->MenuItems() : nullptr;
    switch (m.Msg) {
    case WM_CONTEXTMENU:
        // One watch at a time: a menu asked for while another is being opened is left alone.
        if (OwnMenuWatch::control || !items || !skin_ || skin_->NoSkin() || !InSet(skin_->SkinControls, xcPopupMenu))
            return false;
        OwnMenuWatch::control = this;
        OwnMenuWatch::hook = SetWindowsHookExA(WH_CBT, &OwnMenuWatch::Proc, nullptr, GetCurrentThreadId());
        CallPrevious(m);
        if (OwnMenuWatch::hook) UnhookWindowsHookEx(OwnMenuWatch::hook);
        OwnMenuWatch::hook = nullptr;
        OwnMenuWatch::control = nullptr;
        // The menu is gone by now: nothing of it stays remembered.
        OwnMenuCloses();
        return true;
    case WM_MEASUREITEM: {
        auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (!ownMenu_ || !items || !mi || mi->CtlType != ODT_MENU || !items->MeasureRawItem(*mi)) return false;
        m.Result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
        if (!ownMenu_ || !items || !di || di->CtlType != ODT_MENU || !items->DrawRawItem(*di)) return false;
        m.Result = TRUE;
        return true;
    }
    case WM_EXITMENULOOP:
        if (!ownMenu_) return false;
        CallPrevious(m);
        OwnMenuCloses();
        return true;
    default: return false;
    }
}

void TSkinControl::OwnMenuOpens(HMENU menu) {
    SkinMenuItems* items = form_ ? form_->MenuItems() : nullptr;
    if (!items || ownMenu_) return;
    ownMenu_ = menu;
    items->MarkOwnerDraw(menu);
    items->SetTrackedMenu(menu);
}

void TSkinControl::OwnMenuCloses() {
    if (!ownMenu_) return;
    if (SkinMenuItems* items = form_ ? form_->MenuItems() : nullptr) {
        items->UnmarkOwnerDraw(ownMenu_);
        items->SetTrackedMenu(nullptr);
    }
    ownMenu_ = nullptr;
}

}  // namespace kes

// Native menus made from the item tree and kept in step with it.
#include "gui/Menus.h"

#include "gui/Forms.h"
#include "gui/win/Win.h"

namespace kes {

namespace {

std::string ItemText(const TMenuItem& item) {
    std::string t = item.Caption();
    if (item.GetShortCut()) {
        const std::string sc = ShortCutToText(item.GetShortCut());
        if (!sc.empty()) t += "\t" + sc;
    }
    return t;
}

void FillInfo(TMenuItem& item, bool ownerDraw, MENUITEMINFOA& mii, std::string& text) {
    text = ItemText(item);
    mii = MENUITEMINFOA{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_STRING;
    mii.fType = item.IsLine() ? MFT_SEPARATOR : MFT_STRING;
    if (item.RadioItem()) mii.fType |= MFT_RADIOCHECK;
    if (ownerDraw && !item.IsLine()) mii.fType |= MFT_OWNERDRAW;
    mii.fState =
        (item.Checked() ? MFS_CHECKED : 0) | (item.Enabled() ? 0 : MFS_GRAYED) | (item.Default() ? MFS_DEFAULT : 0);
    mii.wID = static_cast<UINT>(item.Command());
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    mii.dwTypeData = text.data();
    mii.cch = static_cast<UINT>(text.size());
}

void Fill(HMENU h, TMenuItem& parent, bool ownerDraw) {
    UINT pos = 0;
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem& item = *parent.Items(i);
        if (!item.Visible()) continue;
        MENUITEMINFOA mii;
        std::string text;
        FillInfo(item, ownerDraw, mii, text);
        if (item.Count() > 0) {
            HMENU sub = CreatePopupMenu();
            item.handle_ = sub;
            Fill(sub, item, ownerDraw);
            mii.fMask |= MIIM_SUBMENU;
            mii.hSubMenu = sub;
        }
        InsertMenuItemA(h, pos++, TRUE, &mii);
    }
}

void ForgetHandles(TMenuItem& item) {
    item.handle_ = nullptr;
    for (int i = 0; i < item.Count(); ++i) ForgetHandles(*item.Items(i));
}

}  // namespace

void* TMenuItem::Handle() {
    if (TMenu* m = GetParentMenu(); m && !handle_) {
        m->Handle();  // builds the whole tree
        if (handle_) return handle_;
    }
    if (!handle_) {
        HMENU h = CreatePopupMenu();
        handle_ = h;
        TMenu* m = GetParentMenu();
        Fill(h, *this, m && m->OwnerDraw());
    }
    return handle_;
}

void* TMenu::Handle() {
    if (!items_->handle_) {
        HMENU h = dynamic_cast<TPopupMenu*>(this) ? CreatePopupMenu() : CreateMenu();
        items_->handle_ = h;
        Fill(h, *items_, ownerDraw_);
    }
    return items_->handle_;
}

void TMenu::UpdateNative(TMenuItem* source, bool rebuild) {
    HMENU root = static_cast<HMENU>(items_->handle_);
    if (!root) return;
    TMenuItem* parent = source ? source->Parent() : nullptr;
    HMENU parentMenu = parent ? static_cast<HMENU>(parent->handle_) : nullptr;
    if (!rebuild && source && parentMenu) {
        MENUITEMINFOA mii;
        std::string text;
        FillInfo(*source, ownerDraw_, mii, text);
        mii.fMask &= ~MIIM_ID;
        SetMenuItemInfoA(parentMenu, static_cast<UINT>(source->Command()), FALSE, &mii);
    } else {
        // Empty the root (its sub-menus go with their items) and fill it again.
        while (GetMenuItemCount(root) > 0) DeleteMenu(root, 0, MF_BYPOSITION);
        for (int i = 0; i < items_->Count(); ++i) ForgetHandles(*items_->Items(i));
        Fill(root, *items_, ownerDraw_);
    }
    if (windowHandle_) DrawMenuBar(static_cast<HWND>(windowHandle_));
}

void TMenu::DestroyNative() {
    HMENU root = static_cast<HMENU>(items_->handle_);
    if (windowHandle_ && IsWindow(static_cast<HWND>(windowHandle_)) &&
        GetMenu(static_cast<HWND>(windowHandle_)) == root)
        SetMenu(static_cast<HWND>(windowHandle_), nullptr);
    if (root && IsMenu(root)) DestroyMenu(root);
    ForgetHandles(*items_);
    windowHandle_ = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    Fire(OnPopup, this);
    HMENU h = static_cast<HMENU>(Handle());
    HWND owner = nullptr;
    if (auto* c = dynamic_cast<TControl*>(PopupComponent))
        if (TCustomForm* f = GetParentForm(c)) owner = static_cast<HWND>(f->WindowHandle());
    if (!owner)
        if (TCustomForm* f = Screen().ActiveForm()) owner = static_cast<HWND>(f->WindowHandle());
    if (!owner && Screen().MainForm) owner = static_cast<HWND>(Screen().MainForm->Handle());
    const int cmd =
        TrackPopupMenu(h, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
    if (cmd)
        if (TMenuItem* item = FindItem(cmd)) item->Click();
}

}  // namespace kes

// Native menus made from the item tree and kept in step with it.
#include "gui/Menus.h"

#include <algorithm>

#include "gui/Forms.h"
#include "gui/win/Canvas.h"
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
    if (ownerDraw) mii.fType |= MFT_OWNERDRAW;
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

// ---- the item's own measuring and drawing (owner-drawn menus without handlers) ----

namespace {
constexpr int kCheckSpace = 20, kItemMarginRight = 12;

std::string ItemCaption(const TMenuItem& item) { return item.Caption().empty() ? " " : item.Caption(); }
}  // namespace

void TMenuItem::OwnMeasureItem(TCanvas& canvas, int& width, int& height) {
    if (IsLine()) {
        width = 0;
        height = 8;
        return;
    }
    TRect r{0, 0, 0, 0};
    canvas.DrawText(r, ItemCaption(*this), DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    width = kCheckSpace + r.Width() + kItemMarginRight;
    if (GetShortCut()) width += canvas.TextWidth(ShortCutToText(GetShortCut())) + 2 * kItemMarginRight;
    height = std::max(r.Height() + 6, GetSystemMetrics(SM_CYMENUCHECK) + 2);
    // A bar item gives its text width only; the system adds its own margins.
    if (!Parent() || !Parent()->Parent()) width = r.Width();
}

void TMenuItem::OwnDrawItem(TCanvas& canvas, const TRect& rect, bool selected) {
    HDC dc = canvas.Handle();
    if (!dc) return;
    canvas.Brush().Color = selected ? clHighlight : clMenu;
    canvas.FillRect(rect);
    if (IsLine()) {
        RECT line = ToRECT(rect);
        line.top += rect.Height() / 2 - 1;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const COLORREF text = ColorToRGB(!Enabled() ? clGrayText : selected ? clHighlightText : clMenuText);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    canvas.Font().SetColor(!Enabled() ? clGrayText : selected ? clHighlightText : clMenuText);
    if (Default()) canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
    if (Checked()) {
        // The system's check mark (or bullet for a radio item) in the text colour.
        const int cw = GetSystemMetrics(SM_CXMENUCHECK), chh = GetSystemMetrics(SM_CYMENUCHECK);
        RECT mark{rect.Left + (kCheckSpace - cw) / 2, rect.Top + (rect.Height() - chh) / 2, 0, 0};
        mark.right = mark.left + cw;
        mark.bottom = mark.top + chh;
        const UINT kind = RadioItem() ? DFCS_MENUBULLET : DFCS_MENUCHECK;
        HDC mdc = CreateCompatibleDC(dc);
        UniqueGdi<HBITMAP> mono(CreateBitmap(cw, chh, 1, 1, nullptr));
        HGDIOBJ old = SelectObject(mdc, mono.Get());
        RECT mr{0, 0, cw, chh};
        DrawFrameControl(mdc, &mr, DFC_MENU, kind);
        // Black in the mono mask is the mark: paint it in the text colour.
        UniqueGdi<HBRUSH> brush(CreateSolidBrush(text));
        HGDIOBJ oldBrush = SelectObject(dc, brush.Get());
        const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
        const COLORREF oldFg = SetTextColor(dc, RGB(0, 0, 0));
        BitBlt(dc, mark.left, mark.top, cw, chh, mdc, 0, 0, 0x00B8074A);  // where the mask is black: brush
        SetBkColor(dc, oldBk);
        SetTextColor(dc, oldFg);
        SelectObject(dc, oldBrush);
        SelectObject(mdc, old);
        DeleteDC(mdc);
    }
    TRect tr{rect.Left + kCheckSpace, rect.Top, rect.Right - kItemMarginRight, rect.Bottom};
    if (!Parent() || !Parent()->Parent()) tr = rect;  // a bar item: centred
    const unsigned centre = (!Parent() || !Parent()->Parent()) ? DT_CENTER : 0u;
    canvas.DrawText(tr, ItemCaption(*this), DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | centre);
    if (GetShortCut()) canvas.DrawText(tr, ShortCutToText(GetShortCut()), DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    SetBkMode(dc, oldMode);
}

}  // namespace kes

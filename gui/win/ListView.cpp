// The list view (SysListView32).
#include "gui/ListView.h"

#include "gui/win/Win.h"

namespace kes {

static HWND H(const TWinControl* c) { return static_cast<HWND>(c->WindowHandle()); }

void TListView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = WC_LISTVIEWA;
    p.SystemClass = true;
    if (borderStyle_ != bsNone) p.ExStyle |= WS_EX_CLIENTEDGE;
    static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    p.Style = (p.Style & ~WS_CLIPCHILDREN) | kViews[viewStyle_] | LVS_SHOWSELALWAYS | LVS_SINGLESEL;
}

void TListView::CreateWnd() {
    HWND h = H(this);
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < ColumnCount(); ++i) PushColumn(i);
    for (int i = 0; i < ItemCount(); ++i) PushItem(i);
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    SetItemIndex(itemIndex_);
}

void TListView::DestroyWnd() { itemIndex_ = ItemIndex(); }

void TListView::PushColumn(int index) {
    if (!handle_) return;
    const TListColumn& c = columns_[static_cast<size_t>(index)];
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<char*>(c.Caption.c_str());
    col.cx = c.Width;
    col.iSubItem = index;
    SendMessageA(H(this), LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col));
}

void TListView::PushItem(int index) {
    if (!handle_) return;
    const TListItem& it = items_[static_cast<size_t>(index)];
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<char*>(it.Caption.c_str());
    SendMessageA(H(this), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (size_t s = 0; s < it.SubItems.size(); ++s) {
        LVITEMA sub{};
        sub.iSubItem = static_cast<int>(s) + 1;
        sub.pszText = const_cast<char*>(it.SubItems[s].c_str());
        SendMessageA(H(this), LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
    }
}

void TListView::ClearItems() {
    items_.clear();
    itemIndex_ = -1;
    if (handle_) SendMessageA(H(this), LVM_DELETEALLITEMS, 0, 0);
}

int TListView::ItemIndex() const {
    if (!handle_) return itemIndex_;
    return static_cast<int>(SendMessageA(H(this), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TListView::SetItemIndex(int index) {
    itemIndex_ = index;
    if (!handle_) return;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageA(H(this), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (index < 0 || index >= ItemCount()) return;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(H(this), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
}

int TListView::TopIndex() const { return handle_ ? static_cast<int>(SendMessageA(H(this), LVM_GETTOPINDEX, 0, 0)) : 0; }

}  // namespace kes

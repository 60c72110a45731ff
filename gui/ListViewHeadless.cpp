// Stand-ins for the window half of the list view in builds without windows.
#include "gui/ListView.h"

namespace kes {

void TListView::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TListView::CreateWnd() {}
void TListView::DestroyWnd() {}
void TListView::PushColumn(int) {}
void TListView::PushItem(int) {}
void TListView::ClearItems() {
    items_.clear();
    itemIndex_ = -1;
}
int TListView::ItemIndex() const { return itemIndex_; }
void TListView::SetItemIndex(int index) { itemIndex_ = index; }
int TListView::TopIndex() const { return 0; }

}  // namespace kes

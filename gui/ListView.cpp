#include "gui/ListView.h"

namespace kes {

static const std::vector<std::string> kViewStyleNames{"vsIcon", "vsSmallIcon", "vsList", "vsReport"};
static const std::vector<std::string> kListBorderNames{"bsNone", "bsSingle"};

const TPropTable& TListView::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            EnumProp<TListView>(
                "ViewStyle", kViewStyleNames, [](const TListView& c) { return c.ViewStyle(); },
                [](TListView& c, int64_t v) { c.SetViewStyle(static_cast<TViewStyle>(v)); }),
            EnumProp<TListView>(
                "BorderStyle", kListBorderNames, [](const TListView& c) { return c.BorderStyle() == bsNone ? 0 : 1; },
                [](TListView& c, int64_t v) { c.SetBorderStyle(v == 0 ? bsNone : bsSingle); }),
            IntProp<TListView>(
                "ItemIndex", [](const TListView& c) { return c.ItemIndex(); },
                [](TListView& c, int v) { c.SetItemIndex(v); }),
        });
    return t;
}

TListView::TListView(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 250, 150);
    TabStop = true;
}

void TListView::SetViewStyle(TViewStyle s) {
    if (s == viewStyle_) return;
    viewStyle_ = s;
    RecreateWnd();
}

void TListView::SetBorderStyle(TBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    RecreateWnd();
}

void TListView::AddColumn(const std::string& caption, int width) {
    columns_.push_back({caption, width});
    PushColumn(ColumnCount() - 1);
}

void TListView::AddItem(const std::string& caption, const std::vector<std::string>& subItems) {
    items_.push_back({caption, subItems});
    PushItem(ItemCount() - 1);
}

}  // namespace kes

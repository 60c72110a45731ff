#pragma once
// The list view of the system in its report style: columns with captions and widths under a header, and rows of
// items with the texts of their further columns. State lives in the object; the platform files keep the window
// in step with it (win/ListView.cpp) or stand in for it (ListViewHeadless.cpp).
#include <string>
#include <vector>

#include "gui/Controls.h"

namespace kes {

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

struct TListColumn {
    std::string Caption;
    int Width = 50;
};

struct TListItem {
    std::string Caption;
    std::vector<std::string> SubItems;  // the texts of the second and later columns
};

class TListView : public TWinControl {
    KES_CLASS(TListView, TWinControl)
    KES_PUBLISHED
public:
    explicit TListView(TComponent* owner);
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle s);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);

    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const TListColumn& Column(int index) const { return columns_.at(static_cast<size_t>(index)); }
    void AddColumn(const std::string& caption, int width);
    int ItemCount() const { return static_cast<int>(items_.size()); }
    const TListItem& Item(int index) const { return items_.at(static_cast<size_t>(index)); }
    void AddItem(const std::string& caption, const std::vector<std::string>& subItems = {});
    void ClearItems();
    // The selected item (-1: none).
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The first row shown.
    int TopIndex() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    void PushColumn(int index);
    void PushItem(int index);
    TViewStyle viewStyle_ = vsReport;
    TBorderStyle borderStyle_ = bsSingle;
    std::vector<TListColumn> columns_;
    std::vector<TListItem> items_;
    int itemIndex_ = -1;  // while there is no window
};

}  // namespace kes

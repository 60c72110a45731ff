#pragma once
// A list box whose items carry a check box each: checked, unchecked or grayed. Items may be disabled (shown
// grey, their box left alone) or be headers (a band that groups the items below it, with no box). The list
// draws its items itself (owner-drawn, the parent hands the drawing back to it); a click on an item's box or
// Space on the selected item moves its box on.
#include <vector>

#include "gui/StdCtrls.h"

namespace kes {

// One item's marks.
struct TCheckListItem {
    TCheckBoxState State = cbUnchecked;
    bool Enabled = true;
    bool Header = false;
};

// The state a click gives an item in `state`: unchecked -> checked -> grayed (only when grayed is allowed) ->
// unchecked.
TCheckBoxState NextCheckState(TCheckBoxState state, bool allowGrayed);

class TCheckListBox : public TCustomListBox {
    KES_CLASS(TCheckListBox, TCustomListBox)
    KES_PUBLISHED
public:
    explicit TCheckListBox(TComponent* owner);

    // Per item; an index out of range reads as an unchecked enabled plain item and is not written.
    TCheckBoxState State(int index) const;
    void SetState(int index, TCheckBoxState state);
    bool Checked(int index) const { return State(index) == cbChecked; }
    void SetChecked(int index, bool on) { SetState(index, on ? cbChecked : cbUnchecked); }
    bool ItemEnabled(int index) const;
    void SetItemEnabled(int index, bool on);
    bool Header(int index) const;
    void SetHeader(int index, bool on);
    bool AllowGrayed = false;
    TColor HeaderColor = clInfoText;
    TColor HeaderBackgroundColor = clInfoBk;
    // After the user moved an item's box on (by mouse or Space).
    TNotifyEvent OnClickCheck;

    // The user's toggle of one item: nothing for a header or disabled item.
    void ToggleClickCheck(int index);
    // The width of an item's box and the space around it, from the item's left edge.
    static constexpr int kCheckWidth = 13, kCheckMargin = 2;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void ItemInserted(int index, const std::string& s) override;
    void ItemDeleted(int index) override;
    void ItemsCleared() override;

private:
    void InvalidateItem(int index);
    // One mark of an item set (and the item repainted) when it changes.
    template <typename T>
    void SetMark(int index, T TCheckListItem::*mark, T value);
    const TCheckListItem* Item(int index) const;
    std::vector<TCheckListItem> marks_;
};

}  // namespace kes

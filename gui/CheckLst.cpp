#include "gui/CheckLst.h"

#include "gui/TypInfo.h"

namespace kes {

TCheckBoxState NextCheckState(TCheckBoxState state, bool allowGrayed) {
    switch (state) {
    case cbUnchecked: return cbChecked;
    case cbChecked: return allowGrayed ? cbGrayed : cbUnchecked;
    case cbGrayed: return cbUnchecked;
    }
    return cbUnchecked;
}

const TPropTable& TCheckListBox::ClassProps() {
    static const TPropTable t(&TCustomListBox::ClassProps(),
                              {
                                  BoolProp<TCheckListBox>(
                                      "AllowGrayed", [](const TCheckListBox& c) { return c.AllowGrayed; },
                                      [](TCheckListBox& c, bool v) { c.AllowGrayed = v; }),
                                  IntProp<TCheckListBox>(
                                      "HeaderColor", [](const TCheckListBox& c) { return c.HeaderColor; },
                                      [](TCheckListBox& c, int v) { c.HeaderColor = static_cast<TColor>(v); }),
                                  IntProp<TCheckListBox>(
                                      "HeaderBackgroundColor",
                                      [](const TCheckListBox& c) { return c.HeaderBackgroundColor; },
                                      [](TCheckListBox& c, int v) {
                                          c.HeaderBackgroundColor = static_cast<TColor>(v);
                                      }),
                              });
    return t;
}

TCheckListBox::TCheckListBox(TComponent* owner) : TCustomListBox(owner) {}

const TCheckListItem* TCheckListBox::Item(int index) const {
    return index >= 0 && index < static_cast<int>(marks_.size()) ? &marks_[static_cast<size_t>(index)] : nullptr;
}

TCheckBoxState TCheckListBox::State(int index) const {
    const TCheckListItem* i = Item(index);
    return i ? i->State : cbUnchecked;
}

template <typename T>
void TCheckListBox::SetMark(int index, T TCheckListItem::*mark, T value) {
    if (!Item(index) || marks_[static_cast<size_t>(index)].*mark == value) return;
    marks_[static_cast<size_t>(index)].*mark = value;
    InvalidateItem(index);
}

void TCheckListBox::SetState(int index, TCheckBoxState state) { SetMark(index, &TCheckListItem::State, state); }

bool TCheckListBox::ItemEnabled(int index) const {
    const TCheckListItem* i = Item(index);
    return !i || i->Enabled;
}

void TCheckListBox::SetItemEnabled(int index, bool on) { SetMark(index, &TCheckListItem::Enabled, on); }

bool TCheckListBox::Header(int index) const {
    const TCheckListItem* i = Item(index);
    return i && i->Header;
}

void TCheckListBox::SetHeader(int index, bool on) { SetMark(index, &TCheckListItem::Header, on); }

void TCheckListBox::ToggleClickCheck(int index) {
    const TCheckListItem* i = Item(index);
    if (!i || i->Header || !i->Enabled || !Enabled()) return;
    SetState(index, NextCheckState(i->State, AllowGrayed));
    Fire(OnClickCheck, this);
}

void TCheckListBox::ItemInserted(int index, const std::string& s) {
    if (index >= 0 && index <= static_cast<int>(marks_.size()))
        marks_.insert(marks_.begin() + index, TCheckListItem{});
    TCustomListBox::ItemInserted(index, s);
}

void TCheckListBox::ItemDeleted(int index) {
    if (Item(index)) marks_.erase(marks_.begin() + index);
    TCustomListBox::ItemDeleted(index);
}

void TCheckListBox::ItemsCleared() {
    marks_.clear();
    TCustomListBox::ItemsCleared();
}

}  // namespace kes

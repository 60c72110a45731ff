// Stand-ins for the window half of the tab controls in builds without windows: the state stays in the objects,
// nothing is drawn, and a caption is as wide as 6 pixels a character.
#include <algorithm>

#include "gui/TabCtrls.h"

namespace kes {

void TUpDown::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TUpDown::CreateWnd() {}
void TUpDown::Push() {}
void TUpDown::WndProc(TMessage& m) { TWinControl::WndProc(m); }

int TTabSet::TabTextWidth(int index) const {
    return index < 0 || index >= TabCount() ? 0 : 6 * static_cast<int>(Tab(index).size());
}
void TTabSet::Paint(TCanvas&) {}

void TCustomTabControl::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TCustomTabControl::CreateWnd() {}
void TCustomTabControl::DestroyWnd() {}
void TCustomTabControl::InsertTab(int index, const std::string& caption) {
    index = std::clamp(index, 0, TabCount());
    tabs_.insert(tabs_.begin() + index, caption);
}
void TCustomTabControl::DeleteTab(int index) {
    if (index < 0 || index >= TabCount()) return;
    tabs_.erase(tabs_.begin() + index);
    if (tabIndex_ >= TabCount()) tabIndex_ = TabCount() - 1;
}
void TCustomTabControl::SetTabText(int index, const std::string& caption) {
    if (index >= 0 && index < TabCount()) tabs_[static_cast<size_t>(index)] = caption;
}
int TCustomTabControl::TabIndex() const { return tabIndex_; }
void TCustomTabControl::SetTabIndex(int index) {
    if (index >= -1 && index < TabCount()) tabIndex_ = index;
}
// The tabs' row is 20 pixels high, the frame 2 pixels wide.
TRect TCustomTabControl::DisplayRect() const { return Rect(2, 22, Width() - 2, Height() - 2); }
void TCustomTabControl::WndProc(TMessage& m) { TWinControl::WndProc(m); }

}  // namespace kes

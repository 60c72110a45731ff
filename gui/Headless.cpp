// Stand-ins for the window half of the layer in builds without windows (the native tests): every control
// keeps its state in its own fields, and nothing is drawn. The Windows build uses win/ instead.
#include <algorithm>

#include "gui/ComCtrls.h"
#include "gui/Dialogs.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/HintWindow.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"

namespace kes {

TWinControl* FindControl(void*) { return nullptr; }
void ControlGone(const TControl*) {}

void TControl::BoundsChanged() {}
void TControl::TextChanged() {}
void TControl::ColorChanged() {}
void TControl::FontChanged() {}
void TControl::VisibleChanged() {}
void TControl::EnabledChanged() {}
void TControl::Invalidate() {}
void TControl::Repaint() {}
void TControl::BringToFront() {
    if (!parent_ || dynamic_cast<TWinControl*>(this)) return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.push_back(this);
}
void TControl::SendToBack() {
    if (!parent_ || dynamic_cast<TWinControl*>(this)) return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin(), this);
}
TPoint TControl::ClientToScreen(TPoint p) const {
    for (const TControl* c = this; c; c = c->Parent()) p = {p.X + c->Left(), p.Y + c->Top()};
    return p;
}
TPoint TControl::ScreenToClient(TPoint p) const {
    for (const TControl* c = this; c; c = c->Parent()) p = {p.X - c->Left(), p.Y - c->Top()};
    return p;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.WinClassName = ClassName();
    p.X = left_;
    p.Y = top_;
    p.Width = width_;
    p.Height = height_;
    p.Caption = text_;
}
void TWinControl::HandleNeeded() {}
void TWinControl::CreateWnd() {}
void TWinControl::DestroyWnd() {}
void TWinControl::DestroyHandle() {}
void TWinControl::RecreateWnd() {}
void* TWinControl::Handle() { return nullptr; }
intptr_t TWinControl::Perform(unsigned, uintptr_t, intptr_t) { return 0; }
int TWinControl::AddMessageHandler(TMessageHandler handler) {
    const int id = nextHandlerId_++;
    handlers_.push_back({id, std::move(handler)});
    return id;
}
void TWinControl::RemoveMessageHandler(int id) {
    handlers_.erase(
        std::remove_if(handlers_.begin(), handlers_.end(), [id](const HandlerEntry& e) { return e.Id == id; }),
        handlers_.end());
}
TRect TWinControl::ClientRect() const { return Rect(0, 0, width_, height_); }
void TWinControl::BoundsChanged() {}
void TWinControl::TextChanged() {}
void TWinControl::ColorChanged() {}
void TWinControl::FontChanged() {
    for (TControl* c : controls_) c->ParentFontChanged();
}
void TWinControl::VisibleChanged() {}
void TWinControl::EnabledChanged() {}
void TWinControl::SetFocus() {
    if (TCustomForm* f = GetParentForm(this)) f->FocusChanged(this);
}
bool TWinControl::Focused() const {
    TCustomForm* f = GetParentForm(this);
    return f && f->ActiveControl() == this;
}
void TWinControl::WndProc(TMessage&) {}
void TWinControl::DefaultHandler(TMessage&) {}
TWinControl* CreatingControl() { return nullptr; }

// ---- forms ----
void TCustomForm::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TCustomForm::CreateWnd() {}
void TCustomForm::DestroyWnd() {}
void TCustomForm::SetMenu(TMainMenu* menu) { menu_ = menu; }
void TCustomForm::SetBorderStyle(TFormBorderStyle s) { borderStyle_ = s; }
void TCustomForm::SetFormStyle(TFormStyle s) { formStyle_ = s; }
TWindowState TCustomForm::WindowState() const { return windowState_; }
void TCustomForm::SetWindowState(TWindowState s) { windowState_ = s; }
TRect TCustomForm::ScreenWorkArea() { return Rect(0, 0, 1280, 1024); }
bool TCustomForm::Active() const { return false; }
TRect TCustomForm::ClientRect() const { return Rect(0, 0, width_, height_); }
void TCustomForm::SetClientSize(int w, int h) { SetBounds(left_, top_, w, h); }
void TCustomForm::VisibleChanged() { DoShowChange(visible_); }
int TCustomForm::ShowModal() { return mrCancel; }
void TCustomForm::Release() {}
void TCustomForm::WndProc(TMessage&) {}
void TCustomForm::DefaultHandler(TMessage&) {}
int TCustomForm::MDIChildCount() const { return 0; }
TCustomForm* TCustomForm::MDIChildren(int) const { return nullptr; }
TCustomForm* TCustomForm::ActiveMDIChild() const { return nullptr; }
void TCustomForm::Tile() {}
void TCustomForm::Cascade() {}
void TCustomForm::UpdateMDIMenu(TCustomForm*) {}

// ---- standard controls ----
void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || wordWrap_) return;
    SetBounds(left_, top_, static_cast<int>(text_.size()) * 6, -font_.Height() + 4);
}
void TCustomLabel::Paint(TCanvas&) {}
void TButton::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TButton::CommandNotify(unsigned) {}
void TCustomCheckBox::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TCustomCheckBox::CreateWnd() {}
void TCustomCheckBox::DestroyWnd() {}
TCheckBoxState TCustomCheckBox::State() const { return state_; }
void TCustomCheckBox::SetState(TCheckBoxState state) {
    if (state == state_) return;
    state_ = state;
    Click();
}
void TCustomCheckBox::CommandNotify(unsigned) {}
void TRadioButton::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TRadioButton::CreateWnd() {}
bool TRadioButton::Checked() const { return checked_; }
void TRadioButton::CommandNotify(unsigned) {}
TRect TCustomGroupBox::ClientRect() const { return Rect(2, 15, std::max(2, width_ - 2), std::max(15, height_ - 2)); }
void TCustomGroupBox::Paint(TCanvas&) {}

void TCustomEdit::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TCustomEdit::CreateWnd() {}
void TCustomEdit::DestroyWnd() {}
std::string TCustomEdit::Text() const { return text_; }
void TCustomEdit::TextChanged() {
    selStart_ = selEnd_ = 0;
    Change();
}
int TCustomEdit::GetTextLen() const { return static_cast<int>(text_.size()); }
void TCustomEdit::SetReadOnly(bool on) { readOnly_ = on; }
void TCustomEdit::SetMaxLength(int n) { maxLength_ = std::max(0, n); }
void TCustomEdit::GetSelection(int& start, int& end) const {
    start = selStart_;
    end = selEnd_;
}
void TCustomEdit::SetSelection(int start, int end) {
    const int len = GetTextLen();
    selStart_ = std::clamp(start, 0, len);
    selEnd_ = std::clamp(end, selStart_, len);
}
void TCustomEdit::ReplaceSelection(const std::string& text) {
    // Like the text window: read-only stops the user, not the program.
    text_.replace(static_cast<size_t>(selStart_), static_cast<size_t>(selEnd_ - selStart_), text);
    selStart_ = selEnd_ = selStart_ + static_cast<int>(text.size());
    Change();
}
void TCustomEdit::ScrollCaret() {}
void TCustomEdit::CommandNotify(unsigned) {}
void TCustomMemo::CreateParams(TCreateParams& p) { TCustomEdit::CreateParams(p); }

void TCustomListBox::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TCustomListBox::CreateWnd() {}
void TCustomListBox::DestroyWnd() {}
int TCustomListBox::ItemIndex() const { return itemIndex_; }
void TCustomListBox::SetItemIndex(int index) { itemIndex_ = (index < -1 || index >= items_.Count()) ? -1 : index; }
int TCustomListBox::TopIndex() const { return topIndex_; }
void TCustomListBox::SetTopIndex(int index) { topIndex_ = std::clamp(index, 0, std::max(0, items_.Count() - 1)); }
void TCustomListBox::ItemInserted(int index, const std::string&) {
    if (itemIndex_ >= index) ++itemIndex_;
}
void TCustomListBox::ItemDeleted(int index) {
    if (itemIndex_ == index)
        itemIndex_ = -1;
    else if (itemIndex_ > index)
        --itemIndex_;
}
void TCustomListBox::ItemsCleared() {
    itemIndex_ = -1;
    topIndex_ = 0;
}
void TCustomListBox::CommandNotify(unsigned) {}

void TCustomComboBox::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TCustomComboBox::CreateWnd() {}
void TCustomComboBox::DestroyWnd() {}
void TCustomComboBox::BoundsChanged() {}
int TCustomComboBox::ItemIndex() const { return itemIndex_; }
void TCustomComboBox::SetItemIndex(int index) {
    itemIndex_ = (index < -1 || index >= items_.Count()) ? -1 : index;
    if (style_ != csDropDownList && itemIndex_ >= 0) text_ = items_[itemIndex_];
}
std::string TCustomComboBox::Text() const {
    if (style_ == csDropDownList)
        return itemIndex_ >= 0 && itemIndex_ < items_.Count() ? items_[itemIndex_] : std::string();
    return text_;
}
bool TCustomComboBox::DroppedDown() const { return false; }
void TCustomComboBox::ItemInserted(int index, const std::string&) {
    if (itemIndex_ >= index) ++itemIndex_;
}
void TCustomComboBox::ItemDeleted(int index) {
    if (itemIndex_ == index)
        itemIndex_ = -1;
    else if (itemIndex_ > index)
        --itemIndex_;
}
void TCustomComboBox::ItemsCleared() { itemIndex_ = -1; }
void TCustomComboBox::CommandNotify(unsigned) {}

// ---- panels, shapes, status and progress bars ----
void TCustomPanel::Paint(TCanvas&) {}
void TShape::Paint(TCanvas&) {}
void TCustomStatusBar::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TCustomStatusBar::CreateWnd() {}
void TCustomStatusBar::BoundsChanged() {}
void TCustomStatusBar::PanelChanged(int) {}
void TGraphicControl::WndProc(TMessage&) {}
void TCustomStatusBar::DrawPanel(int, const TRect&, void*) {}
void TCustomStatusBar::WndProc(TMessage& m) { TWinControl::WndProc(m); }
void TProgressBar::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TProgressBar::CreateWnd() {}
void TProgressBar::Push() {}

// ---- menus and dialogs ----
void* TMenuItem::Handle() { return nullptr; }
void* TMenu::Handle() { return nullptr; }
void TMenu::UpdateNative(TMenuItem*, bool) {}
void TMenu::DestroyNative() {}
void TPopupMenu::Popup(int, int) { Fire(OnPopup, this); }
void TMenuItem::OwnMeasureItem(TCanvas&, int&, int&) {}
void TMenuItem::OwnDrawItem(TCanvas&, const TRect&, bool) {}
TFont& TScreen::MenuFont() { return menuFont_; }
bool TOpenDialog::Execute() { return false; }
bool TPrintDialog::Execute() { return false; }
bool TPrinterSetupDialog::Execute() { return false; }

// ---- hints ----
void THintWindow::CreateParams(TCreateParams& p) { TCustomControl::CreateParams(p); }
TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
    return Rect(0, 0, std::min(maxWidth, static_cast<int>(hint.size()) * 6) + 8, -font_.Height() + 8);
}
void THintWindow::ActivateHint(const TRect& r, const std::string& hint) {
    text_ = hint;
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    visible_ = true;
}
void THintWindow::ReleaseHandle() { visible_ = false; }
void THintWindow::Paint(TCanvas&) {}
void InstallHintManager() {}
void ForgetHintControl(const TControl*) {}
THintWindow* ShowingHintWindow() { return nullptr; }

}  // namespace kes

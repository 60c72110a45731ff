// The window half of the standard controls: system classes BUTTON, EDIT, LISTBOX and COMBOBOX; labels and
// group boxes are drawn by the layer.
#include "gui/StdCtrls.h"

#include <algorithm>

#include "gui/win/Canvas.h"
#include "gui/win/Win.h"

namespace kes {

static HWND H(const TWinControl* c) { return static_cast<HWND>(c->WindowHandle()); }

// ---- label ----

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || wordWrap_) return;
    const RECT r = MeasureText(font_, text_.empty() ? std::string(" ") : text_, 0, DT_SINGLELINE | DT_NOPREFIX);
    int left = left_;
    if (alignment_ == taRightJustify) left = left_ + width_ - r.right;
    SetBounds(left, top_, r.right, r.bottom);
}

void TCustomLabel::Paint(TCanvas& canvas) {
    TRect r = Rect(0, 0, width_, height_);
    if (!transparent_) {
        canvas.Brush().Color = color_;
        canvas.Brush().Style = bsSolid;
        canvas.FillRect(r);
    }
    canvas.Brush().Style = bsClear;
    canvas.Font().Assign(font_);
    if (!enabled_) canvas.Font().SetColor(clGrayText);
    unsigned flags = DT_NOPREFIX | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
    flags |= alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
    canvas.DrawText(r, text_, flags);
}

// ---- buttons ----

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "BUTTON";
    p.SystemClass = true;
    p.Style = (p.Style & ~WS_CLIPCHILDREN) | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::CommandNotify(unsigned code) {
    if (code == BN_CLICKED) Click();
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "BUTTON";
    p.SystemClass = true;
    p.Style = (p.Style & ~WS_CLIPCHILDREN) | (AllowGrayed ? BS_AUTO3STATE : BS_AUTOCHECKBOX);
}

void TCustomCheckBox::CreateWnd() { SendMessageA(H(this), BM_SETCHECK, static_cast<WPARAM>(state_), 0); }

void TCustomCheckBox::DestroyWnd() { state_ = State(); }

TCheckBoxState TCustomCheckBox::State() const {
    if (!handle_) return state_;
    const LRESULT s = SendMessageA(H(this), BM_GETCHECK, 0, 0);
    return s == BST_CHECKED ? cbChecked : s == BST_INDETERMINATE ? cbGrayed : cbUnchecked;
}

void TCustomCheckBox::SetState(TCheckBoxState state) {
    if (state == State()) return;
    state_ = state;
    if (handle_) SendMessageA(H(this), BM_SETCHECK, static_cast<WPARAM>(state), 0);
    Click();
}

void TCustomCheckBox::CommandNotify(unsigned code) {
    if (code != BN_CLICKED) return;
    state_ = State();
    Click();
}

void TRadioButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "BUTTON";
    p.SystemClass = true;
    p.Style = (p.Style & ~WS_CLIPCHILDREN) | BS_RADIOBUTTON;
}

void TRadioButton::CreateWnd() { SendMessageA(H(this), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0); }

bool TRadioButton::Checked() const { return checked_; }

void TRadioButton::CommandNotify(unsigned code) {
    // A click on the checked button changes nothing and tells nothing.
    if (code == BN_CLICKED && !checked_) SetChecked(true);
}

// ---- group box ----

TRect TCustomGroupBox::ClientRect() const {
    const int top = std::max(8, -font_.Height() + 4);
    TRect r = Rect(0, 0, width_, height_);
    r.Left += 2;
    r.Right = std::max(r.Left, r.Right - 2);
    r.Top += top;
    r.Bottom = std::max(r.Top, r.Bottom - 2);
    return r;
}

void TCustomGroupBox::Paint(TCanvas& canvas) {
    const int th = canvas.TextHeight("0");
    RECT r{0, th / 2, width_, height_};
    DrawEdge(canvas.Handle(), &r, EDGE_ETCHED, BF_RECT);
    if (text_.empty()) return;
    canvas.Brush().Color = color_;
    canvas.Brush().Style = bsSolid;
    canvas.Font().Assign(font_);
    if (!enabled_) canvas.Font().SetColor(clGrayText);
    canvas.TextOut(8, 0, text_);
}

// ---- edit and memo ----

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "EDIT";
    p.SystemClass = true;
    p.ExStyle |= WS_EX_CLIENTEDGE;
    p.Style = (p.Style & ~WS_CLIPCHILDREN) | ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
}

void TCustomEdit::CreateWnd() {
    HWND h = H(this);
    // No 30000-character ceiling: the limit is the largest the control takes, or MaxLength.
    SendMessageA(h, EM_SETLIMITTEXT, maxLength_ > 0 ? static_cast<WPARAM>(maxLength_) : 0x7FFFFFFE, 0);
    SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(selStart_), selEnd_);
}

void TCustomEdit::DestroyWnd() {
    text_ = Text();
    GetSelection(selStart_, selEnd_);
}

std::string TCustomEdit::Text() const {
    if (!handle_) return text_;
    const int n = GetWindowTextLengthA(H(this));
    std::string s(static_cast<size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(H(this), s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(0, got)));
    return s;
}

void TCustomEdit::TextChanged() {
    if (handle_)
        SetWindowTextA(H(this), text_.c_str());  // EN_CHANGE runs Change
    else {
        selStart_ = selEnd_ = 0;
        Change();
    }
}

int TCustomEdit::GetTextLen() const { return handle_ ? GetWindowTextLengthA(H(this)) : static_cast<int>(text_.size()); }

void TCustomEdit::SetReadOnly(bool on) {
    readOnly_ = on;
    if (handle_) SendMessageA(H(this), EM_SETREADONLY, on, 0);
}

void TCustomEdit::SetMaxLength(int n) {
    maxLength_ = std::max(0, n);
    if (handle_)
        SendMessageA(H(this), EM_SETLIMITTEXT, maxLength_ > 0 ? static_cast<WPARAM>(maxLength_) : 0x7FFFFFFE, 0);
}

void TCustomEdit::GetSelection(int& start, int& end) const {
    if (!handle_) {
        start = selStart_;
        end = selEnd_;
        return;
    }
    DWORD s = 0, e = 0;
    SendMessageA(H(this), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

void TCustomEdit::SetSelection(int start, int end) {
    const int len = GetTextLen();
    start = std::clamp(start, 0, len);
    end = std::clamp(end, start, len);
    if (!handle_) {
        selStart_ = start;
        selEnd_ = end;
        return;
    }
    SendMessageA(H(this), EM_SETSEL, static_cast<WPARAM>(start), end);
}

void TCustomEdit::ReplaceSelection(const std::string& text) {
    if (!handle_) {
        text_.replace(static_cast<size_t>(selStart_), static_cast<size_t>(selEnd_ - selStart_), text);
        selStart_ = selEnd_ = selStart_ + static_cast<int>(text.size());
        Change();
        return;
    }
    SendMessageA(H(this), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomEdit::ScrollCaret() {
    if (handle_) SendMessageA(H(this), EM_SCROLLCARET, 0, 0);
}

void TCustomEdit::CommandNotify(unsigned code) {
    if (code == EN_CHANGE && !creating_) Change();
}

void TCustomMemo::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
    if (wordWrap_) p.Style &= ~ES_AUTOHSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
    if ((scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && !wordWrap_) p.Style |= WS_HSCROLL;
}

// ---- list box ----

void TCustomListBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "LISTBOX";
    p.SystemClass = true;
    p.ExStyle |= WS_EX_CLIENTEDGE;
    p.Style = (p.Style & ~WS_CLIPCHILDREN) | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
}

void TCustomListBox::CreateWnd() {
    HWND h = H(this);
    SendMessageA(h, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < items_.Count(); ++i)
        SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_[i].c_str()));
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    SendMessageA(h, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    SendMessageA(h, LB_SETTOPINDEX, static_cast<WPARAM>(topIndex_), 0);
}

void TCustomListBox::DestroyWnd() {
    itemIndex_ = ItemIndex();
    topIndex_ = TopIndex();
}

int TCustomListBox::ItemIndex() const {
    return handle_ ? static_cast<int>(SendMessageA(H(this), LB_GETCURSEL, 0, 0)) : itemIndex_;
}

void TCustomListBox::SetItemIndex(int index) {
    if (index < -1 || index >= items_.Count()) index = -1;
    itemIndex_ = index;
    if (handle_) SendMessageA(H(this), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TCustomListBox::TopIndex() const {
    return handle_ ? static_cast<int>(SendMessageA(H(this), LB_GETTOPINDEX, 0, 0)) : topIndex_;
}

void TCustomListBox::SetTopIndex(int index) {
    topIndex_ = std::clamp(index, 0, std::max(0, items_.Count() - 1));
    if (handle_) SendMessageA(H(this), LB_SETTOPINDEX, static_cast<WPARAM>(topIndex_), 0);
}

void TCustomListBox::ItemInserted(int index, const std::string& s) {
    if (handle_)
        SendMessageA(H(this), LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
    else if (itemIndex_ >= index)
        ++itemIndex_;
}

void TCustomListBox::ItemDeleted(int index) {
    if (handle_)
        SendMessageA(H(this), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    else if (itemIndex_ == index)
        itemIndex_ = -1;
    else if (itemIndex_ > index)
        --itemIndex_;
}

void TCustomListBox::ItemsCleared() {
    itemIndex_ = -1;
    topIndex_ = 0;
    if (handle_) SendMessageA(H(this), LB_RESETCONTENT, 0, 0);
}

void TCustomListBox::CommandNotify(unsigned code) {
    if (code == LBN_SELCHANGE) Click();
}

// ---- combo box ----

int ComboDropHeight(const TWinControl* c) {
    auto* cb = dynamic_cast<const TCustomComboBox*>(c);
    if (!cb || cb->Style() == csSimple) return 0;
    return std::max(1, cb->DropDownCount) * std::max(16, -cb->Font().Height() + 5);
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "COMBOBOX";
    p.SystemClass = true;
    p.Style = (p.Style & ~WS_CLIPCHILDREN) | WS_VSCROLL | CBS_AUTOHSCROLL |
              (style_ == csDropDownList ? CBS_DROPDOWNLIST
               : style_ == csSimple     ? CBS_SIMPLE
                                        : CBS_DROPDOWN);
    p.Height += ComboDropHeight(this);
}

void TCustomComboBox::CreateWnd() {
    HWND h = H(this);
    for (int i = 0; i < items_.Count(); ++i)
        SendMessageA(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_[i].c_str()));
    SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    if (style_ != csDropDownList && itemIndex_ < 0) SetWindowTextA(h, text_.c_str());
}

void TCustomComboBox::DestroyWnd() {
    itemIndex_ = ItemIndex();
    if (style_ != csDropDownList) text_ = Text();
}

void TCustomComboBox::BoundsChanged() { TWinControl::BoundsChanged(); }

int TCustomComboBox::ItemIndex() const {
    return handle_ ? static_cast<int>(SendMessageA(H(this), CB_GETCURSEL, 0, 0)) : itemIndex_;
}

void TCustomComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= items_.Count()) index = -1;
    itemIndex_ = index;
    if (style_ != csDropDownList && index >= 0) text_ = items_[index];
    if (handle_) SendMessageA(H(this), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string TCustomComboBox::Text() const {
    if (style_ == csDropDownList) {
        const int i = ItemIndex();
        return i >= 0 && i < items_.Count() ? items_[i] : std::string();
    }
    if (!handle_) return text_;
    const int n = GetWindowTextLengthA(H(this));
    std::string s(static_cast<size_t>(n) + 1, '\0');
    s.resize(static_cast<size_t>(std::max(0, GetWindowTextA(H(this), s.data(), n + 1))));
    return s;
}

bool TCustomComboBox::DroppedDown() const { return handle_ && SendMessageA(H(this), CB_GETDROPPEDSTATE, 0, 0); }

void TCustomComboBox::ItemInserted(int index, const std::string& s) {
    if (handle_)
        SendMessageA(H(this), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
    else if (itemIndex_ >= index)
        ++itemIndex_;
}

void TCustomComboBox::ItemDeleted(int index) {
    if (handle_)
        SendMessageA(H(this), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    else if (itemIndex_ == index)
        itemIndex_ = -1;
    else if (itemIndex_ > index)
        --itemIndex_;
}

void TCustomComboBox::ItemsCleared() {
    itemIndex_ = -1;
    if (handle_) SendMessageA(H(this), CB_RESETCONTENT, 0, 0);
}

void TCustomComboBox::CommandNotify(unsigned code) {
    switch (code) {
    case CBN_SELCHANGE:
        itemIndex_ = ItemIndex();
        Click();
        if (!Destroying()) Fire(OnSelect, this);
        Change();
        break;
    case CBN_EDITCHANGE: Change(); break;
    default: break;
    }
}

}  // namespace kes

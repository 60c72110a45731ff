#pragma once
// Standard controls: label, buttons, check box, radio button, group box, edit, memo, list box, combo box.
#include <cstdint>
#include <string>
#include <vector>

#include "base/StringList.h"
#include "gui/Controls.h"

namespace kes {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
extern const std::vector<std::string> kAlignmentNames;

class TCustomLabel : public TGraphicControl {
    KES_CLASS(TCustomLabel, TGraphicControl)
    KES_PUBLISHED
public:
    explicit TCustomLabel(TComponent* owner);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    // Fits the size to the caption (on by default).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    void Paint(TCanvas& canvas) override;

protected:
    void TextChanged() override;
    void FontChanged() override;
    void AdjustBounds();

private:
    TAlignment alignment_ = taLeftJustify;
    bool transparent_ = true;
    bool wordWrap_ = false;
    bool autoSize_ = true;
};

class TLabel : public TCustomLabel {
    KES_CLASS(TLabel, TCustomLabel)
public:
    using TCustomLabel::TCustomLabel;
};

class TButtonControl : public TWinControl {
    KES_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* owner);
    bool ClickOnMouseUp() const override { return false; }
};

class TButton : public TButtonControl {
    KES_CLASS(TButton, TButtonControl)
    KES_PUBLISHED
public:
    explicit TButton(TComponent* owner);
    // Enter anywhere on the form clicks the default button; Esc clicks the cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool on);
    bool Cancel = false;
    // Clicking sets the form's ModalResult to this (0 = none).
    int ModalResult = 0;
    void Click() override;
    void CommandNotify(unsigned code) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    bool default_ = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
    KES_CLASS(TCustomCheckBox, TButtonControl)
    KES_PUBLISHED
public:
    explicit TCustomCheckBox(TComponent* owner);
    bool Checked() const { return State() == cbChecked; }
    void SetChecked(bool on) { SetState(on ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const;
    void SetState(TCheckBoxState state);
    bool AllowGrayed = false;
    void CommandNotify(unsigned code) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    TCheckBoxState state_ = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
    KES_CLASS(TCheckBox, TCustomCheckBox)
public:
    using TCustomCheckBox::TCustomCheckBox;
};

// Checking one radio button unchecks the other radio buttons of the same parent.
class TRadioButton : public TButtonControl {
    KES_CLASS(TRadioButton, TButtonControl)
    KES_PUBLISHED
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const;
    void SetChecked(bool on);
    void CommandNotify(unsigned code) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    bool checked_ = false;
};

class TCustomGroupBox : public TCustomControl {
    KES_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* owner);
    TRect ClientRect() const override;
    void Paint(TCanvas& canvas) override;
};

class TGroupBox : public TCustomGroupBox {
    KES_CLASS(TGroupBox, TCustomGroupBox)
public:
    using TCustomGroupBox::TCustomGroupBox;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomEdit : public TWinControl {
    KES_CLASS(TCustomEdit, TWinControl)
    KES_PUBLISHED
public:
    explicit TCustomEdit(TComponent* owner);
    std::string Text() const override;
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    // 0 = no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n);
    int GetTextLen() const;

    // Selection in characters from 0.
    int SelStart() const;
    void SetSelStart(int pos);
    int SelLength() const;
    void SetSelLength(int length);
    std::string SelText() const;
    // Replaces the selection (or inserts at the caret).
    void SetSelText(const std::string& text);
    void SelectAll();
    void Clear() { SetText(""); }
    bool Modified = false;
    TNotifyEvent OnChange;

    // Platform primitives of the text window.
    void GetSelection(int& start, int& end) const;
    void SetSelection(int start, int end);
    void ReplaceSelection(const std::string& text);
    void ScrollCaret();

    // Runs on every change of the text (EN_CHANGE); fires OnChange.
    virtual void Change();
    void CommandNotify(unsigned code) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void TextChanged() override;

    bool readOnly_ = false;
    int maxLength_ = 0;
    int selStart_ = 0, selEnd_ = 0;  // kept while there is no window
};

class TEdit : public TCustomEdit {
    KES_CLASS(TEdit, TCustomEdit)
public:
    using TCustomEdit::TCustomEdit;
};

class TCustomMemo;

// The lines of a memo as logical lines: the text split at CR LF (a final line end adds no empty line).
// Reads and edits go through the memo's text window, so the user's edits are always seen.
class TMemoLines {
public:
    explicit TMemoLines(TCustomMemo& memo) : memo_(memo) {}
    int Count() const;
    std::string operator[](int index) const { return Strings(index); }
    std::string Strings(int index) const;  // EListError when out of range
    void Put(int index, const std::string& s);
    int Add(const std::string& s);
    void Append(const std::string& s) { Add(s); }
    void Insert(int index, const std::string& s);
    void Delete(int index);
    void Clear();
    int IndexOf(const std::string& s) const;
    // Every line followed by CR LF.
    std::string Text() const;
    // Splits at CR LF, CR or LF and stores the lines with CR LF.
    void SetText(const std::string& text);
    void Assign(const TStringList& list);
    void AssignTo(TStringList& list) const;
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;
    // Character position where line `index` begins (Count() gives the end of the text).
    int LineStart(int index) const;

private:
    std::vector<std::pair<int, int>> Spans(const std::string& text) const;
    TCustomMemo& memo_;
};

class TCustomMemo : public TCustomEdit {
    KES_CLASS(TCustomMemo, TCustomEdit)
    KES_PUBLISHED
public:
    explicit TCustomMemo(TComponent* owner);
    TMemoLines& Lines() { return lines_; }
    const TMemoLines& Lines() const { return lines_; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    bool WantTabs = false;
    bool WantReturns = true;
    // The logical line that holds the caret (the selection start), from 0.
    int CaretLine() const;
    // The caret's column in its logical line.
    int CaretColumn() const;
    // Puts the caret at a character position, no selection, and scrolls it into view.
    void SetCaret(int pos);
    // Adds text at the very end without touching the rest (fast; the caret moves to the end).
    void AppendText(const std::string& text);
    bool WantSpecialKey(uint16_t key) const override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TMemoLines lines_;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = ssNone;
};

class TMemo : public TCustomMemo {
    KES_CLASS(TMemo, TCustomMemo)
public:
    using TCustomMemo::TCustomMemo;
};

// The items of a list or combo box: kept here and mirrored into the window.
class TItemStrings {
public:
    class Host {
    public:
        virtual ~Host() = default;
        virtual void ItemInserted(int index, const std::string& s) = 0;
        virtual void ItemDeleted(int index) = 0;
        virtual void ItemsCleared() = 0;
    };
    explicit TItemStrings(Host& host) : host_(host) {}
    int Count() const { return list_.Count(); }
    const std::string& operator[](int index) const { return list_[index]; }
    const std::string& Strings(int index) const { return list_[index]; }
    void Put(int index, const std::string& s);
    int Add(const std::string& s);
    void Insert(int index, const std::string& s);
    void Delete(int index);
    void Clear();
    int IndexOf(const std::string& s) const { return list_.IndexOf(s); }
    std::string Text() const { return list_.Text(); }
    void SetText(const std::string& text);
    void Assign(const TStringList& list);
    void AddStrings(const TStringList& list);
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const { list_.SaveToFile(path); }
    const TStringList& List() const { return list_; }

private:
    Host& host_;
    TStringList list_;
};

class TCustomListBox : public TWinControl, protected TItemStrings::Host {
    KES_CLASS(TCustomListBox, TWinControl)
    KES_PUBLISHED
public:
    explicit TCustomListBox(TComponent* owner);
    TItemStrings& Items() { return items_; }
    const TItemStrings& Items() const { return items_; }
    // -1 = none.
    int ItemIndex() const;
    void SetItemIndex(int index);
    int TopIndex() const;
    void SetTopIndex(int index);
    void Clear() { items_.Clear(); }
    void CommandNotify(unsigned code) override;
    bool ClickOnMouseUp() const override { return false; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void ItemInserted(int index, const std::string& s) override;
    void ItemDeleted(int index) override;
    void ItemsCleared() override;

private:
    TItemStrings items_;
    int itemIndex_ = -1, topIndex_ = 0;
};

class TListBox : public TCustomListBox {
    KES_CLASS(TListBox, TCustomListBox)
public:
    using TCustomListBox::TCustomListBox;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TCustomComboBox : public TWinControl, protected TItemStrings::Host {
    KES_CLASS(TCustomComboBox, TWinControl)
    KES_PUBLISHED
public:
    explicit TCustomComboBox(TComponent* owner);
    TItemStrings& Items() { return items_; }
    const TItemStrings& Items() const { return items_; }
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style);
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The edit text (drop-down style) or the selected item's text; setting selects the equal item.
    std::string Text() const override;
    void SetText(const std::string& text) override;
    int DropDownCount = 8;
    bool DroppedDown() const;
    TNotifyEvent OnChange, OnSelect;
    // Runs when the user picks another item (and on edits in drop-down style); fires OnChange.
    virtual void Change();
    void CommandNotify(unsigned code) override;
    bool WantSpecialKey(uint16_t key) const override;
    bool ClickOnMouseUp() const override { return false; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void BoundsChanged() override;
    void ItemInserted(int index, const std::string& s) override;
    void ItemDeleted(int index) override;
    void ItemsCleared() override;

private:
    TItemStrings items_;
    TComboBoxStyle style_ = csDropDown;
    int itemIndex_ = -1;
};

class TComboBox : public TCustomComboBox {
    KES_CLASS(TComboBox, TCustomComboBox)
public:
    using TCustomComboBox::TCustomComboBox;
};

}  // namespace kes

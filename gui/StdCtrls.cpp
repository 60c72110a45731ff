// Neutral half of the standard controls: defaults, published properties, memo lines, item lists.
#include "gui/StdCtrls.h"

#include <algorithm>

#include "base/Exception.h"
#include "gui/Forms.h"
#include "gui/Keys.h"

namespace kes {

const std::vector<std::string> kAlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
static const std::vector<std::string> kCheckStateNames{"cbUnchecked", "cbChecked", "cbGrayed"};
static const std::vector<std::string> kScrollStyleNames{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
static const std::vector<std::string> kComboStyleNames{"csDropDown", "csSimple", "csDropDownList"};

// ---- TCustomLabel ----

const TPropTable& TCustomLabel::ClassProps() {
    static const TPropTable t(&TControl::ClassProps(),
                              {
                                  EnumProp<TCustomLabel>(
                                      "Alignment", kAlignmentNames, [](const TCustomLabel& c) { return c.Alignment(); },
                                      [](TCustomLabel& c, int64_t v) { c.SetAlignment(static_cast<TAlignment>(v)); }),
                                  BoolProp<TCustomLabel>(
                                      "Transparent", [](const TCustomLabel& c) { return c.Transparent(); },
                                      [](TCustomLabel& c, bool v) { c.SetTransparent(v); }),
                                  BoolProp<TCustomLabel>(
                                      "WordWrap", [](const TCustomLabel& c) { return c.WordWrap(); },
                                      [](TCustomLabel& c, bool v) { c.SetWordWrap(v); }),
                                  BoolProp<TCustomLabel>(
                                      "AutoSize", [](const TCustomLabel& c) { return c.AutoSize(); },
                                      [](TCustomLabel& c, bool v) { c.SetAutoSize(v); }),
                              });
    return t;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
    parentColor_ = true;
}

void TCustomLabel::SetAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool on) {
    if (on == transparent_) return;
    transparent_ = on;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool on) {
    if (on == wordWrap_) return;
    wordWrap_ = on;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool on) {
    if (on == autoSize_) return;
    autoSize_ = on;
    AdjustBounds();
}

void TCustomLabel::TextChanged() {
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::FontChanged() {
    AdjustBounds();
    Invalidate();
}

// ---- buttons ----

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) { TabStop = true; }

const TPropTable& TButton::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            BoolProp<TButton>(
                "Default", [](const TButton& c) { return c.Default(); }, [](TButton& c, bool v) { c.SetDefault(v); }),
            BoolProp<TButton>(
                "Cancel", [](const TButton& c) { return c.Cancel; }, [](TButton& c, bool v) { c.Cancel = v; }),
            IntProp<TButton>(
                "ModalResult", [](const TButton& c) { return c.ModalResult; },
                [](TButton& c, int v) { c.ModalResult = v; }),
        });
    return t;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::SetDefault(bool on) {
    if (on == default_) return;
    default_ = on;
    if (HandleAllocated()) RecreateWnd();
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this); form && ModalResult != 0) form->SetModalResult(ModalResult);
    TButtonControl::Click();
}

const TPropTable& TCustomCheckBox::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            BoolProp<TCustomCheckBox>(
                "Checked", [](const TCustomCheckBox& c) { return c.Checked(); },
                [](TCustomCheckBox& c, bool v) { c.SetChecked(v); }),
            EnumProp<TCustomCheckBox>(
                "State", kCheckStateNames, [](const TCustomCheckBox& c) { return c.State(); },
                [](TCustomCheckBox& c, int64_t v) { c.SetState(static_cast<TCheckBoxState>(v)); }),
            BoolProp<TCustomCheckBox>(
                "AllowGrayed", [](const TCustomCheckBox& c) { return c.AllowGrayed; },
                [](TCustomCheckBox& c, bool v) { c.AllowGrayed = v; }),
        });
    return t;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

const TPropTable& TRadioButton::ClassProps() {
    static const TPropTable t(&TWinControl::ClassProps(),
                              {
                                  BoolProp<TRadioButton>(
                                      "Checked", [](const TRadioButton& c) { return c.Checked(); },
                                      [](TRadioButton& c, bool v) { c.SetChecked(v); }),
                              });
    return t;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::SetChecked(bool on) {
    const bool was = Checked();
    checked_ = on;
    if (on && parent_)
        for (int i = 0; i < parent_->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(parent_->Controls(i)); r && r != this) r->SetChecked(false);
    if (HandleAllocated()) CreateWnd();  // pushes the check mark into the window
    if (on && !was) Click();
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 105); }

// ---- edits ----

const TPropTable& TCustomEdit::ClassProps() {
    static const TPropTable t(&TWinControl::ClassProps(),
                              {
                                  BoolProp<TCustomEdit>(
                                      "ReadOnly", [](const TCustomEdit& c) { return c.ReadOnly(); },
                                      [](TCustomEdit& c, bool v) { c.SetReadOnly(v); }),
                                  IntProp<TCustomEdit>(
                                      "MaxLength", [](const TCustomEdit& c) { return c.MaxLength(); },
                                      [](TCustomEdit& c, int v) { c.SetMaxLength(v); }),
                                  IntProp<TCustomEdit>(
                                      "SelStart", [](const TCustomEdit& c) { return c.SelStart(); },
                                      [](TCustomEdit& c, int v) { c.SetSelStart(v); }),
                                  IntProp<TCustomEdit>(
                                      "SelLength", [](const TCustomEdit& c) { return c.SelLength(); },
                                      [](TCustomEdit& c, int v) { c.SetSelLength(v); }),
                                  StrProp<TCustomEdit>(
                                      "SelText", [](const TCustomEdit& c) { return c.SelText(); },
                                      [](TCustomEdit& c, const std::string& v) { c.SetSelText(v); }),
                              });
    return t;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    color_ = clWindow;
    TabStop = true;
}

int TCustomEdit::SelStart() const {
    int s = 0, e = 0;
    GetSelection(s, e);
    return s;
}

void TCustomEdit::SetSelStart(int pos) { SetSelection(pos, pos); }

int TCustomEdit::SelLength() const {
    int s = 0, e = 0;
    GetSelection(s, e);
    return e - s;
}

void TCustomEdit::SetSelLength(int length) {
    const int s = SelStart();
    SetSelection(s, s + (length < 0 ? 0 : length));
}

std::string TCustomEdit::SelText() const {
    int s = 0, e = 0;
    GetSelection(s, e);
    const std::string t = Text();
    if (s < 0 || s > static_cast<int>(t.size()) || e < s) return {};
    return t.substr(static_cast<size_t>(s), static_cast<size_t>(e - s));
}

void TCustomEdit::SetSelText(const std::string& text) { ReplaceSelection(text); }

void TCustomEdit::SelectAll() { SetSelection(0, GetTextLen()); }

void TCustomEdit::Change() {
    Modified = true;
    if (!Destroying()) Fire(OnChange, this);
}

// ---- memo ----

const TPropTable& TCustomMemo::ClassProps() {
    static const TPropTable t(
        &TCustomEdit::ClassProps(),
        {
            BoolProp<TCustomMemo>(
                "WordWrap", [](const TCustomMemo& c) { return c.WordWrap(); },
                [](TCustomMemo& c, bool v) { c.SetWordWrap(v); }),
            EnumProp<TCustomMemo>(
                "ScrollBars", kScrollStyleNames, [](const TCustomMemo& c) { return c.ScrollBars(); },
                [](TCustomMemo& c, int64_t v) { c.SetScrollBars(static_cast<TScrollStyle>(v)); }),
            BoolProp<TCustomMemo>(
                "WantTabs", [](const TCustomMemo& c) { return c.WantTabs; },
                [](TCustomMemo& c, bool v) { c.WantTabs = v; }),
            BoolProp<TCustomMemo>(
                "WantReturns", [](const TCustomMemo& c) { return c.WantReturns; },
                [](TCustomMemo& c, bool v) { c.WantReturns = v; }),
        });
    return t;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(*this) { SetBounds(0, 0, 185, 89); }

void TCustomMemo::SetWordWrap(bool on) {
    if (on == wordWrap_) return;
    wordWrap_ = on;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle s) {
    if (s == scrollBars_) return;
    scrollBars_ = s;
    if (HandleAllocated()) RecreateWnd();
}

bool TCustomMemo::WantSpecialKey(uint16_t key) const {
    if (key == vkTab) return WantTabs;
    if (key == vkReturn) return WantReturns;
    return false;
}

int TCustomMemo::CaretLine() const {
    const std::string t = Text();
    const size_t p = static_cast<size_t>(std::max(0, SelStart()));
    int line = 0;
    for (size_t i = 0; i + 2 <= p && i + 1 < t.size(); ++i)
        if (t[i] == '\r' && t[i + 1] == '\n') ++line;
    return line;
}

int TCustomMemo::CaretColumn() const {
    const std::string t = Text();
    const size_t p = std::min(t.size(), static_cast<size_t>(std::max(0, SelStart())));
    if (p < 2) return static_cast<int>(p);
    const size_t nl = t.rfind("\r\n", p - 2);
    return nl == std::string::npos ? static_cast<int>(p) : static_cast<int>(p - (nl + 2));
}

void TCustomMemo::SetCaret(int pos) {
    SetSelection(pos, pos);
    ScrollCaret();
}

void TCustomMemo::AppendText(const std::string& text) {
    const int end = GetTextLen();
    SetSelection(end, end);
    ReplaceSelection(text);
    ScrollCaret();
}

std::vector<std::pair<int, int>> TMemoLines::Spans(const std::string& t) const {
    std::vector<std::pair<int, int>> spans;  // [start, end) of each line, without its CR LF
    size_t start = 0;
    while (start < t.size()) {
        size_t nl = t.find("\r\n", start);
        if (nl == std::string::npos) {
            spans.emplace_back(static_cast<int>(start), static_cast<int>(t.size()));
            break;
        }
        spans.emplace_back(static_cast<int>(start), static_cast<int>(nl));
        start = nl + 2;
    }
    return spans;
}

int TMemoLines::Count() const { return static_cast<int>(Spans(memo_.Text()).size()); }

std::string TMemoLines::Strings(int index) const {
    const std::string t = memo_.Text();
    const auto spans = Spans(t);
    if (index < 0 || index >= static_cast<int>(spans.size()))
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    const auto [s, e] = spans[static_cast<size_t>(index)];
    return t.substr(static_cast<size_t>(s), static_cast<size_t>(e - s));
}

int TMemoLines::LineStart(int index) const {
    const std::string t = memo_.Text();
    const auto spans = Spans(t);
    if (index >= 0 && index < static_cast<int>(spans.size())) return spans[static_cast<size_t>(index)].first;
    return static_cast<int>(t.size());
}

void TMemoLines::Put(int index, const std::string& s) {
    const std::string t = memo_.Text();
    const auto spans = Spans(t);
    if (index < 0 || index >= static_cast<int>(spans.size()))
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    memo_.SetSelection(spans[static_cast<size_t>(index)].first, spans[static_cast<size_t>(index)].second);
    memo_.ReplaceSelection(s);
}

int TMemoLines::Add(const std::string& s) {
    const int n = Count();
    Insert(n, s);
    return n;
}

void TMemoLines::Insert(int index, const std::string& s) {
    const std::string t = memo_.Text();
    const auto spans = Spans(t);
    const int n = static_cast<int>(spans.size());
    if (index < 0 || index > n) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    if (index < n) {
        const int at = spans[static_cast<size_t>(index)].first;
        memo_.SetSelection(at, at);
        memo_.ReplaceSelection(s + "\r\n");
        return;
    }
    const int end = static_cast<int>(t.size());
    const bool needBreak = !t.empty() && !(t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0);
    memo_.SetSelection(end, end);
    memo_.ReplaceSelection((needBreak ? "\r\n" : "") + s + "\r\n");
}

void TMemoLines::Delete(int index) {
    const std::string t = memo_.Text();
    const auto spans = Spans(t);
    if (index < 0 || index >= static_cast<int>(spans.size()))
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    const int s = spans[static_cast<size_t>(index)].first;
    int e = spans[static_cast<size_t>(index)].second;
    if (e + 2 <= static_cast<int>(t.size())) e += 2;  // with its line end
    memo_.SetSelection(s, e);
    memo_.ReplaceSelection("");
}

void TMemoLines::Clear() { memo_.SetText(""); }

int TMemoLines::IndexOf(const std::string& s) const {
    const std::string t = memo_.Text();
    const auto spans = Spans(t);
    for (size_t i = 0; i < spans.size(); ++i)
        if (t.compare(static_cast<size_t>(spans[i].first), static_cast<size_t>(spans[i].second - spans[i].first), s) ==
                0 &&
            static_cast<int>(s.size()) == spans[i].second - spans[i].first)
            return static_cast<int>(i);
    return -1;
}

std::string TMemoLines::Text() const {
    const std::string t = memo_.Text();
    std::string out;
    for (const auto& [s, e] : Spans(t)) {
        out.append(t, static_cast<size_t>(s), static_cast<size_t>(e - s));
        out += "\r\n";
    }
    return out;
}

void TMemoLines::SetText(const std::string& text) {
    TStringList list;
    list.SetText(text);
    Assign(list);
}

void TMemoLines::Assign(const TStringList& list) { memo_.SetText(list.Text()); }

void TMemoLines::AssignTo(TStringList& list) const { list.SetText(memo_.Text()); }

void TMemoLines::LoadFromFile(const std::string& path) {
    TStringList list;
    list.LoadFromFile(path);
    Assign(list);
}

void TMemoLines::SaveToFile(const std::string& path) const {
    TStringList list;
    AssignTo(list);
    list.SaveToFile(path);
}

// ---- item lists ----

void TItemStrings::Put(int index, const std::string& s) {
    list_.Put(index, s);
    host_.ItemDeleted(index);
    host_.ItemInserted(index, s);
}

int TItemStrings::Add(const std::string& s) {
    const int i = list_.Add(s);
    host_.ItemInserted(i, s);
    return i;
}

void TItemStrings::Insert(int index, const std::string& s) {
    list_.Insert(index, s);
    host_.ItemInserted(index, s);
}

void TItemStrings::Delete(int index) {
    list_.Delete(index);
    host_.ItemDeleted(index);
}

void TItemStrings::Clear() {
    list_.Clear();
    host_.ItemsCleared();
}

void TItemStrings::SetText(const std::string& text) {
    TStringList list;
    list.SetText(text);
    Assign(list);
}

void TItemStrings::Assign(const TStringList& list) {
    Clear();
    AddStrings(list);
}

void TItemStrings::AddStrings(const TStringList& list) {
    for (int i = 0; i < list.Count(); ++i) Add(list[i]);
}

void TItemStrings::LoadFromFile(const std::string& path) {
    TStringList list;
    list.LoadFromFile(path);
    Assign(list);
}

// ---- list box ----

const TPropTable& TCustomListBox::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            IntProp<TCustomListBox>(
                "ItemIndex", [](const TCustomListBox& c) { return c.ItemIndex(); },
                [](TCustomListBox& c, int v) { c.SetItemIndex(v); }),
            IntProp<TCustomListBox>(
                "TopIndex", [](const TCustomListBox& c) { return c.TopIndex(); },
                [](TCustomListBox& c, int v) { c.SetTopIndex(v); }),
            IntProp<TCustomListBox>(
                "Count", [](const TCustomListBox& c) { return c.Items().Count(); }, [](TCustomListBox&, int) {}),
        });
    return t;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner), items_(*this) {
    SetBounds(0, 0, 121, 97);
    color_ = clWindow;
    TabStop = true;
}

// ---- combo box ----

const TPropTable& TCustomComboBox::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            EnumProp<TCustomComboBox>(
                "Style", kComboStyleNames, [](const TCustomComboBox& c) { return c.Style(); },
                [](TCustomComboBox& c, int64_t v) { c.SetStyle(static_cast<TComboBoxStyle>(v)); }),
            IntProp<TCustomComboBox>(
                "ItemIndex", [](const TCustomComboBox& c) { return c.ItemIndex(); },
                [](TCustomComboBox& c, int v) { c.SetItemIndex(v); }),
            IntProp<TCustomComboBox>(
                "DropDownCount", [](const TCustomComboBox& c) { return c.DropDownCount; },
                [](TCustomComboBox& c, int v) { c.DropDownCount = v; }),
        });
    return t;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), items_(*this) {
    SetBounds(0, 0, 145, 21);
    color_ = clWindow;
    TabStop = true;
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
    if (style == style_) return;
    style_ = style;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomComboBox::SetText(const std::string& text) {
    if (style_ == csDropDownList) {
        const int i = items_.IndexOf(text);
        if (i >= 0) SetItemIndex(i);
        return;
    }
    TWinControl::SetText(text);
}

void TCustomComboBox::Change() {
    if (!Destroying()) Fire(OnChange, this);
}

bool TCustomComboBox::WantSpecialKey(uint16_t key) const {
    return (key == vkReturn || key == vkEscape) && DroppedDown();
}

}  // namespace kes

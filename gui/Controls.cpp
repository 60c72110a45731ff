// The neutral half of controls: tree, stored state, docking, tab order, events, published properties.
// Window work lives in win/WinControl.cpp (or Headless.cpp for builds without windows).
#include "gui/Controls.h"

#include <algorithm>

#include "gui/Forms.h"
#include "gui/HintWindow.h"

namespace kes {

static const std::vector<std::string> kAlignNames{"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};

const TPropTable& TControl::ClassProps() {
    static const TPropTable t(
        nullptr,
        {
            StrProp<TControl>(
                "Name", [](const TControl& c) { return c.Name(); },
                [](TControl& c, const std::string& v) { c.SetName(v); }),
            IntProp<TControl>(
                "Tag", [](const TControl& c) { return static_cast<int>(c.Tag); },
                [](TControl& c, int v) { c.Tag = v; }),
            IntProp<TControl>(
                "Left", [](const TControl& c) { return c.Left(); }, [](TControl& c, int v) { c.SetLeft(v); }),
            IntProp<TControl>(
                "Top", [](const TControl& c) { return c.Top(); }, [](TControl& c, int v) { c.SetTop(v); }),
            IntProp<TControl>(
                "Width", [](const TControl& c) { return c.Width(); }, [](TControl& c, int v) { c.SetWidth(v); }),
            IntProp<TControl>(
                "Height", [](const TControl& c) { return c.Height(); }, [](TControl& c, int v) { c.SetHeight(v); }),
            EnumProp<TControl>(
                "Align", kAlignNames, [](const TControl& c) { return c.Align(); },
                [](TControl& c, int64_t v) { c.SetAlign(static_cast<TAlign>(v)); }),
            BoolProp<TControl>(
                "Visible", [](const TControl& c) { return c.Visible(); }, [](TControl& c, bool v) { c.SetVisible(v); }),
            BoolProp<TControl>(
                "Enabled", [](const TControl& c) { return c.Enabled(); }, [](TControl& c, bool v) { c.SetEnabled(v); }),
            StrProp<TControl>(
                "Caption", [](const TControl& c) { return c.Text(); },
                [](TControl& c, const std::string& v) { c.SetText(v); }),
            StrProp<TControl>(
                "Text", [](const TControl& c) { return c.Text(); },
                [](TControl& c, const std::string& v) { c.SetText(v); }),
            IntProp<TControl>(
                "Color", [](const TControl& c) { return c.Color(); }, [](TControl& c, int v) { c.SetColor(v); }),
            BoolProp<TControl>(
                "ParentColor", [](const TControl& c) { return c.ParentColor(); },
                [](TControl& c, bool v) { c.SetParentColor(v); }),
            BoolProp<TControl>(
                "ParentFont", [](const TControl& c) { return c.ParentFont(); },
                [](TControl& c, bool v) { c.SetParentFont(v); }),
            ObjProp<TControl>("Font", [](const TControl& c) { return const_cast<TFont*>(&c.Font()); }),
            StrProp<TControl>(
                "Hint", [](const TControl& c) { return c.Hint; },
                [](TControl& c, const std::string& v) { c.Hint = v; }),
            BoolProp<TControl>(
                "ShowHint", [](const TControl& c) { return c.ShowHint; }, [](TControl& c, bool v) { c.ShowHint = v; }),
            ObjProp<TControl>("PopupMenu", [](const TControl& c) { return reinterpret_cast<TObject*>(c.PopupMenu); }),
        });
    return t;
}

const TPropTable& TWinControl::ClassProps() {
    static const TPropTable t(&TControl::ClassProps(),
                              {
                                  IntProp<TWinControl>(
                                      "TabOrder", [](const TWinControl& c) { return c.TabOrder(); },
                                      [](TWinControl& c, int v) { c.SetTabOrder(v); }),
                                  BoolProp<TWinControl>(
                                      "TabStop", [](const TWinControl& c) { return c.TabStop; },
                                      [](TWinControl& c, bool v) { c.TabStop = v; }),
                                  BoolProp<TWinControl>(
                                      "ParentBackground", [](const TWinControl& c) { return c.ParentBackground(); },
                                      [](TWinControl& c, bool v) { c.SetParentBackground(v); }),
                              });
    return t;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    font_.OnChange = [this](TFont*) {
        if (!inheriting_) parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    BeginDestroy();
    ControlGone(this);
    font_.OnChange = nullptr;
    if (parent_) parent_->RemoveControl(this);
}

TGraphicControl::~TGraphicControl() = default;

// The windowless controls whose handler is running, innermost last, with the next handler to run.
namespace {
struct GraphicCall {
    TGraphicControl* Control;
    size_t Next;
};
thread_local std::vector<GraphicCall> g_graphicCalls;
}  // namespace

int TGraphicControl::AddMessageHandler(TMessageHandler handler) {
    const int id = nextHandlerId_++;
    handlers_.insert(handlers_.begin(), Handler{id, std::move(handler)});
    return id;
}

void TGraphicControl::RemoveMessageHandler(int id) {
    std::erase_if(handlers_, [id](const Handler& h) { return h.Id == id; });
}

intptr_t TGraphicControl::Perform(unsigned msg, uintptr_t wparam, intptr_t lparam) {
    TMessage m{nullptr, msg, wparam, lparam, 0};
    RunHandlers(m, 0);
    return m.Result;
}

void TGraphicControl::RunHandlers(TMessage& m, size_t from) {
    for (size_t i = from; i < handlers_.size(); ++i) {
        const TMessageHandler fn = handlers_[i].Fn;  // the handler may remove itself
        g_graphicCalls.push_back({this, i + 1});
        struct Pop {
            ~Pop() { g_graphicCalls.pop_back(); }
        } pop;
        if (fn(m) || m.NextCalled) return;
    }
    WndProc(m);
}

bool CallNextGraphicHandler(TMessage& m) {
    if (g_graphicCalls.empty()) return false;
    const GraphicCall call = g_graphicCalls.back();
    m.NextCalled = false;
    call.Control->RunHandlers(m, call.Next);
    m.NextCalled = true;
    return true;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) return;
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
    if (align_ != alNone) RequestAlign();
    if (resized) {
        if (auto* w = dynamic_cast<TWinControl*>(this)) w->AlignControls();
        if (!Destroying()) Fire(OnResize, this);
    }
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (parent_) parent_->AlignControls();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    VisibleChanged();
    if (align_ != alNone) RequestAlign();
}

bool TControl::Showing() const {
    if (!visible_) return false;
    return parent_ ? parent_->Showing() : true;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    EnabledChanged();
}

void TControl::SetText(const std::string& text) {
    if (text == Text()) return;
    text_ = text;
    TextChanged();
}

void TControl::SetColor(TColor color) {
    if (!inheriting_) parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    ColorChanged();
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < w->ControlCount(); ++i) w->Controls(i)->ParentColorChanged();
}

void TControl::SetParentColor(bool on) {
    parentColor_ = on;
    if (on) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_) return;
    inheriting_ = true;
    SetColor(parent_->Color());
    inheriting_ = false;
}

void TControl::SetParentFont(bool on) {
    parentFont_ = on;
    if (on) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    inheriting_ = true;
    font_.Assign(parent_->Font());
    inheriting_ = false;
}

void TControl::Click() {
    if (!Destroying()) Fire(OnClick, this);
}
void TControl::DblClick() {
    if (!Destroying()) Fire(OnDblClick, this);
}
void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
    if (!Destroying()) Fire(OnMouseDown, this, b, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
    if (!Destroying()) Fire(OnMouseUp, this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y) {
    if (!Destroying()) Fire(OnMouseMove, this, s, x, y);
}

void TControl::Paint(TCanvas&) {}

TCustomForm* TControl::ParentForm() const { return GetParentForm(this); }

TCustomForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

// ---- TWinControl ----

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    BeginDestroy();
    // Child controls go with their parent (last first); each one leaves its owner's list as it goes.
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        controls_.pop_back();
        c->parent_ = nullptr;
        delete c;
    }
    DestroyHandle();
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::GraphicControlAt(TPoint p) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        if (c->BoundsRect().Contains(p)) return c;
    }
    return nullptr;
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    control->ParentFontChanged();
    control->ParentColorChanged();
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        if (HandleAllocated()) w->HandleNeeded();
    } else {
        control->Invalidate();
    }
    if (control->Align() != alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        w->DestroyHandle();
    } else {
        control->Invalidate();
    }
    controls_.erase(it);
    control->parent_ = nullptr;
    if (control->Align() != alNone && !Destroying()) AlignControls();
}

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    int n = 0;
    for (TControl* c : parent_->controls_) {
        if (c == this) return n;
        if (dynamic_cast<TWinControl*>(c)) ++n;
    }
    return -1;
}

void TWinControl::SetTabOrder(int order) {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    // Insert before the windowed sibling that holds `order` now, or at the end.
    int n = 0;
    auto it = list.begin();
    for (; it != list.end(); ++it)
        if (dynamic_cast<TWinControl*>(*it)) {
            if (n == order) break;
            ++n;
        }
    list.insert(it, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            list.push_back(w);
            w->GetTabOrderList(list);
        }
}

bool TWinControl::CanFocus() const {
    // Up to the form; the form itself may still be hidden (its controls get the focus when it shows).
    for (const TControl* c = this; c && c->Parent(); c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return enabled_;
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const int n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[i] == current) start = i;
    if (start < 0) start = forward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = forward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[i];
        if ((!checkTabStop || c->TabStop) && c->CanFocus()) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

void TWinControl::AlignControls() {
    if (Destroying()) return;
    std::vector<TAlignItem> items;
    std::vector<TControl*> who;
    for (TControl* c : controls_)
        if (c->Align() != alNone) {
            items.push_back({c->Align(), c->BoundsRect(), c->Visible()});
            who.push_back(c);
        }
    if (items.empty()) return;
    AlignRects(ClientRect(), items);
    for (size_t i = 0; i < who.size(); ++i) {
        TControl* c = who[i];
        const TRect& r = items[i].Bounds;
        const TAlign keep = c->align_;
        c->align_ = alNone;  // no re-entry while the children move
        c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        c->align_ = keep;
    }
}

void TWinControl::SetParentBackground(bool on) {
    if (on == parentBackground_) return;
    parentBackground_ = on;
    Invalidate();
}

bool TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
    if (!Destroying()) Fire(OnKeyDown, this, key, shift);
    return key != 0;
}

bool TWinControl::KeyPress(char& key) {
    if (!Destroying()) Fire(OnKeyPress, this, key);
    return key != 0;
}

bool TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
    if (!Destroying()) Fire(OnKeyUp, this, key, shift);
    return key != 0;
}

bool TWinControl::WantSpecialKey(uint16_t) const { return false; }
void TWinControl::CommandNotify(unsigned) {}

}  // namespace kes

namespace kes {

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    visible_ = false;
    color_ = clInfoBk;
    font_.SetColor(clInfoText);
    parentFont_ = false;
}

std::string GetShortHint(const std::string& hint) {
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string EffectiveHint(const TControl* control) {
    if (!control || GetShortHint(control->Hint).empty()) return {};
    for (const TControl* c = control; c; c = c->Parent())
        if (c->ShowHint) return GetShortHint(control->Hint);
    return {};
}

}  // namespace kes

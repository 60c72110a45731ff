#include "gui/Menus.h"

#include <algorithm>
#include <map>

#include "base/StringList.h"
#include "gui/Controls.h"
#include "gui/Keys.h"

namespace kes {

// ---- shortcuts ----

TShortCut ShortCut(uint16_t key, unsigned shift) {
    TShortCut s = static_cast<TShortCut>(key & 0xFF);
    if (shift & ssShift) s |= scShift;
    if (shift & ssCtrl) s |= scCtrl;
    if (shift & ssAlt) s |= scAlt;
    return s;
}

static const std::map<uint16_t, std::string>& KeyNames() {
    static const std::map<uint16_t, std::string> names{
        {vkBack, "BkSp"},  {vkTab, "Tab"},     {vkReturn, "Enter"}, {vkEscape, "Esc"}, {vkSpace, "Space"},
        {vkPrior, "PgUp"}, {vkNext, "PgDn"},   {vkEnd, "End"},      {vkHome, "Home"},  {vkLeft, "Left"},
        {vkUp, "Up"},      {vkRight, "Right"}, {vkDown, "Down"},    {vkInsert, "Ins"}, {vkDelete, "Del"}};
    return names;
}

static std::string KeyName(uint16_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= vkF1 && key <= vkF12) return "F" + std::to_string(key - vkF1 + 1);
    auto it = KeyNames().find(key);
    return it == KeyNames().end() ? std::string() : it->second;
}

std::string ShortCutToText(TShortCut s) {
    const std::string name = KeyName(s & 0xFF);
    if (name.empty()) return {};
    std::string text;
    if (s & scShift) text += "Shift+";
    if (s & scCtrl) text += "Ctrl+";
    if (s & scAlt) text += "Alt+";
    return text + name;
}

TShortCut TextToShortCut(const std::string& text) {
    TShortCut mods = 0;
    std::string rest = text;
    for (;;) {
        const std::string up = UpperAZ(rest);
        if (up.rfind("SHIFT+", 0) == 0)
            mods |= scShift, rest = rest.substr(6);
        else if (up.rfind("CTRL+", 0) == 0)
            mods |= scCtrl, rest = rest.substr(5);
        else if (up.rfind("ALT+", 0) == 0)
            mods |= scAlt, rest = rest.substr(4);
        else
            break;
    }
    for (uint16_t key = 1; key < 256; ++key)
        if (const std::string n = KeyName(key); !n.empty() && CompareTextAZ(n, rest) == 0)
            return static_cast<TShortCut>(mods | key);
    return 0;
}

bool IsAccel(char c, const std::string& caption) {
    const auto fold = [](char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; };
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return c != 0 && fold(caption[i + 1]) == fold(c);
        ++i;  // "&&" is a plain "&"
    }
    return false;
}

// ---- command ids ----

static std::map<int, TMenuItem*>& Commands() {
    static std::map<int, TMenuItem*> commands;
    return commands;
}

static int AllocateCommand(TMenuItem* item) {
    auto& map = Commands();
    int id = 100;
    for (const auto& [k, v] : map) {
        if (k != id) break;
        ++id;
    }
    map[id] = item;
    return id;
}

TMenuItem* TMenuItem::FindByCommand(int command) {
    auto it = Commands().find(command);
    return it == Commands().end() ? nullptr : it->second;
}

// ---- TMenuItem ----

const TPropTable& TMenuItem::ClassProps() {
    static const TPropTable t(
        nullptr, {
                     StrProp<TMenuItem>(
                         "Name", [](const TMenuItem& c) { return c.Name(); },
                         [](TMenuItem& c, const std::string& v) { c.SetName(v); }),
                     IntProp<TMenuItem>(
                         "Tag", [](const TMenuItem& c) { return static_cast<int>(c.Tag); },
                         [](TMenuItem& c, int v) { c.Tag = v; }),
                     StrProp<TMenuItem>(
                         "Caption", [](const TMenuItem& c) { return c.Caption(); },
                         [](TMenuItem& c, const std::string& v) { c.SetCaption(v); }),
                     BoolProp<TMenuItem>(
                         "Checked", [](const TMenuItem& c) { return c.Checked(); },
                         [](TMenuItem& c, bool v) { c.SetChecked(v); }),
                     BoolProp<TMenuItem>(
                         "Enabled", [](const TMenuItem& c) { return c.Enabled(); },
                         [](TMenuItem& c, bool v) { c.SetEnabled(v); }),
                     BoolProp<TMenuItem>(
                         "Visible", [](const TMenuItem& c) { return c.Visible(); },
                         [](TMenuItem& c, bool v) { c.SetVisible(v); }),
                     BoolProp<TMenuItem>(
                         "RadioItem", [](const TMenuItem& c) { return c.RadioItem(); },
                         [](TMenuItem& c, bool v) { c.SetRadioItem(v); }),
                     IntProp<TMenuItem>(
                         "GroupIndex", [](const TMenuItem& c) { return c.GroupIndex(); },
                         [](TMenuItem& c, int v) { c.SetGroupIndex(v); }),
                     IntProp<TMenuItem>(
                         "ShortCut", [](const TMenuItem& c) { return c.GetShortCut(); },
                         [](TMenuItem& c, int v) { c.SetShortCut(static_cast<TShortCut>(v)); }),
                     StrProp<TMenuItem>(
                         "Hint", [](const TMenuItem& c) { return c.Hint; },
                         [](TMenuItem& c, const std::string& v) { c.Hint = v; }),
                     IntProp<TMenuItem>(
                         "Command", [](const TMenuItem& c) { return c.Command(); }, [](TMenuItem&, int) {}),
                     BoolProp<TMenuItem>(
                         "Default", [](const TMenuItem& c) { return c.Default(); },
                         [](TMenuItem& c, bool v) { c.SetDefault(v); }),
                     IntProp<TMenuItem>(
                         "ImageIndex", [](const TMenuItem& c) { return c.ImageIndex; },
                         [](TMenuItem& c, int v) { c.ImageIndex = v; }),
                 });
    return t;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) { command_ = AllocateCommand(this); }

TMenuItem::~TMenuItem() {
    BeginDestroy();
    while (!items_.empty()) {
        TMenuItem* c = items_.back();
        items_.pop_back();
        c->parent_ = nullptr;
        delete c;
    }
    if (parent_) parent_->Remove(this);
    Commands().erase(command_);
}

void TMenuItem::Changed(bool rebuild) {
    // Nothing to tell while the owner (the form) takes everything down.
    if (Destroying() || (Owner() && Owner()->Destroying())) return;
    TMenu* m = GetParentMenu();
    if (!m || m->Destroying() || (m->Owner() && m->Owner()->Destroying())) return;
    m->MenuChanged(this, rebuild);
}

void TMenuItem::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    const bool rebuild = (caption == "-") != IsLine();
    caption_ = caption;
    Changed(rebuild);
}

void TMenuItem::SetChecked(bool on) {
    if (on && radioItem_ && parent_)
        for (TMenuItem* s : parent_->items_)
            if (s != this && s->radioItem_ && s->groupIndex_ == groupIndex_ && s->checked_) {
                s->checked_ = false;
                s->Changed(false);
            }
    if (on == checked_) return;
    checked_ = on;
    Changed(false);
}

void TMenuItem::SetDefault(bool on) {
    if (on == default_) return;
    default_ = on;
    Changed(false);
}

void TMenuItem::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    Changed(false);
}

void TMenuItem::SetVisible(bool on) {
    if (on == visible_) return;
    visible_ = on;
    Changed(true);
}

void TMenuItem::SetRadioItem(bool on) {
    if (on == radioItem_) return;
    radioItem_ = on;
    Changed(false);
}

void TMenuItem::SetGroupIndex(int g) {
    if (g == groupIndex_) return;
    groupIndex_ = g;
    Changed(false);
}

void TMenuItem::SetShortCut(TShortCut s) {
    if (s == shortCut_) return;
    shortCut_ = s;
    Changed(false);
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

TMenuItem* NewMenuItem(TComponent* owner, TMenuItem* parent, const char* name, const char* caption) {
    auto* item = new TMenuItem(owner);
    item->SetName(name);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) return;
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    if (!Destroying()) Changed(true);
}

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back();
}

static std::string StripAmpersands(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size() && s[i + 1] != '&') continue;
        if (s[i] == '&' && i + 1 < s.size()) ++i;
        out += s[i];
    }
    return out;
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
    for (TMenuItem* c : items_)
        if (CompareTextAZ(StripAmpersands(c->caption_), StripAmpersands(caption)) == 0) return c;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* i = this;
    while (i->parent_) i = i->parent_;
    return i->rootOf_;
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    if (OnMeasureItem)
        OnMeasureItem(this, canvas, width, height);
    else
        OwnMeasureItem(canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas& canvas, const TRect& rect, bool selected) {
    if (OnDrawItem)
        OnDrawItem(this, canvas, rect, selected);
    else
        OwnDrawItem(canvas, rect, selected);
}

void TMenuItem::Click() {
    if (Destroying()) return;
    if (AutoCheck) SetChecked(radioItem_ ? true : !checked_);
    Fire(OnClick, this);
}

// ---- TMenu ----

const TPropTable& TMenu::ClassProps() {
    static const TPropTable t(
        nullptr,
        {
            StrProp<TMenu>(
                "Name", [](const TMenu& c) { return c.Name(); }, [](TMenu& c, const std::string& v) { c.SetName(v); }),
            BoolProp<TMenu>(
                "OwnerDraw", [](const TMenu& c) { return c.OwnerDraw(); }, [](TMenu& c, bool v) { c.SetOwnerDraw(v); }),
            ObjProp<TMenu>("Items", [](const TMenu& c) { return c.Items(); }),
            ObjProp<TMenu>("Images", [](const TMenu& c) { return c.Images; }),
        });
    return t;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->rootOf_ = this; }

TMenu::~TMenu() {
    BeginDestroy();
    DestroyNative();
    items_->rootOf_ = nullptr;
    delete items_;
}

void TMenu::SetOwnerDraw(bool on) {
    if (on == ownerDraw_) return;
    ownerDraw_ = on;
    MenuChanged(nullptr, true);
}

static TMenuItem* FindIn(TMenuItem* root, const std::function<bool(TMenuItem*)>& test) {
    for (int i = 0; i < root->Count(); ++i) {
        TMenuItem* c = root->Items(i);
        if (test(c)) return c;
        if (TMenuItem* f = FindIn(c, test)) return f;
    }
    return nullptr;
}

TMenuItem* TMenu::FindItem(int command) const {
    return FindIn(items_, [command](TMenuItem* i) { return i->Command() == command; });
}

TMenuItem* TMenu::FindItemByHandle(void* handle) const {
    if (!handle) return nullptr;
    if (items_->handle_ == handle) return items_;
    return FindIn(items_, [handle](TMenuItem* i) { return i->handle_ == handle; });
}

int TMenu::AddChangeListener(TMenuChangeEvent listener) {
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void TMenu::RemoveChangeListener(int id) {
    std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void TMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    if (Destroying()) return;
    UpdateNative(source, rebuild);
    Fire(OnChange, this, source, rebuild);
    // A listener may remove itself (or another) while it is told.
    const auto listeners = listeners_;
    for (const auto& [id, l] : listeners)
        if (l && std::any_of(listeners_.begin(), listeners_.end(), [id](const auto& x) { return x.first == id; }))
            l(this, source, rebuild);
}

}  // namespace kes

#pragma once
// Menus: a tree of items under a main or popup menu. Items carry caption (with & accelerators), shortcut,
// check marks (radio items share a group), enabled and visible states, hints, a command id and, when the
// menu is owner-drawn, draw and measure events. Every change reaches the menu's OnChange.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Component.h"
#include "base/Events.h"
#include "gui/Graphics.h"
#include "gui/TypInfo.h"

namespace kes {

class TCanvas;
class TMenu;

// Key code in the low byte, modifiers in the top bits.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut ShortCut(uint16_t key, unsigned shift);  // shift: ssShift/ssCtrl/ssAlt bits
std::string ShortCutToText(TShortCut shortcut);
TShortCut TextToShortCut(const std::string& text);  // 0 when not understood
// The caption's accelerator (the character after a single "&") is c; letters A to Z match either case.
bool IsAccel(char c, const std::string& caption);

using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas& canvas, int& width, int& height)>;
using TMenuChangeEvent = std::function<void(TObject* sender, class TMenuItem* source, bool rebuild)>;

class TMenuItem : public TComponent, public IPublished {
    KES_CLASS(TMenuItem, TComponent)
    KES_PUBLISHED
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool IsLine() const { return caption_ == "-"; }
    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the radio items of the same group under the same parent.
    void SetChecked(bool on);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool on);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int g);
    TShortCut GetShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut s);
    std::string Hint;
    // The menu's default item (drawn bold).
    bool Default() const { return default_; }
    void SetDefault(bool on);
    // Glyph from the menu's image list; -1 = none.
    int ImageIndex = -1;
    // Clicking toggles the check mark (radio items: checks).
    bool AutoCheck = false;

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

    // The item's command id (unique in the program; WM_COMMAND carries it).
    int Command() const { return command_; }
    static TMenuItem* FindByCommand(int command);

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out without freeing it.
    void Remove(TMenuItem* item);
    void Delete(int index) { Remove(Items(index)); }
    // Frees every sub-item.
    void Clear();
    // The sub-item with this caption (& and letter case of A-Z ignored), or nullptr.
    TMenuItem* Find(const std::string& caption) const;
    // The menu that holds this item, or nullptr.
    TMenu* GetParentMenu() const;

    virtual void Click();
    // Measures or draws the item of an owner-drawn menu: by its OnMeasureItem / OnDrawItem handler, else by
    // the item's own measuring and drawing (Own...), which look like the system's menu items.
    void MeasureItem(TCanvas& canvas, int& width, int& height);
    void DrawItem(TCanvas& canvas, const TRect& rect, bool selected);
    void OwnMeasureItem(TCanvas& canvas, int& width, int& height);
    void OwnDrawItem(TCanvas& canvas, const TRect& rect, bool selected);
    // The platform's menu handle for this item's sub-items (HMENU), made on first use.
    void* Handle();

    // Internal: owner menu of a root item; native handle of the sub-items.
    TMenu* rootOf_ = nullptr;
    void* handle_ = nullptr;

private:
    void Changed(bool rebuild);
    std::string caption_;
    bool checked_ = false, enabled_ = true, visible_ = true, radioItem_ = false, default_ = false;
    int groupIndex_ = 0;
    TShortCut shortCut_ = 0;
    int command_ = 0;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

// A new item owned by `owner` (the form, so that FindComponent finds it by `name`), added last under `parent`.
TMenuItem* NewMenuItem(TComponent* owner, TMenuItem* parent, const char* name, const char* caption);

class TMenu : public TComponent, public IPublished {
    KES_CLASS(TMenu, TComponent)
    KES_PUBLISHED
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    TMenuItem* Items() const { return items_; }
    // The image list of the items' glyphs (a TCustomImageList), or nullptr.
    TComponent* Images = nullptr;
    // Items are drawn by their OnDrawItem events (the skin draws menus this way).
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool on);
    // Told of every change of an item (`rebuild`: the item set or order changed): first OnChange (the
    // program's), then every listener added (the skin's menu bar, for one).
    TMenuChangeEvent OnChange;
    // A further listener; the number returned removes it again.
    int AddChangeListener(TMenuChangeEvent listener);
    void RemoveChangeListener(int id);
    // The platform menu (HMENU), made on first use.
    void* Handle();
    // The item whose command is `command` within this menu, or nullptr.
    TMenuItem* FindItem(int command) const;
    // The item whose sub-items have the platform handle `handle`, or nullptr.
    TMenuItem* FindItemByHandle(void* handle) const;
    // Internal: an item changed.
    void MenuChanged(TMenuItem* source, bool rebuild);
    // Internal: the window that shows the menu bar (set by the form).
    void* windowHandle_ = nullptr;

protected:
    // Platform: keeps the native menu in step.
    void UpdateNative(TMenuItem* source, bool rebuild);
    void DestroyNative();

private:
    TMenuItem* items_;
    bool ownerDraw_ = false;
    std::vector<std::pair<int, TMenuChangeEvent>> listeners_;
    int nextListener_ = 1;
};

class TMainMenu : public TMenu {
    KES_CLASS(TMainMenu, TMenu)
public:
    using TMenu::TMenu;
};

class TPopupMenu : public TMenu {
    KES_CLASS(TPopupMenu, TMenu)
public:
    using TMenu::TMenu;
    // Shows the menu at a screen point and runs the chosen item's OnClick.
    void Popup(int x, int y);
    TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;
};

}  // namespace kes

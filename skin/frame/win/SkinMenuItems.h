#pragma once
// The items of the menus of a skinned window, drawn from the skin's MenuItem image (5 frames: 1 normal,
// 2 separator, 4 selected; plain skin colours without one): the drop-downs of the form's main menus and its
// popup menus (as owner-drawn items of the class library), raw menus that the menu bar opens (marked
// owner-drawn here and drawn from what the system tells of them), and the skinned system menu that replaces
// the window's own. Everything made here (owner-draw marks, handlers, the check-mark bitmap and pattern
// brush) is undone or freed when the object goes. GUI thread only.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gui/win/Canvas.h"
#include "gui/win/Win.h"

namespace kes {

class TComponent;
class TControl;
class TMenuItem;
class TPopupMenu;
class TSkinData;

class SkinMenuItems {
public:
    // rightToLeft: the window's layout; its menus' items mirror.
    SkinMenuItems(HWND window, TSkinData& skin, TControl* form, bool rightToLeft);
    ~SkinMenuItems();
    SkinMenuItems(const SkinMenuItems&) = delete;
    SkinMenuItems& operator=(const SkinMenuItems&) = delete;

    // The form's main menus (mainMenus) and popup menus (popupMenus, as OwnerDrawPopupMenus of the form) drawn
    // by the skin; both false gives every menu back.
    void OwnerDrawMenus(bool mainMenus, bool popupMenus);
    // The popup menus owned by container, and by the frames and forms it owns (at any depth), drawn by the
    // skin (on) or given back: every item gets the skin's drawing, and its measuring when it has none; the
    // program's own handlers come back with off. Menus tagged with the skin's DisableTag, and every menu of a
    // form of a class that draws its menus itself, are left alone.
    void OwnerDrawPopupMenus(TComponent* container, bool on);
    // The items of a raw menu and its submenus become owner-drawn (the type bit only; texts stay).
    void MarkOwnerDraw(HMENU menu);
    // The items of menu and its submenus marked here are plain again and forgotten (before the menu goes).
    void UnmarkOwnerDraw(HMENU menu);
    // The menu the bar is tracking (raw items are measured from it).
    void SetTrackedMenu(HMENU menu) { tracked_ = menu; }
    // The form goes with its menus: nothing of them is touched any more.
    void Forget() {
        ownerDrawn_.clear();
        handled_.clear();
    }
    // A new skin: the check mark and pattern brush are made again at the next use.
    void SkinChanged();

    // WM_MEASUREITEM / WM_DRAWITEM of the window: true when answered here (the result is TRUE).
    bool MeasureItem(MEASUREITEMSTRUCT& mi);
    bool DrawItem(const DRAWITEMSTRUCT& di);
    // WM_MENUCHAR of a popup (menu) shown by the window: true with the answer when the popup has owner-drawn items
    // and one of its items answers the character (its accelerator, else its first letter).
    bool MenuChar(char c, HMENU menu, LRESULT& result) const;
    // The same for an item of a raw menu only (a control's own menu, whose ids may be any program item's).
    bool MeasureRawItem(MEASUREITEMSTRUCT& mi);
    bool DrawRawItem(const DRAWITEMSTRUCT& di);

    // The skinned system menu at a screen point: built from the window's system menu, its choice posted as
    // WM_SYSCOMMAND. windowState: 0 normal, 1 maximized, 2 minimized; boxes: the frame's button set.
    void ShowSysMenu(POINT screen, HMENU sysMenu, int windowState, unsigned boxes);

    // The item handlers the skin gives (public for the system menu's items and tests).
    void DrawMenuItem(TMenuItem& item, TCanvas& canvas, const TRect& rect, bool selected);
    void MeasureMainMenuItem(TMenuItem& item, TCanvas& canvas, int& width, int& height);
    void MeasurePopupItem(TMenuItem& item, TCanvas& canvas, int& width, int& height);

private:
    void Walk(TMenuItem& item, int depth, bool on, bool mainMenu);
    void WalkPopup(TMenuItem& item, bool on);
    // The popup menus of container (frames and forms within included) that the skin drew.
    void GiveBackPopupMenus(TComponent* container);
    bool SkinDrawn(TMenuItem& item, bool hasHandler) const;
    // The item measured in the menu font: a program's item by its own rules, a raw one (item nullptr) by its text.
    void Measure(MEASUREITEMSTRUCT& mi, TMenuItem* item);
    bool DrawRaw(const DRAWITEMSTRUCT& di);
    void DrawRawMenuItem(HMENU menu, TMenuItem& item, bool selected, const TRect& rect, HDC dc);
    // The item in a work bitmap of its size over the popup's captured background, then put on dc.
    void ComposeItem(TMenuItem& item, HDC dc, const TRect& rect, bool selected, HMENU owner, bool separatorFrame);
    void DrawPlain(TMenuItem& item, HDC dc, const TRect& rect, bool selected);
    void DrawSeparator(HDC dc, const TRect& rect);
    void DrawContent(TMenuItem& item, TCanvas& canvas, bool selected, const TRect& rect);
    void ItemText(TMenuItem& item, TCanvas& canvas, const std::string& text, TRect& rect, unsigned flags,
                  bool selected);
    void DrawCheck(HDC dc, const TRect& box, int itemTop, int itemHeight, bool radio, COLORREF colour);
    void EnsureTools();
    int ItemLeftWidth() const;

    HWND window_;
    TSkinData& skin_;
    TControl* form_;
    bool rightToLeft_;
    HMENU tracked_ = nullptr;
    // Items that got the skin's handlers, and raw items marked owner-drawn (menu, position).
    std::set<TMenuItem*> handled_;
    std::set<std::pair<HMENU, UINT>> marked_;
    std::vector<class TMenu*> ownerDrawn_;
    // The handlers a popup item had before the skin's replaced them.
    struct SavedHandlers;
    std::map<TMenuItem*, SavedHandlers> savedPopup_;
    std::unique_ptr<TPopupMenu> sysPopup_;
    UniqueGdi<HBITMAP> check_;
    UniqueGdi<HBRUSH> pattern_;
    UniqueGdi<HBITMAP> patternBits_;
};

}  // namespace kes

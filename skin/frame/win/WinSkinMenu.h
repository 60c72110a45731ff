#pragma once
// TWinSkinMenu: the menu bar of a skinned window, drawn by the skin in the frame's menu row. Its buttons come
// from the window's menu (and the form's menu items, whose changes it follows); a button opens its popup with
// TrackPopupMenu while a message filter lets the keyboard and the mouse move between the buttons. The window
// keeps its menu, because the class library and the program find their menu commands and changes through it;
// the system never shows or tracks its own bar, since the frame takes the menu row's painting and input. GUI thread only; one popup of a bar is open at a time in the program.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gui/win/Canvas.h"
#include "gui/win/Win.h"
#include "skin/frame/MenuBarLayout.h"

namespace kes {

class SkinMenuItems;
class TMenu;
class TSkinData;

class TWinSkinMenu {
public:
    // menu: the form's main menu (nullptr for a window without a form); items: the owner-drawn items of the
    // window, which mark a raw popup before it opens.
    TWinSkinMenu(HWND window, TSkinData& skin, TMenu* menu, SkinMenuItems& items, bool rightToLeft);
    ~TWinSkinMenu();
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    // The buttons read again from the window's menu and the form's items. The window's menu is kept as the bar's
    // menu; a window whose menu was taken off keeps the bar's last one.
    void UpdateButtons();
    // The bar shows another menu (an MDI frame's WM_MDISETMENU).
    void Rebuild(HMENU menu);
    HMENU SavedMenu() const { return savedMenu_; }
    // The bar in the menu row (window coordinates) on the window DC. mdiButtonsLeft: the left edge of a maximized
    // MDI child's buttons in the bar, -1 without them.
    void Paint(HDC dc, const TRect& row, bool active, int mdiButtonsLeft = -1);
    // The button under a screen point; -1 for none.
    int ButtonAt(POINT screen) const;
    // Non-client mouse messages over the menu row: true when answered (result set).
    bool NcMouse(UINT msg, WPARAM hitCode, POINT screen, bool active, LRESULT& result);
    // The timer's look at the hot button: back to normal once the cursor left it.
    void Tick();
    // Opens a button's popup and runs it to its end (and on through the buttons the user switches to); a button
    // without a popup runs its command at once, or, reached by the keys (byKeys: Alt or F10 alone), is held
    // highlighted until Enter runs it or the keys move on or leave. False when nothing opened or was held.
    bool TrackMenuButton(int index, bool byKeys = false);
    // Opens a button from outside the bar's own input (an accelerator typed in another window): posted, so that
    // the key's own handling ends first.
    void OpenMenuButton(int index);
    // A left press on a command button is held until the release: the held button (-1 for none), taken off by
    // the release; its picture while the pointer moves; the release, which runs its command when `run`.
    int Pressed() const { return pressed_; }
    int TakePress() { return std::exchange(pressed_, -1); }
    void PressMoved(POINT screen);
    void Released(int index, bool run);
    // WM_MENUSELECT of the window (the owner of the bar's popups): the item selected in them.
    void MenuSelect(WPARAM wp, LPARAM lp);
    // SC_KEYMENU: what to do (see DecideKeyMenu).
    KeyMenuAnswer KeyMenu(unsigned ch) const;
    bool Tracking() const;
    // The form's menu goes (with the form): the bar stops listening to it.
    void Forget() { menu_ = nullptr; }

    const std::vector<MenuBarItem>& Items() const { return items_; }
    const std::vector<TRect>& Rects() const { return rects_; }

private:
    struct Filter;
    void Layout(HDC dc, int mdiButtonsLeft);
    void PaintButton(HDC dc, int index);
    void RepaintButton(int index);
    void SetHot(int index, int state);
    MenuSelection Selection() const;
    // A button without an open popup, held highlighted by the keys; the button they move on to, or -1.
    int HoldOnButton(int index);
    void RunCommand(int index);
    // After Left closed a cascade, the selection is its item in the menu above.
    void CascadeClosed();

    HWND window_;
    HMENU savedMenu_ = nullptr;
    TSkinData& skin_;
    TMenu* menu_;
    SkinMenuItems& owned_;
    bool rightToLeft_;
    int listener_ = 0;
    std::vector<MenuBarItem> items_;
    std::vector<HMENU> submenus_;
    std::vector<int> commands_;
    std::vector<TRect> rects_;
    TRect bar_;
    bool active_ = true;
    std::unique_ptr<TBitmap> back_;  // the bar's background, for repainting one button
    int hot_ = -1, hotState_ = 1;
    int pressed_ = -1;
};

}  // namespace kes

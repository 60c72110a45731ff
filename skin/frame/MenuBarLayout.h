#pragma once
// The rules of a skinned menu bar that need no window: where its buttons go (margins, right-to-left), which
// button a point hits, how the keyboard moves between buttons while a popup is open, and what Alt, F10 and
// Alt+letter (SC_KEYMENU) do. Key codes are the system's virtual-key numbers.
#include <string>
#include <vector>

#include "gui/Graphics.h"

namespace kes {

// A button of the bar, as the bar's menu gives it.
struct MenuBarItem {
    std::string Caption;  // with its "&" accelerator
    bool Visible = true, Enabled = true;
    bool HasSubmenu = false;
};

struct MenuBarGeometry {
    TRect Bar;  // window coordinates
    bool HasMenuBarObject = false;
    int MenuBarLeftWidth = 0, MenuBarRightWidth = 0;  // margins of the skin's menuBar image
    bool RightToLeft = false;
    // Right-to-left in an MDI frame whose active child is maximized: the left edge of the leftmost of the child's
    // buttons in the bar (window coordinates); the bar's buttons start 5 pixels left of it. -1: none.
    int MdiButtonsLeft = -1;
};

// The space before the first button: with a menuBar image its left width + 4 (right-to-left: its right width
// + 8), 12 when the bar is narrower than that; 6 without the image.
int MenuBarMargin(const MenuBarGeometry& g);
// One rectangle per item: its caption's width (textWidths, measured in the menu font) + 10, from the bar's top
// to its bottom - 1, one after another from the margin (right-to-left: leftwards from the bar's right edge
// less the margin). Hidden items and empty captions get an empty rectangle.
std::vector<TRect> LayoutMenuBar(const MenuBarGeometry& g, const std::vector<MenuBarItem>& items,
                                 const std::vector<int>& textWidths);
// The first button whose rectangle holds the point and whose caption is not empty; -1 for none.
int MenuBarButtonAt(const std::vector<MenuBarItem>& items, const std::vector<TRect>& rects, TPoint p);

// A button that switching between popups can land on: visible, enabled, with a caption and a popup (a
// command button would run its command just by being passed over).
bool MenuBarSwitchable(const MenuBarItem& item);
// A button the keys can reach: every button that shows (visible, with a caption), popup or not, enabled or not;
// one without a popup is highlighted and runs only on Enter.
bool MenuBarReachable(const MenuBarItem& item);
// Which buttons a move between buttons lands on: those that can switch (the mouse passing over the bar while a
// popup is open) or those the keys reach.
enum class MenuBarReach { Switchable, Keys };
// The next (step 1) or previous (step -1) button after `from` that `reach` lands on, wrapping around; -1 for none.
int NextMenuBarButton(const std::vector<MenuBarItem>& items, int from, int step,
                      MenuBarReach reach = MenuBarReach::Switchable);

// A key while the keys hold a bar button that has no open popup (a command button, or a disabled one): Left and
// Right (mirrored right to left) move on, Enter runs the button, Escape leaves; Alt and F10 leave on their
// release (so that the release opens nothing again); every other key stays.
enum class HeldKey { Stay, Next, Previous, Run, Leave };
HeldKey MenuBarHeldKey(unsigned key, bool keyUp, bool rightToLeft);

// Left and right exchanged for a right-to-left menu, in key messages only (isKeyMessage: WM_KEYDOWN or
// WM_KEYUP); every other message's wParam stays.
unsigned MirroredMenuKey(bool isKeyMessage, unsigned key, bool rightToLeft);

// What a key pressed inside a bar popup does to the bar.
enum class MenuBarMove { None, Next, Previous };
// The highlighted item of the open popups, deepest first.
struct MenuSelection {
    bool Any = false;             // some item is highlighted
    bool HasSubmenu = false;      // the deepest highlighted item opens a cascade
    bool InTrackedPopup = false;  // it lies in the bar's own popup (not in a cascade)
};
// Right: the next button when nothing is highlighted or the highlighted item opens no cascade (else the
// menu opens the cascade). Left: the previous button when nothing is highlighted or the highlighted item is
// in the bar's popup (else the menu closes the cascade). Other keys: nothing.
MenuBarMove MenuBarKeyMove(unsigned key, const MenuSelection& sel);

// A character typed in an open popup of owner-drawn items (WM_MENUCHAR): the item it picks. An item answers its
// "&" accelerator, and, when no item has that accelerator, its first letter (the case of A to Z folded); only
// items that can be chosen (enabled, no separator) answer. One such item runs; of several, the next one after the
// highlighted item (`current`, -1 for none) is highlighted; none: Item -1.
struct MenuCharPick {
    int Item = -1;
    bool Run = false;
};
MenuCharPick MenuCharItem(const std::vector<std::string>& captions, const std::vector<bool>& choosable, char c,
                          int current);

// SC_KEYMENU (Alt alone, F10, Alt+letter) on a window with a skinned menu bar.
struct KeyMenuAnswer {
    bool Handled = false;      // answered 1, not passed on
    bool ShowSysMenu = false;  // the skinned system menu, then the default handling
    int Button = -1;           // the button to open
};
// ch: the character of the key (0 for Alt alone or F10). While a popup is open or the mouse is captured
// the default handling runs. " " shows the system menu; "-" (an MDI child's system menu) goes on by default;
// 0 opens the first visible button with a caption; another character the first enabled, visible button whose
// accelerator it is (none: default handling).
KeyMenuAnswer DecideKeyMenu(unsigned ch, bool tracking, bool captured, const std::vector<MenuBarItem>& items);
// The first enabled, visible button whose caption has c as its accelerator; -1 for none.
int FindAccelButton(const std::vector<MenuBarItem>& items, char c);

}  // namespace kes

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
// The next (step 1) or previous (step -1) switchable button after `from`, wrapping around; -1 for none.
int NextMenuBarButton(const std::vector<MenuBarItem>& items, int from, int step);

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

#pragma once
// Window messages the main window answers for programs that drive it from outside (the end-to-end tests):
// menus of another process cannot be read, so a driver asks for an item's command id and sends WM_COMMAND.
namespace kes {

// wParam: a global atom that holds a menu item's component name ("Connect1"); the answer is the item's
// WM_COMMAND id, 0 when the window has no such item.
inline constexpr unsigned kMsgMenuCommandOf = 0x8000 /* WM_APP */ + 0x2A1;

// Names of the windows as other programs find them (the main window's: base/CompanionLink.h).
inline constexpr const char* kLogWindowClass = "TLOGform";

}  // namespace kes

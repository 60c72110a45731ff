#pragma once
// Typed unpacking of a window message's parameters: what each message packs into wParam and lParam, read once
// here instead of by hand in every handler.
#include <cstdint>

#include "base/win/Win.h"
#include "gui/Controls.h"

namespace kes::msg {

// A point packed into lParam as two signed 16-bit values (client coordinates for mouse messages, screen
// coordinates for WM_CONTEXTMENU and the non-client mouse messages).
inline TPoint Point(intptr_t lParam) {
    return {static_cast<int16_t>(lParam & 0xFFFF), static_cast<int16_t>((lParam >> 16) & 0xFFFF)};
}
inline TPoint Point(const TMessage& m) { return Point(m.LParam); }

// WM_CONTEXTMENU from the keyboard (Shift+F10, the menu key) carries (-1, -1) instead of a point.
inline bool FromKeyboard(TPoint p) { return p.X == -1 && p.Y == -1; }

// The MK_ flags of a mouse message.
inline WPARAM MouseKeys(const TMessage& m) { return static_cast<WPARAM>(m.WParam); }

// The virtual key of WM_KEYDOWN/WM_KEYUP/WM_SYSKEYDOWN/WM_SYSKEYUP.
inline uint16_t VirtualKey(const TMessage& m) { return static_cast<uint16_t>(m.WParam); }

// The character of WM_CHAR (8-bit, in the ANSI code page).
inline char Char(const TMessage& m) { return static_cast<char>(m.WParam); }

// WM_COMMAND: the command id (menu item or control id), the notification code, the control that sent it
// (null for a menu or an accelerator).
inline unsigned CommandId(const TMessage& m) { return static_cast<unsigned>(m.WParam & 0xFFFF); }
inline unsigned NotifyCode(const TMessage& m) { return static_cast<unsigned>((m.WParam >> 16) & 0xFFFF); }
inline HWND CommandControl(const TMessage& m) { return reinterpret_cast<HWND>(m.LParam); }

// WM_CTLCOLOR*: the control's DC and window.
inline HDC CtlColorDc(const TMessage& m) { return reinterpret_cast<HDC>(m.WParam); }
inline HWND CtlColorControl(const TMessage& m) { return reinterpret_cast<HWND>(m.LParam); }

// WM_ERASEBKGND, WM_PRINTCLIENT: the DC to paint on.
inline HDC PaintDcOf(const TMessage& m) { return reinterpret_cast<HDC>(m.WParam); }

// WM_CONTEXTMENU: the window the user clicked in.
inline HWND ContextWindow(const TMessage& m) { return reinterpret_cast<HWND>(m.WParam); }

// WM_SIZE: the size of the client area, and the kind of change (SIZE_MINIMIZED, ...).
inline TPoint ClientSize(const TMessage& m) {
    return {static_cast<int>(m.LParam & 0xFFFF), static_cast<int>((m.LParam >> 16) & 0xFFFF)};
}
inline unsigned SizeKind(const TMessage& m) { return static_cast<unsigned>(m.WParam); }

// WM_NCHITTEST: the point in screen coordinates.
inline TPoint HitTestPoint(const TMessage& m) { return Point(m); }

// WM_ACTIVATE: whether the window lost activation, and whether it is minimized while it gains it.
inline bool Deactivated(const TMessage& m) { return (m.WParam & 0xFFFF) == WA_INACTIVE; }
inline bool ActivatedMinimized(const TMessage& m) { return ((m.WParam >> 16) & 0xFFFF) != 0; }

// WM_INITMENUPOPUP: the menu about to open, and whether it is the window menu (system menu).
inline HMENU PopupMenu(const TMessage& m) { return reinterpret_cast<HMENU>(m.WParam); }
inline bool IsWindowMenu(const TMessage& m) { return ((m.LParam >> 16) & 0xFFFF) != 0; }

// WM_MEASUREITEM, WM_DRAWITEM: the owner-draw request.
inline MEASUREITEMSTRUCT& MeasureItem(const TMessage& m) { return *reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam); }
inline DRAWITEMSTRUCT& DrawItem(const TMessage& m) { return *reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam); }

// Mouse button messages: which button, whether pressed or released, whether a double click.
struct MouseButtonInfo {
    TMouseButton Button = mbLeft;
    bool Down = false;
    bool Double = false;
};
// False when `m` is not a button message of the client area.
inline bool MouseButton(const TMessage& m, MouseButtonInfo& info) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN: info = {mbLeft, true, false}; return true;
    case WM_RBUTTONDOWN: info = {mbRight, true, false}; return true;
    case WM_MBUTTONDOWN: info = {mbMiddle, true, false}; return true;
    case WM_LBUTTONDBLCLK: info = {mbLeft, true, true}; return true;
    case WM_RBUTTONDBLCLK: info = {mbRight, true, true}; return true;
    case WM_MBUTTONDBLCLK: info = {mbMiddle, true, true}; return true;
    case WM_LBUTTONUP: info = {mbLeft, false, false}; return true;
    case WM_RBUTTONUP: info = {mbRight, false, false}; return true;
    case WM_MBUTTONUP: info = {mbMiddle, false, false}; return true;
    default: return false;
    }
}

}  // namespace kes::msg

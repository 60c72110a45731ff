#pragma once
// Wide text for the skinned windows on every Windows version, the control of a window handle, and the
// user32 calls that older systems lack, looked up by name. GUI thread only.
#include <string>

#include "gui/win/Win.h"

namespace kes {

// The code page of StrToWideStr; 0 is the system's ANSI code page.
unsigned SkinCodePage();
void SetSkinCodePage(unsigned codePage);

// text converted to a wide string in the skin code page; an empty text gives an empty string.
void StrToWideStr(const std::string& text, std::wstring& wide);
// The first n characters of a zero-terminated wide text (all of it when n is -1 or past its end).
void WideStrCopy(const wchar_t* text, int n, std::wstring& wide);
// Draws a wide text: DrawTextW on the NT family (SkinIsNT()), otherwise the text in the ANSI code page
// through DrawTextA. Returns what DrawText returns; with DT_CALCRECT the rectangle comes back measured.
int SkinDrawText(HDC dc, const std::wstring& text, RECT& rect, UINT format);

// The class library's control of a window; null for 0 or a window that is not one of its controls.
TWinControl* FindControlByHandle(HWND window);

// The optional user32 entries, looked up by name when first needed; null where the system lacks one.
struct OptionalUser32 {
    BOOL(WINAPI* GetScrollBarInfo)(HWND, LONG, PSCROLLBARINFO) = nullptr;
    BOOL(WINAPI* TrackMouseEvent)(LPTRACKMOUSEEVENT) = nullptr;
    BOOL(WINAPI* GetComboBoxInfo)(HWND, PCOMBOBOXINFO) = nullptr;
};
// The entries in use; tests may clear one to act as an older system.
OptionalUser32& SkinUser32();

// GetScrollBarInfo for OBJID_HSCROLL or OBJID_VSCROLL (the size field is set here); false when the
// system lacks the call or the call fails.
bool CallGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info);
// Asks for WM_MOUSELEAVE when the mouse leaves the window; nothing on a system without TrackMouseEvent.
void CallTrackMouseEvent(HWND window);
// GetComboBoxInfo (the size field is set here); false when the system lacks the call or it fails.
bool CallGetComboBoxInfo(HWND combo, COMBOBOXINFO& info);

}  // namespace kes

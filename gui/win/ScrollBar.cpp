// The scroll-bar control's window: a system scroll bar (SB_CTL) that the control gives its range and position.
#include "gui/ScrollBar.h"

#include "gui/win/Win.h"

namespace kes {

void TScrollBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "SCROLLBAR";
    p.SystemClass = true;
    p.Style = (p.Style & ~WS_CLIPCHILDREN) | (kind_ == sbVertical ? SBS_VERT : SBS_HORZ);
}

void TScrollBar::CreateWnd() { UpdateBar(); }

void TScrollBar::UpdateBar() {
    if (!HandleAllocated()) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    si.nMin = min_;
    si.nMax = max_;
    si.nPage = static_cast<UINT>(page_);
    si.nPos = position_;
    // Sent to the bar itself, so that whoever takes part in its messages sees the change.
    SendMessageA(static_cast<HWND>(WindowHandle()), SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si));
}

void TScrollBar::WndProc(TMessage& m) {
    if (m.Msg == OCM_HSCROLL || m.Msg == OCM_VSCROLL) {
        const unsigned code = LOWORD(m.WParam);
        int thumb = position_;
        if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
            // The 32-bit position of the drag (the message carries only 16 bits of it).
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_TRACKPOS;
            thumb = GetScrollInfo(static_cast<HWND>(WindowHandle()), SB_CTL, &si) ? si.nTrackPos
                                                                                  : static_cast<short>(HIWORD(m.WParam));
        }
        if (code <= SB_ENDSCROLL) Scrolled(static_cast<TScrollCode>(code), thumb);
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

}  // namespace kes

// Status bar (msctls_statusbar32) and progress bar (msctls_progress32).
#include "gui/ComCtrls.h"

#include "gui/win/Win.h"

namespace kes {

static HWND H(const TWinControl* c) { return static_cast<HWND>(c->WindowHandle()); }

void TCustomStatusBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = STATUSCLASSNAMEA;
    p.SystemClass = true;
    p.Style = (p.Style & ~(WS_CLIPCHILDREN | WS_TABSTOP)) | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER |
              (SizeGrip ? SBARS_SIZEGRIP : 0);
}

void TCustomStatusBar::CreateWnd() { PanelChanged(-1); }

void TCustomStatusBar::BoundsChanged() {
    TWinControl::BoundsChanged();
    if (handle_) SendMessageA(H(this), WM_SIZE, 0, 0);
}

static std::string AlignedText(const TStatusPanel& p) {
    switch (p.Alignment()) {
    case taCenter: return "\t" + p.Text();
    case taRightJustify: return "\t\t" + p.Text();
    default: return p.Text();
    }
}

void TCustomStatusBar::PanelChanged(int index) {
    if (!handle_) return;
    HWND h = H(this);
    if (index >= 0 && !simplePanel_) {
        if (index < panels_.Count())
            SendMessageA(h, SB_SETTEXTA, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(AlignedText(panels_[index]).c_str()));
        return;
    }
    SendMessageA(h, SB_SIMPLE, simplePanel_, 0);
    if (simplePanel_) {
        SendMessageA(h, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
        return;
    }
    std::vector<int> edges = PanelEdges();
    if (edges.empty()) edges.push_back(-1);
    SendMessageA(h, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    if (panels_.Count() == 0) SendMessageA(h, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    for (int i = 0; i < panels_.Count(); ++i)
        SendMessageA(h, SB_SETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(AlignedText(panels_[i]).c_str()));
}

void TProgressBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = PROGRESS_CLASSA;
    p.SystemClass = true;
    p.Style &= ~(WS_CLIPCHILDREN | WS_TABSTOP);
}

void TProgressBar::CreateWnd() { Push(); }

void TProgressBar::Push() {
    if (!handle_) return;
    SendMessageA(H(this), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageA(H(this), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

}  // namespace kes

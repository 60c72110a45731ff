// Status bar (msctls_statusbar32) and progress bar (msctls_progress32).
#include "gui/ComCtrls.h"

#include <utility>

#include "gui/win/Canvas.h"
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

// The drawing flags of a panel's SB_SETTEXT: its bevel and whether its owner draws it.
static WPARAM PanelFlags(const TStatusPanel& p) {
    WPARAM f = p.Style() == psOwnerDraw ? SBT_OWNERDRAW : 0;
    if (p.Bevel() == pbNone) f |= SBT_NOBORDERS;
    if (p.Bevel() == pbRaised) f |= SBT_POPOUT;
    return f;
}

static void SetPanelText(HWND h, int index, const TStatusPanel& p) {
    const std::string text = AlignedText(p);
    const WPARAM flags = PanelFlags(p);
    // An owner-drawn panel keeps no text of its own in the window.
    SendMessageA(h, SB_SETTEXTA, static_cast<WPARAM>(index) | flags,
                 (flags & SBT_OWNERDRAW) ? 0 : reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomStatusBar::DrawPanel(int index, const TRect& rect, void* dc) {
    if (!OnDrawPanel || index < 0 || index >= panels_.Count()) return;
    TCanvas canvas(static_cast<HDC>(dc));
    canvas.Font().Assign(Font());
    TCanvas* outer = std::exchange(canvas_, &canvas);
    struct Back {
        TCanvas*& slot;
        TCanvas* value;
        ~Back() { slot = value; }
    } back{canvas_, outer};
    OnDrawPanel(this, panels_[index], rect);
}

// An owner-drawn panel comes back from the parent as OCM_DRAWITEM.
void TCustomStatusBar::WndProc(TMessage& m) {
    if (m.Msg == OCM_DRAWITEM) {
        const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
        DrawPanel(static_cast<int>(d->itemID), ToTRect(d->rcItem), d->hDC);
        m.Result = TRUE;
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomStatusBar::PanelChanged(int index) {
    if (!handle_) return;
    HWND h = H(this);
    if (index >= 0 && !simplePanel_) {
        if (index < panels_.Count()) SetPanelText(h, index, panels_[index]);
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
    for (int i = 0; i < panels_.Count(); ++i) SetPanelText(h, i, panels_[i]);
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

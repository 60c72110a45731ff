// Up-down (msctls_updown32), the tab set's own drawing, the tab control (SysTabControl32) and the page control.
#include "gui/TabCtrls.h"

#include <algorithm>

#include "gui/win/Canvas.h"
#include "gui/win/MsgCrack.h"
#include "gui/win/Win.h"

namespace kes {

static HWND H(const TWinControl* c) { return static_cast<HWND>(c->WindowHandle()); }

// ---- up-down ----

void TUpDown::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = UPDOWN_CLASSA;
    p.SystemClass = true;
    p.Style = (p.Style & ~(WS_CLIPCHILDREN | WS_TABSTOP)) | (orientation_ == udHorizontal ? UDS_HORZ : 0);
}

void TUpDown::CreateWnd() { Push(); }

void TUpDown::Push() {
    if (!handle_) return;
    SendMessageA(H(this), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageA(H(this), UDM_SETPOS32, 0, position_);
}

// An arrow's press comes back from the parent as OCM_NOTIFY (UDN_DELTAPOS); the control then moves its own
// position, which is the one taken here.
void TUpDown::WndProc(TMessage& m) {
    if (m.Msg == OCM_NOTIFY) {
        const auto* n = reinterpret_cast<const NMUPDOWN*>(m.LParam);
        if (n && n->hdr.code == UDN_DELTAPOS) {
            m.Result = 0;
            ArrowPressed(n->iDelta);
            return;
        }
    }
    TWinControl::WndProc(m);
}

// ---- tab set ----

int TTabSet::TabTextWidth(int index) const {
    if (index < 0 || index >= TabCount()) return 0;
    const RECT r = MeasureText(Font(), Tab(index), 0, DT_SINGLELINE | DT_NOPREFIX);
    return r.right - r.left;
}

// Tabs hang from the top edge: the current one white and joined to the edge, the others raised a little.
void TTabSet::Paint(TCanvas& canvas) {
    canvas.Brush().Color = Color();
    canvas.Brush().Style = bsSolid;
    canvas.FillRect(ClientRect());
    canvas.Pen().Color = clBtnShadow;
    canvas.MoveTo(0, 0);
    canvas.LineTo(Width(), 0);
    const std::vector<TRect> rects = TabRects();
    for (size_t i = 0; i < rects.size(); ++i) {
        const TRect& r = rects[i];
        if (r.IsEmpty()) continue;
        const int index = FirstIndex() + static_cast<int>(i);
        const bool current = index == TabIndex();
        TRect face = Rect(r.Left, current ? 0 : 1, r.Right, r.Bottom - 2);
        canvas.Brush().Color = current ? clWindow : Color();
        canvas.FillRect(face);
        canvas.Pen().Color = clWindowText;
        canvas.MoveTo(face.Left, face.Top);
        canvas.LineTo(face.Left, face.Bottom);
        canvas.LineTo(face.Right - 1, face.Bottom);
        canvas.LineTo(face.Right - 1, face.Top - 1);
        canvas.Brush().Style = bsClear;
        canvas.Font().Assign(Font());
        TRect text = face;
        canvas.DrawText(text, Tab(index), DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        canvas.Brush().Style = bsSolid;
    }
}

// ---- tab control ----

void TCustomTabControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = WC_TABCONTROLA;
    p.SystemClass = true;
    p.Style |= WS_CLIPCHILDREN;
    if (style_ == tsButtons) p.Style |= TCS_BUTTONS;
    if (style_ == tsFlatButtons) p.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
}

static void InsertItem(HWND h, int index, const std::string& caption) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(h, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TCustomTabControl::CreateWnd() {
    for (int i = 0; i < TabCount(); ++i) InsertItem(H(this), i, tabs_[static_cast<size_t>(i)]);
    SendMessageA(H(this), TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
}

void TCustomTabControl::DestroyWnd() { tabIndex_ = TabIndex(); }

void TCustomTabControl::InsertTab(int index, const std::string& caption) {
    index = std::clamp(index, 0, TabCount());
    tabs_.insert(tabs_.begin() + index, caption);
    if (handle_) InsertItem(H(this), index, caption);
}

void TCustomTabControl::DeleteTab(int index) {
    if (index < 0 || index >= TabCount()) return;
    tabs_.erase(tabs_.begin() + index);
    if (handle_) SendMessageA(H(this), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    if (tabIndex_ >= TabCount()) tabIndex_ = TabCount() - 1;
}

void TCustomTabControl::SetTabText(int index, const std::string& caption) {
    if (index < 0 || index >= TabCount()) return;
    tabs_[static_cast<size_t>(index)] = caption;
    if (!handle_) return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(H(this), TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int TCustomTabControl::TabIndex() const {
    return handle_ ? static_cast<int>(SendMessageA(H(this), TCM_GETCURSEL, 0, 0)) : tabIndex_;
}

void TCustomTabControl::SetTabIndex(int index) {
    if (index < -1 || index >= TabCount()) return;
    tabIndex_ = index;
    if (handle_) SendMessageA(H(this), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

TRect TCustomTabControl::DisplayRect() const {
    RECT r{0, 0, Width(), Height()};
    if (handle_) {
        GetClientRect(H(this), &r);
        SendMessageA(H(this), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    }
    return ToTRect(r);
}

// The selection comes back from the parent as OCM_NOTIFY (TCN_SELCHANGE). The system draws the tabs; the
// control's windowless children are painted over them.
void TCustomTabControl::WndProc(TMessage& m) {
    if (m.Msg == OCM_NOTIFY) {
        const auto* n = reinterpret_cast<const NMHDR*>(m.LParam);
        if (n && n->code == TCN_SELCHANGE) {
            m.Result = 0;
            Change();
            return;
        }
    }
    TWinControl::WndProc(m);
    if (m.Msg == WM_PAINT && m.WParam == 0) {
        WindowDc dc(H(this), false);
        PaintControls(this, dc.Get());
    } else if (m.Msg == WM_PAINT) {
        PaintControls(this, reinterpret_cast<HDC>(m.WParam));
    }
}

}  // namespace kes

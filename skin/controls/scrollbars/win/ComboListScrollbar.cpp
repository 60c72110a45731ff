// The drop-down list's skinned scroll bar and its thumb drag.
#include "skin/controls/scrollbars/win/ComboListScrollbar.h"

#include "skin/controls/ScrollbarPaint.h"
#include "skin/controls/scrollbars/win/SkinScrollbar.h"
#include "skin/draw/win/SkinText.h"

namespace kes {

namespace {

// A message the list repaints its bar after (the list box sends it to itself when its bar changed).
constexpr UINT kListBarChanged = 0x1AE;

int LoX(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
int HiY(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }

// The screen point of a mouse message: client coordinates of its window, or screen ones for the non-client
// messages.
POINT ScreenPointOf(const MSG& msg) {
    POINT p{LoX(msg.lParam), HiY(msg.lParam)};
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) ClientToScreen(msg.hwnd, &p);
    return p;
}

}  // namespace

TComboxScrollBar::TComboxScrollBar(TComponent* owner) : TSkinControl(owner) {
    arrow_ = GetSystemMetrics(SM_CXHSCROLL);
}

bool TComboxScrollBar::BeforeMessage(TMessage& m) {
    if (dragging_ &&
        (EndsListDrag(m.Msg, m.WParam, m.LParam, reinterpret_cast<intptr_t>(window_)) ||
         (m.Msg == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(m.LParam)->flags & SWP_HIDEWINDOW)))) {
        // The drag waits for a message: wake it to see that it is over.
        dragEnded_ = true;
        PostMessageA(window_, WM_NULL, 0, 0);
    }
    switch (m.Msg) {
    case WM_NCPAINT: return true;
    case WM_NCMOUSEMOVE:
        if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
            m.Result = 0;
            return false;
        }
        return true;
    case WM_NCLBUTTONDOWN:
        if (m.WParam == HTVSCROLL && !dragging_ &&
            TrackThumb({LoX(m.LParam), HiY(m.LParam)})) {
            m.Result = 0;
            return false;
        }
        return true;
    default: return TSkinControl::BeforeMessage(m);
    }
}

void TComboxScrollBar::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case kListBarChanged: PaintWindow(0); return;
    default: TSkinControl::AfterMessage(m);
    }
}

bool TComboxScrollBar::TrackThumb(POINT press) {
    SCROLLBARINFO bar{};
    if (!CallGetScrollBarInfo(window_, OBJID_VSCROLL, bar)) return false;
    const int p = press.y - bar.rcScrollBar.top;
    if (p < bar.xyThumbTop || p > bar.xyThumbBottom) return false;
    const HWND list = window_;
    SetCapture(list);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(list, SB_VERT, &si);
    const ScrollRange range{si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos};
    int last = si.nPos;
    const int offset0 = bar.xyThumbTop - arrow_;
    const int track = bar.rcScrollBar.bottom - bar.rcScrollBar.top - 2 * arrow_;
    const int thumb = bar.xyThumbBottom - bar.xyThumbTop;

    dragging_ = true;
    dragEnded_ = false;
    bool finished = false, quit = false;
    WPARAM quitCode = 0;
    MSG msg{};
    while (!dragEnded_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got < 0) break;
        const ListDragStep step = ListDragStepFor(msg.message, msg.wParam);
        if (step == ListDragStep::Finish) {
            SendMessageA(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, last), 0);
            finished = true;
            break;
        }
        if (step == ListDragStep::Cancel) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (step == ListDragStep::Track && !dragEnded_ && IsWindow(list)) {
            const int pos = DraggedScrollPos(offset0 + (ScreenPointOf(msg).y - press.y), track, thumb, range);
            if (pos != last) SendMessageA(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
            last = pos;
        }
        if (!IsWindow(list) || !IsWindowVisible(list)) break;
    }
    dragging_ = false;
    if (IsWindow(list)) {
        PostMessageA(list, WM_VSCROLL, SB_ENDSCROLL, 0);
        if (GetCapture() == list) ReleaseCapture();
        if (!finished) PaintWindow(0);
    }
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    return true;
}

void TComboxScrollBar::DrawControl(HDC dc, const TRect& rect) {
    SCROLLBARINFO bar{};
    if (!skin_ || !CallGetScrollBarInfo(window_, OBJID_VSCROLL, bar) || (bar.rgstate[0] & STATE_SYSTEM_INVISIBLE))
        return;
    const RECT& r = bar.rcScrollBar;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0 || w > rect.Width() || h > rect.Height()) return;
    ScrollbarLook look;
    look.Vertical = true;
    look.Length = h;
    look.Arrow = arrow_;
    look.Breadth = SkinScrollBreadth(*skin_, arrow_);
    look.Enabled = !(bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    look.Thumb = {bar.xyThumbTop, bar.xyThumbBottom};
    look.GripLength = skin_->Scrollbar ? skin_->Scrollbar->Image.Height() : 0;
    look.Extent = h;
    PaintScrollbar(dc, {r.left - windowRect_.Left, r.top - windowRect_.Top}, {w, h}, *skin_, look);
}

void TComboxScrollBar::Unskin() {
    if (!active_) return;
    TSkinControl::Unskin();
    // The list's own bar comes back.
    if (state_ != kControlWindowGone && window_ && IsWindow(window_))
        RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

TComboxScrollBar* AttachComboxScrollBar(TComponent* owner, HWND list, TSkinData* skin, TWinSkinForm* form) {
    if (!list || !skin) return nullptr;
    auto* bar = new TComboxScrollBar(owner);
    bar->AttachWindow(list, skin, form);
    return bar;
}

}  // namespace kes

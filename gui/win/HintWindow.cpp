// The hint window and the hint timing: a message filter of the application watches the mouse; after the
// application's HintPause over a control with a hint the hint shows, and it goes after HintHidePause, when
// the mouse leaves the control, or on a key or button press.
#include "gui/HintWindow.h"

#include "gui/Forms.h"
#include "gui/win/Canvas.h"
#include "gui/win/MsgCrack.h"
#include "gui/win/Win.h"

namespace kes {

void THintWindow::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.ClassStyle |= CS_SAVEBITS | CS_DROPSHADOW;
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
    const RECT r = MeasureText(font_, hint, maxWidth, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    return Rect(0, 0, r.right + 8, r.bottom + 4);
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& hint) {
    text_ = hint;
    left_ = rect.Left;
    top_ = rect.Top;
    width_ = rect.Width();
    height_ = rect.Height();
    HandleNeeded();
    HWND h = static_cast<HWND>(handle_);
    SetWindowTextA(h, hint.c_str());
    SetWindowPos(h, HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    visible_ = true;
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
}

void THintWindow::ReleaseHandle() {
    visible_ = false;
    DestroyHandle();
}

void THintWindow::Paint(TCanvas& canvas) {
    TRect r = Rect(4, 2, width_ - 2, height_ - 2);
    canvas.Brush().Style = bsClear;
    canvas.Font().Assign(font_);
    canvas.DrawText(r, text_, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

namespace {

// The control (windowed or not) under the mouse for a message of window `hwnd` at client point `p`.
TControl* ControlAt(HWND hwnd, POINT p) {
    TWinControl* w = FindControl(hwnd);
    if (!w) return nullptr;
    if (TControl* g = w->GraphicControlAt({p.x, p.y})) return g;
    return w;
}

struct HintManager {
    TApplication* app = nullptr;
    int filter = 0;
    HWND timerWindow = nullptr;
    THintWindow* window = nullptr;
    TControl* over = nullptr;
    bool showing = false;

    enum : UINT_PTR { kShowTimer = 1, kHideTimer = 2 };

    void Hide() {
        KillTimer(timerWindow, kShowTimer);
        KillTimer(timerWindow, kHideTimer);
        if (showing && window) window->ReleaseHandle();
        showing = false;
    }

    void Show() {
        KillTimer(timerWindow, kShowTimer);
        const std::string hint = EffectiveHint(over);
        if (hint.empty() || !app) return;
        if (!window) window = new THintWindow(nullptr);
        POINT cur;
        GetCursorPos(&cur);
        TRect r = window->CalcHintRect(300, hint);
        const int x = cur.x, y = cur.y + 20;
        window->ActivateHint(Rect(x, y, x + r.Width(), y + r.Height()), hint);
        showing = true;
        SetTimer(timerWindow, kHideTimer, static_cast<UINT>(app->HintHidePause), nullptr);
    }

    bool Filter(MSG& msg) {
        switch (msg.message) {
        case WM_MOUSEMOVE: {
            const TPoint at = kes::msg::Point(msg.lParam);
            POINT p{at.X, at.Y};
            TControl* c = ControlAt(msg.hwnd, p);
            if (c != over) {
                Hide();
                over = c;
                if (!EffectiveHint(c).empty())
                    SetTimer(timerWindow, kShowTimer, static_cast<UINT>(app->HintPause), nullptr);
            }
            break;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCMOUSEMOVE:
            Hide();
            if (msg.message == WM_NCMOUSEMOVE) over = nullptr;
            break;
        default: break;
        }
        return false;
    }
};

HintManager g_hints;

// Hears when the application goes, so that the next one gets the filter again.
class ApplicationLink : public TComponent {
protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == g_hints.app) {
            g_hints.Hide();
            g_hints.app = nullptr;
            g_hints.over = nullptr;
        }
    }
};

ApplicationLink& Link() {
    static ApplicationLink link;
    return link;
}

}  // namespace

// Installs the hint timing into the current application once (forms call it when they get a window).
void InstallHintManager() {
    if (!Application || g_hints.app == Application) return;
    g_hints.app = Application;
    g_hints.over = nullptr;
    g_hints.showing = false;
    if (!g_hints.timerWindow)
        g_hints.timerWindow = AllocateHWnd([](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
            if (msg != WM_TIMER) return DefWindowProcA(wnd, msg, wp, lp);
            if (wp == HintManager::kShowTimer)
                g_hints.Show();
            else
                g_hints.Hide();
            return 0;
        });
    g_hints.filter = Application->AddMessageFilter([](MSG& msg) { return g_hints.Filter(msg); });
    Application->FreeNotification(&Link());
}

// A control is going away: the hint must not point at it.
void ForgetHintControl(const TControl* c) {
    if (g_hints.over == c) {
        g_hints.Hide();
        g_hints.over = nullptr;
    }
}

// For tests: the hint window while a hint shows, else nullptr.
THintWindow* ShowingHintWindow() { return g_hints.showing ? g_hints.window : nullptr; }

}  // namespace kes

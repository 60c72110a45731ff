#include "Timer.h"

#include "base/Exception.h"
#include "base/win/Application.h"

namespace kes {

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    window_ = AllocateHWnd([this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg != WM_TIMER) return DefWindowProcA(wnd, msg, wParam, lParam);
        // A copy: the handler may free this timer, and with it OnTimer. The hidden window's procedure shows
        // what the handler throws.
        const TNotifyEvent handler = OnTimer;
        Fire(handler, this);
        return 0;
    });
    if (!window_) throw EOutOfResources("Cannot create the timer window");
    UpdateTimer();
}

TTimer::~TTimer() {
    BeginDestroy();
    if (running_) KillTimer(window_, 1);
    DeallocateHWnd(window_);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned interval) {
    if (interval == interval_) return;
    interval_ = interval;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (running_) KillTimer(window_, 1);
    running_ = false;
    if (!enabled_ || interval_ == 0) return;
    if (!SetTimer(window_, 1, interval_, nullptr)) throw EOutOfResources("Not enough timers available");
    running_ = true;
}

}  // namespace kes

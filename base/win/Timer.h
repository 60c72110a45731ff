#pragma once
// The timer component: OnTimer runs on the thread that made the timer (the GUI thread), from its message loop,
// every Interval milliseconds while Enabled. Use it on that thread only. The system may stretch short intervals.
#include "base/Component.h"
#include "base/Events.h"
#include "base/win/Win.h"

namespace kes {

class TTimer : public TComponent {
    KES_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* owner = nullptr);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Milliseconds; 0 stops the timer. Setting it restarts the period. EOutOfResources when no timer is free.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);

    // Exceptions that leave it are shown by the application; the timer goes on.
    TNotifyEvent OnTimer;

private:
    void UpdateTimer();
    HWND window_ = nullptr;
    bool enabled_ = true;
    unsigned interval_ = 1000;
    bool running_ = false;
};

}  // namespace kes

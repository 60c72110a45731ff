#pragma once
// For Windows tests: runs `fn` once from a timer of the test's own thread, also while a modal loop (message box,
// dialog, menu, ShowModal) waits there. One at a time (of each kind); the destructor cancels a call that has not
// run yet.
#include <windows.h>

#include <functional>
#include <utility>

namespace kes {

struct DeferredAction {
    static inline std::function<void()> pending;
    explicit DeferredAction(std::function<void()> fn, UINT ms = 100) {
        pending = std::move(fn);
        id = SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            if (auto fn = std::exchange(pending, nullptr)) fn();
        });
    }
    ~DeferredAction() {
        KillTimer(nullptr, id);
        pending = nullptr;
    }
    DeferredAction(const DeferredAction&) = delete;
    DeferredAction& operator=(const DeferredAction&) = delete;
    UINT_PTR id;
};

// The same, run as soon as `ready` holds (looked at every 10 ms from the timer) rather than after a fixed time, or
// after `timeoutMs` if it never does (so that the loop still ends and the test judges what `fn` found): for a look
// from inside a modal loop at what the loop shows once it shows it.
struct ActionWhen {
    static inline std::function<bool()> ready;
    static inline std::function<void()> pending;
    static inline ULONGLONG deadline = 0;
    ActionWhen(std::function<bool()> when, std::function<void()> fn, DWORD timeoutMs = 5000) {
        ready = std::move(when);
        pending = std::move(fn);
        deadline = GetTickCount64() + timeoutMs;
        id = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
            if (!pending || (GetTickCount64() <= deadline && ready && !ready())) return;
            KillTimer(nullptr, id);
            if (auto fn = std::exchange(pending, nullptr)) fn();
        });
    }
    ~ActionWhen() {
        KillTimer(nullptr, id);
        pending = nullptr;
        ready = nullptr;
    }
    ActionWhen(const ActionWhen&) = delete;
    ActionWhen& operator=(const ActionWhen&) = delete;
    UINT_PTR id;
};

}  // namespace kes

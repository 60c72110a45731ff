#pragma once
// For Windows tests: runs `fn` once from a timer of the test's own thread, also while a modal loop (message box,
// dialog, menu, ShowModal) waits there. One at a time; the destructor cancels a call that has not run yet.
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

}  // namespace kes

// The subclass of a window of any origin; see WindowSubclass.h.
#include "gui/win/WindowSubclass.h"

#include <utility>

namespace kes {

WindowSubclass::~WindowSubclass() { Detach(); }

bool WindowSubclass::Attach(HWND window) {
    if (window_ || !window || !IsWindow(window)) return false;
    if (!SetWindowSubclass(window, &WindowSubclass::Proc, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(this)))
        return false;
    window_ = window;
    return true;
}

void WindowSubclass::Detach() {
    if (!window_) return;
    RemoveWindowSubclass(window_, &WindowSubclass::Proc, reinterpret_cast<UINT_PTR>(this));
    window_ = nullptr;
}

LRESULT WindowSubclass::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCDESTROY) defaultCalled_ = true;
    return DefSubclassProc(calling_ ? calling_ : window_, msg, wParam, lParam);
}

LRESULT CALLBACK WindowSubclass::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<WindowSubclass*>(ref);
    if (!self || self->window_ != hwnd) return DefSubclassProc(hwnd, msg, wp, lp);
    const HWND outer = std::exchange(self->calling_, hwnd);
    struct Restore {
        WindowSubclass* s;
        HWND h;
        ~Restore() { s->calling_ = h; }
    } restore{self, outer};
    if (msg != WM_NCDESTROY) return GuardedResult<LRESULT>(0, [&] { return self->WndProc(msg, wp, lp); });
    // The window goes: the subclass sees its last message, the default runs (once), the subclass is removed.
    self->defaultCalled_ = false;
    LRESULT r = GuardedResult<LRESULT>(0, [&] { return self->WndProc(msg, wp, lp); });
    if (!self->defaultCalled_) r = DefSubclassProc(hwnd, msg, wp, lp);
    if (self->window_ == hwnd) {
        RemoveWindowSubclass(hwnd, &WindowSubclass::Proc, reinterpret_cast<UINT_PTR>(self));
        self->window_ = nullptr;
    }
    Guarded([&] { self->WindowGone(); });
    return r;
}

}  // namespace kes

#pragma once
// A subclass of one window of any origin (our own forms, dialog boxes, message boxes, popup menus) through
// SetWindowSubclass: no swapped window procedure, and messages go on through DefSubclassProc, so a Unicode
// window keeps its wide texts. The subclass removes itself when WM_NCDESTROY has gone through; Detach removes
// it earlier, and only while it is still installed. GUI thread only; the object must outlive its subclass
// (its destructor detaches).
#include "gui/win/Win.h"

namespace kes {

class WindowSubclass {
public:
    WindowSubclass() = default;
    virtual ~WindowSubclass();
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;

    // Installs the subclass on window. False (nothing changed) when this object is already attached, the
    // window is not one, or the system refused.
    bool Attach(HWND window);
    // Removes the subclass while it is installed; nothing otherwise (also after WM_NCDESTROY).
    void Detach();
    bool Attached() const { return window_ != nullptr; }
    // The subclassed window; null when not attached.
    HWND Window() const { return window_; }

protected:
    // The subclass's handling of a message. Pass a message on with DefaultProc (only from inside WndProc).
    // Exceptions are caught at the boundary (the answer is then 0, or the default's for WM_NCDESTROY).
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    // The previous procedures of the window (the window's own handling, or inner subclasses).
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Runs once WM_NCDESTROY went through and the subclass is gone.
    virtual void WindowGone() {}

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
    HWND window_ = nullptr;
    HWND calling_ = nullptr;      // the window whose message WndProc is handling
    bool defaultCalled_ = false;  // WM_NCDESTROY went on to the default
};

}  // namespace kes

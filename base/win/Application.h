#pragma once
// The application object and the exception boundary.
//
// Threads: TApplication is made, used and destroyed on the GUI thread only (the thread that made it becomes
// MainThreadID()). From other threads use only TThread::Synchronize (base/win/Thread.h) and Guarded /
// HandleGuardedException, which hand work and exceptions to the GUI thread.
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/Component.h"
#include "base/win/Win.h"

namespace kes {

// Private messages of the application window.
constexpr UINT WM_KES_SYNCHRONIZE = WM_USER + 0x0F00;  // run the pending synchronous calls
constexpr UINT WM_KES_EXCEPTION = WM_USER + 0x0F01;    // lParam: std::exception_ptr* from another thread

class TApplication : public TComponent {
    KES_CLASS(TApplication, TComponent)
public:
    using TMessageFilter = std::function<bool(MSG& msg)>;  // true: the message was handled, do not dispatch it
    using TExceptionEvent = std::function<void(TObject* sender, const std::exception& e)>;

    // One application at a time; it creates its hidden message-only window (class "TApplication").
    TApplication();
    ~TApplication() override;

    // The title: the caption of exception boxes. Defaults to the program file's name without extension.
    std::string Title() const;
    void SetTitle(const std::string& title);
    // The hidden message-only window that carries synchronous calls and exceptions from other threads. It has no
    // caption, so that a search for a top-level window by the title finds the main window only (Wine's
    // FindWindow looks at message-only windows too).
    HWND Handle() const { return handle_; }

    // Message loop until Terminate (or a WM_QUIT) was seen.
    void Run();
    // Takes and handles every message waiting now, then returns.
    void ProcessMessages();
    // Handles one message, waiting for one when none is waiting.
    void HandleMessage();
    // Ends Run: posts WM_QUIT; Terminated turns true when the loop takes it.
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Filters see every message that the loops of this object take, newest filter first, before
    // TranslateMessage / DispatchMessage. The returned id removes the filter again (safe inside a filter).
    int AddMessageFilter(TMessageFilter filter);
    void RemoveMessageFilter(int id);

    // Takes over the display of exceptions when set.
    TExceptionEvent OnException;
    // EAbort is silent; otherwise OnException when set, else ShowException. Never throws.
    void HandleException(const std::exception& e);
    // Message box: caption Title(), text ExceptionDisplayText(message), stop icon, owned by the active window.
    void ShowException(const std::exception& e);
    // MessageBoxA owned by the active window of the GUI thread, caption Title() when `caption` is null.
    int MessageBox(const std::string& text, const char* caption = nullptr, UINT flags = MB_OK);

    // The main window, set by the window layer when it makes it; Minimized and Restore act on it.
    HWND MainFormHandle = nullptr;
    bool Minimized() const { return MainFormHandle && IsIconic(MainFormHandle); }
    // Shows a minimised main window again and brings it to the front.
    void Restore();

    // Hint timing read by the skin (ms).
    int HintPause = 500;
    int HintHidePause = 2500;

private:
    bool ProcessMessage(MSG& msg);
    LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
    std::string title_;
    bool terminated_ = false;
    int nextFilterId_ = 1;
    std::vector<std::pair<int, std::shared_ptr<TMessageFilter>>> filters_;  // oldest first
};

// The application while one exists, else nullptr. Read it on the GUI thread only.
extern TApplication* Application;

// Shows an exception that was caught at a boundary: on the GUI thread through Application->HandleException (a
// plain message box when there is no application); on any other thread it is handed to the GUI thread (posted
// to the application window) and shown there. Never throws.
void HandleGuardedException(std::exception_ptr error) noexcept;

// Runs `fn` so that no exception leaves it: use it at every window procedure, hook, timer callback and thread
// boundary. True when `fn` completed.
template <typename F>
bool Guarded(F&& fn) noexcept {
    try {
        std::forward<F>(fn)();
        return true;
    } catch (...) {
        HandleGuardedException(std::current_exception());
        return false;
    }
}

// Guarded for callbacks with a result: `fallback` when `fn` threw.
template <typename R, typename F>
R GuardedResult(R fallback, F&& fn) noexcept {
    try {
        return std::forward<F>(fn)();
    } catch (...) {
        HandleGuardedException(std::current_exception());
        return fallback;
    }
}

// The text of the exception inside an exception_ptr ("Unknown exception" for a non-standard one).
std::string ExceptionMessage(std::exception_ptr error);

// Hidden message-only windows of the calling thread (class "TPUtilWindow"). Their messages go to `method`;
// an exception that leaves it is shown (Guarded) and the message answers 0. DeallocateHWnd may be called from
// inside the window's own method.
using TWndMethod = std::function<LRESULT(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)>;
HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(HWND wnd);

}  // namespace kes

#pragma once
// Threads and the synchronous call into the GUI thread.
//
// Threads: a TThread object is made, started, waited for and destroyed by one owning thread (normally the GUI
// thread); Execute runs on the new thread. Terminate, Terminated and Synchronize may be used from any thread.
// CheckSynchronize and CancelSynchronize belong to the GUI thread.
#include <atomic>
#include <exception>
#include <functional>

#include "base/Component.h"
#include "base/Events.h"
#include "base/win/Unique.h"
#include "base/win/Win.h"

namespace kes {

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The GUI thread: the thread that made the application (before that, the thread that started the program).
DWORD MainThreadID();

class TThread : public TObject {
    KES_CLASS(TThread, TObject)
public:
    // The system thread is made suspended. Start (or Resume) lets it run; a class that runs at once calls Start
    // as the last step of its own constructor.
    TThread();
    // Marks the thread terminated and waits for its end (servicing synchronous calls on the GUI thread). A thread
    // that was never started ends without running Execute. A derived class whose Execute uses its own members
    // must call TerminateAndWait first in its own destructor: those members are gone when this one runs.
    ~TThread() override;

    void Start();
    void Resume() { Start(); }
    bool Started() const { return started_; }
    // Asks Execute to end: sets Terminated.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Waits until Execute has returned and returns ReturnValue. On the GUI thread it keeps running the
    // synchronous calls of all threads and the messages sent to its windows, so a thread that waits for the GUI
    // thread cannot deadlock the wait. EThread when the thread was never started or frees itself.
    int WaitFor();
    void TerminateAndWait();
    bool Finished() const { return finished_; }

    HANDLE Handle() const { return handle_.Get(); }
    DWORD ThreadID() const { return threadId_; }
    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority priority);

    // Deletes the object when the thread ends (never wait for such a thread or touch it after Start).
    bool FreeOnTerminate = false;
    // The thread's result, returned by WaitFor.
    int ReturnValue = 0;
    // Runs on the GUI thread (synchronously) after Execute returned.
    TNotifyEvent OnTerminate;
    // The exception that ended Execute, if any. It is kept, not shown.
    std::exception_ptr FatalException() const { return fatal_; }

    // Runs `method` on the GUI thread and waits until it has run. An exception thrown by it is raised again
    // here. On the GUI thread itself the method runs at once. False when the call was cancelled
    // (CancelSynchronize, application destroyed) before it ran. `thread` only names the caller for
    // CancelSynchronize and may be null.
    static bool Synchronize(TThread* thread, const std::function<void()>& method);
    // As above; `meanwhile` runs on the calling thread once the call is queued, while the GUI thread wakes up and
    // runs it. It may wait for the call itself on `done` (an auto-reset event, signalled once the call has run), and
    // returns true when it took that signal.
    static bool Synchronize(TThread* thread, const std::function<void()>& method,
                            const std::function<bool(HANDLE done)>& meanwhile);
    // Drops the waiting synchronous calls of `thread` (all when null): their Synchronize returns false.
    static void CancelSynchronize(TThread* thread);

protected:
    virtual void Execute() = 0;
    bool Synchronize(const std::function<void()>& method) { return Synchronize(this, method); }

private:
    static unsigned __stdcall ThreadProc(void* param);

    UniqueHandle handle_;
    DWORD threadId_ = 0;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    bool started_ = false;
    bool abandoned_ = false;  // destroyed before it was started: Execute must not run
    std::exception_ptr fatal_;
};

// Runs the waiting synchronous calls one by one (GUI thread only). True when at least one ran.
bool CheckSynchronize();
// Signalled (auto-reset) whenever a synchronous call is queued: a GUI thread that waits with a message wait may
// wait on it too and run CheckSynchronize at once, ahead of the messages queued before the call's own one.
HANDLE SyncEvent();

namespace detail {
// Called by the application: the GUI thread and the window that wakes it (null when the application goes).
void SetSyncTarget(DWORD mainThread, HWND window);
// The application window while one exists (any thread).
HWND SyncWindow();
}  // namespace detail

}  // namespace kes

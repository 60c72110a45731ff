#include "Thread.h"

#include <process.h>

#include <deque>
#include <mutex>

#include "base/Exception.h"
#include "base/win/Application.h"

namespace kes {

namespace {

// One synchronous call waiting for the GUI thread. It lives on the caller's stack; the GUI thread touches it
// only between taking it off the queue and signalling `done`.
struct SyncRequest {
    TThread* thread = nullptr;
    const std::function<void()>* method = nullptr;
    std::exception_ptr error;
    HANDLE done = nullptr;
    bool ran = false;
};

std::mutex g_syncMutex;
std::deque<SyncRequest*> g_syncQueue;
// Static initialisation runs on the thread that starts the program.
std::atomic<DWORD> g_mainThread{GetCurrentThreadId()};
std::atomic<HWND> g_syncWindow{nullptr};
// Set when a call is queued; the GUI thread's WaitFor wakes on it.
HANDLE g_syncEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);

void Finish(SyncRequest* r) { SetEvent(r->done); }  // after this the request is gone

// Each calling thread keeps one auto-reset event for its calls (one call at a time per thread).
thread_local const UniqueHandle t_doneEvent = NewEvent(false, false);

}  // namespace

DWORD MainThreadID() { return g_mainThread; }

HANDLE SyncEvent() { return g_syncEvent; }

void detail::SetSyncTarget(DWORD mainThread, HWND window) {
    g_mainThread = mainThread;
    g_syncWindow = window;
    bool pending;
    {
        std::lock_guard<std::mutex> lock(g_syncMutex);
        pending = !g_syncQueue.empty();
    }
    if (window && pending) PostMessageA(window, WM_KES_SYNCHRONIZE, 0, 0);
}

HWND detail::SyncWindow() { return g_syncWindow; }

bool TThread::Synchronize(TThread* thread, const std::function<void()>& method) {
    return Synchronize(thread, method, nullptr);
}

bool TThread::Synchronize(TThread* thread, const std::function<void()>& method,
                          const std::function<bool(HANDLE done)>& meanwhile) {
    if (GetCurrentThreadId() == g_mainThread) {
        method();
        if (meanwhile) {
            HANDLE done = t_doneEvent.Get();
            SetEvent(done);
            if (!meanwhile(done)) ResetEvent(done);
        }
        return true;
    }
    SyncRequest request;
    request.thread = thread;
    request.method = &method;
    request.done = t_doneEvent.Get();
    if (!request.done) throw EOutOfResources("Cannot create the synchronization event");
    {
        std::lock_guard<std::mutex> lock(g_syncMutex);
        g_syncQueue.push_back(&request);
    }
    SetEvent(g_syncEvent);
    if (HWND wnd = g_syncWindow) PostMessageA(wnd, WM_KES_SYNCHRONIZE, 0, 0);
    std::exception_ptr meanwhileError;
    bool doneTaken = false;
    try {
        if (meanwhile) doneTaken = meanwhile(request.done);
    } catch (...) {
        meanwhileError = std::current_exception();  // raised once the call, which lives here, is done
    }
    if (!doneTaken) WaitForSingleObject(request.done, INFINITE);
    if (request.error) std::rethrow_exception(request.error);
    if (meanwhileError) std::rethrow_exception(meanwhileError);
    return request.ran;
}

void TThread::CancelSynchronize(TThread* thread) {
    std::deque<SyncRequest*> dropped;
    {
        std::lock_guard<std::mutex> lock(g_syncMutex);
        for (auto it = g_syncQueue.begin(); it != g_syncQueue.end();) {
            if (!thread || (*it)->thread == thread) {
                dropped.push_back(*it);
                it = g_syncQueue.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (SyncRequest* r : dropped) Finish(r);
}

bool CheckSynchronize() {
    if (GetCurrentThreadId() != g_mainThread) return false;
    bool any = false;
    // One at a time: a call that opens a modal loop lets the next ones run inside it.
    for (;;) {
        SyncRequest* r;
        {
            std::lock_guard<std::mutex> lock(g_syncMutex);
            if (g_syncQueue.empty()) break;
            r = g_syncQueue.front();
            g_syncQueue.pop_front();
        }
        try {
            (*r->method)();
        } catch (...) {
            r->error = std::current_exception();
        }
        r->ran = true;
        Finish(r);
        any = true;
    }
    return any;
}

TThread::TThread() {
    unsigned id = 0;
    uintptr_t h = _beginthreadex(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &id);
    if (!h) throw EThread("Thread creation error");
    handle_.Reset(reinterpret_cast<HANDLE>(h));
    threadId_ = id;
}

TThread::~TThread() {
    if (!handle_) return;
    if (GetCurrentThreadId() == threadId_) return;  // freed by its own thread at its end
    if (!started_) {
        abandoned_ = true;
        started_ = true;
        ResumeThread(handle_.Get());
    }
    terminated_ = true;
    FreeOnTerminate = false;
    WaitFor();
}

unsigned __stdcall TThread::ThreadProc(void* param) {
    TThread* t = static_cast<TThread*>(param);
    const bool abandoned = t->abandoned_;
    if (!abandoned) {
        try {
            t->Execute();
        } catch (...) {
            t->fatal_ = std::current_exception();
        }
    }
    const bool freeIt = t->FreeOnTerminate && !abandoned;
    if (!abandoned && t->OnTerminate) {
        Guarded([t] { Synchronize(t, [t] { t->OnTerminate(t); }); });
    }
    const unsigned result = static_cast<unsigned>(t->ReturnValue);
    t->finished_ = true;
    if (freeIt) delete t;
    return result;
}

void TThread::Start() {
    if (started_) return;
    started_ = true;
    ResumeThread(handle_.Get());
}

int TThread::WaitFor() {
    if (!started_) throw EThread("Cannot wait for a thread that was never started");
    if (FreeOnTerminate) throw EThread("Cannot wait for a thread that frees itself");
    if (GetCurrentThreadId() == g_mainThread) {
        HANDLE handles[2] = {handle_.Get(), g_syncEvent};
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // messages sent before the wait began
        for (;;) {
            DWORD r = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
            if (r == WAIT_OBJECT_0) break;
            if (r == WAIT_OBJECT_0 + 1) {
                CheckSynchronize();
            } else if (r == WAIT_OBJECT_0 + 2) {
                PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // delivers the sent messages
            } else {
                WaitForSingleObject(handle_.Get(), INFINITE);
                break;
            }
        }
    } else {
        WaitForSingleObject(handle_.Get(), INFINITE);
    }
    return ReturnValue;
}

void TThread::TerminateAndWait() {
    Terminate();
    if (started_ && !FreeOnTerminate && GetCurrentThreadId() != threadId_) WaitFor();
}

TThreadPriority TThread::Priority() const {
    switch (GetThreadPriority(handle_.Get())) {
    case THREAD_PRIORITY_IDLE: return TThreadPriority::tpIdle;
    case THREAD_PRIORITY_LOWEST: return TThreadPriority::tpLowest;
    case THREAD_PRIORITY_BELOW_NORMAL: return TThreadPriority::tpLower;
    case THREAD_PRIORITY_ABOVE_NORMAL: return TThreadPriority::tpHigher;
    case THREAD_PRIORITY_HIGHEST: return TThreadPriority::tpHighest;
    case THREAD_PRIORITY_TIME_CRITICAL: return TThreadPriority::tpTimeCritical;
    default: return TThreadPriority::tpNormal;
    }
}

void TThread::SetPriority(TThreadPriority priority) {
    static const int values[] = {
        THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
        THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_TIME_CRITICAL};
    SetThreadPriority(handle_.Get(), values[static_cast<int>(priority)]);
}

}  // namespace kes

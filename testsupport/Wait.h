#pragma once
// Waiting in the Windows tests: for a condition another thread or program brings about, for one while this
// thread's messages and the worker threads' hand-overs are served, and for the dialog box this thread shows.
// Header only: any Windows test program may use it with what it already links (the class library's core).
#include <functional>
#include <string>

#include "base/win/Application.h"
#include "base/win/Thread.h"
#include "base/win/Win.h"

namespace kes::test {

// Looks at `done` every `stepMs` until it holds or `timeoutMs` ran out; true when it held. Serves no messages.
inline bool PollUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000, DWORD stepMs = 10) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        Sleep(stepMs);
    }
    return true;
}

// Serves this thread's messages (through the application's filters while there is an application) and the
// waiting Synchronize calls until `done` holds or `timeoutMs` ran out; true when it held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        if (Application) {
            Application->ProcessMessages();
        } else {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        CheckSynchronize();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// True once a worker thread's Synchronize call waits for this thread: the application's wake-up message is in
// this thread's queue, not yet served.
inline bool SynchronizeWaiting() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_KES_SYNCHRONIZE, WM_KES_SYNCHRONIZE, PM_NOREMOVE) != FALSE;
}

// True when no window of this thread waits to be painted.
inline bool PaintingDone() { return (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT) == 0; }

// Serves messages for `ms` milliseconds.
inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

// The visible dialog box (#32770) of a thread (this one by default), if one is up.
inline HWND FindThreadDialog(DWORD threadId = GetCurrentThreadId()) {
    HWND found = nullptr;
    EnumThreadWindows(
        threadId,
        [](HWND h, LPARAM lp) -> BOOL {
            char cls[32] = "";
            GetClassNameA(h, cls, sizeof cls);
            if (std::string(cls) == "#32770" && IsWindowVisible(h)) {
                *reinterpret_cast<HWND*>(lp) = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace kes::test

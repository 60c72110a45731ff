#pragma once
// Waiting in the skin's Windows tests for the windows of this thread to come to rest after an action (a real
// click, a posted message, a shown or resized form): until no input, posted or sent message waits in this
// thread's queue, no window waits to be painted and no worker's Synchronize call waits. Timers are left out:
// a test that waits for a timer's work waits for what the timer brings about.
#include <functional>

#include "testsupport/Wait.h"
#include "testsupport/WindowPicture.h"

namespace kes::test {

// True when nothing but timers waits in this thread's queue and nothing waits to be painted.
inline bool QueueQuiet() {
    const DWORD waiting = HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT));
    return waiting == 0 && !SynchronizeWaiting();
}

// Serves messages until the queue was quiet at two looks in a row (a message handled may post the next one, and
// input sent through the system reaches the queue a moment later); true when it came to rest in `timeoutMs`.
inline bool Settle(DWORD timeoutMs = 5000) {
    int quiet = 0;
    return PumpUntil([&] { return QueueQuiet() ? ++quiet >= 2 : (quiet = 0, false); }, timeoutMs);
}

// The same, and until `pending` (work a timer is to do, such as the skin manager's next command) is done.
inline bool Settle(const std::function<bool()>& pending, DWORD timeoutMs = 5000) {
    int quiet = 0;
    return PumpUntil([&] { return !pending() && QueueQuiet() ? ++quiet >= 2 : (quiet = 0, false); }, timeoutMs);
}

// The window's own picture once its thread came to rest.
inline WindowPixels SettledPicture(HWND hwnd) {
    Settle();
    return CaptureWindow(hwnd);
}

// Takes the window's own picture until `holds` says it shows what is expected or `timeoutMs` ran out; gives the
// last picture taken either way, so that the test judges and reports what the window showed.
inline WindowPixels PictureWhen(HWND hwnd, const std::function<bool(const WindowPixels&)>& holds,
                                DWORD timeoutMs = 3000) {
    WindowPixels shot;
    PumpUntil(
        [&] {
            if (!QueueQuiet()) return false;
            shot = CaptureWindow(hwnd);
            return holds(shot);
        },
        timeoutMs);
    if (shot.Px.empty()) shot = CaptureWindow(hwnd);
    return shot;
}

}  // namespace kes::test

#include "serial/win/ComThread.h"

#include <memory>

#include "base/Exception.h"
#include "base/win/Application.h"
#include "base/win/WinePolicy.h"
#include "serial/CPort.h"
#include "serial/LineSettings.h"
#include "serial/win/ComDeviceWin.h"

namespace kes {

namespace {

// The wait on the device. Kept on the heap: when a pending wait cannot be collected (a device that does not
// answer the cancel), it is left alive rather than freed under the system's feet.
struct DeviceWait {
    UniqueHandle event = NewEvent(true, true);
    OVERLAPPED overlapped{};
    DWORD mask = 0;
};

// Cancels a pending wait and collects it; false when it did not complete in time. `events`: what the wait had
// reported when it completed before the cancel.
bool CancelAndCollect(HANDLE device, DeviceWait& wait, DWORD& events) {
    events = 0;
    SetCommMask(device, 0);  // completes a pending WaitCommEvent
    CancelIoEx(device, &wait.overlapped);
    if (WaitForSingleObject(wait.overlapped.hEvent, 5000) != WAIT_OBJECT_0) return false;
    DWORD n = 0;
    if (GetOverlappedResult(device, &wait.overlapped, &n, FALSE)) events = wait.mask;
    return true;
}

// After a wait or read on the device failed: true when the device itself is gone (a USB adapter pulled out),
// which a failing ClearCommError tells. A device that merely cannot wait (a driver without event waits) still
// answers it.
bool DeviceGone(HANDLE device) {
    DWORD errors = 0;
    COMSTAT status{};
    return !ClearCommError(device, &errors, &status);
}

}  // namespace

TComThread::TComThread(TCustomComPort& port, HANDLE device, HWND notifyWindow, std::shared_ptr<TComReadAhead> readAhead)
    : port_(port),
      window_(notifyWindow),
      syncMethod_(port.SyncMethod()),
      eventsMask_(EventsToCommMask(port.Events)),
      readAhead_(std::move(readAhead)) {
    stopEvent_ = NewEvent(true, false);
    maskChanged_ = NewEvent(false, false);
    if (!stopEvent_ || !maskChanged_) throw EOutOfResources("Cannot create the event thread's events");
    SetTxEmptyHeard(port.TxEmptyHeard());
    ownDevice_ = DuplicateForThisProcess(device);
    device_ = ownDevice_ ? ownDevice_.Get() : device;
    SetPriority(TThreadPriority::tpNormal);
    SetCommMask(device_, portMask_);  // its result does not matter
    Start();
}

TComThread::~TComThread() {
    RequestStop();
    TerminateAndWait();
}

void TComThread::SetTxEmptyHeard(bool heard) {
    DWORD mask = eventsMask_;
    if (WinePolicy::WaitForTxEmptyOnlyWhenHeard && !heard) mask &= ~static_cast<DWORD>(EV_TXEMPTY);
    if (portMask_.exchange(mask) != mask) SetEvent(maskChanged_.Get());
}

void TComThread::RequestStop() {
    SetEvent(stopEvent_.Get());
    Sleep(0);
}

void TComThread::Execute() {
    auto wait = std::make_unique<DeviceWait>();
    if (!wait->event) return;
    wait->overlapped.hEvent = wait->event.Get();
    TComReadAhead* ahead = (eventsMask_ & EV_RXCHAR) ? readAhead_.get() : nullptr;
    DWORD deviceMask = portMask_;
    bool waitPending = false;  // a WaitCommEvent is outstanding
    bool backOff = false;      // a wait or read failed at once: try again a little later, never spin
    bool collected = true;
    DWORD failure = 0;  // the error of a wait or read that failed in this round
    bool lost = false;  // ... and the device is gone
    for (;;) {
        failure = 0;
        const bool reading = ahead && ahead->Active();
        const DWORD mask = portMask_;
        const DWORD wantMask = reading ? mask & ~static_cast<DWORD>(EV_RXCHAR) : mask;
        if (wantMask != deviceMask) {
            DWORD reported = 0;  // events of a wait that completed just before it was cancelled
            if (waitPending && !(collected = CancelAndCollect(device_, *wait, reported))) break;
            waitPending = false;
            if (!reading && ahead) ahead->CancelPending();  // bytes are held: EV_RXCHAR reports what comes next
            SetCommMask(device_, wantMask);
            deviceMask = wantMask;
            TComEvents events = CommMaskToEvents(reported & mask);
            // EV_RXCHAR is back. Bytes that came while it was off, or that the read-ahead took as it went off,
            // raise no event: the port's handling of evRxChar looks at the input queue now.
            if (!reading) events.Include(evRxChar);
            if (!events.Empty()) {
                events_ = events;
                DispatchEvents();
            }
        }
        // Someone waits for the next bytes at once: the device is polled, no read is left pending.
        const bool polling = reading && !backOff && WinePolicy::PollWhileAnswerAwaited && ahead->Urgent();
        if (!backOff) {
            // The read first: received bytes are what a waiting user sees (a new WaitCommEvent costs Wine a
            // worker and 0.3-0.5 ms).
            if (reading && !polling && !ahead->Arm()) failure = GetLastError();
            if (deviceMask != 0 && !waitPending) {
                wait->mask = 0;
                ResetEvent(wait->overlapped.hEvent);
                if (WaitCommEvent(device_, &wait->mask, &wait->overlapped) || GetLastError() == ERROR_IO_PENDING)
                    waitPending = true;
                else
                    failure = GetLastError();  // a device gone, a driver that cannot wait
            }
            if (failure && (lost = DeviceGone(device_))) break;
            backOff = failure != 0;
        }
        if (reading && !backOff && !polling && !ahead->Pending()) continue;  // switched off meanwhile: look again
        HANDLE handles[5] = {stopEvent_.Get(), maskChanged_.Get()};
        DWORD count = 2;
        if (waitPending) handles[count++] = wait->overlapped.hEvent;
        if (reading && !polling && ahead->Pending()) handles[count++] = ahead->Event();
        const DWORD wakeIndex = reading && !polling ? count : MAXDWORD;  // a line now awaits its answer: poll
        if (wakeIndex != MAXDWORD) handles[count++] = ahead->WakeEvent();
        bool polled = false;  // the poll brought bytes
        const DWORD r = polling ? Poll(handles, count, polled)
                                : WaitForMultipleObjects(count, handles, FALSE, backOff ? kRetryDelayMs : INFINITE);
        if (polling && r == WAIT_TIMEOUT) {
            if ((failure = ahead->TakeFailure()) != 0) {
                if ((lost = DeviceGone(device_))) break;
                backOff = true;
                continue;
            }
            // Held bytes go to the handlers once a refresh while the haste lasts, and at once when it is over (the
            // terminal then checks an answer that may hold a warning).
            polled = ahead->HeldCount() > 0 && (!ahead->Urgent() || ahead->ReportDue());
            if (!polled) continue;
        }
        if (r == WAIT_TIMEOUT && !polled) {
            backOff = false;
            continue;
        }
        if (r == WAIT_OBJECT_0 + 1 || r == WAIT_OBJECT_0 + wakeIndex) continue;  // the mask changed, or poll now
        if (r != WAIT_TIMEOUT && (r <= WAIT_OBJECT_0 || r >= WAIT_OBJECT_0 + count)) break;  // stop, or a failed wait
        TComEvents events;
        // The received bytes first: a receive watch may answer them at once. The device's wait is looked at when it
        // is what woke the thread (the lowest handle signalled); when the read did, a wait done at the same moment
        // wakes the next round at once, and its look (a call of the Wine server) stays off the answer's path.
        if (polled || (reading && ahead->Collect())) events.Include(evRxChar);
        if (waitPending && r == WAIT_OBJECT_0 + 2) {
            waitPending = false;
            DWORD n = 0;
            if (GetOverlappedResult(device_, &wait->overlapped, &n, FALSE))
                events = TComEvents::FromBits(events.ToBits() | CommMaskToEvents(wait->mask).ToBits());
            else
                failure = GetLastError();
        }
        if (reading && !failure) failure = ahead->TakeFailure();
        if (failure && (lost = DeviceGone(device_))) break;
        if (failure) backOff = true;
        if (!events.Empty()) {
            // The read-ahead goes on reading while any handlers run (a line event's too), so that a receive watch
            // sees the bytes at once.
            const bool arm = reading && !backOff;
            if (arm) ahead->TookAndHolds();
            events_ = events;
            DispatchEvents(arm);
            // Bytes that came while the handlers ran are reported at once, and again as long as the handlers take
            // bytes.
            bool again = arm && (events.Contains(evRxChar) ? ahead->TookAndHolds() : ahead->HeldCount() > 0);
            while (again && WaitForSingleObject(stopEvent_.Get(), 0) != WAIT_OBJECT_0) {
                events_ = TComEvents{evRxChar};
                DispatchEvents(true);
                again = ahead->TookAndHolds();
            }
        }
    }
    // The device is gone: the port hears it through its error path, and this thread ends.
    if (lost) ReportDeviceLost(failure);
    // The pending wait is cancelled and collected before its record and event go.
    DWORD unreported = 0;  // the thread ends: what the last wait saw goes nowhere
    if (waitPending) collected = CancelAndCollect(device_, *wait, unreported);
    if (ahead) {
        ahead->Stop();
        ahead->Drop();  // purged with the device's queue below
    }
    SetCommMask(device_, 0);
    PurgeComm(device_, PURGE_TXCLEAR | PURGE_RXCLEAR);
    if (!collected) static_cast<void>(wait.release());  // still in the system's hands: left alive
}

void TComThread::DispatchEvents(bool armReadAhead) {
    // No exception ends this thread: a failing handler is shown and the port keeps reporting events.
    try {
        switch (syncMethod_) {
        case smThreadSync:
            // Bytes that come while the handlers run complete the read at once; the handlers' read of what was
            // reported takes them too when they came in time (a refusal shows at the loop's next arming).
            Synchronize(this, [this] { RunEventHandlers(); },
                        [this, armReadAhead](HANDLE done) { return armReadAhead && ReadWhileHandled(done); });
            break;
        case smWindowSync: SendEventMessages(); break;
        case smNone: RunEventHandlers(); break;
        }
    } catch (...) {
        HandleGuardedException(std::current_exception());
    }
}

// Polls the device while the read-ahead is urgent: a look at its queue without pause, the handles (stop, mask change,
// the device's wait) looked at every kPollsPerWaitLook looks. WAIT_TIMEOUT when held bytes are due for the handlers,
// a look failed or the haste is over; otherwise the signalled handle.
DWORD TComThread::Poll(const HANDLE* handles, DWORD count, bool& polled) {
    TComReadAhead& ahead = *readAhead_;
    for (unsigned look = 1;; ++look) {
        const int got = ahead.Poll();
        polled = got > 0;
        if (got < 0 || ahead.ReportDue()) return WAIT_TIMEOUT;  // a failure, or bytes to hand to the handlers
        if (look % kPollsPerWaitLook == 0) {
            const DWORD r = WaitForMultipleObjects(count, handles, FALSE, 0);
            if (r != WAIT_TIMEOUT) return r;
        }
        if (!ahead.Urgent()) return WAIT_TIMEOUT;
        YieldProcessor();
    }
}

// Bytes that come while the handlers run are read at once, so that a receive watch sees them now rather than when
// the GUI thread is done; the held bytes are reported by the next pass. Waits for the handlers' call (`done`).
bool TComThread::ReadWhileHandled(HANDLE done) {
    TComReadAhead& ahead = *readAhead_;
    for (;;) {
        if (WinePolicy::PollWhileAnswerAwaited && ahead.Urgent()) {
            ahead.Poll();
            if (WaitForSingleObject(done, 0) == WAIT_OBJECT_0) return true;
            YieldProcessor();
            continue;
        }
        if (!ahead.Arm() || !ahead.Pending()) return false;  // refused or switched off: the handlers' wait
        HANDLE handles[2] = {done, ahead.Event()};
        const DWORD r = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (r == WAIT_OBJECT_0) return true;
        if (r != WAIT_OBJECT_0 + 1) return false;
        ahead.Collect();
    }
}

void TComThread::ReportDeviceLost(DWORD error) {
    try {
        if (syncMethod_ == smNone)
            port_.HandleDeviceLost(error);
        else
            Synchronize([this, error] { port_.HandleDeviceLost(error); });
    } catch (...) {
        HandleGuardedException(std::current_exception());
    }
}

void TComThread::RunEventHandlers() {
    Guarded([this] { port_.HandleEvents(events_); });
}

void TComThread::SendEventMessages() {
    for (TComEvent event : EventPassOrder)
        if (events_.Contains(event)) SendMessageA(window_, WM_SERIAL_EVENT, EventMaskBit(event), 0);
}

}  // namespace kes

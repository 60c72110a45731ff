#include "serial/win/ComThread.h"

#include "base/Exception.h"
#include "base/win/Application.h"
#include "serial/CPort.h"
#include "serial/LineSettings.h"
#include "serial/win/ComDeviceWin.h"

namespace kes {

namespace {

// The wait on the device. Kept on the heap: when a pending wait cannot be collected (a device that does not
// answer the cancel), it is left alive rather than freed under the system's feet.
struct DeviceWait {
    OVERLAPPED overlapped{};
    DWORD mask = 0;
};

// Cancels a pending wait and collects it; false when it did not complete in time.
bool CancelAndCollect(HANDLE device, DeviceWait& wait) {
    SetCommMask(device, 0);  // completes a pending WaitCommEvent
    CancelIoEx(device, &wait.overlapped);
    if (WaitForSingleObject(wait.overlapped.hEvent, 5000) != WAIT_OBJECT_0) return false;
    DWORD n = 0;
    GetOverlappedResult(device, &wait.overlapped, &n, FALSE);
    return true;
}

}  // namespace

TComThread::TComThread(TCustomComPort& port, HANDLE device, HWND notifyWindow)
    : port_(port), window_(notifyWindow), syncMethod_(port.SyncMethod()) {
    stopEvent_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!stopEvent_) throw EOutOfResources("Cannot create the event thread's stop event");
    HANDLE process = GetCurrentProcess();
    if (DuplicateHandle(process, device, process, &device_, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        ownsDevice_ = true;
    } else {
        device_ = device;
    }
    SetPriority(TThreadPriority::tpNormal);
    SetCommMask(device_, EventsToCommMask(port.Events));  // its result does not matter
    Start();
}

TComThread::~TComThread() {
    RequestStop();
    TerminateAndWait();
    if (ownsDevice_) CloseHandle(device_);
    CloseHandle(stopEvent_);
}

void TComThread::RequestStop() {
    SetEvent(stopEvent_);
    Sleep(0);
}

void TComThread::Execute() {
    auto* wait = new DeviceWait;
    wait->overlapped.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (!wait->overlapped.hEvent) {
        delete wait;
        return;
    }
    const HANDLE handles[2] = {stopEvent_, wait->overlapped.hEvent};
    bool collected = true;
    for (;;) {
        wait->mask = 0;
        ResetEvent(wait->overlapped.hEvent);
        if (!WaitCommEvent(device_, &wait->mask, &wait->overlapped) && GetLastError() != ERROR_IO_PENDING) {
            // Failed at once (a device gone, a driver that cannot wait): try again a little later, never spin.
            if (WaitForSingleObject(stopEvent_, kRetryDelayMs) != WAIT_TIMEOUT) break;
            continue;
        }
        const DWORD r = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (r == WAIT_OBJECT_0 + 1) {
            DWORD n = 0;
            if (GetOverlappedResult(device_, &wait->overlapped, &n, FALSE)) {
                events_ = CommMaskToEvents(wait->mask);
                if (!events_.Empty()) DispatchEvents();
            } else if (WaitForSingleObject(stopEvent_, kRetryDelayMs) != WAIT_TIMEOUT) {
                break;
            }
            continue;
        }
        // Stop requested (or the wait itself failed): the pending wait is cancelled and collected before its
        // record and event go.
        collected = CancelAndCollect(device_, *wait);
        break;
    }
    SetCommMask(device_, 0);
    PurgeComm(device_, PURGE_TXCLEAR | PURGE_RXCLEAR);
    if (collected) {
        CloseHandle(wait->overlapped.hEvent);
        delete wait;
    }
}

void TComThread::DispatchEvents() {
    // No exception ends this thread: a failing handler is shown and the port keeps reporting events.
    try {
        switch (syncMethod_) {
            case smThreadSync:
                Synchronize([this] { RunEventHandlers(); });
                break;
            case smWindowSync:
                SendEventMessages();
                break;
            case smNone:
                RunEventHandlers();
                break;
        }
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

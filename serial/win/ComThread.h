#pragma once
// The event thread of an open port: waits on the device for the port's Events and hands each batch to the port
// by its SyncMethod (smThreadSync: Synchronize; smWindowSync: one WM_SERIAL_EVENT per event to the notification
// window; smNone: on this thread).
//
// Threads: made and destroyed on the port's thread (the GUI thread). Execute owns its OVERLAPPED record and the
// reported events; the stop event is shared (signalled by RequestStop from any thread, closed by the destructor).
#include "base/win/Thread.h"
#include "base/win/Unique.h"
#include "base/win/Win.h"
#include "serial/ComTypes.h"
#include "serial/win/ComReadAhead.h"

#include <atomic>
#include <memory>

namespace kes {

class TCustomComPort;

class TComThread : public TThread {
    KES_CLASS(TComThread, TThread)
public:
    // Works on its own duplicate of `device`, so that the port may close its handle while this thread ends.
    // Sets the device's event mask from the port's Events and starts at once. While `readAhead` (may be null)
    // is active, received bytes wake the thread through it and the device's event wait leaves EV_RXCHAR out.
    TComThread(TCustomComPort& port, HANDLE device, HWND notifyWindow, std::shared_ptr<TComReadAhead> readAhead);
    // Signals the stop event and waits for the thread's end (on the GUI thread, waiting synchronous calls of this
    // thread still run).
    ~TComThread() override;
    // Signals the stop event; does not wait.
    void RequestStop();
    // Whether anyone hears evTxEmpty (any thread): see WinePolicy::WaitForTxEmptyOnlyWhenHeard. The thread takes
    // a change at once, also while it waits.
    void SetTxEmptyHeard(bool heard);

    // How long a failed wait on the device keeps the thread from trying again (ms). When the device itself is
    // gone (ClearCommError fails too), the thread reports it to the port and ends instead.
    static constexpr DWORD kRetryDelayMs = 50;

protected:
    void Execute() override;

private:
    // `armReadAhead`: the read-ahead reads on while the handlers run (smThreadSync).
    void DispatchEvents(bool armReadAhead = false);
    bool ReadWhileHandled(HANDLE done);
    DWORD Poll(const HANDLE* handles, DWORD count, bool& polled);
    static constexpr unsigned kPollsPerWaitLook = 16;
    // Hands the loss of the device to the port (on the GUI thread unless smNone).
    void ReportDeviceLost(DWORD error);
    void RunEventHandlers();
    void SendEventMessages();

    TCustomComPort& port_;
    UniqueHandle stopEvent_;
    UniqueHandle ownDevice_;                // the duplicate of the port's handle, when the system made one
    HANDLE device_ = INVALID_HANDLE_VALUE;  // ownDevice_, or the port's own handle
    HWND window_ = nullptr;
    TSyncMethod syncMethod_;
    DWORD eventsMask_ = 0;               // the mask of the port's Events
    std::atomic<DWORD> portMask_{0};     // what of it the thread waits for
    UniqueHandle maskChanged_;           // auto-reset: portMask_ changed
    std::shared_ptr<TComReadAhead> readAhead_;
    TComEvents events_;  // the reported events of the last batch
};

}  // namespace kes

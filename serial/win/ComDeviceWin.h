#pragma once
// The COM device of Windows: a device file opened for overlapped I/O.
// Threads: used by the port's thread (the GUI thread); the event thread works on its own duplicate handle.
#include <memory>
#include <mutex>
#include <string>

#include "base/win/Unique.h"
#include "base/win/Win.h"
#include "serial/ComDevice.h"

namespace kes {

class TComReadAhead;
class TWinIoRequest;

// WM_USER + 1: one line event for the notification window (word parameter: the event's mask bit).
constexpr UINT WM_SERIAL_EVENT = WM_USER + 1;

class TWinComDevice : public TComDevice {
public:
    TWinComDevice();
    ~TWinComDevice() override;
    TWinComDevice(const TWinComDevice&) = delete;
    TWinComDevice& operator=(const TWinComDevice&) = delete;

    HANDLE Handle() const { return handle_.Get(); }

    bool IsOpen() const override { return handle_.Valid(); }
    ComStatus Open(const std::string& fileName) override;
    ComStatus Close() override;
    ComStatus SetupComm(int inputSize, int outputSize) override;
    ComStatus SetCommState(const ComDcb& dcb) override;
    ComStatus SetCommTimeouts(const ComTimeoutsRecord& timeouts) override;
    ComStatus ClearCommError(uint32_t& errors, uint32_t& inQueue) override;
    ComStatus GetModemStatus(uint32_t& status) override;
    ComStatus Purge(uint32_t flags) override;
    std::unique_ptr<TComIoRequest> NewRequest() override;
    ComStatus StartWrite(TComIoRequest& request, const char* data, uint32_t count, uint32_t& doneNow) override;
    ComStatus StartRead(TComIoRequest& request, char* data, uint32_t count, uint32_t& doneNow) override;
    ComStatus WaitRequest(TComIoRequest& request, uint32_t& transferred) override;
    ComStatus WriteNow(const char* data, uint32_t count, uint32_t& written) override;
    void SetReceiveWatch(TComReceiveWatch* watch) override;
    std::unique_ptr<TComEventPump> StartEvents(TCustomComPort& port) override;
    std::string ErrorText(uint32_t code) const override;

private:
    UniqueFile handle_;
    // The port opened once more without overlapped transfers, where the system allows it (see
    // WinePolicy::PlainHandleForQuickTransfers); its reads return at once with what is queued.
    UniqueFile plain_;
    // The most a write through it may carry: a line, which an empty output queue takes without a wait.
    static constexpr uint32_t kPlainWriteMax = 1024;
    // The time-outs ask a read to return at once with what is queued (interval MAXDWORD, no totals).
    bool immediateReads_ = false;
    // Line errors that the queue check of a read took from the device; handed on by the next ClearCommError.
    DWORD takenErrors_ = 0;
    // Made with the event thread; the bytes it holds come before the device's queue.
    std::shared_ptr<TComReadAhead> readAhead_;

    // The request of the writes from any thread, made at the first and kept with its event (each new event costs the
    // Wine server two calls); its lock is held while one of them runs.
    std::unique_ptr<TWinIoRequest> anyThreadWrite_;
    std::mutex anyThreadWriteLock_;

    // The watch of received bytes; without a read-ahead, its lock is held while a read reports to it.
    TComReceiveWatch* watch_ = nullptr;
    std::mutex watchLock_;

    ComStatus StartDeviceRead(TWinIoRequest& request, char* data, uint32_t count, uint32_t& doneNow);
    // A read of the device that completes here and tells the watch of its bytes (`waiting`: bytes held before
    // them); the request then holds them as its prefix.
    ComStatus ReadWatched(TWinIoRequest& request, char* data, uint32_t count, TComReceiveWatch* watch, size_t waiting);
};

// The system's message text for an error code, without the trailing line end.
std::string SystemErrorText(DWORD code);

}  // namespace kes

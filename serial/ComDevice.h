#pragma once
// What the port needs from the system: one COM device, its overlapped requests, and the event handling that
// runs while it is open. The Windows build implements it over the real device; tests use a recording fake.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "serial/ComTypes.h"
#include "serial/LineSettings.h"

namespace kes {

class TCustomComPort;

// Outcome of one device call: ok, or the system's error code.
struct ComStatus {
    bool ok = true;
    uint32_t error = 0;
    static ComStatus Ok() { return {}; }
    static ComStatus Fail(uint32_t code) { return {false, code}; }
};

enum TComIoKind : uint8_t { ikWrite, ikRead };

// One read or write request: created by the device, used by one synchronous operation, then freed.
class TComIoRequest {
public:
    virtual ~TComIoRequest() = default;
    TComIoKind Kind = ikWrite;
    // A private copy of the bytes handed to a write (none for a read).
    std::string Data;
    bool HasData = false;
};

// Event handling of an open port (its event thread, and with smWindowSync its notification window).
// Destroying it stops the thread and waits until it has ended.
class TComEventPump {
public:
    virtual ~TComEventPump() = default;
    // Asks the thread to end without waiting (the port closes from inside an event pass, which the thread
    // waits for); the port destroys the pump later.
    virtual void RequestStop() {}
    // Whether anyone hears evTxEmpty changed (links attached, detached or re-slotted).
    virtual void TxEmptyHeardChanged(bool /*heard*/) {}
};

// Sees the received bytes the moment the device takes them in, once each and in the order they came, before any
// reader of the port has them: on the event thread for what its read-ahead takes, on the reading thread for what a
// read takes from the device. It also hears when a reader takes waiting bytes (or a purge drops them). The calls
// come under the device's own lock: a watch must be quick, must not read the port, and may write to it
// (TCustomComPort::WriteFromAnyThread).
class TComReceiveWatch {
public:
    virtual ~TComReceiveWatch() = default;
    // `bytes` came in; `waiting` bytes that came before them have not been taken by a reader yet.
    virtual void BytesArrived(std::string_view bytes, size_t waiting) = 0;
    // A reader took the next `count` waiting bytes, or a purge dropped them.
    virtual void BytesTaken(size_t count) = 0;
    // True while someone waits for the next bytes at once (an upload line for its answer's line end); asked often and
    // from any thread, without the device's lock. A device may then look for bytes without pause rather than sleep
    // until the system reports them, keeping one core busy meanwhile.
    virtual bool Urgent() const { return false; }
};

class TComDevice {
public:
    virtual ~TComDevice() = default;

    virtual bool IsOpen() const = 0;
    // Opens the device file (e.g. "\\.\COM1") for overlapped reading and writing, not shared.
    virtual ComStatus Open(const std::string& fileName) = 0;
    // Closes the device; the handle is forgotten even when the system refuses.
    virtual ComStatus Close() = 0;

    virtual ComStatus SetupComm(int inputSize, int outputSize) = 0;
    virtual ComStatus SetCommState(const ComDcb& dcb) = 0;
    virtual ComStatus SetCommTimeouts(const ComTimeoutsRecord& timeouts) = 0;
    virtual ComStatus ClearCommError(uint32_t& errors, uint32_t& inQueue) = 0;
    virtual ComStatus GetModemStatus(uint32_t& status) = 0;
    virtual ComStatus Purge(uint32_t flags) = 0;

    virtual std::unique_ptr<TComIoRequest> NewRequest() = 0;
    // Start an overlapped transfer; ok when it completed or is pending. `doneNow` is the count known at once.
    virtual ComStatus StartWrite(TComIoRequest& request, const char* data, uint32_t count, uint32_t& doneNow) = 0;
    virtual ComStatus StartRead(TComIoRequest& request, char* data, uint32_t count, uint32_t& doneNow) = 0;
    // Waits without a time limit for a started request (a request never started completes with 0 bytes).
    virtual ComStatus WaitRequest(TComIoRequest& request, uint32_t& transferred) = 0;
    // A write from any thread, waited for: `written` bytes the device took. A device may keep one request for these
    // (a line of an upload each time) rather than make one per write.
    virtual ComStatus WriteNow(const char* data, uint32_t count, uint32_t& written) {
        std::unique_ptr<TComIoRequest> request = NewRequest();
        request->Kind = ikWrite;
        written = 0;
        ComStatus s = StartWrite(*request, data, count, written);
        return s.ok ? WaitRequest(*request, written) : s;
    }

    // Installs the watch of received bytes (nullptr removes it; once this returns, the old one hears nothing more).
    // While a watch is set, reads complete before StartRead returns. A device that cannot watch ignores it.
    virtual void SetReceiveWatch(TComReceiveWatch* /*watch*/) {}

    // Starts waiting for the port's Events and handing them to the port by its SyncMethod.
    virtual std::unique_ptr<TComEventPump> StartEvents(TCustomComPort& port) = 0;

    // The system's text for one of its error codes.
    virtual std::string ErrorText(uint32_t code) const = 0;
};

// The platform's device (the Windows COM device; elsewhere a device that fails every call).
std::unique_ptr<TComDevice> NewComDevice();

}  // namespace kes

#include "serial/win/ComDeviceWin.h"

#include "base/Exception.h"
#include "base/win/Application.h"
#include "base/win/WinePolicy.h"
#include "serial/CPort.h"
#include "serial/win/ComReadAhead.h"
#include "serial/win/ComThread.h"

namespace kes {

namespace {

ComStatus LastError() {
    DWORD code = GetLastError();
    return ComStatus::Fail(code ? code : ERROR_GEN_FAILURE);
}

ComStatus Result(BOOL ok) { return ok ? ComStatus::Ok() : LastError(); }

}  // namespace

// One overlapped request with its own manual-reset event, made when the request first goes to the device: a
// read served from the read-ahead alone never needs one (each event costs the wine server two calls).
class TWinIoRequest : public TComIoRequest {
public:
    OVERLAPPED& Prepare() {
        if (!event_) event_ = NewEvent(true, false);  // ReadFile and WriteFile reset it as they start
        if (!event_) throw EOutOfResources("Cannot create the request event");
        overlapped_ = OVERLAPPED{};
        overlapped_.hEvent = event_.Get();
        started_ = true;
        return overlapped_;
    }
    OVERLAPPED overlapped_{};
    UniqueHandle event_;
    bool started_ = false;
    DWORD prefix_ = 0;  // bytes of a read that came from the read-ahead, ahead of what the device transfers
};

namespace {

// The event thread, and with smWindowSync the notification window it reports to (made first, freed last).
class TWinEventPump : public TComEventPump {
public:
    TWinEventPump(TCustomComPort& port, HANDLE device, std::shared_ptr<TComReadAhead> readAhead) {
        if (port.SyncMethod() == smWindowSync) window_ = AllocateHWnd(NotifyMethod(port));
        try {
            thread_ = std::make_unique<TComThread>(port, device, window_, std::move(readAhead));
        } catch (...) {
            if (window_) DeallocateHWnd(window_);
            throw;
        }
    }
    ~TWinEventPump() override {
        thread_.reset();
        if (window_) DeallocateHWnd(window_);
    }
    void RequestStop() override { thread_->RequestStop(); }
    void TxEmptyHeardChanged(bool heard) override { thread_->SetTxEmptyHeard(heard); }

private:
    static TWndMethod NotifyMethod(TCustomComPort& port) {
        return [&port](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (msg != WM_SERIAL_EVENT) return DefWindowProcA(wnd, msg, wParam, lParam);
            if (InSendMessage()) ReplyMessage(0);  // the event thread goes on at once
            TComEvent event;
            if (port.Connected() && EventFromMaskBit(static_cast<uint32_t>(wParam), event)) port.HandleEvent(event);
            return 0;
        };
    }
    HWND window_ = nullptr;
    std::unique_ptr<TComThread> thread_;
};

}  // namespace

TWinComDevice::TWinComDevice() = default;
TWinComDevice::~TWinComDevice() = default;

ComStatus TWinComDevice::Open(const std::string& fileName) {
    immediateReads_ = false;
    takenErrors_ = 0;
    UniqueFile h(CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED, nullptr));
    if (!h) return LastError();
    handle_ = std::move(h);
    if (WinePolicy::PlainHandleForQuickTransfers) {
        plain_.Reset(
            CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        COMMTIMEOUTS immediate{MAXDWORD, 0, 0, 0, 0};
        if (plain_ && !::SetCommTimeouts(plain_.Get(), &immediate)) plain_.Close();
    }
    return ComStatus::Ok();
}

ComStatus TWinComDevice::Close() {
    if (!IsOpen()) return ComStatus::Ok();
    if (readAhead_) {
        readAhead_->SetWatch(nullptr);  // what it still collects is dropped with the device
        readAhead_->Stop();
        readAhead_.reset();
    }
    plain_.Close();
    // Forgotten in any case: a handle that failed to close is no use either.
    return Result(handle_.Close());
}

ComStatus TWinComDevice::SetupComm(int inputSize, int outputSize) {
    return Result(::SetupComm(handle_.Get(), static_cast<DWORD>(inputSize), static_cast<DWORD>(outputSize)));
}

ComStatus TWinComDevice::SetCommState(const ComDcb& d) {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = d.BaudRate;
    dcb.fBinary = d.fBinary;
    dcb.fParity = d.fParity;
    dcb.fOutxCtsFlow = d.fOutxCtsFlow;
    dcb.fOutxDsrFlow = d.fOutxDsrFlow;
    dcb.fDtrControl = d.fDtrControl & 3u;
    dcb.fDsrSensitivity = d.fDsrSensitivity;
    dcb.fTXContinueOnXoff = d.fTXContinueOnXoff;
    dcb.fOutX = d.fOutX;
    dcb.fInX = d.fInX;
    dcb.fErrorChar = d.fErrorChar;
    dcb.fNull = d.fNull;
    dcb.fRtsControl = d.fRtsControl & 3u;
    dcb.fAbortOnError = d.fAbortOnError;
    dcb.XonLim = d.XonLim;
    dcb.XoffLim = d.XoffLim;
    dcb.ByteSize = d.ByteSize;
    dcb.Parity = d.Parity;
    dcb.StopBits = d.StopBits;
    dcb.XonChar = d.XonChar;
    dcb.XoffChar = d.XoffChar;
    dcb.ErrorChar = d.ErrorChar;
    dcb.EofChar = d.EofChar;
    dcb.EvtChar = d.EvtChar;
    return Result(::SetCommState(handle_.Get(), &dcb));
}

ComStatus TWinComDevice::SetCommTimeouts(const ComTimeoutsRecord& t) {
    COMMTIMEOUTS ct{};
    ct.ReadIntervalTimeout = t.ReadIntervalTimeout;
    ct.ReadTotalTimeoutMultiplier = t.ReadTotalTimeoutMultiplier;
    ct.ReadTotalTimeoutConstant = t.ReadTotalTimeoutConstant;
    ct.WriteTotalTimeoutMultiplier = t.WriteTotalTimeoutMultiplier;
    ct.WriteTotalTimeoutConstant = t.WriteTotalTimeoutConstant;
    if (!::SetCommTimeouts(handle_.Get(), &ct)) return LastError();
    if (plain_) {
        // Its reads return at once whatever the port's time-outs; its writes keep the port's.
        COMMTIMEOUTS plain = ct;
        plain.ReadIntervalTimeout = MAXDWORD;
        plain.ReadTotalTimeoutMultiplier = plain.ReadTotalTimeoutConstant = 0;
        if (!::SetCommTimeouts(plain_.Get(), &plain)) plain_.Close();
    }
    immediateReads_ =
        ct.ReadIntervalTimeout == MAXDWORD && ct.ReadTotalTimeoutMultiplier == 0 && ct.ReadTotalTimeoutConstant == 0;
    if (readAhead_) readAhead_->SetEnabled(immediateReads_);
    return ComStatus::Ok();
}

ComStatus TWinComDevice::ClearCommError(uint32_t& errors, uint32_t& inQueue) {
    DWORD e = 0;
    COMSTAT stat{};
    if (!::ClearCommError(handle_.Get(), &e, &stat)) return LastError();
    errors = e | takenErrors_ | (readAhead_ ? readAhead_->TakeLineErrors() : 0);
    takenErrors_ = 0;
    inQueue = stat.cbInQue + (readAhead_ ? readAhead_->HeldCount() : 0);
    return ComStatus::Ok();
}

ComStatus TWinComDevice::GetModemStatus(uint32_t& status) {
    DWORD s = 0;
    if (!GetCommModemStatus(handle_.Get(), &s)) return LastError();
    status = s;
    return ComStatus::Ok();
}

ComStatus TWinComDevice::Purge(uint32_t flags) {
    if (readAhead_ && (flags & PURGE_RXCLEAR)) readAhead_->Drop();  // a held byte is queued input
    return Result(PurgeComm(handle_.Get(), flags));
}

std::unique_ptr<TComIoRequest> TWinComDevice::NewRequest() { return std::make_unique<TWinIoRequest>(); }

ComStatus TWinComDevice::StartWrite(TComIoRequest& request, const char* data, uint32_t count, uint32_t& doneNow) {
    auto& r = static_cast<TWinIoRequest&>(request);
    DWORD done = 0;
    if (WriteFile(handle_.Get(), data, count, &done, &r.Prepare())) {
        doneNow = done;
        return ComStatus::Ok();
    }
    if (GetLastError() == ERROR_IO_PENDING) {
        doneNow = 0;
        return ComStatus::Ok();
    }
    r.started_ = false;
    return LastError();
}

ComStatus TWinComDevice::StartRead(TComIoRequest& request, char* data, uint32_t count, uint32_t& doneNow) {
    auto& r = static_cast<TWinIoRequest&>(request);
    r.prefix_ = 0;
    doneNow = 0;
    if (!readAhead_) {
        if (!watch_) return StartDeviceRead(r, data, count, doneNow);
        const std::lock_guard<std::mutex> lock(watchLock_);
        ComStatus s = ReadWatched(r, data, count, watch_, 0);
        if (s.ok) doneNow = r.prefix_;
        return s;
    }
    return readAhead_->TakeThenStart(count, [&](const std::string& held, uint32_t more, TComReceiveWatch* watch,
                                                size_t waiting) {
        std::copy(held.begin(), held.end(), data);
        const auto n = static_cast<uint32_t>(held.size());
        ComStatus s = ComStatus::Ok();
        if (more == 0) {
            r.started_ = false;
        } else if (watch) {
            s = ReadWatched(r, data + n, more, watch, waiting);
        } else {
            s = StartDeviceRead(r, data + n, more, doneNow);
        }
        if (s.ok) {
            r.prefix_ += n;
            doneNow = r.started_ ? doneNow + n : r.prefix_;
        }
        return s;
    });
}

ComStatus TWinComDevice::ReadWatched(TWinIoRequest& r, char* data, uint32_t count, TComReceiveWatch* watch,
                                     size_t waiting) {
    uint32_t now = 0;
    ComStatus s = StartDeviceRead(r, data, count, now);
    if (!s.ok) return s;
    uint32_t got = 0;
    s = WaitRequest(r, got);
    if (!s.ok) return s;
    r.prefix_ = got;
    if (got > 0) {
        watch->BytesArrived(std::string_view(data, got), waiting);
        watch->BytesTaken(got);
    }
    return ComStatus::Ok();
}

void TWinComDevice::SetReceiveWatch(TComReceiveWatch* watch) {
    {
        const std::lock_guard<std::mutex> lock(watchLock_);
        watch_ = watch;
    }
    if (readAhead_) readAhead_->SetWatch(watch);
}

ComStatus TWinComDevice::StartDeviceRead(TWinIoRequest& r, char* data, uint32_t count, uint32_t& doneNow) {
    doneNow = 0;
    if (immediateReads_ && WinePolicy::CheckQueueBeforeImmediateRead) {
        // An empty queue completes the read here with no bytes (Wine would leave it pending).
        DWORD errors = 0;
        COMSTAT stat{};
        const bool checked = ::ClearCommError(handle_.Get(), &errors, &stat);
        takenErrors_ |= errors;
        if (checked && stat.cbInQue == 0) {
            r.started_ = false;
            return ComStatus::Ok();
        }
    }
    DWORD done = 0;
    if (ReadFile(handle_.Get(), data, count, &done, &r.Prepare())) {
        doneNow = done;
        return ComStatus::Ok();
    }
    if (GetLastError() == ERROR_IO_PENDING) {
        doneNow = 0;
        return ComStatus::Ok();
    }
    r.started_ = false;
    return LastError();
}

ComStatus TWinComDevice::WaitRequest(TComIoRequest& request, uint32_t& transferred) {
    auto& r = static_cast<TWinIoRequest&>(request);
    transferred = r.prefix_;
    if (!r.started_) return ComStatus::Ok();
    // A transfer that has completed already needs no wait on its event (a call of the Wine server).
    if (!HasOverlappedIoCompleted(&r.overlapped_) && WaitForSingleObject(r.event_.Get(), INFINITE) != WAIT_OBJECT_0)
        return LastError();
    DWORD n = 0;
    if (!GetOverlappedResult(handle_.Get(), &r.overlapped_, &n, FALSE)) return LastError();
    r.started_ = false;
    transferred += n;
    return ComStatus::Ok();
}

ComStatus TWinComDevice::WriteNow(const char* data, uint32_t count, uint32_t& written) {
    const std::lock_guard<std::mutex> lock(anyThreadWriteLock_);
    if (!anyThreadWrite_) anyThreadWrite_ = std::make_unique<TWinIoRequest>();
    TWinIoRequest& r = *anyThreadWrite_;
    r.Kind = ikWrite;
    r.prefix_ = 0;
    written = 0;
    if (plain_ && readAhead_ && count <= kPlainWriteMax) {
        // An empty output queue takes a line at once: the write through the plain handle does not wait.
        DWORD errors = 0;
        COMSTAT stat{};
        if (::ClearCommError(handle_.Get(), &errors, &stat) && stat.cbOutQue == 0) {
            readAhead_->KeepLineErrors(errors);
            DWORD n = 0;
            if (!WriteFile(plain_.Get(), data, count, &n, nullptr)) return LastError();
            written = n;
            readAhead_->Wake();
            return ComStatus::Ok();
        }
        readAhead_->KeepLineErrors(errors);
    }
    ComStatus s = StartWrite(r, data, count, written);
    if (s.ok) s = WaitRequest(r, written);
    // The answer to what went out is awaited now: the event thread looks for it without sleeping.
    if (s.ok && readAhead_) readAhead_->Wake();
    return s;
}

std::unique_ptr<TComEventPump> TWinComDevice::StartEvents(TCustomComPort& port) {
    if (!readAhead_ && WinePolicy::SerialReadAhead) {
        try {
            readAhead_ = std::make_shared<TComReadAhead>(handle_.Get(), plain_ ? plain_.Get() : nullptr);
            readAhead_->SetEnabled(immediateReads_);
            readAhead_->SetWatch(watch_);
        } catch (const EOutOfResources&) {
            // Without it the event thread waits for EV_RXCHAR alone.
        }
    }
    return std::make_unique<TWinEventPump>(port, handle_.Get(), readAhead_);
}

std::string TWinComDevice::ErrorText(uint32_t code) const { return SystemErrorText(code); }

std::string SystemErrorText(DWORD code) {
    char* text = nullptr;
    DWORD n =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string s = n && text ? std::string(text, n) : "System Error.  Code: " + std::to_string(code) + ".";
    if (text) LocalFree(text);
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ')) s.pop_back();
    return s;
}

}  // namespace kes

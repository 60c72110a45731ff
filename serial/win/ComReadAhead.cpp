#include "serial/win/ComReadAhead.h"

#include <algorithm>

#include "base/Exception.h"

namespace kes {

namespace {

// How long a cancelled read may take to complete before it is given up.
constexpr DWORD kCancelWaitMs = 5000;

}  // namespace

TComReadAhead::TComReadAhead(HANDLE device, HANDLE plain)
    : device_(DuplicateForThisProcess(device)),
      plain_(plain ? DuplicateForThisProcess(plain) : UniqueHandle()),
      request_(std::make_unique<Request>()) {
    if (!device_ || !request_->event || !wake_) throw EOutOfResources("Cannot prepare the port's read-ahead");
    request_->overlapped.hEvent = request_->event.Get();
    InitializeCriticalSection(&lock_);
}

TComReadAhead::~TComReadAhead() {
    Stop();
    if (stuck_) static_cast<void>(request_.release());  // still in the system's hands: left alive
    DeleteCriticalSection(&lock_);
}

bool TComReadAhead::Active() {
    Lock lock(*this);
    return usable_ && enabled_ && held_.size() < kMaxHeld;
}

bool TComReadAhead::Pending() {
    Lock lock(*this);
    return pending_;
}

bool TComReadAhead::Arm() {
    Lock lock(*this);
    eventThread_.store(GetCurrentThreadId());
    if (pending_ || stuck_ || !usable_ || !enabled_) return true;
    Request& r = *request_;
    r.overlapped = OVERLAPPED{};
    r.overlapped.hEvent = r.event.Get();
    ResetEvent(r.overlapped.hEvent);
    DWORD n = 0;
    pending_ = true;
    if (ReadFile(device_.Get(), r.bytes, kSize, &n, &r.overlapped)) return true;  // done at once: collected by Collect
    if (GetLastError() == ERROR_IO_PENDING) return true;
    pending_ = false;
    return false;
}

void TComReadAhead::Settle(DWORD transferred) {
    pending_ = false;
    if (transferred == 0) {
        usable_ = false;  // the system's reads don't wait for a byte: EV_RXCHAR it is
        return;
    }
    const size_t waiting = held_.size();
    const size_t n = std::min<DWORD>(transferred, kSize);
    if (held_.empty()) heldSince_ = GetTickCount64();
    held_.append(request_->bytes, n);
    if (watch_) watch_->BytesArrived(std::string_view(request_->bytes, n), waiting);
}

void TComReadAhead::SetWatch(TComReceiveWatch* watch) {
    Lock lock(*this);
    watch_ = watch;
}

void TComReadAhead::CollectDone() {
    if (!pending_) return;
    DWORD n = 0;
    if (GetOverlappedResult(device_.Get(), &request_->overlapped, &n, FALSE)) {
        Settle(n);
    } else if (const DWORD error = GetLastError(); error != ERROR_IO_INCOMPLETE) {
        pending_ = false;  // cancelled or failed: nothing read
        if (error != ERROR_OPERATION_ABORTED) failure_ = error;
    }
}

DWORD TComReadAhead::TakeFailure() {
    Lock lock(*this);
    const DWORD error = failure_;
    failure_ = 0;
    return error;
}

bool TComReadAhead::Collect() {
    Lock lock(*this);
    const size_t before = held_.size();
    CollectDone();
    return held_.size() > before;
}

void TComReadAhead::Cancel() {
    CollectDone();
    if (!pending_) return;
    CancelIoEx(device_.Get(), &request_->overlapped);
    if (WaitForSingleObject(request_->overlapped.hEvent, kCancelWaitMs) != WAIT_OBJECT_0) {
        // The device does not answer: the read and its record stay as they are, and no new read starts.
        stuck_ = true;
        pending_ = false;
        usable_ = false;
        return;
    }
    CollectDone();
    pending_ = false;
}

void TComReadAhead::CancelPending() {
    Lock lock(*this);
    Cancel();
}

bool TComReadAhead::TookAndHolds() {
    Lock lock(*this);
    const bool again = took_ && !held_.empty();
    took_ = false;
    return again;
}

void TComReadAhead::Stop() {
    Lock lock(*this);
    enabled_ = false;
    Cancel();
}

bool TComReadAhead::UrgentLocked() const {
    return usable_ && enabled_ && !stuck_ && watch_ && watch_->Urgent() && held_.size() < kMaxHeld;
}

bool TComReadAhead::Urgent() {
    Lock lock(*this);
    const bool urgent = UrgentLocked();
    polling_.store(urgent);  // asked by the event thread only
    return urgent;
}

int TComReadAhead::Poll() {
    Lock lock(*this);
    eventThread_.store(GetCurrentThreadId());
    if (pending_) Cancel();
    if (!usable_ || !enabled_ || stuck_) return 0;
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(device_.Get(), &errors, &status)) {
        failure_ = GetLastError();
        return -1;
    }
    lineErrors_ |= errors;
    if (status.cbInQue == 0) return 0;
    Request& r = *request_;
    const DWORD want = std::min<DWORD>(status.cbInQue, kSize);
    const size_t before = held_.size();
    if (plain_) {
        // Bytes wait: the plain handle's read returns at once with them, without an overlapped transfer.
        DWORD n = 0;
        if (!ReadFile(plain_.Get(), r.bytes, want, &n, nullptr)) {
            failure_ = GetLastError();
            return -1;
        }
        if (n > 0) Settle(n);
        return held_.size() > before ? 1 : 0;
    }
    // Bytes wait: the read returns at once with them (it goes through the Wine server, and this thread is awake).
    r.overlapped = OVERLAPPED{};
    r.overlapped.hEvent = r.event.Get();
    DWORD n = 0;
    pending_ = true;
    if (!ReadFile(device_.Get(), r.bytes, want, &n, &r.overlapped) && GetLastError() != ERROR_IO_PENDING) {
        pending_ = false;
        failure_ = GetLastError();
        return -1;
    }
    if (WaitForSingleObject(r.overlapped.hEvent, kCancelWaitMs) == WAIT_OBJECT_0) CollectDone();
    if (failure_ != 0) return -1;
    return held_.size() > before ? 1 : 0;
}

bool TComReadAhead::ReportDue() {
    Lock lock(*this);
    return !held_.empty() && (held_.size() >= kMaxHeld / 2 || GetTickCount64() - heldSince_ >= kReportEveryMs);
}

DWORD TComReadAhead::TakeLineErrors() {
    Lock lock(*this);
    const DWORD errors = lineErrors_;
    lineErrors_ = 0;
    return errors;
}

void TComReadAhead::KeepLineErrors(DWORD errors) {
    Lock lock(*this);
    lineErrors_ |= errors;
}

void TComReadAhead::Wake() {
    if (GetCurrentThreadId() != eventThread_.load() && !polling_.load()) SetEvent(wake_.Get());
}

void TComReadAhead::SetEnabled(bool enabled) {
    Lock lock(*this);
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (!enabled) Cancel();  // bytes it took stay held for the next read
}

uint32_t TComReadAhead::HeldCount() {
    Lock lock(*this);
    CollectDone();
    return static_cast<uint32_t>(held_.size());
}

void TComReadAhead::Drop() {
    Lock lock(*this);
    Cancel();
    if (watch_ && !held_.empty()) watch_->BytesTaken(held_.size());
    held_.clear();
}

}  // namespace kes

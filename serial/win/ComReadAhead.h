#pragma once
// The read-ahead of an open port: one pending overlapped read of up to kSize bytes, which completes the moment
// bytes arrive, with all of them, and so wakes the event thread at once (a Wine latency measure: see
// WinePolicy::SerialReadAhead for the figures). The bytes it takes are held and handed out ahead of the device's
// queue: the port's reads and queue counts go through it, so nothing is lost or reordered. A port's handler that
// reads what was reported then takes them from memory, without a read of the device.
//
// It needs reads that return at once with what is queued (the port's default time-outs) and a system that lets
// such a read wait while the queue is empty. Where a read returns at once with no bytes instead (Windows), it
// turns itself off for good and the event thread waits for EV_RXCHAR as usual.
//
// Threads: the event thread arms and collects; the port's thread takes, counts and drops. One lock guards the
// state and is held while a read of the port's thread is started, so that the next read-ahead queues behind it.
// A receive watch hears every byte as it is held, and every take and drop, under that lock.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "base/win/Unique.h"
#include "base/win/Win.h"
#include "serial/ComDevice.h"

namespace kes {

class TComReadAhead {
public:
    // Works on its own duplicate of `device`; its polls read through a duplicate of `plain` (the port opened without
    // overlapped transfers, its reads returning at once) where one is given.
    explicit TComReadAhead(HANDLE device, HANDLE plain = nullptr);
    // The most one read takes: a chunk of a fast line, yet little to hold while the port's thread is busy.
    static constexpr uint32_t kSize = 4096;
    ~TComReadAhead();
    TComReadAhead(const TComReadAhead&) = delete;
    TComReadAhead& operator=(const TComReadAhead&) = delete;

    // ---- event thread
    // True while received bytes can wake the event thread: usable, enabled, and fewer than kMaxHeld bytes held (a
    // handler that leaves bytes unread leaves the rest in the device's queue, where EV_RXCHAR reports it). While the
    // port's thread is busy, the bytes go on coming into memory, and its next read takes them from there rather than
    // from the device (a read of the device costs the Wine server several calls: 0.6 ms on a loaded machine).
    bool Active();
    static constexpr size_t kMaxHeld = 64 * 1024;
    // Starts the read unless one is pending, also while bytes are held (its bytes then follow them); false when
    // the system refused it.
    bool Arm();
    // Cancels a pending read; what it brought stays held.
    void CancelPending();
    // True when the port's thread took bytes since the last call and bytes are held still (they came while its
    // read ran): they are worth reporting again at once.
    bool TookAndHolds();
    // Signalled when the pending read completed (or was taken over by the port's thread).
    HANDLE Event() const { return request_->overlapped.hEvent; }
    bool Pending();
    // Collects a completed read; true when it brought bytes.
    bool Collect();
    // The system's error of the last read that failed (not one cancelled), once; 0 when none failed.
    DWORD TakeFailure();
    // Cancels a pending read for good (the thread ends or the device closes).
    void Stop();
    // True while usable, enabled and the watch asks for haste (TComReceiveWatch::Urgent): the event thread then
    // polls instead of leaving a read pending (a spinning look at the queue, which Wine answers in the process,
    // against a pending read whose bytes come only after the Wine server and the scheduler woke the thread: 0.5-1.2
    // ms on a loaded machine). While it polls, no read is pending.
    bool Urgent();  // event thread
    // One look at the device's queue, and a read of what waits there: 1 when it brought bytes, 0 when none waited,
    // -1 when the device refused (its error for TakeFailure).
    int Poll();
    // Line errors that a look at the queue took from the device (once).
    DWORD TakeLineErrors();
    // Keeps line errors that another look at the device's queue took, for TakeLineErrors (any thread).
    void KeepLineErrors(DWORD errors);
    // While it polls, the held bytes are handed to the port's handlers once a screen refresh (kReportEveryMs) rather
    // than per piece: the receive watch has seen them at once, the terminal shows them at its own pace, and every
    // hand-over to the GUI thread costs the Wine server calls the answers wait behind. True when bytes are held
    // since that long, or many are.
    bool ReportDue();
    static constexpr ULONGLONG kReportEveryMs = 16;

    // ---- any thread
    // Signals WakeEvent unless the caller is the event thread or that polls already (a line written from another
    // thread now waits for its answer): the event thread, waiting on its read, looks whether to poll. Takes no lock:
    // it is called while the caller holds the receive watch's lock, which the watch's calls take under this one's.
    void Wake();
    HANDLE WakeEvent() const { return wake_.Get(); }

    // ---- port's thread
    // The watch of the received bytes (nullptr: none).
    void SetWatch(TComReceiveWatch* watch);
    // Switches the read-ahead on while the port's reads return at once with what is queued.
    void SetEnabled(bool enabled);
    // Bytes held (a completed read is collected first).
    uint32_t HeldCount();
    // Takes up to `max` held bytes and runs `start` (the start of a read of the device) with them, how many more to
    // read from the device, the watch and the count of bytes held. When bytes are held and a read is pending (or the
    // event thread polls), only
    // the held bytes are taken (a read returns what is there; the pending read brings the rest at once, without the
    // cancel and the read of the device that cost the Wine server several calls). When nothing is held, or no read
    // is pending, the device is read for what the held bytes do not cover, a pending read cancelled and collected
    // first so that its bytes come before. When `start` fails, the bytes stay held.
    template <typename F>
    ComStatus TakeThenStart(uint32_t max, F&& start) {
        Lock lock(*this);
        CollectDone();
        const bool heldOnly = !held_.empty() && (pending_ || UrgentLocked());  // the event thread polls: also
        if (held_.size() < max && !heldOnly) Cancel();
        const std::string taken = held_.substr(0, max);
        const auto more = static_cast<uint32_t>(heldOnly ? 0 : max - taken.size());
        ComStatus s = start(taken, more, watch_, held_.size());
        if (s.ok) {
            held_.erase(0, taken.size());
            if (watch_ && !taken.empty()) watch_->BytesTaken(taken.size());
        }
        took_ = took_ || (s.ok && !taken.empty());
        return s;
    }
    // Drops the held bytes and a pending read (purge of the input).
    void Drop();

private:
    struct Request {
        UniqueHandle event = NewEvent(true, false);
        OVERLAPPED overlapped{};
        char bytes[kSize] = {};
    };
    struct Lock {
        explicit Lock(TComReadAhead& a) : lock(a.lock_) { EnterCriticalSection(&lock); }
        ~Lock() { LeaveCriticalSection(&lock); }
        CRITICAL_SECTION& lock;
    };
    bool UrgentLocked() const;
    void Settle(DWORD transferred);  // a read that completed: its bytes held, a read without bytes turns it off
    void CollectDone();              // collects a read that has completed, without waiting
    void Cancel();                   // cancels a pending read and collects it

    CRITICAL_SECTION lock_;
    UniqueHandle device_;  // the duplicate of the port's handle
    UniqueHandle plain_;   // the duplicate of the plain handle, or none
    // On the heap: a read that never answers its cancel is left alive rather than freed under the system's feet.
    std::unique_ptr<Request> request_;
    bool pending_ = false;
    bool stuck_ = false;
    bool usable_ = true;
    bool enabled_ = false;
    bool took_ = false;  // the port's thread took bytes since TookAndHolds
    DWORD failure_ = 0;
    DWORD lineErrors_ = 0;  // taken by Poll's look at the queue
    ULONGLONG heldSince_ = 0;  // when the held bytes began (GetTickCount64)
    UniqueHandle wake_ = NewEvent(false, false);
    std::atomic<DWORD> eventThread_{0};  // the thread that arms and polls
    std::atomic<bool> polling_{false};   // it polls now
    std::string held_;
    TComReceiveWatch* watch_ = nullptr;
};

}  // namespace kes

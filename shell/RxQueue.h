#pragma once
// The receive queue: chunks read by the port's receive handler, taken off by the timer's drain.
// Append and TakeAll may run on different threads; Empty takes no lock (one atomic read per idle tick).
#include <atomic>
#include <mutex>
#include <string>
#include <string_view>

namespace kes {

struct TRxBatch {
    std::string Bytes;       // every queued chunk, joined in order
    bool LineEnded = false;  // one of them ended a line of the board's answer
};

class TRxQueue {
public:
    void Append(std::string_view chunk, bool endsLine = false) {
        std::lock_guard<std::mutex> hold(lock_);
        bytes_.append(chunk);
        lineEnded_ = lineEnded_ || endsLine;
        chunks_.fetch_add(1, std::memory_order_release);
    }
    bool Empty() const { return chunks_.load(std::memory_order_acquire) == 0; }
    // Everything queued; the queue is empty afterwards.
    TRxBatch TakeAll() {
        std::lock_guard<std::mutex> hold(lock_);
        TRxBatch batch{std::move(bytes_), lineEnded_};
        bytes_.clear();
        lineEnded_ = false;
        chunks_.store(0, std::memory_order_release);
        return batch;
    }

private:
    std::mutex lock_;
    std::string bytes_;              // guarded by lock_
    bool lineEnded_ = false;         // guarded by lock_
    std::atomic<size_t> chunks_{0};  // chunks in bytes_
};

}  // namespace kes

#pragma once
// The receive queue: chunks read by the port's receive handler, taken off by the timer's drain.
// Append and TakeAll may run on different threads; Empty takes no lock (one atomic read per idle tick).
#include <atomic>
#include <mutex>
#include <string>
#include <string_view>

namespace kes {

class TRxQueue {
public:
    void Append(std::string_view chunk) {
        std::lock_guard<std::mutex> hold(lock_);
        bytes_.append(chunk);
        chunks_.fetch_add(1, std::memory_order_release);
    }
    bool Empty() const { return chunks_.load(std::memory_order_acquire) == 0; }
    // Every queued chunk, joined in order; the queue is empty afterwards.
    std::string TakeAll() {
        std::lock_guard<std::mutex> hold(lock_);
        std::string all;
        all.swap(bytes_);
        chunks_.store(0, std::memory_order_release);
        return all;
    }

private:
    std::mutex lock_;
    std::string bytes_;               // guarded by lock_
    std::atomic<size_t> chunks_{0};   // chunks in bytes_
};

}  // namespace kes

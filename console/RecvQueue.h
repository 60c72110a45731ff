#pragma once
// The hand-over of received text from the connection workers to the main loop: every batch is kept,
// in the order it was added, up to a bound; a worker waits while the queue is full.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

namespace kes::tirvane {

class RecvQueue {
public:
    static constexpr std::size_t kDefaultCapacity = 1 << 20;
    explicit RecvQueue(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

    // Adds a batch. Waits while it does not fit; a batch larger than the whole capacity goes in
    // once the queue is empty. False (batch dropped) only after Close.
    bool Push(std::string batch);
    // Every queued batch joined in order; empty when none. Frees the room for waiting workers.
    std::string TakeAll();
    std::size_t Bytes() const;
    // Refuses further batches and releases every waiting worker; what is queued can still be taken.
    void Close();

    // Called on the pushing thread, outside the lock, after a batch was queued. Set it before any Push.
    std::function<void()> OnPushed;

private:
    const std::size_t capacity_;
    mutable std::mutex lock_;
    std::condition_variable room_;
    std::deque<std::string> batches_;  // guarded by lock_
    std::size_t bytes_ = 0;            // guarded by lock_
    bool closed_ = false;              // guarded by lock_
};

}  // namespace kes::tirvane

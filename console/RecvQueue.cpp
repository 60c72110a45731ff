#include "console/RecvQueue.h"

namespace kes::tirvane {

bool RecvQueue::Push(std::string batch) {
    if (batch.empty()) return true;
    {
        std::unique_lock<std::mutex> guard(lock_);
        room_.wait(guard, [&] { return closed_ || bytes_ == 0 || bytes_ + batch.size() <= capacity_; });
        if (closed_) return false;
        bytes_ += batch.size();
        batches_.push_back(std::move(batch));
    }
    if (OnPushed) OnPushed();
    return true;
}

std::string RecvQueue::TakeAll() {
    std::string text;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (batches_.empty()) return text;
        text.reserve(bytes_);
        for (const auto& b : batches_) text += b;
        batches_.clear();
        bytes_ = 0;
    }
    room_.notify_all();
    return text;
}

std::size_t RecvQueue::Bytes() const {
    std::lock_guard<std::mutex> guard(lock_);
    return bytes_;
}

void RecvQueue::Close() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        closed_ = true;
    }
    room_.notify_all();
}

}  // namespace kes::tirvane

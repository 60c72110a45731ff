#include "console/ConnectionOrder.h"

namespace kes::tirvane {

std::uint64_t ConnectionOrder::Open() {
    std::lock_guard<std::mutex> guard(lock_);
    const std::uint64_t id = next_++;
    open_.insert(id);
    return id;
}

void ConnectionOrder::WaitTurn(std::uint64_t id) {
    std::unique_lock<std::mutex> guard(lock_);
    changed_.wait_for(guard, grace_, [&] { return stopping_ || open_.empty() || *open_.begin() >= id; });
}

void ConnectionOrder::Close(std::uint64_t id) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        open_.erase(id);
    }
    changed_.notify_all();
}

void ConnectionOrder::Shutdown() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
}

}  // namespace kes::tirvane

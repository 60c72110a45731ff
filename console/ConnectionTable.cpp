#include "console/ConnectionTable.h"

#include <algorithm>

namespace kes::tirvane {

std::optional<ConnectionTable::Id> ConnectionTable::Add(Id id, Clock::time_point now) {
    std::optional<Id> dropped;
    if (capacity_ > 0 && open_.size() >= capacity_) {
        const auto idlest = std::min_element(open_.begin(), open_.end(),
                                             [](const Entry& a, const Entry& b) { return a.active < b.active; });
        dropped = idlest->id;
        open_.erase(idlest);
    }
    open_.push_back({id, now});
    return dropped;
}

void ConnectionTable::Touch(Id id, Clock::time_point now) {
    for (Entry& e : open_)
        if (e.id == id) e.active = now;
}

void ConnectionTable::Remove(Id id) {
    open_.erase(std::remove_if(open_.begin(), open_.end(), [id](const Entry& e) { return e.id == id; }), open_.end());
}

std::vector<ConnectionTable::Id> ConnectionTable::TakeExpired(Clock::time_point now) {
    std::vector<Id> expired;
    for (const Entry& e : open_)
        if (now - e.active >= idleLimit_) expired.push_back(e.id);
    for (Id id : expired) Remove(id);
    return expired;
}

std::vector<ConnectionTable::Id> ConnectionTable::InOrder() const {
    std::vector<Id> ids;
    for (const Entry& e : open_) ids.push_back(e.id);
    return ids;
}

std::chrono::milliseconds ConnectionTable::UntilNextExpiry(Clock::time_point now,
                                                           std::chrono::milliseconds most) const {
    std::chrono::milliseconds until = most;
    for (const Entry& e : open_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(e.active + idleLimit_ - now);
        until = std::min(until, std::max(left, std::chrono::milliseconds(0)));
    }
    return until;
}

std::chrono::milliseconds AcceptBackoff::Failed() {
    const std::chrono::milliseconds wait = next_;
    next_ = std::min(next_ * 2, kLongest);
    return wait;
}

}  // namespace kes::tirvane

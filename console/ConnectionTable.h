#pragma once
// The open connections of the console link's server, in the order they were accepted, with the time each
// last brought data. The server reads them in this order, each until it has nothing more, so the batches
// of consecutive connections never mix; a connection that sends nothing holds up no other. The table is
// bounded: a new connection to a full table pushes out the one idle longest, and connections idle past
// the limit are closed.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kes::tirvane {

class ConnectionTable {
public:
    using Id = std::uintptr_t;
    using Clock = std::chrono::steady_clock;

    ConnectionTable(std::size_t capacity, std::chrono::milliseconds idleLimit)
        : capacity_(capacity), idleLimit_(idleLimit) {}

    // A connection just accepted. When the table was full, the one idle longest leaves it and is returned
    // (the caller closes it).
    std::optional<Id> Add(Id id, Clock::time_point now);
    // Data arrived on the connection.
    void Touch(Id id, Clock::time_point now);
    void Remove(Id id);
    // The connections idle past the limit, which leave the table (the caller closes them).
    std::vector<Id> TakeExpired(Clock::time_point now);
    // Every connection, in accept order.
    std::vector<Id> InOrder() const;
    // The time until the next connection passes the limit (zero when one has); `most` when none is open.
    std::chrono::milliseconds UntilNextExpiry(Clock::time_point now, std::chrono::milliseconds most) const;
    std::size_t Size() const { return open_.size(); }

private:
    struct Entry {
        Id id;
        Clock::time_point active;
    };
    const std::size_t capacity_;
    const std::chrono::milliseconds idleLimit_;
    std::vector<Entry> open_;  // in accept order
};

// The wait after a failed accept(): it doubles from the first to the longest and starts over after a
// success, so that a lasting failure (no memory, no handles) neither spins nor stops the server for good.
class AcceptBackoff {
public:
    static constexpr std::chrono::milliseconds kFirst{10}, kLongest{1000};
    // After a failure: how long to wait before the next accept.
    std::chrono::milliseconds Failed();
    void Succeeded() { next_ = kFirst; }

private:
    std::chrono::milliseconds next_ = kFirst;
};

}  // namespace kes::tirvane

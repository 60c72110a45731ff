#pragma once
// Keeps the text of consecutive connections in the order the connections were accepted: the terminal
// opens one connection per batch, and the worker of a later connection could otherwise run first.
// A connection hands its text on once every earlier connection has ended, or after a grace time so
// that an idle connection left open cannot hold up the others.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>

namespace kes::tirvane {

class ConnectionOrder {
public:
    explicit ConnectionOrder(std::chrono::milliseconds grace = std::chrono::milliseconds(500)) : grace_(grace) {}

    // Called by the accepting thread, in accept order; returns the connection's number.
    std::uint64_t Open();
    // Called by a worker before it hands on received text.
    void WaitTurn(std::uint64_t id);
    // Called by a worker when its connection has ended.
    void Close(std::uint64_t id);
    // Releases every waiting worker (the server is stopping).
    void Shutdown();

private:
    const std::chrono::milliseconds grace_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::set<std::uint64_t> open_;  // guarded by lock_
    std::uint64_t next_ = 1;        // guarded by lock_
    bool stopping_ = false;         // guarded by lock_
};

}  // namespace kes::tirvane

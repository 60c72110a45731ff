#include "console/ConnectionOrder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace kes::tirvane;
using namespace std::chrono;
using namespace std::chrono_literals;

TEST(ConnectionOrder, LaterConnectionWaitsForEarlierOne) {
    ConnectionOrder order(5s);
    const auto first = order.Open();
    const auto second = order.Open();
    EXPECT_LT(first, second);
    order.WaitTurn(first);  // the oldest never waits

    std::atomic<bool> passed{false};
    std::thread later([&] {
        order.WaitTurn(second);
        passed = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(passed);
    order.Close(first);
    later.join();
    EXPECT_TRUE(passed);
    order.Close(second);
}

TEST(ConnectionOrder, IdleEarlierConnectionHoldsOnlyForTheGraceTime) {
    ConnectionOrder order(100ms);
    order.Open();  // stays open and idle
    const auto second = order.Open();
    const auto start = steady_clock::now();
    order.WaitTurn(second);
    const auto waited = steady_clock::now() - start;
    EXPECT_GE(waited, 90ms);
    EXPECT_LT(waited, 2s);
}

TEST(ConnectionOrder, ShutdownReleasesWaiters) {
    ConnectionOrder order(10s);
    order.Open();
    const auto second = order.Open();
    std::thread later([&] { order.WaitTurn(second); });
    std::this_thread::sleep_for(20ms);
    const auto start = steady_clock::now();
    order.Shutdown();
    later.join();
    EXPECT_LT(steady_clock::now() - start, 2s);
}

#include "console/ConnectionTable.h"

#include <gtest/gtest.h>

using namespace kes::tirvane;
using namespace std::chrono_literals;
using Ids = std::vector<ConnectionTable::Id>;

TEST(ConnectionTable, KeepsAcceptOrderDropsTheIdlestWhenFullAndExpiresIdleOnes) {
    const auto t0 = ConnectionTable::Clock::time_point{} + 1h;
    ConnectionTable table(3, 5s);
    EXPECT_EQ(table.UntilNextExpiry(t0, 250ms), 250ms) << "nothing open: the caller's own wait";
    EXPECT_FALSE(table.Add(11, t0));
    EXPECT_FALSE(table.Add(12, t0 + 1s));
    EXPECT_FALSE(table.Add(13, t0 + 2s));
    table.Touch(11, t0 + 3s);  // the oldest brought data: 12 is now the idlest
    EXPECT_EQ(table.InOrder(), (Ids{11, 12, 13}));
    EXPECT_EQ(table.UntilNextExpiry(t0 + 3s, 10s), 3s) << "12 passes the limit at 6 s";

    EXPECT_EQ(table.Add(14, t0 + 4s), ConnectionTable::Id{12}) << "a full table makes room by the idlest";
    EXPECT_EQ(table.InOrder(), (Ids{11, 13, 14}));

    EXPECT_EQ(table.TakeExpired(t0 + 7s), (Ids{13})) << "13 idle 5 s; 11 touched at 3 s, 14 came at 4 s";
    EXPECT_EQ(table.UntilNextExpiry(t0 + 9s, 10s), 0ms);
    EXPECT_EQ(table.TakeExpired(t0 + 9s), (Ids{11, 14}));
    EXPECT_EQ(table.Size(), 0u);

    table.Add(15, t0);
    table.Remove(15);
    table.Remove(99);  // unknown: nothing happens
    EXPECT_TRUE(table.InOrder().empty());
}

TEST(AcceptBackoff, DoublesUpToTheLongestAndStartsOverAfterASuccess) {
    AcceptBackoff b;
    const std::chrono::milliseconds expected[] = {10ms, 20ms, 40ms, 80ms, 160ms, 320ms, 640ms, 1000ms, 1000ms};
    for (auto wait : expected) EXPECT_EQ(b.Failed(), wait);
    b.Succeeded();
    EXPECT_EQ(b.Failed(), 10ms);
}

#include "console/RecvQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

using namespace kes::tirvane;
using namespace std::chrono_literals;

TEST(RecvQueue, KeepsEveryBatchInOrder) {
    RecvQueue q;
    int pushed = 0;
    q.OnPushed = [&] { ++pushed; };
    EXPECT_EQ(q.TakeAll(), "");
    EXPECT_TRUE(q.Push("one "));
    EXPECT_TRUE(q.Push(""));  // nothing to keep, nothing announced
    EXPECT_TRUE(q.Push("two "));
    EXPECT_TRUE(q.Push(std::string("\0three", 6)));
    EXPECT_EQ(pushed, 3);
    EXPECT_EQ(q.Bytes(), 14u);
    EXPECT_EQ(q.TakeAll(), std::string("one two \0three", 14));
    EXPECT_EQ(q.Bytes(), 0u);
    EXPECT_EQ(q.TakeAll(), "");
}

TEST(RecvQueue, FullQueueHoldsTheWriterUntilTaken) {
    RecvQueue q(8);
    ASSERT_TRUE(q.Push("12345"));
    std::atomic<bool> done{false};
    std::thread writer([&] {
        q.Push("6789");  // 9 bytes would not fit
        done = true;
    });
    std::this_thread::sleep_for(50ms);  // that the writer stays held: no event to wait for
    EXPECT_FALSE(done);
    EXPECT_EQ(q.TakeAll(), "12345");
    writer.join();
    EXPECT_TRUE(done);
    EXPECT_EQ(q.TakeAll(), "6789");

    // A batch larger than the whole bound goes in once the queue is empty.
    EXPECT_TRUE(q.Push(std::string(20, 'x')));
    EXPECT_EQ(q.TakeAll().size(), 20u);
}

TEST(RecvQueue, CloseReleasesWaitingWriters) {
    RecvQueue q(4);
    ASSERT_TRUE(q.Push("full"));
    std::atomic<int> refused{0};
    std::thread writer([&] {
        if (!q.Push("more")) ++refused;
    });
    std::this_thread::sleep_for(30ms);  // the writer is to wait inside Push at the close, which it tells nobody
    q.Close();
    writer.join();
    EXPECT_EQ(refused, 1);
    EXPECT_FALSE(q.Push("late"));
    EXPECT_EQ(q.TakeAll(), "full");  // what was queued before still prints
}

TEST(RecvQueue, ManyWritersLoseNothing) {
    // Small bound, so writers wait often while the reader drains.
    RecvQueue q(64);
    constexpr int kWriters = 4, kBatches = 500;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([&, w] {
            for (int i = 0; i < kBatches; ++i) q.Push(std::string(1, char('a' + w)) + std::to_string(i) + ";");
        });
    std::string all;
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        while (!stop) all += q.TakeAll();
    });
    for (auto& t : writers) t.join();
    stop = true;
    reader.join();
    all += q.TakeAll();
    // Each writer's batches arrive complete and in the order it wrote them.
    for (int w = 0; w < kWriters; ++w) {
        std::size_t at = 0;
        for (int i = 0; i < kBatches; ++i) {
            const std::string b = std::string(1, char('a' + w)) + std::to_string(i) + ";";
            at = all.find(b, at);
            ASSERT_NE(at, std::string::npos) << b;
            at += b.size();
        }
    }
}

#include "shell/ReceivePath.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace kes;

namespace {

const TBoardMode& Arduino = BoardMode(TBoardType::Arduino);
const TBoardMode& Scamp2 = BoardMode(TBoardType::Scamp2);
const TBoardMode& Tirvane = BoardMode(TBoardType::Scamp2andTirvane);
const TBoardMode& Esp32 = BoardMode(TBoardType::ESP32);

// Feeds chunks (each followed by a drain when `drainEach`) and returns the memo text and the raw bytes.
struct TShown {
    std::string Memo;
    std::string Raw;
};
TShown Show(const TBoardMode& mode, const std::vector<std::string>& chunks, bool drainEach, std::string memo = "") {
    TReceivePath path;
    TShown shown{std::move(memo), ""};
    auto drain = [&] {
        if (auto b = path.Drain(mode)) {
            ApplyDrainedBatch(shown.Memo, *b);
            shown.Raw += b->Raw;
        }
    };
    for (const auto& c : chunks) {
        path.Received(mode, c);
        if (drainEach) drain();
    }
    drain();
    return shown;
}

}  // namespace

TEST(ReceivePath, LineEndOfTheModeRaisesTheHandshake) {
    TReceivePath path;
    EXPECT_TRUE(path.Received(Arduino, "ok\r"));
    EXPECT_FALSE(path.Received(Arduino, "ok\n"));
    EXPECT_TRUE(path.Received(Scamp2, "\r\n"));
    EXPECT_TRUE(path.Received(Esp32, "ok\n"));
    EXPECT_FALSE(path.Received(Esp32, "ok\r"));
    // A chunk with backspaces is no exception: it still ends the line and is still queued and forwarded.
    EXPECT_TRUE(path.Received(Esp32, "x\b \b\n"));
    auto batch = path.Drain(Esp32);
    ASSERT_TRUE(batch);
    EXPECT_EQ(batch->Raw, "ok\rok\n\r\nok\nok\rx\b \b\n");
    EXPECT_TRUE(batch->LineEnded);
    EXPECT_FALSE(path.Drain(Esp32));
    // The drained batch tells whether any of its chunks ended a line, as each was judged when it came.
    path.Received(Arduino, "no end\n");
    EXPECT_FALSE(path.Drain(Arduino)->LineEnded);
    path.Received(Arduino, "a\r");
    path.Received(Esp32, "b");
    EXPECT_TRUE(path.Drain(Esp32)->LineEnded);
}

TEST(ReceivePath, RawBytesAreForwardedUnchangedInEveryMode) {
    const std::vector<std::string> chunks{"a\x07", "\x1b[31mred", "\x1b[", "0m\b\r\n"};
    for (const auto& mode : BoardModes()) {
        TShown s = Show(mode, chunks, false);
        EXPECT_EQ(s.Raw, "a\x07\x1b[31mred\x1b[0m\b\r\n") << mode.Caption;
    }
}

TEST(ReceivePath, OnlyTheScampModesFilterEscapes) {
    const std::vector<std::string> chunks{"\x1b[1;32mHello\x07\r\n"};
    EXPECT_EQ(Show(Scamp2, chunks, false).Memo, "Hello\r\n");
    EXPECT_EQ(Show(Tirvane, chunks, false).Memo, "Hello\r\n");
    EXPECT_EQ(Show(Arduino, chunks, false).Memo, chunks[0]);
}

TEST(ReceivePath, DrainReportsBeepsClearAndHeldBackSequence) {
    TReceivePath path;
    path.Received(Scamp2, "old\x07\x1b[2Jnew\x1b[3");
    auto b = path.Drain(Scamp2);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->Beeps, 1);
    EXPECT_TRUE(b->ClearMemo);
    EXPECT_TRUE(b->HeldBack);
    std::string memo = "earlier text";
    ApplyDrainedBatch(memo, *b);
    EXPECT_EQ(memo, "oldnew");  // cleared, then the batch's text before and after the sequence
    path.Received(Scamp2, "1mok");
    b = path.Drain(Scamp2);
    EXPECT_FALSE(b->HeldBack);
    EXPECT_EQ(b->Append, "ok");
}

// Switching away from a filtering board type must not strand a held-back sequence.
TEST(ReceivePath, HeldTextIsShownWhenTheModeStopsFiltering) {
    TReceivePath path;
    path.Received(Scamp2, "a\x1b[3");
    EXPECT_EQ(path.Drain(Scamp2)->Append, "a");
    EXPECT_TRUE(path.HoldsBack());
    path.Received(Arduino, "1m");
    auto b = path.Drain(Arduino);
    EXPECT_EQ(b->Append, "\x1b[31m");
    EXPECT_EQ(b->Raw, "1m");
    EXPECT_FALSE(path.HoldsBack());
}

TEST(ReceivePath, Esp32BackspacesStayInOrderWithQueuedText) {
    // ab, BS arriving as separate chunks before one drain: the BS removes b, not something older.
    EXPECT_EQ(Show(Esp32, {"ab", "\b"}, false, "> ").Memo, "> a");
    EXPECT_EQ(Show(Esp32, {"ab", "\b", "c"}, false).Memo, "ac");
    // The board's erase of a typed character: BS blank BS.
    EXPECT_EQ(Show(Esp32, {"xy", "\b \b"}, true).Memo, "x");
    // Backspaces reach back into what the memo already shows, but never past its start.
    EXPECT_EQ(Show(Esp32, {"\b\b3"}, true, "12").Memo, "3");
    EXPECT_EQ(Show(Esp32, {"\b\b\b\b"}, true, "12").Memo, "");
}

TEST(ReceivePath, DrainingPerChunkShowsWhatOneDrainShows) {
    const std::vector<std::vector<std::string>> runs{
        {"wo", "rds\r\n", "\x1b[", "33m", "yellow\x1b", "[0m ok\x07\r\n"},
        {"\x1b[?2", "5l", "\x1b[1;1", "H>", "\x1b[K"},
    };
    for (const auto& chunks : runs)
        for (const TBoardMode* mode : {&Scamp2, &Arduino, &Esp32})
            EXPECT_EQ(Show(*mode, chunks, true).Memo, Show(*mode, chunks, false).Memo) << mode->Caption;
    const std::vector<std::string> esp{"ab", "\b", "\bc\n", "d\b\b", "e"};
    EXPECT_EQ(Show(Esp32, esp, true, "xyz").Memo, Show(Esp32, esp, false, "xyz").Memo);
}

TEST(RxQueue, ChunksFromAnotherThreadArriveWholeAndInOrder) {
    TRxQueue queue;
    constexpr int kChunks = 20000;
    std::thread producer([&] {
        for (int i = 0; i < kChunks; ++i) queue.Append(std::to_string(i) + ",");
    });
    std::string got;
    while (got.size() < 108890) {  // total length of "0," ... "19999,"
        if (!queue.Empty()) got += queue.TakeAll().Bytes;
    }
    producer.join();
    got += queue.TakeAll().Bytes;
    std::string expected;
    for (int i = 0; i < kChunks; ++i) expected += std::to_string(i) + ",";
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(queue.Empty());
}

TEST(ReceivePath, EverySplitOfABatchShowsTheSameInEveryMode) {
    const std::vector<std::string> batches{
        "\x1b[31mred\x1b[0m \x07ok\r\n\x1b[1;32mHello\x1b[K> ",
        "typed\b\b\b\bxt\b\r\n\x1b[?25lx\x1b",
        std::string("\x1b[") + std::string(70, '1') + "mtail\r\n",
    };
    for (const auto& mode : BoardModes())
        for (const auto& b : batches) {
            const std::string whole = Show(mode, {b}, true, "memo:").Memo;
            for (size_t k = 0; k <= b.size(); ++k)
                ASSERT_EQ(Show(mode, {b.substr(0, k), b.substr(k)}, true, "memo:").Memo, whole)
                    << mode.Caption << ", split at " << k;
        }
}

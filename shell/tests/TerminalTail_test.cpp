// The terminal's tail against the whole memo text: whatever batches arrive, the last line (and so the board's
// warning) found in the tail is the one found in the whole text, or the tail says it must be reset.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "shell/LogicalLines.h"
#include "shell/TerminalTail.h"
#include "shell/WarningDetector.h"

using namespace kes;

namespace {

TDrainedBatch Append(std::string text) {
    TDrainedBatch b;
    b.Append = std::move(text);
    return b;
}

std::string LastOf(std::string_view text) { return std::string(LastLine(text).Of(text)); }

}  // namespace

TEST(TerminalTail, KeepsOnlyTheLastLineAndFindsTheWarningAcrossBatches) {
    TTerminalTail tail;
    tail.Apply(Append("first line ok\r\n: dup"));
    tail.Apply(Append(" ALREADY"));
    EXPECT_FALSE(FindBoardWarning(tail.Text()));
    tail.Apply(Append(" DEFINED\r\n"));
    ASSERT_TRUE(tail.Valid());
    EXPECT_EQ(tail.Text(), ": dup ALREADY DEFINED\r\n");
    EXPECT_EQ(FindBoardWarning(tail.Text()).value_or(""), ": dup ALREADY DEFINED");
    tail.Apply(Append("next ok\r\n"));
    EXPECT_EQ(tail.Text(), "next ok\r\n");
    EXPECT_FALSE(FindBoardWarning(tail.Text()));
}

TEST(TerminalTail, ClearAndEraseFollowTheMemoOrAskForAReset) {
    TTerminalTail tail;
    tail.Apply(Append("a ok\r\nbc"));
    TDrainedBatch erase;
    erase.EraseChars = 1;
    tail.Apply(erase);
    ASSERT_TRUE(tail.Valid());
    EXPECT_EQ(LastOf(tail.Text()), "b");
    // Erasing the whole kept line reaches into the line before it, which the tail no longer holds.
    erase.EraseChars = 1;
    tail.Apply(erase);
    EXPECT_FALSE(tail.Valid());
    tail.Reset("a ok\r\n");
    EXPECT_EQ(LastOf(tail.Text()), "a ok");
    TDrainedBatch clear = Append("fresh");
    clear.ClearMemo = true;
    tail.Apply(clear);
    ASSERT_TRUE(tail.Valid());
    EXPECT_EQ(tail.Text(), "fresh");
    erase.EraseChars = 10;  // more than the whole memo holds
    tail.Apply(erase);
    EXPECT_FALSE(tail.Valid());
    // A user's edit makes it invalid until reset.
    tail.Reset("x");
    tail.Invalidate();
    tail.Apply(Append("y"));
    EXPECT_FALSE(tail.Valid());
}

TEST(TerminalTail, RandomBatchesGiveTheSameLastLineAsTheWholeText) {
    std::mt19937 rng(1234);
    const char alphabet[] = {'a', 'b', ' ', '\r', '\n', '\r', 'x'};
    for (int round = 0; round < 200; ++round) {
        TTerminalTail tail;
        std::string memo;
        for (int step = 0; step < 40; ++step) {
            TDrainedBatch b;
            const int kind = static_cast<int>(rng() % 10);
            if (kind == 0) b.ClearMemo = true;
            if (kind == 1 || kind == 2) b.EraseChars = rng() % 4;
            const int n = static_cast<int>(rng() % 6);
            for (int i = 0; i < n; ++i) b.Append += alphabet[rng() % sizeof alphabet];
            ApplyDrainedBatch(memo, b);
            tail.Apply(b);
            if (!tail.Valid()) tail.Reset(memo);
            ASSERT_EQ(LastOf(tail.Text()), LastOf(memo)) << "round " << round << " step " << step;
        }
    }
}

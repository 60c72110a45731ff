#include "shell/CommandHistory.h"

#include <gtest/gtest.h>

using namespace kes;

TEST(CommandHistory, UpAfterSendingRecallsThatCommand) {
    TCommandHistory h;
    h.Add("one");
    h.Add("two");
    EXPECT_EQ(h.Up(), "two");
    EXPECT_EQ(h.Up(), "one");
    EXPECT_EQ(h.Up(), std::nullopt);  // already the oldest
    EXPECT_EQ(h.Down(), "two");
    EXPECT_EQ(h.Down(), "");  // past the newest: the line is emptied
    EXPECT_TRUE(h.PastEnd());
    EXPECT_EQ(h.Down(), "");
    EXPECT_EQ(h.Up(), "two");
    h.Add("three");
    EXPECT_EQ(h.Up(), "three");
}

TEST(CommandHistory, EmptyHistory) {
    TCommandHistory h;
    EXPECT_EQ(h.Up(), std::nullopt);
    EXPECT_EQ(h.Down(), "");
    EXPECT_EQ(h.Up(), std::nullopt);
}

TEST(CommandHistory, KeepsTheNewestFifty) {
    TCommandHistory h;
    for (int i = 1; i <= 51; ++i) h.Add("c" + std::to_string(i));
    ASSERT_EQ(h.Count(), TCommandHistory::MaxCommands);
    EXPECT_EQ(h.Items().front(), "c2");
    EXPECT_EQ(h.Items().back(), "c51");
    EXPECT_EQ(h.Cursor(), 49);
    std::optional<std::string> last;
    int steps = 0;
    while (auto s = h.Up()) last = s, ++steps;
    EXPECT_EQ(steps, 50);
    EXPECT_EQ(last, "c2");
}

#include "shell/LogicalLines.h"

#include <gtest/gtest.h>

#include "shell/WarningDetector.h"

using namespace kes;

TEST(LogicalLines, LineUnderTheCaret) {
    const std::string text = "first\r\nsecond line\r\n\r\nlast";
    EXPECT_EQ(LineAt(text, 0).Of(text), "first");
    EXPECT_EQ(LineAt(text, 5).Of(text), "first");  // caret after the line's last character
    EXPECT_EQ(LineAt(text, 6).Of(text), "first");  // between CR and LF
    EXPECT_EQ(LineAt(text, 7).Of(text), "second line");
    EXPECT_EQ(LineAt(text, 20).Of(text), "");  // the empty line
    EXPECT_EQ(LineAt(text, text.size()).Of(text), "last");
    EXPECT_EQ(LineAt(text, 999).Of(text), "last");
    EXPECT_EQ(LineAt("", 0).Length(), 0u);
    // Lone CR and LF end lines too, and a long line is one line however the memo wraps it.
    const std::string mixed = "a\rb\nc" + std::string(500, 'x');
    EXPECT_EQ(LineAt(mixed, 2).Of(mixed), "b");
    EXPECT_EQ(LineAt(mixed, 300).Of(mixed), "c" + std::string(500, 'x'));
}

TEST(LogicalLines, DeletingTheCaretLine) {
    const std::string text = "one\r\ntwo\r\nthree";
    EXPECT_EQ(LineDeletionAt(text, 6).Of(text), "two\r\n");
    EXPECT_EQ(LineDeletionAt(text, 0).Of(text), "one\r\n");
    EXPECT_EQ(LineDeletionAt(text, text.size()).Of(text), "three");  // last line: the line end before stays
    const std::string emptyLast = "ok\r\n";
    TTextRange r = LineDeletionAt(emptyLast, 4);
    EXPECT_EQ(r.Start, 4u);
    EXPECT_EQ(r.Length(), 0u);
    EXPECT_EQ(LineDeletionAt("a\nb", 0).Of("a\nb"), "a\n");
}

TEST(LogicalLines, LastLineIgnoresOneFinalLineEnd) {
    auto last = [](std::string_view t) { return std::string(LastLine(t).Of(t)); };
    EXPECT_EQ(last("a\r\nb"), "b");
    EXPECT_EQ(last("a\r\nb\r\n"), "b");
    EXPECT_EQ(last("a\r\nb\r\n\r\n"), "");
    EXPECT_EQ(last("a\nb\n"), "b");
    EXPECT_EQ(last("a\rb\r"), "b");
    EXPECT_EQ(last("\r\n"), "");
    EXPECT_EQ(last(""), "");
}

TEST(BoardWarning, OnlyTheLastLineInExactCaseCounts) {
    const std::string dup = "dup ALREADY DEFINED";
    EXPECT_EQ(FindBoardWarning(": x ;\r\n" + dup), dup);
    EXPECT_EQ(FindBoardWarning(": x ;\r\n" + dup + "\r\n"), dup);
    EXPECT_EQ(FindBoardWarning("x COMPILE ONLY ok"), "x COMPILE ONLY ok");
    EXPECT_FALSE(FindBoardWarning("dup already defined"));
    EXPECT_FALSE(FindBoardWarning("ALREADY DEFINED"));  // no leading blank
    EXPECT_FALSE(FindBoardWarning(dup + "\r\n ok\r\n"));
    // A long line wrapped on screen is still one line.
    const std::string wide = std::string(300, 'w') + " ALREADY DEFINED";
    EXPECT_EQ(FindBoardWarning("x\r\n" + wide), wide);
    EXPECT_EQ(BoardWarningLogText(dup), " Warning: " + dup);
    EXPECT_EQ(BoardWarningCaption(dup), "Warning: " + dup);
}

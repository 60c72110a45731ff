#include "tools/boardsim/Control.h"

#include <gtest/gtest.h>

namespace boardsim {
namespace {

std::string Cmd(Board& board, std::string_view command, Millis now = 0) { return RunControl(board, command, now).text; }

std::string Drain(Board& board, Millis now) {
    std::string out;
    for (std::string_view bytes; !(bytes = board.Pending(now)).empty();) {
        out += bytes;
        board.Consumed(bytes.size(), now);
    }
    return out;
}

TEST(ControlCommands, SettingsReachTheBoard) {
    Board board;
    EXPECT_EQ(Cmd(board, "ping"), "ok\n");
    EXPECT_EQ(Cmd(board, "mode esp32\r"), "ok\n");
    EXPECT_EQ(board.GetLineEnd(), LineEnd::Lf);
    EXPECT_EQ(Cmd(board, "mode cr"), "ok\n");
    EXPECT_EQ(board.GetLineEnd(), LineEnd::Cr);
    EXPECT_EQ(Cmd(board, "delay 250"), "ok\n");
    EXPECT_EQ(board.Delay(), 250);
    EXPECT_EQ(Cmd(board, "  speed  960 "), "ok\n");
    EXPECT_EQ(board.Speed(), 960);
    EXPECT_EQ(Cmd(board, "silent-after 0"), "ok\n");
    EXPECT_TRUE(board.Silent());
    EXPECT_EQ(Cmd(board, "silent-after off"), "ok\n");
    EXPECT_FALSE(board.Silent());
}

TEST(ControlCommands, BadInputIsRefusedAndChangesNothing) {
    Board board;
    for (const char* bad :
         {"mode dos", "delay", "delay -5", "delay 12x", "speed 99999999999999", "burst ten", "silent-after never",
          "send 1", "send zz", "text bad\\q", "text end\\", "text \\x4", "frobnicate", ""}) {
        EXPECT_EQ(Cmd(board, bad).rfind("error ", 0), 0u) << bad;
    }
    EXPECT_EQ(board.Delay(), 0);
    EXPECT_EQ(board.Speed(), 0);
    EXPECT_FALSE(board.OutputQueued());
}

TEST(ControlCommands, ScriptedOutputInAllItsForms) {
    Board board;
    EXPECT_EQ(Cmd(board, "send 1b 5b 33 31 6d 00ff"), "ok\n");
    EXPECT_EQ(Cmd(board, "text \\e[0m \\a\\x07\\\\ "), "ok\n");
    EXPECT_EQ(Cmd(board, "pause 40"), "ok\n");
    EXPECT_EQ(Cmd(board, "burst 3"), "ok\n");
    EXPECT_EQ(Drain(board, 0), std::string("\x1b[31m\0\xff", 7) + "\x1b[0m \a\a\\ ");
    EXPECT_EQ(Drain(board, 40), "012");
}

TEST(ControlCommands, LinesAndViolationsReportTheRecord) {
    Board board;
    Cmd(board, "delay 10");
    board.Receive("a\\b\r", 3);
    board.Receive(std::string("\x01\xfe\r", 3), 4);
    EXPECT_EQ(Cmd(board, "lines"), "ok 2\n3 paced a\\\\b\n4 early \\x01\\xfe\n");
    EXPECT_EQ(Cmd(board, "violations"), "ok 1\n");
    EXPECT_EQ(Cmd(board, "count"), "ok 2\n");
    EXPECT_EQ(Cmd(board, "timeline"), "ok 2\n-1 0 0\n-1 0 0\n");  // no microsecond clock given here
    EXPECT_EQ(Cmd(board, "received"), "ok a\\\\b\\x0d\\x01\\xfe\\x0d\n");
    Cmd(board, "reset");
    EXPECT_EQ(Cmd(board, "received"), "ok\n");
}

TEST(ControlCommands, PurgeAndResetAskToFlushTheLine) {
    Board board;
    Cmd(board, "delay 10");
    board.Receive(": w ;\r", 0);
    ControlAnswer purge = RunControl(board, "purge", 1);
    EXPECT_TRUE(purge.flushLine);
    EXPECT_FALSE(board.OutputQueued());
    EXPECT_EQ(board.Delay(), 10);
    ControlAnswer reset = RunControl(board, "reset", 2);
    EXPECT_TRUE(reset.flushLine);
    EXPECT_EQ(board.Delay(), 0);
    EXPECT_FALSE(board.Defined("w"));
    EXPECT_FALSE(RunControl(board, "lines", 3).flushLine);
}

TEST(ControlText, EscapeLineAndUnescapeRoundTrip) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    const std::string escaped = EscapeLine(all);
    EXPECT_EQ(escaped.find_first_of("\r\n"), std::string::npos);
    std::string back;
    ASSERT_TRUE(Unescape(escaped, back));
    EXPECT_EQ(back, all);
}

}  // namespace
}  // namespace boardsim

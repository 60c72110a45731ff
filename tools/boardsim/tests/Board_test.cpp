#include "tools/boardsim/Board.h"

#include <gtest/gtest.h>

#include <set>

namespace boardsim {
namespace {

// Everything the board would write at `now`, one write after the other.
std::string Drain(Board& board, Millis now) {
    std::string out;
    for (std::string_view bytes; !(bytes = board.Pending(now)).empty();) {
        out += bytes;
        board.Consumed(bytes.size(), now);
    }
    return out;
}

TEST(BoardLineEnds, CrModeEchoesAndAnswersAtCrAndIgnoresLf) {
    Board board;
    board.Receive("1 2 + .\r\n", 0);
    EXPECT_EQ(Drain(board, 0), "1 2 + . ok\r\n");
    board.Receive("\r", 5);
    EXPECT_EQ(Drain(board, 5), " ok\r\n");
    ASSERT_EQ(board.Lines().size(), 2u);
    EXPECT_EQ(board.Lines()[0].text, "1 2 + .");
    EXPECT_EQ(board.Lines()[1].text, "");
    EXPECT_EQ(board.Lines()[1].at, 5);
}

TEST(BoardLineEnds, Esp32ModeEndsAtLfAndIgnoresCr) {
    Board board;
    board.SetLineEnd(LineEnd::Lf);
    board.Receive("wo", 0);
    board.Receive("rds\r", 1);
    EXPECT_EQ(Drain(board, 1), "words");
    EXPECT_TRUE(board.Lines().empty());
    board.Receive("\n", 2);
    EXPECT_EQ(Drain(board, 2), " ok\r\n");
    ASSERT_EQ(board.Lines().size(), 1u);
    EXPECT_EQ(board.Lines()[0].text, "words");
}

TEST(BoardLineEnds, EveryReceivedByteIsKeptAsItCame) {
    Board board;
    board.Receive("typed\n\r", 0);  // LF is ignored by the line logic but kept in what was received
    EXPECT_EQ(board.Lines().back().text, "typed");
    board.SetSilentAfter(0);
    board.Receive(std::string("x\0\r", 3), 1);
    board.Purge();
    EXPECT_EQ(board.Received(), std::string("typed\n\rx\0\r", 10));
    board.Reset(2);
    EXPECT_EQ(board.Received(), "");

    // Only the newest bytes are kept.
    board.Receive(std::string(Board::kMaxReceivedBytes, 'a'), 3);
    board.Receive("end", 4);
    ASSERT_EQ(board.Received().size(), Board::kMaxReceivedBytes);
    EXPECT_EQ(board.Received().substr(Board::kMaxReceivedBytes - 4), "aend");
}

TEST(BoardLineEnds, BackspaceIsEchoedAndEditsTheInterpretedLine) {
    Board board;
    board.Receive(": ab\bc ;\r", 0);
    EXPECT_EQ(Drain(board, 0), ": ab\bc ; ok\r\n");
    EXPECT_EQ(board.Lines()[0].text, ": ab\bc ;");
    EXPECT_TRUE(board.Defined("ac"));
    EXPECT_FALSE(board.Defined("ab"));
}

TEST(BoardAnswers, DelayHoldsTheAnswerButNotTheEcho) {
    Board board;
    board.SetDelay(50);
    board.Receive("dup\r", 100);
    EXPECT_EQ(Drain(board, 100), "dup");
    EXPECT_EQ(board.NextWakeup(100, true, true), 50);
    EXPECT_EQ(Drain(board, 149), "");
    EXPECT_EQ(Drain(board, 150), " ok\r\n");
    EXPECT_EQ(board.NextWakeup(150, true, true), -1);
}

TEST(BoardAnswers, SecondDefinitionIsAlreadyDefinedInAnyLetterCase) {
    Board board;
    board.Receive(": blink 1 ;\r", 0);
    EXPECT_EQ(Drain(board, 0), ": blink 1 ; ok\r\n");
    board.Receive(": BLINK 2 ;\r", 1);
    EXPECT_EQ(Drain(board, 1), ": BLINK 2 ; BLINK ALREADY DEFINED\r\n");
    // The refused definition is abandoned: the board interprets again.
    board.Receive("if\r", 2);
    EXPECT_EQ(Drain(board, 2), "if COMPILE ONLY\r\n");
}

TEST(BoardAnswers, DefinitionsSpanLinesAndCommentsDefineNothing) {
    Board board;
    board.Receive(": sq ( n -- n*n : x )\r", 0);
    board.Receive("  dup * if then\r", 0);
    board.Receive(";\r", 0);
    board.Receive("\\ : sq\r", 0);
    board.Receive("( : sq ) 5 sq .\r", 0);
    EXPECT_EQ(Drain(board, 0),
              ": sq ( n -- n*n : x ) ok\r\n  dup * if then ok\r\n; ok\r\n\\ : sq ok\r\n"
              "( : sq ) 5 sq . ok\r\n");
    EXPECT_TRUE(board.Defined("sq"));
    EXPECT_FALSE(board.Defined("x"));
    board.Receive(";\r", 1);
    EXPECT_EQ(Drain(board, 1), "; COMPILE ONLY\r\n");
}

TEST(BoardAnswers, SilentAfterStopsEchoAndAnswersButKeepsRecording) {
    Board board;
    board.SetSilentAfter(2);
    board.Receive("1\r2\r3\r4\r", 0);
    EXPECT_EQ(Drain(board, 0), "1 ok\r\n2 ok\r\n");
    EXPECT_EQ(board.Lines().size(), 4u);
    EXPECT_TRUE(board.Silent());
    board.Send("still scripted", 1);
    EXPECT_EQ(Drain(board, 1), "still scripted");
    board.SetSilentAfter(-1);
    board.Receive("5\r", 2);
    EXPECT_EQ(Drain(board, 2), "5 ok\r\n");
}

TEST(BoardPacing, LineStartingBeforeTheAnswerIsEarly) {
    Board board;
    board.SetDelay(100);
    board.Receive("a\r", 0);
    Drain(board, 0);
    board.Receive("b", 50);  // the answer to "a" is still waiting
    board.Receive("\r", 60);
    Drain(board, 100);  // " ok" for a, then the echo of b
    Drain(board, 200);  // the answer to b
    board.Receive("c\r", 210);
    EXPECT_EQ(board.Violations(), 1);
    ASSERT_EQ(board.Lines().size(), 3u);
    EXPECT_FALSE(board.Lines()[0].early);
    EXPECT_TRUE(board.Lines()[1].early);
    EXPECT_FALSE(board.Lines()[2].early);
}

TEST(BoardPacing, AnswerCountsAsSentWithTheLineEndTheTerminalWaitsFor) {
    Board cr;
    cr.SetSpeed(100);  // one byte per write, handed over 10 ms after the one before
    cr.Receive("\r", 0);
    for (Millis t = 0; t <= 40; t += 10) cr.Consumed(cr.Pending(t).size(), t);  // " ok\r" out, LF not yet
    cr.Receive("x", 45);
    EXPECT_EQ(cr.Violations(), 0);

    Board esp;
    esp.SetLineEnd(LineEnd::Lf);
    esp.SetSpeed(100);
    esp.Receive("\n", 0);
    for (Millis t = 0; t <= 40; t += 10) esp.Consumed(esp.Pending(t).size(), t);  // CR out, LF not yet
    esp.Receive("x", 45);
    EXPECT_EQ(esp.Violations(), 1);
}

TEST(BoardPacing, SilentLinesAwaitNoAnswer) {
    Board board;
    board.SetSilentAfter(0);
    board.Receive("a\rb\r", 0);
    EXPECT_EQ(board.Violations(), 0);
}

TEST(BoardSpeed, LimitsBothDirections) {
    Board board;
    board.SetSpeed(1000);  // 10 bytes per 10 ms slice, handed over once the line carried them
    board.Send(std::string(25, 'x'), 0);
    EXPECT_TRUE(board.Pending(9.9).empty());
    EXPECT_EQ(board.NextWakeup(0, true, false), 10);
    EXPECT_EQ(board.Pending(10).size(), 10u);
    board.Consumed(10, 10);
    EXPECT_TRUE(board.Pending(15).empty());
    EXPECT_EQ(board.NextWakeup(15, true, false), 5);
    EXPECT_EQ(board.Pending(20).size(), 10u);

    EXPECT_EQ(board.InputAllowance(0), 10u);
    board.Receive("0123456789", 0);
    EXPECT_EQ(board.InputAllowance(9), 0u);
    EXPECT_EQ(board.NextWakeup(9, false, true), 1);
    EXPECT_EQ(board.InputAllowance(10), 10u);

    board.SetSpeed(1);  // books the line for 5 s
    board.Consumed(5, 10);
    board.SetSpeed(0);
    EXPECT_EQ(board.InputAllowance(10), SIZE_MAX);
    EXPECT_EQ(board.NextWakeup(10, true, true), 0);
}

TEST(BoardSpeed, ChunksVaryWithinTheirBoundsAndKeepTheSpeed) {
    Board board;
    board.SetSpeed(11520);
    board.SetChunk(16, 32);
    board.Send(std::string(2000, 'x'), 0);
    std::set<std::size_t> sizes;
    Millis now = 0;
    std::size_t sent = 0;
    while (sent < 2000) {
        const std::size_t n = board.Pending(now).size();
        if (n == 0) {
            ++now;
            continue;
        }
        EXPECT_GE(n, std::min<std::size_t>(16, 2000 - sent));
        EXPECT_LE(n, 32u);
        sizes.insert(n);
        board.Consumed(n, now);
        sent += n;
    }
    EXPECT_GT(sizes.size(), 5u);
    EXPECT_NEAR(static_cast<double>(now), 2000 * 1000.0 / 11520, 10);  // still the line's speed
}

// A fast line (921600 baud: 92160 bytes a second): the echo and the answer are each handed over when their last byte
// crossed, the answer after the echo, on a clock finer than milliseconds.
TEST(BoardSpeed, AnAnswersLineEndComesWhenTheLineHasCarriedIt) {
    Board board;
    board.SetSpeed(92160);
    board.Receive(": a ;\r", 0);
    const Instant byte = 1000.0 / 92160;
    EXPECT_TRUE(board.Pending(5 * byte - 0.001).empty());
    EXPECT_NEAR(board.NextWakeup(0, true, false), 5 * byte, 1e-9);
    EXPECT_EQ(board.Pending(5 * byte), ": a ;");
    board.Consumed(5, 5 * byte);
    EXPECT_TRUE(board.Pending(10 * byte - 0.001).empty());
    EXPECT_EQ(board.Pending(10 * byte), " ok\r\n");
}

// The I/O loop writes late (a loaded machine): the line keeps its own timeline, so that the bytes still take the
// line's time in all and no more.
TEST(BoardSpeed, LateWritesKeepTheLinesTimeline) {
    Board board;
    board.SetSpeed(1000000);
    board.SetChunk(16, 32);
    board.Send(std::string(10000, 'x'), 0);
    Instant now = 0;
    std::size_t sent = 0;
    while (sent < 10000) {
        now += 0.05;  // wakes every 50 us, later than most pieces are due
        for (std::string_view bytes; !(bytes = board.Pending(now)).empty();) {
            board.Consumed(bytes.size(), now);
            sent += bytes.size();
        }
    }
    EXPECT_NEAR(now, 10.0, 0.1);
}

// The timeline of each line on the microsecond clock: the answer before it, its first byte, its line end.
TEST(BoardPacing, EachLineKeepsWhenItsAnswerBeforeItWentOutAndWhenItCame) {
    Board board;
    board.SetMicros(100);
    board.Receive("a\r", 0);
    board.SetMicros(150);
    EXPECT_EQ(Drain(board, 0), "a ok\r\n");
    board.SetMicros(400);
    board.Receive("b", 0);
    board.SetMicros(420);
    board.Receive("\r", 0);
    ASSERT_EQ(board.Lines().size(), 2u);
    EXPECT_EQ(board.Lines()[0].answeredUs, -1);
    EXPECT_EQ(board.Lines()[0].firstUs, 100);
    EXPECT_EQ(board.Lines()[1].answeredUs, 150);
    EXPECT_EQ(board.Lines()[1].firstUs, 400);
    EXPECT_EQ(board.Lines()[1].endUs, 420);
}

TEST(BoardAnswers, SplitAnswersSendTheLineEndApartAndItStillPaces) {
    Board board;
    board.SetSplitAnswers(5);
    board.Receive(": w 1 ;\r: w 2 ;\r", 0);
    std::vector<std::pair<Millis, std::string>> writes;
    for (Millis now = 0; now < 50; ++now)
        for (std::string_view p; !(p = board.Pending(now)).empty();) {
            writes.push_back({now, std::string(p)});
            board.Consumed(p.size(), now);
        }
    ASSERT_GE(writes.size(), 4u);
    EXPECT_EQ(writes[1], (std::pair<Millis, std::string>{0, " ok"}));
    EXPECT_EQ(writes[2], (std::pair<Millis, std::string>{5, "\r\n"}));
    EXPECT_EQ(writes.back(), (std::pair<Millis, std::string>{10, "\r\n"}));
    EXPECT_NE(writes[writes.size() - 2].second.find(" w ALREADY DEFINED"), std::string::npos);
    // A line that comes between an answer's text and its line end is early.
    Board early;
    early.SetSplitAnswers(5);
    early.Receive("1\r", 0);
    early.Consumed(early.Pending(0).size(), 0);  // the echo
    early.Consumed(early.Pending(0).size(), 0);  // " ok"
    early.Receive("2\r", 1);
    EXPECT_EQ(early.Violations(), 1);
}

TEST(BoardScript, WritesStayApartAndPausesSeparateThem) {
    Board board;
    board.Send("\x1b[31m", 0);
    board.Pause(30, 0);
    board.Send(std::string("\0\xff\a", 3), 0);
    board.Burst(12, 0);
    std::string_view first = board.Pending(0);
    EXPECT_EQ(first, "\x1b[31m");
    board.Consumed(2, 0);  // a partial write
    EXPECT_EQ(board.Pending(0), "31m");
    board.Consumed(3, 0);
    EXPECT_TRUE(board.Pending(29).empty());
    EXPECT_EQ(board.Pending(30), std::string_view("\0\xff\a", 3));
    board.Consumed(3, 30);
    EXPECT_EQ(board.Pending(30), "012345678901");
}

TEST(BoardScript, EchoWaitsBehindQueuedOutput) {
    Board board;
    board.SetDelay(20);
    board.Receive("a\rb\r", 0);
    EXPECT_EQ(Drain(board, 0), "a");
    EXPECT_EQ(Drain(board, 20), " ok\r\nb");
    EXPECT_EQ(Drain(board, 40), " ok\r\n");
}

TEST(BoardState, PurgeDropsOutputAndPartialLineResetForgetsEverything) {
    Board board;
    board.SetDelay(10);
    board.SetLineEnd(LineEnd::Lf);
    board.Receive(": w ;\n", 0);
    board.Purge();
    EXPECT_FALSE(board.OutputQueued());
    board.Receive("partial", 1);  // the dropped answer is not awaited
    board.Purge();
    board.Receive("\n", 2);
    EXPECT_EQ(board.Lines().back().text, "");  // the partial line was dropped
    EXPECT_EQ(board.Violations(), 0);
    EXPECT_TRUE(board.Defined("w"));

    board.Reset(1000);
    EXPECT_FALSE(board.Defined("w"));
    EXPECT_TRUE(board.Lines().empty());
    EXPECT_EQ(board.GetLineEnd(), LineEnd::Cr);
    EXPECT_EQ(board.Delay(), 0);
    board.Receive("x\r", 1005);
    EXPECT_EQ(board.Lines()[0].at, 5);
}

}  // namespace
}  // namespace boardsim

#include "shell/UploadHandshake.h"

#include <gtest/gtest.h>

#include "UploadFakes.h"

using namespace kes;
using kes::testing::FakeClock;

namespace {

// Records the lines as they go out and when.
struct RecordingPort : UploadPort {
    FakeClock& clock;
    std::vector<std::string> lines;
    std::vector<std::uint64_t> at;
    bool fail = false;
    explicit RecordingPort(FakeClock& c) : clock(c) {}
    bool Connected() override { return true; }
    std::string LineEnd() override { return "\r"; }
    bool Write(const std::string& bytes, std::string& error) override {
        if (fail) {
            error = "The device does not recognize the command.";
            return false;
        }
        lines.push_back(bytes);
        at.push_back(clock.now);
        return true;
    }
};

struct Handshake : ::testing::Test {
    FakeClock clock;
    RecordingPort port{clock};
    UploadHandshake hs{clock, port, UploadHandshake::kLineTimeoutMs, 1};  // one line kept ahead

    void SetUp() override { hs.Start('\r'); }
    // The first line goes out at once; the second is kept and waits for the first one's answer.
    WaitOutcome WaitLine() {
        EXPECT_EQ(hs.Send("a\r"), WaitOutcome::Answered);
        return hs.Send("b\r");
    }
};

}  // namespace

TEST_F(Handshake, TheNextLineGoesOutAtTheAnswersLineEndAndTheWaitSleeps) {
    EXPECT_EQ(hs.Send("a\r"), WaitOutcome::Answered);
    EXPECT_EQ(hs.Send("b\r"), WaitOutcome::Answered);  // kept: no wait yet
    EXPECT_EQ(port.lines.size(), 1u);
    clock.After(1200, [this] { hs.BytesArrived("a ok\r\n", 0); });
    const auto start = clock.now;
    EXPECT_EQ(hs.Send("c\r"), WaitOutcome::Answered);  // waits until b went out
    EXPECT_EQ(clock.now - start, 1200u);
    EXPECT_EQ(port.at, (std::vector<std::uint64_t>{start, start + 1200}));
    EXPECT_LE(clock.pumps, 2);  // one sleep up to the answer; no spinning
    // A second line end in the same bytes came before b was written: it does not answer b.
    clock.After(10, [this] { hs.BytesArrived("b ok\r\nstale\r", 0); });
    clock.After(20, [this] { hs.LineEnded(); });
    EXPECT_EQ(hs.Finish(), WaitOutcome::Answered);
    EXPECT_EQ(port.lines, (std::vector<std::string>{"a\r", "b\r", "c\r"}));
    EXPECT_EQ(port.at.back(), start + 1210);
    EXPECT_EQ(hs.Written(), 3);
}

TEST_F(Handshake, LinesKeptAheadGoOutInTurnOnePerLineEnd) {
    UploadHandshake ahead{clock, port, UploadHandshake::kLineTimeoutMs, 3};
    ahead.Start('\r');
    for (const char* line : {"1\r", "2\r", "3\r", "4\r"}) EXPECT_EQ(ahead.Send(line), WaitOutcome::Answered);
    EXPECT_TRUE(ahead.Full());
    EXPECT_EQ(clock.pumps, 0);  // nothing waited yet
    ahead.BytesArrived("ok\rok\r", 0);  // two line ends at once: the second came before line 2 was written
    EXPECT_EQ(port.lines, (std::vector<std::string>{"1\r", "2\r"}));
    ahead.LineEnded();
    EXPECT_EQ(port.lines.size(), 3u);
    ahead.RequestCancel();  // line 4 is dropped
    ahead.LineEnded();
    EXPECT_EQ(port.lines.size(), 3u);
    EXPECT_EQ(ahead.Written(), 3);
}

// The board answers `perTenMs` lines every 10 ms for a second while the lines are handed over as fast as they may be:
// the lines kept ahead cover what it takes in a tenth of a second, never fewer than the least, never more than the
// most; a fast board is followed within a few lines already (before a whole span passed); once they follow the pace,
// no line end finds the hand-over empty; the lines go out one per line end, in order.
TEST_F(Handshake, TheLinesKeptAheadFollowTheBoardsPace) {
    struct Case {
        int perTenMs;
        size_t ahead;
        bool early;  // more than the least after 30 ms
    };
    const Case cases[] = {
        {1, UploadHandshake::kLinesAhead, false},  // 115200 baud and slower: the least
        {3, 30, false},                            // 3.3 ms a line
        {20, 200, true},                           // 0.5 ms a line: 921600 baud, USB
        {200, UploadHandshake::kMostLinesAhead, true},
    };
    for (const Case& c : cases) {
        FakeClock clk;
        RecordingPort out{clk};
        UploadHandshake paced{clk, out};
        paced.Start('\r');
        int handed = 0;
        int writtenBefore = 0;
        size_t mostKept = 0;
        for (int tick = 0; tick < 100; ++tick) {
            if (tick == 3) {
                EXPECT_EQ(paced.LinesAhead() > UploadHandshake::kLinesAhead, c.early) << c.perTenMs << " after 30 ms";
            }
            if (tick == 50) writtenBefore = paced.Written();  // the pace is followed after a few spans
            while (!paced.Full()) ASSERT_EQ(paced.Send(std::to_string(handed++) + "\r"), WaitOutcome::Answered);
            mostKept = std::max<size_t>(mostKept, static_cast<size_t>(handed - paced.Written()));
            clk.now += 10;
            for (int i = 0; i < c.perTenMs; ++i) paced.LineEnded();
        }
        EXPECT_EQ(paced.LinesAhead(), c.ahead) << c.perTenMs << " lines every 10 ms";
        EXPECT_LE(mostKept, std::max(c.ahead, static_cast<size_t>(c.perTenMs * 10 + 16))) << c.perTenMs;
        EXPECT_EQ(paced.Written() - writtenBefore, c.perTenMs * 50) << c.perTenMs;
        for (size_t i = 0; i < out.lines.size(); ++i) ASSERT_EQ(out.lines[i], std::to_string(i) + "\r");
        EXPECT_EQ(clk.wakes, 0) << "nobody waited for room";
    }
}

// A full hand-over: Send sleeps until half of the kept lines went out, and the receive side wakes it then, once.
TEST_F(Handshake, AFullHandOverWakesTheSenderWhenHalfOfItWentOut) {
    UploadHandshake ahead{clock, port, UploadHandshake::kLineTimeoutMs, 4};
    ahead.Start('\r');
    for (const char* line : {"1\r", "2\r", "3\r", "4\r", "5\r"}) ASSERT_EQ(ahead.Send(line), WaitOutcome::Answered);
    ASSERT_TRUE(ahead.Full());
    for (int i = 1; i <= 3; ++i) clock.After(i, [&ahead] { ahead.LineEnded(); });
    int wakesAtSecond = -1;
    clock.After(2, [&] { wakesAtSecond = clock.wakes; });
    const auto start = clock.now;
    EXPECT_EQ(ahead.Send("6\r"), WaitOutcome::Answered);
    EXPECT_EQ(clock.now - start, 2u) << "back when 2 of the 4 kept lines went out";
    EXPECT_EQ(wakesAtSecond, 1);
    EXPECT_EQ(port.lines, (std::vector<std::string>{"1\r", "2\r", "3\r"}));
    // A failed write at a line end wakes a waiting sender too, which then stops.
    while (!ahead.Full()) ASSERT_EQ(ahead.Send("x\r"), WaitOutcome::Answered);
    port.fail = true;
    clock.After(1, [&ahead] { ahead.LineEnded(); });
    EXPECT_EQ(ahead.Send("y\r"), WaitOutcome::WriteFailed);
    EXPECT_EQ(clock.wakes, 2);
}

TEST_F(Handshake, TimeOutAfterFiveSecondsCountedAfreshPerLine) {
    clock.After(4900, [this] { hs.LineEnded(); });
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    EXPECT_EQ(hs.Send("c\r"), WaitOutcome::Answered);  // b went out after 4.9 s
    const auto start = clock.now;
    EXPECT_EQ(hs.Finish(), WaitOutcome::TimedOut);
    EXPECT_EQ(clock.now - start, 5000u);
}

TEST_F(Handshake, AnswerWinsOverATimeOutThatPassedMeanwhile) {
    // A handler that ran long: the answer and the passing of the time-out are seen in the same pump.
    clock.After(10, [this] {
        hs.LineEnded();
        clock.now += 9000;
    });
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    EXPECT_EQ(hs.Send("c\r"), WaitOutcome::Answered);
}

TEST_F(Handshake, ALineEndBeforeAnyWriteDoesNotCount) {
    hs.LineEnded();  // stale: no line waits
    EXPECT_EQ(hs.Send("a\r"), WaitOutcome::Answered);
    EXPECT_EQ(hs.Finish(), WaitOutcome::TimedOut);
}

TEST_F(Handshake, CancelDropsTheKeptLineAndEndsTheWaitAtOnce) {
    clock.After(1000, [this] { hs.RequestCancel(); });
    const auto start = clock.now;
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    EXPECT_EQ(hs.Finish(), WaitOutcome::Cancelled);
    EXPECT_EQ(clock.now - start, 1000u);
    hs.LineEnded();  // the answer after the cancel writes nothing
    EXPECT_EQ(port.lines, (std::vector<std::string>{"a\r"}));
    // The flag stays until it is cleared.
    EXPECT_EQ(hs.Send("c\r"), WaitOutcome::Cancelled);
    hs.ClearCancel();
    hs.Start('\r');
    clock.After(5, [this] { hs.LineEnded(); });
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    EXPECT_EQ(hs.Finish(), WaitOutcome::TimedOut);  // b went out and was not answered
    EXPECT_EQ(port.lines.size(), 3u);
}

TEST_F(Handshake, AFailedWriteAtTheAnswerStopsTheWaitWithItsReason) {
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    port.fail = true;
    clock.After(3, [this] { hs.LineEnded(); });
    EXPECT_EQ(hs.Send("c\r"), WaitOutcome::WriteFailed);
    EXPECT_EQ(hs.WriteError(), "The device does not recognize the command.");
}

// What the answer's line end does with the kept line, by what came before it in the board's line.
TEST_F(Handshake, ALineThatMayHoldAWarningIsHeldUntilTheTerminalCheckedIt) {
    struct Case {
        const char* answer;
        bool held;
    };
    const Case cases[] = {
        {" ok\r\n", false},
        {": a  a ALREADY DEFINED\r\n", true},
        {"if COMPILE ONLY\r", true},
        {"\x1b[31mred\r\n", true},  // an escape: the terminal's filter decides what the line shows
        {"ab\bc\r", true},          // a backspace
        {"x\tok\r\n", false},
        {" ALREADY DEFINED\r\n ok\r\n", true},  // held at the first line end already
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        hs.Start('\r');
        port.lines.clear();
        EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
        hs.BytesArrived(c.answer, 0);
        EXPECT_EQ(hs.Held(), c.held);
        EXPECT_EQ(port.lines.size(), c.held ? 1u : 2u);
        if (!c.held) {
            hs.LineEnded();
            continue;
        }
        hs.AnswerChecked();  // the terminal has not taken the bytes yet
        EXPECT_EQ(port.lines.size(), 1u);
        hs.BytesTaken(std::string(c.answer).size());
        hs.AnswerChecked();
        EXPECT_EQ(port.lines.size(), 2u);
        hs.LineEnded();
    }
}

// The receive side hears whether a line waits for its answer, to look for it without pause: from a write to its
// answer's line end, not while a line end is held for the terminal's check, nor when nothing was written.
TEST_F(Handshake, AnAnswerIsAwaitedFromTheWriteToItsLineEndOnly) {
    EXPECT_FALSE(hs.AnswerAwaited());
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    EXPECT_TRUE(hs.AnswerAwaited());
    hs.BytesArrived("a ok\r\n", 0);  // b goes out at a's line end and waits in turn
    EXPECT_EQ(port.lines.size(), 2u);
    EXPECT_TRUE(hs.AnswerAwaited());
    hs.BytesArrived("b ALREADY DEFINED\r\n", 0);  // held for the check
    EXPECT_TRUE(hs.Held());
    EXPECT_FALSE(hs.AnswerAwaited());
    hs.BytesTaken(27);
    hs.AnswerChecked();  // nothing kept: no line waits
    EXPECT_FALSE(hs.AnswerAwaited());
    EXPECT_EQ(hs.Send("c\r"), WaitOutcome::Answered);
    EXPECT_TRUE(hs.AnswerAwaited());
    hs.RequestCancel();
    hs.LineEnded();
    EXPECT_FALSE(hs.AnswerAwaited());
}

TEST_F(Handshake, TheWarningsLineEndIsFoundAlsoWithLfAnswersAndAcrossChunks) {
    hs.Start('\n');
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    hs.BytesArrived("dup ALREA", 7);  // 7 bytes of an earlier answer still wait for the terminal
    hs.BytesArrived("DY DEFINED\r", 16);
    EXPECT_FALSE(hs.Held());  // CR alone does not answer an ESP32 line
    hs.BytesArrived("\n", 27);
    EXPECT_TRUE(hs.Held());
    hs.BytesTaken(27);
    hs.AnswerChecked();
    EXPECT_EQ(port.lines.size(), 1u);  // the line end itself is not taken yet
    hs.BytesTaken(1);
    hs.AnswerChecked();
    EXPECT_EQ(port.lines.size(), 2u);
}

TEST_F(Handshake, QuestionYesReleasesAHeldLineAndPausesTheTimeOut) {
    // Open for 20 s inside a handler (a message box), the warning's line end came meanwhile, answered Yes.
    clock.After(4000, [this] {
        hs.BytesArrived("x ALREADY DEFINED", 0);
        hs.QuestionOpened();
        hs.BytesArrived("\r\n", 17);
        clock.now += 20000;
        hs.QuestionAnswered(true);
    });
    const auto start = clock.now;
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    EXPECT_EQ(hs.Send("c\r"), WaitOutcome::Answered);
    EXPECT_EQ(clock.now - start, 24000u);
    EXPECT_EQ(port.at.back(), start + 24000);
}

TEST_F(Handshake, YesBeforeTheWarningsLineEndletsTheCheckReleaseItOnce) {
    // The question was asked and answered before the line ended: the line end is held for the terminal's check,
    // which asks nothing again, and the line goes out once.
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    hs.BytesArrived("x ALREADY DEFINED", 0);
    hs.QuestionOpened();
    hs.QuestionAnswered(true);
    EXPECT_EQ(port.lines.size(), 1u);
    hs.BytesArrived("\r\n", 17);
    hs.BytesTaken(19);
    hs.AnswerChecked();
    hs.AnswerChecked();
    EXPECT_EQ(port.lines.size(), 2u);
    EXPECT_EQ(hs.Send("c\r"), WaitOutcome::Answered);  // kept: b waits for its own answer
    hs.AnswerChecked();
    EXPECT_EQ(port.lines.size(), 2u);
}

TEST_F(Handshake, TimeOutResumesAfterTheQuestionWithTheTimeThatWasLeft) {
    // The board ended no line and the question was answered No without pressing Cancel: the time-out runs
    // on from where it stood (4 s gone, 1 s left).
    clock.After(4000, [this] {
        hs.QuestionOpened();
        clock.now += 20000;
        hs.QuestionAnswered(false);
    });
    const auto start = clock.now;
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    EXPECT_EQ(hs.Send("c\r"), WaitOutcome::TimedOut);
    EXPECT_EQ(clock.now - start, 25000u);
}

TEST_F(Handshake, AnAnswerWhileTheQuestionIsOpenWaitsForTheUsersChoice) {
    // A host that shows the question outside the wait's handlers: the answer arrives meanwhile, the
    // user then says No.
    clock.After(100, [this] { hs.QuestionOpened(); });
    clock.After(200, [this] { hs.LineEnded(); });
    clock.After(30000, [this] {
        hs.QuestionAnswered(false);
        hs.RequestCancel();
    });
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    EXPECT_EQ(hs.Send("c\r"), WaitOutcome::Cancelled);
    EXPECT_EQ(clock.now, 1000u + 30000u);
    EXPECT_EQ(port.lines.size(), 1u);
}

TEST_F(Handshake, QuitRequestLeavesTheWait) {
    clock.QuitAfter(300);
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    EXPECT_EQ(hs.Finish(), WaitOutcome::QuitRequested);
}

#include "shell/UploadHandshake.h"

#include <gtest/gtest.h>

#include "UploadFakes.h"

using namespace kes;
using kes::testing::FakeClock;

namespace {

struct Handshake : ::testing::Test {
    FakeClock clock;
    UploadHandshake hs{clock};

    WaitOutcome WaitLine() {
        hs.BeginLine();
        return hs.WaitForAnswer();
    }
};

}  // namespace

TEST_F(Handshake, AnswerReleasesTheLineAndTheWaitSleeps) {
    clock.After(1200, [this] { hs.LineEnded(); });
    const auto start = clock.now;
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    EXPECT_EQ(clock.now - start, 1200u);
    // One sleep up to the answer; no spinning.
    EXPECT_LE(clock.pumps, 2);
    EXPECT_FALSE(hs.Waiting());
}

TEST_F(Handshake, TimeOutAfterFiveSecondsCountedAfreshPerLine) {
    clock.After(4900, [this] { hs.LineEnded(); });
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    const auto start = clock.now;
    EXPECT_EQ(WaitLine(), WaitOutcome::TimedOut);
    EXPECT_EQ(clock.now - start, 5000u);
}

TEST_F(Handshake, AnswerWinsOverATimeOutThatPassedMeanwhile) {
    // A handler that ran long: the answer and the passing of the time-out are seen in the same pump.
    clock.After(10, [this] {
        hs.LineEnded();
        clock.now += 9000;
    });
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
}

TEST_F(Handshake, AnswerBeforeTheLineOrOutsideAWaitDoesNotCount) {
    hs.LineEnded();  // stale: no line waits
    hs.BeginLine();
    EXPECT_EQ(hs.WaitForAnswer(), WaitOutcome::TimedOut);
}

TEST_F(Handshake, CancelEndsTheWaitAtOnce) {
    clock.After(1000, [this] { hs.RequestCancel(); });
    const auto start = clock.now;
    EXPECT_EQ(WaitLine(), WaitOutcome::Cancelled);
    EXPECT_EQ(clock.now - start, 1000u);
    // The flag stays until it is cleared.
    EXPECT_EQ(WaitLine(), WaitOutcome::Cancelled);
    hs.ClearCancel();
    clock.After(5, [this] { hs.LineEnded(); });
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
}

TEST_F(Handshake, QuestionYesReleasesAWaitingLineAndPausesTheTimeOut) {
    // Open for 20 s inside a handler (a message box), answered Yes.
    clock.After(4000, [this] {
        hs.QuestionOpened();
        clock.now += 20000;
        hs.QuestionAnswered(true);
    });
    const auto start = clock.now;
    EXPECT_EQ(WaitLine(), WaitOutcome::Answered);
    EXPECT_EQ(clock.now - start, 24000u);
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
    EXPECT_EQ(WaitLine(), WaitOutcome::TimedOut);
    EXPECT_EQ(clock.now - start, 25000u);
}

TEST_F(Handshake, YesWithNoLineWaitingReleasesNothing) {
    hs.QuestionOpened();
    hs.QuestionAnswered(true);
    EXPECT_EQ(WaitLine(), WaitOutcome::TimedOut);
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
    EXPECT_EQ(WaitLine(), WaitOutcome::Cancelled);
    EXPECT_EQ(clock.now, 1000u + 30000u);
}

TEST_F(Handshake, QuitRequestLeavesTheWait) {
    clock.QuitAfter(300);
    EXPECT_EQ(WaitLine(), WaitOutcome::QuitRequested);
    EXPECT_FALSE(hs.Waiting());
}

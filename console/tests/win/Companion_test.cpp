// The companion as a whole, run as its own process with piped input and output.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

#include "base/win/Unique.h"
#include "testsupport/CompanionProcess.h"

using namespace tirvane_test;

namespace {

const char* kHidden = "KestrupTirvane";

// Starts a companion and waits until it serves (its hidden window appears after the server is on).
std::unique_ptr<CompanionProcess> StartServing() {
    EXPECT_TRUE(WaitPortFree());
    auto c = std::make_unique<CompanionProcess>();
    EXPECT_TRUE(c->Started());
    EXPECT_TRUE(PumpUntil([] { return CountWindowsTitled(kHidden) == 1; }, 15000)) << c->Output();
    return c;
}

// Where two long texts part (a plain comparison would have the test framework diff 200 kB).
std::size_t FirstDifference(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return i;
}

}  // namespace

TEST(Companion, PrintsReceivedBytesWithCrTurnedIntoLf) {
    auto c = StartServing();
    ASSERT_TRUE(SendToCompanion("\x1b[31mhi\r\n"));
    ASSERT_TRUE(c->WaitOutput("hi\n\n")) << c->Output();
    EXPECT_EQ(c->Output(), kBanner + "\x1b[31mhi\n\n");

    // One connection per batch, as the terminal sends them: every batch printed, in order.
    std::string expected;
    for (int i = 0; i < 40; ++i) {
        const std::string batch = "b" + std::to_string(i) + "\r";
        ASSERT_TRUE(SendToCompanion(batch));
        expected += "b" + std::to_string(i) + "\n";
    }
    ASSERT_TRUE(c->WaitOutput(expected)) << c->Output();

    // A batch far larger than one receive arrives whole.
    std::string big;
    for (int i = 0; big.size() < 200000; ++i) big += std::to_string(i) + (i % 10 ? " " : "\r\n");
    ASSERT_TRUE(SendToCompanion(big));
    std::string bigShown = big;
    for (char& ch : bigShown)
        if (ch == '\r') ch = '\n';
    ASSERT_TRUE(c->WaitOutput(bigShown, 20000));
    const std::string all = c->Output(), want = kBanner + "\x1b[31mhi\n\n" + expected + bigShown;
    EXPECT_TRUE(all == want) << "first difference at byte " << FirstDifference(all, want) << " of " << all.size();

    c->Type("*exit\r\n");
    EXPECT_EQ(c->WaitExit(), 0);
    EXPECT_EQ(CountWindowsTitled(kHidden), 0);
}

TEST(Companion, SecondCompanionReportsBindFailureFirstKeepsServing) {
    auto first = StartServing();
    CompanionProcess second;
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.WaitExit(15000), 1);
    EXPECT_EQ(second.Output(), kBanner + kBindFailureLine);
    EXPECT_EQ(CountWindowsTitled(kHidden), 1);

    ASSERT_TRUE(SendToCompanion("still here\r"));
    EXPECT_TRUE(first->WaitOutput("still here\n")) << first->Output();
    first->Type("*Exit\n");
    EXPECT_EQ(first->WaitExit(), 0);
}

TEST(Companion, TypedLinesGoToTheTerminalMainWindowOnly) {
    // A message box of the terminal bears the caption "Kestrup" as well; it must get nothing.
    RecordingWindow decoy("KestrupDecoyBox", "Kestrup");
    RecordingWindow terminal("TKestrup", "Kestrup");
    ASSERT_TRUE(decoy.Handle() && terminal.Handle());
    auto c = StartServing();

    c->Type("1 2 + .\r\n*exit \r\n\r\n");
    ASSERT_TRUE(PumpUntil([&] { return terminal.Received().size() == 3; }, 10000));
    const auto got = terminal.Received();
    EXPECT_EQ(got[0].wParam, 0u);
    EXPECT_EQ(got[0].dwData, 0u);
    EXPECT_EQ(got[0].cbData, 9u);  // line length + 2
    EXPECT_EQ(got[0].bytes, std::string("1 2 + .\n\0", 9));
    EXPECT_EQ(got[1].bytes, std::string("*exit \n\0", 8));  // a blank makes it an ordinary line
    EXPECT_EQ(got[2].bytes, std::string("\n\0", 2));

    c->Type("*EXIT\r\nnever sent\r\n");
    EXPECT_EQ(c->WaitExit(), 0);
    PumpUntil([] { return false; }, 200);  // that nothing more comes: no event to wait for
    EXPECT_EQ(terminal.Received().size(), 3u);
    EXPECT_TRUE(decoy.Received().empty());
}

TEST(Companion, HungTerminalDoesNotHoldUpTheCompanion) {
    // A terminal window whose thread stops taking messages.
    const kes::UniqueHandle release = kes::NewEvent(true, false);
    const kes::UniqueHandle created = kes::NewEvent(true, false);
    std::thread hung([&] {
        RecordingWindow terminal("TKestrup", "Kestrup");
        SetEvent(created.Get());
        WaitForSingleObject(release.Get(), INFINITE);
    });
    WaitForSingleObject(created.Get(), 5000);
    auto c = StartServing();

    const DWORD start = GetTickCount();
    c->Type("lost line\n");
    c->Type("*exit\n");
    EXPECT_EQ(c->WaitExit(15000), 0);
    EXPECT_LT(GetTickCount() - start, 8000u);
    SetEvent(release.Get());
    hung.join();
}

TEST(Companion, IdleCompanionWaitsInsteadOfSpinning) {
    auto c = StartServing();
    const double before = c->CpuMs();
    PumpUntil([] { return false; }, 2000);  // the processor time over a fixed idle span is what is judged
    const double used = c->CpuMs() - before;
    std::printf("idle companion: %.1f ms of processor time in 2 s\n", used);
    EXPECT_GE(used, 0.0);
    EXPECT_LT(used, 300.0) << "ms of processor time in 2 s idle";
    c->Type("*exit\n");
    EXPECT_EQ(c->WaitExit(), 0);
}

TEST(Companion, WithoutTerminalLinesVanishAndOutputGoesOn) {
    auto c = StartServing();
    c->Type("nobody listens\n");
    ASSERT_TRUE(SendToCompanion("after"));
    EXPECT_TRUE(c->WaitOutput("after")) << c->Output();
    EXPECT_EQ(c->Output(), kBanner + "after");
    // End of input without "*exit": the companion keeps serving.
    c->CloseInput();
    ASSERT_TRUE(SendToCompanion(" more"));
    EXPECT_TRUE(c->WaitOutput("after more"));
    EXPECT_EQ(c->WaitExit(300), -1);
}

TEST(Companion, AnIdleClientDelaysNoOtherAndIsClosedAfterAWhile) {
    auto c = StartServing();
    IdleClient idle;
    ASSERT_TRUE(idle.Connected());
    PumpUntil([] { return false; }, 100);  // the companion takes the silent connection in its own time, unseen
    // Each batch shows at once, though a connection accepted before it stays open and silent.
    DWORD slowest = 0;
    std::string expected;
    for (int i = 0; i < 5; ++i) {
        const std::string batch = "quick" + std::to_string(i) + " ";
        const DWORD start = GetTickCount();
        ASSERT_TRUE(SendToCompanion(batch));
        expected += batch;
        ASSERT_TRUE(c->WaitOutput(expected)) << c->Output();
        slowest = std::max(slowest, GetTickCount() - start);
    }
    std::printf("with an idle client open: slowest batch shown after %lu ms\n", slowest);
    EXPECT_LT(slowest, 300u);

    // More idle clients than the companion serves at once: the idlest make room, batches still get through.
    {
        std::vector<std::unique_ptr<IdleClient>> crowd;
        for (int i = 0; i < 40; ++i) crowd.push_back(std::make_unique<IdleClient>());
        ASSERT_TRUE(SendToCompanion("through the crowd"));
        EXPECT_TRUE(c->WaitOutput("through the crowd", 3000)) << c->Output();
        EXPECT_TRUE(idle.ClosedByCompanion(1000)) << "the first idle client made room";
    }
    IdleClient late;
    ASSERT_TRUE(late.Connected());
    EXPECT_TRUE(late.ClosedByCompanion(10000)) << "closed after some seconds without data";
    c->Type("*exit\n");
    EXPECT_EQ(c->WaitExit(), 0);
}

TEST(Companion, TellsItsUserWhenTheTerminalDidNotTakeALine) {
    RecordingWindow terminal("TKestrup", "Kestrup", 0);  // the port is closed, say
    auto c = StartServing();
    c->Type("1 2 +\n");
    ASSERT_TRUE(c->WaitOutput("Kestrup did not take the line")) << c->Output();
    EXPECT_EQ(c->Output(), kBanner + "Kestrup did not take the line (port closed, line too long or write failed).\r\n");
    ASSERT_EQ(terminal.Received().size(), 1u);
    c->Type("*exit\n");
    EXPECT_EQ(c->WaitExit(), 0);
}

TEST(CompanionConsole, OutputKeepsFlowingWhileTheUserTypes) {
    RecordingWindow terminal("TKestrup", "Kestrup");
    ASSERT_TRUE(WaitPortFree());
    ConsoleCompanion c;
    ASSERT_TRUE(c.Attached());
    auto shown = [&](const std::string& text) {
        return PumpUntil(
            [&] {
                for (int row = 0; row < 40; ++row)
                    if (c.Row(row).find(text) != std::string::npos) return true;
                return false;
            },
            8000);
    };
    ASSERT_TRUE(PumpUntil([] { return SendToCompanion("ready\r\n"); }, 15000));
    ASSERT_TRUE(shown("ready"));

    // A lone Shift, then half a line: what the board sends is printed all the while.
    c.ShiftDown();
    c.Deliver();
    PumpUntil([] { return false; }, 300);  // the companion reads the lone Shift in its own time and shows nothing
    ASSERT_TRUE(SendToCompanion("after shift\r\n"));
    EXPECT_TRUE(shown("after shift"));
    c.Keys("1 2");
    c.Deliver();
    PumpUntil([] { return false; }, 300);  // the companion reads the keys in its own time and tells nobody
    ASSERT_TRUE(SendToCompanion("while typing\r\n"));
    EXPECT_TRUE(shown("while typing"));
    EXPECT_TRUE(terminal.Received().empty());
    c.Keys(" +\r");
    c.Deliver();
    ASSERT_TRUE(PumpUntil([&] { return terminal.Received().size() == 1; }, 8000));
    EXPECT_EQ(terminal.Received()[0].bytes, std::string("1 2 +\n\0", 7));

    c.Keys("*exit\r");
    c.Deliver();
    EXPECT_EQ(c.WaitExit(), 0);
}

TEST(CompanionConsole, KeysBehindOtherEventsAreKeptAndColoursShow) {
    RecordingWindow terminal("TKestrup", "Kestrup");
    ASSERT_TRUE(WaitPortFree());
    ConsoleCompanion c;
    ASSERT_TRUE(c.Attached());

    // Red text from the link, once the server listens.
    ASSERT_TRUE(PumpUntil([] { return SendToCompanion("\x1b[31mred\x1b[0m plain\r\n"); }, 15000));
    // A console that interprets the sequences shows red text; Wine's own console window (not a terminal)
    // shows the sequence characters instead. Either way the bytes arrive unchanged, CR LF as two lines.
    const std::string shown = "red plain", raw = "\x1b[31mred\x1b[0m plain";
    int row = -1;
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (row = 0; row < 10; ++row)
                if (c.Row(row) == shown || c.Row(row) == raw) return true;
            return false;
        },
        10000));
    EXPECT_EQ(c.Row(row + 1), "");
    if (c.Row(row) == shown) {
        EXPECT_EQ(c.Attribute(row, 0) & 0x0F, FOREGROUND_RED);
        EXPECT_EQ(c.Attribute(row, 4) & 0x0F, FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE);
        EXPECT_EQ(c.Attribute(0, 0) & 0xF0, BACKGROUND_RED);
    } else {
        EXPECT_EQ(c.Row(0).rfind("\x1b[41m   Ver.1.1 Write *exit/*EXIT to terminate console.", 0), 0u) << c.Row(0);
    }

    // Focus and mouse events ahead of the keys: removed, the keys behind them stay.
    c.FocusEvent();
    c.MouseMove();
    c.Keys("2 dup\r");
    c.Deliver();
    ASSERT_TRUE(PumpUntil([&] { return terminal.Received().size() == 1; }, 10000));
    EXPECT_EQ(terminal.Received()[0].bytes, std::string("2 dup\n\0", 7));

    c.FocusEvent();
    c.Keys("*eXit\r");
    c.Deliver();
    EXPECT_EQ(c.WaitExit(), 0);
    EXPECT_EQ(terminal.Received().size(), 1u);
}

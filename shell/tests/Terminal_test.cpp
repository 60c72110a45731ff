#include "shell/Terminal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kes;

namespace {

// The window as the terminal sees it: a memo string, a clock that moves only when told, and a recorder.
class FakeScreen : public TerminalScreen {
public:
    std::string memo, forwarded;
    std::vector<std::string> asked, log;
    int shows = 0, beeps = 0;
    bool heldBack = false, answer = true;
    std::uint64_t now = 1000, showCost = 0;

    std::uint64_t NowMs() override { return now; }
    void ShowText(const TDrainedBatch& edit) override {
        ++shows;
        ApplyDrainedBatch(memo, edit);
        now += showCost;
    }
    std::string ScreenText() override { return memo; }
    void Beep() override { ++beeps; }
    void ShowHeldBack(bool on) override { heldBack = on; }
    void Forward(const std::string& raw) override { forwarded += raw; }
    bool AskWarning(const std::string& line) override {
        asked.push_back(line);
        return answer;
    }
    void Raise() override {}
};

struct Terminal : ::testing::Test {
    FakeScreen screen;
    TTerminal terminal{screen};

    void SetUp() override {
        terminal.SetLogSink({[] { return std::string("12:00:00"); },
                             [this](const std::string& line, bool) { screen.log.push_back(line); }});
    }
    // One receive event and one drain per chunk.
    void Batches(const std::vector<std::string>& chunks) {
        for (const std::string& c : chunks) {
            terminal.Received(c);
            terminal.Drain();
        }
    }
};

}  // namespace

TEST_F(Terminal, NulBytesAreShownAroundAndForwardedUnchangedInEveryMode) {
    for (TBoardType type : {TBoardType::Arduino, TBoardType::Scamp2, TBoardType::ESP32}) {
        FakeScreen s;
        TTerminal t{s};
        t.SetBoardType(type);
        const std::string raw("ab\0cd\r\n\0\0 ok\r\nx\0", 16);
        t.Received(raw);
        t.Drain();
        t.Show();
        EXPECT_EQ(s.memo, "abcd\r\n ok\r\nx") << static_cast<int>(type);
        EXPECT_EQ(s.forwarded, raw);
        EXPECT_EQ(t.Tail().Text(), "x");  // the tail stays the memo's end
    }
}

TEST_F(Terminal, ABellFloodBeepsOncePerBatch) {
    terminal.SetBoardType(TBoardType::Scamp2);
    Batches({std::string(5000, '\a') + "ok", "\a\a", "no bell"});
    EXPECT_EQ(screen.beeps, 2);
    terminal.Show();
    EXPECT_EQ(screen.memo, "okno bell");
}

// An upload that runs as long as the test wants.
struct RunningUpload : TerminalUpload {
    bool running = true;
    bool Running() const override { return running; }
    void AnswerChecked() override {}
    void WarningQuestionOpened() override {}
    void WarningQuestionAnswered(bool) override {}
};

TEST_F(Terminal, TheMemoIsAppendedAtItsOwnPaceAndShowsEverythingInOrder) {
    RunningUpload upload;
    terminal.SetUpload(&upload);
    screen.showCost = 3;  // an append costs 3 ms: during an upload appending takes a kAppendShare-th of the time
    terminal.SetBoardType(TBoardType::ESP32);
    terminal.Received("first\n");
    terminal.Tick();  // due at once
    EXPECT_EQ(screen.shows, 1);
    for (int i = 0; i < 10; ++i) {
        screen.now += 2;
        terminal.Received("line " + std::to_string(i) + "\n");
        terminal.Tick();
    }
    EXPECT_EQ(screen.shows, 1) << "no append before its time";
    terminal.AddText("typed");   // the terminal's own text keeps its place among the board's
    terminal.Received("\b\b!");  // backspaces reach into waiting text
    terminal.Drain();
    screen.now += 3 * TTerminal::kAppendShare - 20;
    terminal.Tick();
    EXPECT_EQ(screen.shows, 2);
    // Without an upload, a board that pauses for a screen refresh has its text shown at once.
    upload.running = false;
    terminal.Received("x");
    terminal.Tick();
    screen.now += TTerminal::kRefreshMs;
    terminal.Tick();
    EXPECT_EQ(screen.shows, 3);
    screen.memo.resize(screen.memo.size() - 1);
    EXPECT_EQ(screen.memo,
              "first\nline 0\nline 1\nline 2\nline 3\nline 4\nline 5\nline 6\nline 7\nline 8\nline 9\n"
              "typ!");
    // A clear screen in the waiting text drops what waited before its batch.
    terminal.SetBoardType(TBoardType::Scamp2);
    terminal.Received("gone");
    terminal.Drain();
    terminal.Received("kept\x1b[2J too");
    terminal.Drain();
    terminal.Show();
    EXPECT_EQ(screen.memo, "kept too");
    // Clear-Screen drops what waits.
    terminal.Received("dropped");
    terminal.Drain();
    screen.memo.clear();
    terminal.ScreenCleared();
    terminal.Show();
    EXPECT_EQ(screen.memo, "");
}

TEST_F(Terminal, AWarningAsksOnceThoughItsLineEndsInALaterBatch) {
    Batches({": dup 1 ;", " dup ALREADY DEFINED", " more", "\r\n", " ok\r\n"});
    ASSERT_EQ(screen.asked.size(), 1u);
    EXPECT_EQ(screen.asked[0], ": dup 1 ; dup ALREADY DEFINED");
    EXPECT_EQ(screen.memo, ": dup 1 ; dup ALREADY DEFINED") << "the line is shown before the question";
    EXPECT_EQ(screen.log, (std::vector<std::string>{"12:00:00 Warning: : dup 1 ; dup ALREADY DEFINED"}));
    // The same words on a new line ask again, and so does the same line after the memo was cleared.
    Batches({": x COMPILE ONLY\r\n"});
    terminal.ScreenCleared();
    screen.memo.clear();
    Batches({": x COMPILE ONLY\r\n"});
    EXPECT_EQ(screen.asked.size(), 3u);
}

TEST_F(Terminal, TheTailIsReadFromTheMemoAfterTheUserEditedIt) {
    Batches({"abc\r\n"});
    terminal.Show();
    screen.memo += " typed ALREADY DEFINED";
    terminal.ScreenEdited();
    Batches({"!"});
    ASSERT_EQ(screen.asked.size(), 1u);
    EXPECT_EQ(screen.asked[0], " typed ALREADY DEFINED!");
}

// A burst of several MiB reaches the memo in pieces of at most kLargestAppend, each cut after a line end (a CR LF
// stays whole), the rest following after a screen refresh; the clear and the backspaces go first, every byte in
// order. Show (before a question, at the end of an upload) shows all that waits at once.
TEST_F(Terminal, ABurstOfManyMiBIsShownInPiecesAfterLineEnds) {
    screen.showCost = 900;  // a MiB's append under Wine
    terminal.SetBoardType(TBoardType::ESP32);
    terminal.Received("old text");
    terminal.Drain();
    terminal.Show();
    std::string burst = "\b\b\bnew\r\n";
    for (int i = 0; burst.size() < 3 * TTerminal::kLargestAppend + 100; ++i)
        burst += "line " + std::to_string(i) + std::string(50 + i % 7, 'x') + "\r\n";
    burst += "no line end yet";
    terminal.Received(burst);
    std::vector<std::string> pieces;
    std::string before = screen.memo;
    for (int tick = 0; tick < 100 && screen.memo.size() < burst.size(); ++tick) {
        screen.now += 1;
        terminal.Tick();
        if (screen.memo != before) {
            pieces.push_back(screen.memo.substr(std::min(before.size(), screen.memo.size())));
            before = screen.memo;
        }
        if (tick == 0) screen.now += TTerminal::kRefreshMs;  // the board paused: the first piece is due
    }
    ASSERT_GE(pieces.size(), 4u);
    for (size_t i = 0; i + 1 < pieces.size(); ++i) {
        EXPECT_LE(pieces[i].size(), TTerminal::kLargestAppend + 1) << i;
        EXPECT_TRUE(pieces[i].ends_with("\r\n")) << i;
    }
    const std::string shown = "old t" + burst.substr(3);
    EXPECT_TRUE(screen.memo == shown) << "first difference at "
                                      << std::mismatch(shown.begin(), shown.end(), screen.memo.begin()).first - shown.begin();
    // Show takes all that waits in one append.
    terminal.Received(burst.substr(3));
    terminal.Drain();
    const int shows = screen.shows;
    terminal.Show();
    EXPECT_EQ(screen.shows, shows + 1);
    EXPECT_TRUE(screen.memo == shown + burst.substr(3));
}

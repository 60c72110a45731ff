#include "shell/UploadEngine.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "UploadFakes.h"

using namespace kes;
using kes::testing::BoardReply;
using kes::testing::FakeBoard;
using Lines = std::vector<std::string>;

namespace {

BoardReply Silent() { return {BoardReply::Silent}; }
BoardReply Slow(std::uint64_t ms) { return {BoardReply::Answer, ms}; }
BoardReply Question(bool yes, std::uint64_t holdMs = 20000) { return {BoardReply::Question, 100, holdMs, yes}; }
BoardReply FailWrite() { return {BoardReply::FailWrite}; }

}  // namespace

TEST(UploadEngine, SendsTheTextLineByLinePacedByTheBoard) {
    FakeBoard b;
    const std::string longLine(5000, 'x');
    auto r = b.Send(": a 1 ;\r\n\\ a comment\r\n\r\n \\ indented\r\nx \\ log y\r\n( log z )\r\n" + longLine + "\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Completed);
    EXPECT_EQ(b.written, (Lines{": a 1 ;", " \\ indented", "x \\ log y", "( log z )", longLine}));
    EXPECT_EQ(b.raw[0], ": a 1 ;\r");
    EXPECT_EQ(b.pacingViolations, 0);
    EXPECT_EQ(b.logLines,
              (Lines{"Sourcefile parsing started", "x \\ log y", "( log z )", "Sourcefile parsing completed"}));
    EXPECT_EQ(b.status, "All text send to processor");
    EXPECT_EQ(b.progressMax, 6);
    EXPECT_EQ(b.progress, 0);
    EXPECT_EQ(b.finished, 1);
    EXPECT_EQ(r.linesWritten, 5);
    EXPECT_FALSE(b.engine.Uploading());
}

TEST(UploadEngine, NothingHappensWithThePortClosedOrNoText) {
    FakeBoard b;
    b.connected = false;
    EXPECT_EQ(b.Send("1 2 +\r\n").outcome, UploadOutcome::NotStarted);
    b.connected = true;
    EXPECT_EQ(b.Send("").outcome, UploadOutcome::NotStarted);
    EXPECT_TRUE(b.written.empty());
    EXPECT_TRUE(b.logLines.empty());
    EXPECT_EQ(b.finished, 0);
}

TEST(UploadEngine, Esp32LinesEndInLineFeed) {
    FakeBoard b;
    b.lineEnd = "\n";
    b.Send("words\r\n");
    EXPECT_EQ(b.raw, (Lines{"words\n"}));
}

TEST(UploadEngine, IncludeFilesAreFollowedRecursivelyAndDirectivesNeverSent) {
    FakeBoard b;
    b.AddFile("C:\\src\\lib.fs", ": lib ;\r\n#include <Sub\\Deep.fs>\r\n( include tail.fs )\r\n: lib2 ;\r\n");
    b.AddFile("C:\\src\\sub\\deep.fs", "\\ deep comment\r\n: deep ;\r\n");
    b.AddFile("C:\\src\\tail.fs", ": tail ;\r\n");
    auto r = b.Send(": one ;\r\n\\ INCLUDE lib.fs\r\n: two ;\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Completed);
    // A "( include " line of an include file is always sent (it is not a comment line).
    EXPECT_EQ(b.written,
              (Lines{": one ;", ": lib ;", ": deep ;", "( include tail.fs )", ": tail ;", ": lib2 ;", ": two ;"}));
    EXPECT_EQ(b.pacingViolations, 0);
    EXPECT_TRUE(b.Logged("\\ INCLUDE lib.fs"));
    EXPECT_TRUE(b.Logged("File \"lib.fs\" found and to be parsed now "));
    EXPECT_TRUE(b.Logged("File \"Sub\\Deep.fs\" found and to be parsed now "));
    EXPECT_LT(b.LogIndex("File \"Sub\\Deep.fs\" parsed "), b.LogIndex("File \"lib.fs\" parsed "));
    EXPECT_EQ(b.maxDepthShown, 2);
    EXPECT_EQ(b.engine.IncludeDepth(), 0);
    EXPECT_TRUE(b.engine.Frames().empty());
    EXPECT_EQ(b.engine.SourceFileList(), (Lines{"C:\\src\\lib.fs", "C:\\src\\Sub\\Deep.fs", "C:\\src\\tail.fs"}));
    // The levels open and close in order.
    std::vector<std::string> levels;
    for (const auto& t : b.trace)
        if (t.rfind("open:", 0) == 0 || t.rfind("close:", 0) == 0) levels.push_back(t);
    EXPECT_EQ(levels,
              (Lines{"open:1:lib.fs", "open:2:Sub\\Deep.fs", "close:2", "open:2:tail.fs", "close:2", "close:1"}));
}

TEST(UploadEngine, IncludeFrameHoldsTheOpenLevels) {
    FakeBoard b;
    b.AddFile("C:\\src\\a.fs", ": a ;\r\n\\ include b.fs\r\n");
    b.AddFile("C:\\src\\b.fs", ": b ;\r\n");
    std::vector<std::string> seen;
    b.onOpenLevel = [&](int depth) {
        const auto& f = b.engine.Frames();
        ASSERT_EQ(static_cast<int>(f.size()), depth);
        seen.push_back(f.back().path + "|" + std::to_string(f.back().lines.size()));
        EXPECT_EQ(b.engine.IncludeDepth(), depth);
    };
    b.Send("\\ include a.fs\r\n");
    EXPECT_EQ(seen, (Lines{"C:\\src\\a.fs|2", "C:\\src\\b.fs|1"}));
}

TEST(UploadEngine, IncludesOfTheSourceTextNeedAcceptIncludes) {
    FakeBoard b;
    b.AddFile("C:\\src\\lib.fs", ": lib ;\r\n\\ include deep.fs\r\n");
    b.AddFile("C:\\src\\deep.fs", ": deep ;\r\n");
    b.engine.AcceptIncludes = false;
    b.Send("\\ include lib.fs\r\n#include <lib.fs>\r\n: after ;\r\n");
    EXPECT_EQ(b.written, (Lines{": after ;"}));
    EXPECT_FALSE(b.Logged("\\ include lib.fs"));
    EXPECT_TRUE(b.warnings.empty());
    // Inside an include file the directive is followed whatever the check box says.
    FakeBoard c;
    c.AddFile("C:\\src\\lib.fs", ": lib ;\r\n\\ include deep.fs\r\n");
    c.AddFile("C:\\src\\deep.fs", ": deep ;\r\n");
    c.engine.AcceptIncludes = true;
    c.Send("\\ include lib.fs\r\n");
    c.engine.AcceptIncludes = false;
    EXPECT_EQ(c.written, (Lines{": lib ;", ": deep ;"}));
}

TEST(UploadEngine, LineEndingInHashIncludeIsSkippedButNotFollowed) {
    FakeBoard b;
    auto r = b.Send(": x ; #include\r\n: y ;\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Completed);
    EXPECT_EQ(b.written, (Lines{": y ;"}));
    EXPECT_TRUE(b.warnings.empty());
}

TEST(UploadEngine, IncludeOnceComparesWholeResolvedPaths) {
    FakeBoard b;
    b.AddFile("C:\\src\\data.fs", ": data ;\r\n");
    b.AddFile("C:\\src\\a.fs", ": a ;\r\n");
    b.AddFile("C:\\src\\lib.fs", ": lib ;\r\n\\ include lib.fs\r\n");
    auto r = b.Send(
        "\\ include data.fs\r\n\\ include a.fs\r\n\\ include lib.fs\r\n\\ include .\\lib.fs\r\n"
        "#include <sub/../LIB.FS>\r\n\\ include main.fs\r\n: end ;\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Completed);
    // a.fs is not taken for data.fs; lib.fs is sent once; the self-include and the main file are refused.
    EXPECT_EQ(b.written, (Lines{": data ;", ": a ;", ": lib ;", ": end ;"}));
    EXPECT_EQ(b.warnings, (Lines{"Include File lib.fs already included! SKIPPING it now!",
                                 "Include File .\\lib.fs already included! SKIPPING it now!",
                                 "Include File sub/../LIB.FS already included! SKIPPING it now!",
                                 "Include File main.fs already included! SKIPPING it now!"}));
    EXPECT_TRUE(b.Logged("Include File lib.fs already included! SKIPPING it now!"));
}

// Trailing dots and blanks name the same file, as the system opens it; a file over the size limit takes the
// not-found path with a line that says why.
TEST(UploadEngine, AliasesOfOneFileAreIncludedOnceAndOversizedFilesAreNotRead) {
    FakeBoard b;
    b.AddFile("C:\\src\\a.fs", ": a ;\r\n");
    b.AddFile("C:\\src\\big.fs", ": big ;\r\n");
    b.tooLarge.insert(IncludePathKey("C:\\src\\big.fs"));
    auto r = b.Send(
        "\\ include a.fs\r\n\\ include a.fs.\r\n#include \"A.FS \"\r\n\\ include main.fs..\r\n"
        "\\ include big.fs\r\n: end ;\r\n");
    EXPECT_EQ(b.written, (Lines{": a ;", ": end ;"}));
    EXPECT_EQ(b.warnings, (Lines{"Include File a.fs. already included! SKIPPING it now!",
                                 "Include File A.FS  already included! SKIPPING it now!",
                                 "Include File main.fs.. already included! SKIPPING it now!",
                                 "Include File larger than 16 MiB: big.fs"}));
    EXPECT_TRUE(b.Logged("ERROR -Include file \"big.fs\" is larger than 16 MiB - not read! "));
    EXPECT_EQ(r.outcome, UploadOutcome::Incomplete);
    EXPECT_EQ(r.missingIncludes, 1);
}

TEST(UploadEngine, NestingDeeperThanTheLimitCancels) {
    FakeBoard b;
    const int files = UploadEngine::kMaxIncludeDepth + 1;
    for (int i = 1; i <= files; ++i)
        b.AddFile("C:\\src\\f" + std::to_string(i) + ".fs",
                  ": w" + std::to_string(i) + " ;\r\n\\ include f" + std::to_string(i + 1) + ".fs\r\n: z ;\r\n");
    auto r = b.Send("\\ include f1.fs\r\n: never ;\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Cancelled);
    EXPECT_EQ(static_cast<int>(b.written.size()), UploadEngine::kMaxIncludeDepth);
    EXPECT_EQ(b.written.back(), ": w16 ;");
    EXPECT_EQ(b.maxDepthShown, UploadEngine::kMaxIncludeDepth);
    EXPECT_TRUE(b.Logged("ERROR -Include file \"f17.fs\" nested deeper than 16 levels! "));
    EXPECT_TRUE(b.Logged("File \"f1.fs\" upload CANCELED! "));
    EXPECT_TRUE(b.Logged("Sourcefile parsing CANCELED!"));
    EXPECT_EQ(b.status, "Upload CANCELED!");
    EXPECT_EQ(b.engine.IncludeDepth(), 0);
    EXPECT_TRUE(b.engine.Frames().empty());
}

TEST(UploadEngine, EofInTheSourceTextEndsTheUploadAsComplete) {
    FakeBoard b;
    auto r = b.Send(": a ;\r\n\\ EOF\r\n: b ;\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Completed);
    EXPECT_EQ(b.written, (Lines{": a ;"}));
    EXPECT_EQ(b.logLines, (Lines{"Sourcefile parsing started", "Source window parsed until an \"EOF\" directive",
                                 "Sourcefile parsing completed"}));
    // Also with comments sent: the source text's eof line is never sent.
    FakeBoard c;
    c.engine.SkipComments = false;
    c.Send(": a ;\r\n( eof )\r\n: b ;\r\n");
    EXPECT_EQ(c.written, (Lines{": a ;"}));
}

TEST(UploadEngine, EofInAnIncludeFileEndsThatFileOnly) {
    for (bool skip : {true, false}) {
        FakeBoard b;
        b.engine.SkipComments = skip;
        b.AddFile("C:\\src\\a.fs", ": a ;\r\n\\ eof\r\n: not-a ;\r\n");
        b.AddFile("C:\\src\\b.fs", ": b ;\r\n#EOF\r\n: not-b ;\r\n");
        auto r = b.Send("\\ include a.fs\r\n\\ include b.fs\r\n: main ;\r\n");
        EXPECT_EQ(r.outcome, UploadOutcome::Completed);
        // "\ eof" (and "( eof") are sent when comments are; "#eof" never.
        if (skip)
            EXPECT_EQ(b.written, (Lines{": a ;", ": b ;", ": main ;"}));
        else
            EXPECT_EQ(b.written, (Lines{"\\ include a.fs", ": a ;", "\\ eof", "\\ include b.fs", ": b ;", ": main ;"}));
        EXPECT_TRUE(b.Logged("\\ eof"));
        EXPECT_TRUE(b.Logged("File \"a.fs\" parsed until an \"EOF\" directive"));
        EXPECT_TRUE(b.Logged("File \"b.fs\" parsed until an \"EOF\" directive"));
        EXPECT_TRUE(b.Logged("File \"b.fs\" parsed "));
    }
}

TEST(UploadEngine, CommentLinesAreSentOnlyWithSkipCommentsOff) {
    const std::string text = "\\ comment\r\n \\ indented\r\n: w ;\r\n";
    FakeBoard on;
    on.Send(text);
    EXPECT_EQ(on.written, (Lines{" \\ indented", ": w ;"}));
    FakeBoard off;
    off.engine.SkipComments = false;
    off.Send(text);
    EXPECT_EQ(off.written, (Lines{"\\ comment", " \\ indented", ": w ;"}));
}

TEST(UploadEngine, SilentBoardTimesOutAndCancels) {
    FakeBoard b;
    b.replies[3] = Silent();
    auto r = b.Send("1\r\n2\r\n3\r\n4\r\n5\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Cancelled);
    EXPECT_EQ(b.written, (Lines{"1", "2", "3"}));
    EXPECT_EQ(b.clock.now - b.writtenAt[2], 5000u);
    const int t = b.LogIndex("Source upload had a TIMEOUT - did not get a CR from MCU");
    ASSERT_GE(t, 0);
    EXPECT_EQ(b.logLines[t + 1], "Upload will be CANCELED");
    EXPECT_EQ(b.logLines.back(), "Sourcefile parsing CANCELED!");
    EXPECT_EQ(b.status, "Upload CANCELED!");
    EXPECT_EQ(b.progress, 5);  // keeps its place: the last line handed over
    EXPECT_FALSE(b.engine.Uploading());
}

TEST(UploadEngine, TimeOutInAnIncludeFileLogsThatFileFirst) {
    FakeBoard b;
    b.AddFile("C:\\src\\a.fs", ": a1 ;\r\n: a2 ;\r\n");
    b.replies[2] = Silent();
    b.Send("\\ include a.fs\r\n: main ;\r\n");
    EXPECT_EQ(b.written, (Lines{": a1 ;", ": a2 ;"}));
    EXPECT_LT(b.LogIndex("File \"a.fs\" upload CANCELED! "), b.LogIndex("Sourcefile parsing CANCELED!"));
    EXPECT_FALSE(b.Logged("ERROR -Include file \"a.fs\" not found! "));
    EXPECT_EQ(b.engine.IncludeDepth(), 0);
}

TEST(UploadEngine, SlowAnswersWithinTheTimeOutGoOn) {
    FakeBoard b;
    for (int i = 1; i <= 3; ++i) b.replies[i] = Slow(4900);
    auto r = b.Send("1\r\n2\r\n3\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Completed);
    EXPECT_EQ(b.pacingViolations, 0);
}

TEST(UploadEngine, CancelDuringAWaitStopsAtOnce) {
    FakeBoard b;
    b.replies[2] = Silent();
    b.duringWait[2] = [&] {
        b.clock.now += 1000;
        b.engine.Cancel();
    };
    auto r = b.Send("1\r\n2\r\n3\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Cancelled);
    EXPECT_EQ(b.written, (Lines{"1", "2"}));
    EXPECT_EQ(b.clock.now - b.writtenAt[1], 1000u);
    EXPECT_FALSE(b.Logged("Source upload had a TIMEOUT - did not get a CR from MCU"));
    EXPECT_EQ(b.logLines.back(), "Sourcefile parsing CANCELED!");
    // The next upload starts afresh.
    b.replies.clear();
    b.duringWait.clear();
    b.written.clear();
    EXPECT_EQ(b.Send("4\r\n").outcome, UploadOutcome::Completed);
}

TEST(UploadEngine, CancelWhileAWarningBoxIsOpenIsNotLost) {
    // The "not found" box is modal; the user presses "Cancel upload" while it is open.
    FakeBoard b;
    b.onWarning = [&] { b.engine.Cancel(); };
    auto r = b.Send("\\ include gone.fs\r\n: main ;\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Cancelled);
    EXPECT_TRUE(b.written.empty());
    EXPECT_EQ(b.logLines.back(), "Sourcefile parsing CANCELED!");
}

TEST(UploadEngine, QuestionYesGoesOnAndNoStops) {
    FakeBoard yes;
    yes.replies[2] = Question(true);
    auto r = yes.Send("1\r\n: dup ;\r\n3\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Completed);
    EXPECT_EQ(yes.written, (Lines{"1", ": dup ;", "3"}));
    EXPECT_EQ(yes.pacingViolations, 0);
    EXPECT_FALSE(yes.Logged("Source upload had a TIMEOUT - did not get a CR from MCU"));
    // The question came before the next line was written.
    auto q = std::find(yes.trace.begin(), yes.trace.end(), "question");
    auto w3 = std::find(yes.trace.begin(), yes.trace.end(), "write:3");
    EXPECT_LT(q, w3);

    FakeBoard no;
    no.replies[2] = Question(false);
    r = no.Send("1\r\n: dup ;\r\n3\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Cancelled);
    EXPECT_EQ(no.written, (Lines{"1", ": dup ;"}));
    EXPECT_FALSE(no.Logged("Source upload had a TIMEOUT - did not get a CR from MCU"));
    EXPECT_EQ(no.status, "Upload CANCELED!");
}

TEST(UploadEngine, WriteFailureCancelsAndIsNotANotFound) {
    FakeBoard b;
    b.AddFile("C:\\src\\a.fs", ": a1 ;\r\n: a2 ;\r\n: a3 ;\r\n");
    b.replies[2] = FailWrite();
    auto r = b.Send("\\ include a.fs\r\n: main ;\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Cancelled);
    EXPECT_EQ(b.written, (Lines{": a1 ;"}));
    EXPECT_TRUE(b.Logged("Source upload stopped: COM port write failed - Error writing to port"));
    EXPECT_FALSE(b.Logged("ERROR -Include file \"a.fs\" not found! "));
    EXPECT_TRUE(b.warnings.empty());
    EXPECT_EQ(b.status, "Upload CANCELED!");
    EXPECT_FALSE(b.engine.Uploading());
    EXPECT_EQ(b.engine.IncludeDepth(), 0);

    // A port that throws (the port was closed under the upload) is a write failure as well.
    FakeBoard c;
    c.replies[1] = {BoardReply::ThrowOnWrite};
    EXPECT_EQ(c.Send(": a ;\r\n: b ;\r\n").outcome, UploadOutcome::Cancelled);
    EXPECT_TRUE(c.Logged("Source upload stopped: COM port write failed - Port not open"));
    EXPECT_TRUE(c.written.empty());
}

TEST(UploadEngine, MissingIncludeIsReportedAndTheUploadGoesOn) {
    FakeBoard b;
    auto r = b.Send("\\ include gone.fs\r\n: next ;\r\n\\ include  double-blank.fs\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Incomplete);
    EXPECT_EQ(r.missingIncludes, 2);
    EXPECT_EQ(b.written, (Lines{": next ;"}));
    EXPECT_TRUE(b.Logged("ERROR -Include file \"gone.fs\" not found! "));
    EXPECT_TRUE(b.Logged("ERROR -Include file \"\" not found! "));
    EXPECT_EQ(b.warnings, (Lines{"Include File not found: gone.fs", "Include File not found: "}));
    EXPECT_EQ(b.logLines.back(), "Sourcefile parsing completed - 2 include files NOT FOUND!");
    EXPECT_EQ(b.status, "Upload INCOMPLETE - 2 include files not found!");
    EXPECT_EQ(b.engine.IncludeDepth(), 0);

    FakeBoard one;
    one.Send("#include \"Gone.fs\"\r\n");
    EXPECT_EQ(one.status, "Upload INCOMPLETE - 1 include file not found!");
}

TEST(UploadEngine, NoSecondUploadInsideTheFirst) {
    FakeBoard b;
    UploadResult inner;
    b.duringWait[1] = [&] {
        UploadText t;
        t.lines = {"nested"};
        t.sourceLineCount = 1;
        inner = b.engine.SendTextToMCU(t);
    };
    auto r = b.Send("1\r\n2\r\n");
    EXPECT_EQ(inner.outcome, UploadOutcome::AlreadyRunning);
    EXPECT_EQ(r.outcome, UploadOutcome::Completed);
    EXPECT_EQ(b.written, (Lines{"1", "2"}));
}

TEST(UploadEngine, QuitRequestDuringAWaitEndsTheUploadAndIsReported) {
    FakeBoard b;
    b.AddFile("C:\\src\\a.fs", ": a1 ;\r\n: a2 ;\r\n");
    b.replies[1] = Silent();
    b.clock.QuitAfter(50);
    auto r = b.Send("\\ include a.fs\r\n: main ;\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Cancelled);
    EXPECT_TRUE(r.quitRequested);
    EXPECT_EQ(b.written, (Lines{": a1 ;"}));
    EXPECT_EQ(b.clock.pumpsAfterQuit, 0);
    EXPECT_FALSE(b.engine.Uploading());
}

TEST(UploadEngine, AFailingHostCallLeavesTheEngineIdle) {
    FakeBoard b;
    b.AddFile("C:\\src\\a.fs", ": a ;\r\n\\ include b.fs\r\n");
    b.AddFile("C:\\src\\b.fs", ": b ;\r\n");
    b.onOpenLevel = [](int depth) {
        if (depth == 2) throw std::runtime_error("out of window handles");
    };
    EXPECT_THROW(b.Send("\\ include a.fs\r\n"), std::runtime_error);
    EXPECT_FALSE(b.engine.Uploading());
    EXPECT_EQ(b.engine.IncludeDepth(), 0);
    EXPECT_TRUE(b.engine.Frames().empty());
    b.onOpenLevel = nullptr;
    b.written.clear();
    EXPECT_EQ(b.Send(": again ;\r\n").outcome, UploadOutcome::Completed);
}

TEST(UploadEngine, TheButtonsTakeTheWholeTextOrTheSelectionAsLogicalLines) {
    const std::string text = ": a ;\r\n: b ;\r\n" + std::string(3000, 'c') + "\r\n: d ;";
    EXPECT_TRUE(UploadAllowed(UploadKind::AllText, 1));
    EXPECT_FALSE(UploadAllowed(UploadKind::AllText, 0));
    EXPECT_FALSE(UploadAllowed(UploadKind::Selection, 1));
    EXPECT_TRUE(UploadAllowed(UploadKind::Selection, 2));

    auto all = MakeUploadText(UploadKind::AllText, text);
    EXPECT_EQ(all.sourceLineCount, 4);
    EXPECT_EQ(all.lines, (Lines{": a ;", ": b ;", std::string(3000, 'c'), ": d ;"}));
    // From the middle of the second line into the third.
    auto sel = MakeUploadText(UploadKind::Selection, text, 9, 10);
    EXPECT_EQ(sel.sourceLineCount, 4);
    EXPECT_EQ(sel.lines, (Lines{"b ;", "ccccc"}));
    EXPECT_TRUE(MakeUploadText(UploadKind::Selection, text, 3, 0).lines.empty());
    EXPECT_TRUE(MakeUploadText(UploadKind::Selection, text, 99999, 5).lines.empty());
    EXPECT_EQ(MakeUploadText(UploadKind::AllText, "").sourceLineCount, 0);
}

TEST(UploadEngine, SelectionProgressCountsTheWholeSource) {
    FakeBoard b;
    auto t = MakeUploadText(UploadKind::Selection, "1\r\n2\r\n3\r\n4\r\n", 3, 4);
    t.baseFolder = "C:\\src";
    b.engine.SendTextToMCU(t);
    EXPECT_EQ(b.written, (Lines{"2", "3"}));
    EXPECT_EQ(b.progressMax, 3);
}

TEST(UploadEngine, NestedIncludesWithSelfIncludeAndMissingFile) {
    FakeBoard b;
    b.AddFile("C:\\src\\lib\\one.fs", "\\ one: included by main\r\n: one ;\r\n#include <Two.fs>\r\n: one-b ;\r\n");
    b.AddFile("C:\\src\\two.fs", ": two ;\r\n\\ include two.fs\r\n\\ include missing.fs\r\n: two-b ;\r\n");
    auto r = b.Send(": main ;\r\n\\ include lib\\one.fs\r\n: main-b ;\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Incomplete);
    EXPECT_EQ(b.written, (Lines{": main ;", ": one ;", ": two ;", ": two-b ;", ": one-b ;", ": main-b ;"}));
    EXPECT_EQ(b.pacingViolations, 0);
    for (const char* line : {"File \"lib\\one.fs\" found and to be parsed now ", "File \"Two.fs\" parsed ",
                             "Include File two.fs already included! SKIPPING it now!",
                             "ERROR -Include file \"missing.fs\" not found! ", "File \"lib\\one.fs\" parsed "})
        EXPECT_TRUE(b.Logged(line)) << line;
    EXPECT_EQ(b.logLines.back(), "Sourcefile parsing completed - 1 include file NOT FOUND!");
    EXPECT_EQ(b.engine.IncludeDepth(), 0);
}

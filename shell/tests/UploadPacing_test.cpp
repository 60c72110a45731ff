// The upload paced through the terminal, as the program wires them: the board's answers go through the terminal's
// receive path, which tells the upload of line ends and asks the warning question. The board sends its warning
// and the warning's line end in separate writes.
#include <gtest/gtest.h>

#include <set>

#include "UploadFakes.h"
#include "shell/Terminal.h"

using namespace kes;
using kes::testing::FakeBoard;
using Lines = std::vector<std::string>;

namespace {

class PacedBoard : public FakeBoard, public TerminalScreen, public TerminalUpload {
public:
    TTerminal terminal{*this};
    std::string memo;
    int questions = 0;
    bool answer = true;
    int violations = 0;

    PacedBoard() {
        for (int n = 1; n <= 100; ++n) replies[n].kind = kes::testing::BoardReply::Silent;  // this board answers
        terminal.SetUpload(this);
        terminal.SetLogSink({nullptr, [this](const std::string& line, bool) { logLines.push_back(line); }});
    }

    // The board answers each line 2 ms after it came: an ok, or for a second definition of a word the warning,
    // and 3 ms later the warning's line end.
    bool Write(const std::string& bytes, std::string& error) override {
        if (!FakeBoard::Write(bytes, error)) return false;
        if (owed_) ++violations;  // the previous answer's line end was not sent yet
        owed_ = true;
        const std::string line = written.back();
        const bool again = line.rfind(": ", 0) == 0 && !defined_.insert(line.substr(2, line.find(' ', 2) - 2)).second;
        if (!again) {
            Transmit(2, line + " ok\r\n");
        } else {
            Transmit(2, line + " " + line.substr(2, line.find(' ', 2) - 2) + " ALREADY DEFINED");
            Transmit(3, "\r\n");
        }
        return true;
    }

    // TerminalScreen
    std::uint64_t NowMs() override { return clock.now; }
    void ShowText(const TDrainedBatch& edit) override { ApplyDrainedBatch(memo, edit); }
    std::string ScreenText() override { return memo; }
    void Beep() override {}
    void ShowHeldBack(bool) override {}
    void Forward(const std::string&) override {}
    bool AskWarning(const std::string&) override {
        ++questions;
        trace.push_back("question");
        return answer;
    }
    void Raise() override {}
    // TerminalUpload
    bool Running() const override { return engine.Uploading(); }
    void AnswerChecked() override { engine.Handshake().AnswerChecked(); }
    void WarningQuestionOpened() override { engine.QuestionOpened(); }
    void WarningQuestionAnswered(bool yes) override {
        engine.QuestionAnswered(yes);
        if (!yes) engine.Cancel();
    }

private:
    // One write of the board, `ms` after its previous one (its output is one queue).
    void Transmit(std::uint64_t ms, const std::string& bytes) {
        sendAt_ = std::max(sendAt_, clock.now) + ms;
        clock.At(sendAt_, [this, bytes] {
            if (bytes.find('\r') != std::string::npos) owed_ = false;
            // As the port hands them over: the watch sees them first, then the terminal takes and drains them.
            engine.Handshake().BytesArrived(bytes, 0);
            engine.Handshake().BytesTaken(bytes.size());
            terminal.Received(bytes);
            terminal.Drain();
        });
    }
    std::set<std::string> defined_;
    bool owed_ = false;
    std::uint64_t sendAt_ = 0;
};

}  // namespace

TEST(UploadPacing, YesToARedefinitionLetsEveryLaterLineWaitForItsOwnAnswer) {
    PacedBoard b;
    const auto r = b.Send(": a 1 ;\r\n: a 2 ;\r\n: b 3 ;\r\n: c 4 ;\r\n: a 5 ;\r\n: d 6 ;\r\n: e 7 ;\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Completed);
    EXPECT_EQ(b.written, (Lines{": a 1 ;", ": a 2 ;", ": b 3 ;", ": c 4 ;", ": a 5 ;", ": d 6 ;", ": e 7 ;"}));
    EXPECT_EQ(b.questions, 2) << "one question per warning";
    EXPECT_EQ(b.violations, 0);
    // The line after a warning waits for the warning's line end (5 ms), every other line for its ok (2 ms).
    std::vector<std::uint64_t> gaps;
    for (size_t i = 1; i < b.writtenAt.size(); ++i) gaps.push_back(b.writtenAt[i] - b.writtenAt[i - 1]);
    EXPECT_EQ(gaps, (std::vector<std::uint64_t>{2, 5, 2, 2, 5, 2}));
}

TEST(UploadPacing, NoToARedefinitionStopsBeforeTheNextLine) {
    PacedBoard b;
    b.answer = false;
    const auto r = b.Send(": a 1 ;\r\n: a 2 ;\r\n: b 3 ;\r\n");
    EXPECT_EQ(r.outcome, UploadOutcome::Cancelled);
    EXPECT_EQ(b.written, (Lines{": a 1 ;", ": a 2 ;"}));
    EXPECT_EQ(b.questions, 1);
}

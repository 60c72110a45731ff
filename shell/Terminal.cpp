#include "shell/Terminal.h"

#include <algorithm>
#include <utility>

#include "shell/LogLine.h"
#include "shell/WarningDetector.h"

namespace kes {

void TTerminal::Log(const std::string& message, bool scroll) const {
    if (!log_.AddLine) return;
    log_.AddLine(LogLine(log_.TimeText ? log_.TimeText() : std::string(), message), scroll);
}

void TTerminal::LogTimeLast(const std::string& message) const {
    if (!log_.AddLine) return;
    log_.AddLine(message + (log_.TimeText ? log_.TimeText() : std::string()), false);
}

bool TTerminal::Drain() {
    // The warning question's message box handles messages: no drain runs inside it (the batches wait).
    if (draining_) return false;
    std::optional<TDrainedBatch> batch = rx_.Drain(*mode_);
    if (!batch) return false;
    draining_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{draining_};
    if (batch->Beeps > 0) screen_.Beep();  // a flood of BEL bytes beeps once per batch
    heldBack_ = batch->HeldBack;
    Queue(*batch);
    screen_.Forward(batch->Raw);
    CheckWarning();
    if (upload_ && !rx_.HasQueued()) upload_->AnswerChecked();  // not when bytes came during the question
    return true;
}

void TTerminal::Tick() {
    const std::uint64_t now = screen_.NowMs();
    if (Drain()) lastDrainAt_ = now;
    if (!waiting_) return;
    if (now >= nextShowAt_ || (!Uploading() && now >= lastDrainAt_ + kRefreshMs)) ShowUpTo(kLargestAppend);
}

void TTerminal::Queue(const TDrainedBatch& batch) {
    tail_.Apply(batch);
    if (batch.ClearMemo) {
        waiting_.emplace();
        waiting_->ClearMemo = true;
    }
    if (!waiting_) waiting_.emplace();
    // Backspaces take back waiting text first, then reach into the memo (nothing of it is left after a clear).
    TDrainedBatch& w = *waiting_;
    const size_t fromWaiting = std::min(batch.EraseChars, w.Append.size());
    w.Append.resize(w.Append.size() - fromWaiting);
    if (!w.ClearMemo) w.EraseChars += batch.EraseChars - fromWaiting;
    w.Append += batch.Append;
}

void TTerminal::AddText(const std::string& text) {
    TDrainedBatch batch;
    batch.Append = text;
    Queue(batch);
}

void TTerminal::ShowIfDue() {
    if (waiting_ && screen_.NowMs() >= nextShowAt_) ShowUpTo(kLargestAppend);
}

void TTerminal::Show() { ShowUpTo(std::string::npos); }

void TTerminal::ShowUpTo(size_t largest) {
    if (heldBack_) {
        screen_.ShowHeldBack(*heldBack_);
        heldBack_.reset();
    }
    if (!waiting_) return;
    TDrainedBatch edit;
    bool rest = false;
    if (waiting_->Append.size() <= largest) {
        edit = std::move(*waiting_);
        waiting_.reset();
    } else {
        // The clear and the backspaces go with the first piece; the cut falls after a line end where there is one.
        const size_t lineEnd = waiting_->Append.find_last_of("\r\n", largest - 1);
        size_t cut = lineEnd == std::string::npos ? largest : lineEnd + 1;
        if (cut < waiting_->Append.size() && waiting_->Append[cut - 1] == '\r' && waiting_->Append[cut] == '\n') ++cut;
        edit.ClearMemo = std::exchange(waiting_->ClearMemo, false);
        edit.EraseChars = std::exchange(waiting_->EraseChars, 0);
        edit.Append = waiting_->Append.substr(0, cut);
        waiting_->Append.erase(0, cut);
        rest = true;
    }
    const std::uint64_t start = screen_.NowMs();
    screen_.ShowText(edit);
    const std::uint64_t now = screen_.NowMs();
    nextShowAt_ = rest && !Uploading() ? now + kRefreshMs
                                       : NextShowAt(start, now, Uploading() ? kAppendShare : kAppendShareIdle);
}

void TTerminal::ScreenCleared() {
    waiting_.reset();
    tail_.Clear();
}

void TTerminal::CheckWarning() {
    if (!tail_.Valid()) {
        Show();
        tail_.Reset(screen_.ScreenText());
    }
    const std::optional<std::string> line = FindBoardWarning(tail_.Text());
    if (!line) return;
    // One warning asks once, however many batches later continue or end its line.
    const TTerminalTail::TLineId id = tail_.LastLineId();
    if (asked_ == id) return;
    asked_ = id;
    Show();  // the user sees the line the question is about
    Log(BoardWarningLogText(*line));
    TerminalUpload* upload = Uploading() ? upload_ : nullptr;
    if (upload) upload->WarningQuestionOpened();
    const bool yes = screen_.AskWarning(*line);
    if (upload_ && upload_ == upload) upload_->WarningQuestionAnswered(yes);
}

}  // namespace kes

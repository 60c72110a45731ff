#include "UploadHandshake.h"

#include <algorithm>
#include <exception>

#include "WarningDetector.h"

namespace kes {

namespace {

// A board line longer than this keeps only its end (after its warnings were looked for).
constexpr size_t kLineKept = 4096;
constexpr size_t kLineKeptAfterTrim = 64;

}  // namespace

void UploadHandshake::Start(char answerLineEnd) {
    std::lock_guard<std::mutex> lock(lock_);
    lineEnd_ = answerLineEnd;
    SetAnswer(Answer::None);
    kept_.clear();
    untaken_ = 0;
    paused_ = 0;
    writeFailed_ = false;
    writeError_.clear();
    written_ = 0;
    aheadLimit_ = linesAhead_;
    paceSince_ = host_.NowMs();
    paceWritten_ = 0;
    roomAwaited_ = false;
}

template <typename Done>
WaitOutcome UploadHandshake::WaitUntil(std::unique_lock<std::mutex>& lock, Done&& done) {
    for (;;) {
        if (cancel_) return WaitOutcome::Cancelled;
        if (writeFailed_) return WaitOutcome::WriteFailed;
        if (done()) return WaitOutcome::Answered;  // also when the time-out passed meanwhile
        std::uint32_t sleep = UploadHost::kWaitForever;
        if (!questionOpen_) {
            // Something waits for an answer here: kept lines, or the last line's line end.
            const std::uint64_t deadline = writtenAt_ + timeoutMs_ + paused_;
            const std::uint64_t now = host_.NowMs();
            if (now >= deadline) return WaitOutcome::TimedOut;
            sleep = static_cast<std::uint32_t>(std::min<std::uint64_t>(deadline - now, UploadHost::kWaitForever - 1));
        }
        lock.unlock();
        const bool goOn = host_.ProcessMessages(sleep);
        lock.lock();
        if (!goOn) return WaitOutcome::QuitRequested;
    }
}

WaitOutcome UploadHandshake::Send(const std::string& bytes) {
    std::unique_lock<std::mutex> lock(lock_);
    // Full: waits until half of the kept lines went out; the receive side wakes this thread then, so that the
    // hand-over never runs dry while this thread sleeps until a message comes.
    roomAt_ = kept_.size() >= aheadLimit_ ? aheadLimit_ / 2 : kept_.size();
    roomAwaited_ = kept_.size() > roomAt_;
    const WaitOutcome outcome = WaitUntil(lock, [this] { return kept_.size() <= roomAt_; });
    roomAwaited_ = false;
    if (outcome != WaitOutcome::Answered) return outcome;
    if (answer_ != Answer::None) {
        kept_.push_back(bytes);
        return WaitOutcome::Answered;
    }
    return WriteLocked(bytes) ? WaitOutcome::Answered : WaitOutcome::WriteFailed;
}

WaitOutcome UploadHandshake::Finish() {
    std::unique_lock<std::mutex> lock(lock_);
    return WaitUntil(lock, [this] { return kept_.empty() && answer_ == Answer::None && untaken_ == 0; });
}

bool UploadHandshake::WriteLocked(const std::string& bytes) {
    std::string error;
    bool ok = false;
    try {
        ok = port_.Write(bytes, error);
    } catch (const std::exception& e) {
        error = e.what();
    } catch (...) {
        error = "unknown error";
    }
    if (!ok) {
        writeFailed_ = true;
        writeError_ = error;
        SetAnswer(Answer::None);
        return false;
    }
    ++written_;
    SetAnswer(Answer::Awaited);
    writtenAt_ = host_.NowMs();
    paused_ = 0;
    if (questionOpen_) openedAt_ = writtenAt_;
    FollowPace(writtenAt_);
    return true;
}

// The lines kept ahead follow the board's pace over the last span, never fewer than the least. A span that already
// took twice the lines that may be kept ends early (a fast board at the start of an upload: the GUI thread's first
// display work would otherwise outlast the few lines kept).
void UploadHandshake::FollowPace(std::uint64_t now) {
    const std::uint64_t span = now - std::min(now, paceSince_);
    const auto lines = static_cast<std::uint64_t>(written_ - paceWritten_);
    if (span < kPaceSpanMs && (lines < 2 * aheadLimit_ || span < kPaceSpanMs / 10)) return;
    const std::uint64_t covering = lines * kAheadMs / span;
    aheadLimit_ = static_cast<size_t>(
        std::clamp<std::uint64_t>(covering, linesAhead_, std::max<std::uint64_t>(linesAhead_, kMostLinesAhead)));
    paceSince_ = now;
    paceWritten_ = written_;
}

void UploadHandshake::ReleaseLocked() {
    SetAnswer(Answer::None);
    if (kept_.empty()) return;
    const std::string bytes = std::move(kept_.front());
    kept_.pop_front();
    WriteLocked(bytes);
    // After the write: the line is on its way before the GUI thread is woken to hand over more.
    if (roomAwaited_ && (kept_.size() <= roomAt_ || writeFailed_)) {
        roomAwaited_ = false;
        host_.Wake();
    }
}

void UploadHandshake::SetAnswer(Answer answer) {
    answer_ = answer;
    awaited_.store(answer == Answer::Awaited, std::memory_order_relaxed);
}

bool UploadHandshake::LineSuspect() const { return finishedOdd_ || HoldsBoardWarning(finished_); }

void UploadHandshake::LineEndLocked(size_t through) {
    untaken_ = through;
    if (questionOpen_ || LineSuspect()) {
        SetAnswer(Answer::Held);
        return;
    }
    ReleaseLocked();
}

// Follows the board's lines as the terminal's memo counts them: CR, LF and CR LF end a line.
void UploadHandshake::Track(char c) {
    if (c == '\n' && afterCr_) {
        afterCr_ = false;  // the CR already ended the line
        return;
    }
    afterCr_ = c == '\r';
    if (c == '\r' || c == '\n') {
        finished_ = std::move(line_);
        finishedOdd_ = lineOdd_;
        line_.clear();
        lineOdd_ = false;
        return;
    }
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') lineOdd_ = true;  // escapes, BS, BEL, NUL
    line_ += c;
    if (line_.size() > kLineKept) {
        if (HoldsBoardWarning(line_)) lineOdd_ = true;
        line_.erase(0, line_.size() - kLineKeptAfterTrim);
    }
}

void UploadHandshake::BytesArrived(std::string_view bytes, size_t waiting) {
    std::lock_guard<std::mutex> lock(lock_);
    bool wrote = false;  // a line went out at a line end of these bytes: the rest of them came before it
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        Track(c);
        if (c != lineEnd_ || answer_ != Answer::Awaited || wrote) continue;
        const int before = written_;
        LineEndLocked(waiting + i + 1);
        wrote = written_ != before;
    }
}

void UploadHandshake::BytesTaken(size_t count) {
    std::lock_guard<std::mutex> lock(lock_);
    untaken_ -= std::min(count, untaken_);
}

void UploadHandshake::LineEnded() {
    char end;
    {
        std::lock_guard<std::mutex> lock(lock_);
        end = lineEnd_;
    }
    BytesArrived(std::string_view(&end, 1), 0);
    BytesTaken(1);
}

void UploadHandshake::AnswerChecked() {
    std::lock_guard<std::mutex> lock(lock_);
    if (answer_ == Answer::Held && untaken_ == 0 && !questionOpen_) ReleaseLocked();
}

void UploadHandshake::QuestionOpened() {
    std::lock_guard<std::mutex> lock(lock_);
    if (questionOpen_) return;
    questionOpen_ = true;
    openedAt_ = host_.NowMs();
}

void UploadHandshake::QuestionAnswered(bool yes) {
    std::lock_guard<std::mutex> lock(lock_);
    if (!questionOpen_) return;
    questionOpen_ = false;
    paused_ += host_.NowMs() - openedAt_;  // the time the question was open does not count
    if (yes && answer_ == Answer::Held) ReleaseLocked();
}

bool UploadHandshake::QuestionOpen() const {
    std::lock_guard<std::mutex> lock(lock_);
    return questionOpen_;
}

void UploadHandshake::RequestCancel() {
    std::lock_guard<std::mutex> lock(lock_);
    cancel_ = true;
    kept_.clear();
}

void UploadHandshake::ClearCancel() {
    std::lock_guard<std::mutex> lock(lock_);
    cancel_ = false;
}

bool UploadHandshake::CancelRequested() const {
    std::lock_guard<std::mutex> lock(lock_);
    return cancel_;
}

int UploadHandshake::Written() const {
    std::lock_guard<std::mutex> lock(lock_);
    return written_;
}

std::string UploadHandshake::WriteError() const {
    std::lock_guard<std::mutex> lock(lock_);
    return writeError_;
}

bool UploadHandshake::Full() const {
    std::lock_guard<std::mutex> lock(lock_);
    return kept_.size() >= aheadLimit_;
}

size_t UploadHandshake::LinesAhead() const {
    std::lock_guard<std::mutex> lock(lock_);
    return aheadLimit_;
}

bool UploadHandshake::Held() const {
    std::lock_guard<std::mutex> lock(lock_);
    return answer_ == Answer::Held;
}

}  // namespace kes

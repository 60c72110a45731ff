#include "UploadHandshake.h"

namespace kes {

void UploadHandshake::LineEnded() {
    if (waiting_) answered_ = true;
}

void UploadHandshake::QuestionOpened() {
    if (questionOpen_) return;
    questionOpen_ = true;
    questionOpenedAt_ = host_.NowMs();
}

void UploadHandshake::QuestionAnswered(bool yes, bool lineEnded) {
    if (!questionOpen_) return;
    questionOpen_ = false;
    deadline_ += host_.NowMs() - questionOpenedAt_;  // the time the question was open does not count
    if (yes && waiting_ && lineEnded) answered_ = true;
}

void UploadHandshake::BeginLine() {
    answered_ = false;
    waiting_ = false;
}

WaitOutcome UploadHandshake::WaitForAnswer() {
    waiting_ = true;
    deadline_ = host_.NowMs() + timeoutMs_;
    WaitOutcome outcome;
    for (;;) {
        if (cancel_) {
            outcome = WaitOutcome::Cancelled;
            break;
        }
        if (questionOpen_) {
            // The question's own message box normally runs inside a handler; a host that shows it
            // otherwise keeps the wait here until it is answered.
            if (!host_.ProcessMessages(UploadHost::kWaitForever)) {
                outcome = WaitOutcome::QuitRequested;
                break;
            }
            continue;
        }
        if (answered_) {
            outcome = WaitOutcome::Answered;
            break;
        }
        const std::uint64_t now = host_.NowMs();
        if (now >= deadline_) {
            outcome = WaitOutcome::TimedOut;
            break;
        }
        const std::uint64_t left = deadline_ - now;
        const auto sleep =
            left >= UploadHost::kWaitForever ? UploadHost::kWaitForever - 1 : static_cast<std::uint32_t>(left);
        if (!host_.ProcessMessages(sleep)) {
            outcome = WaitOutcome::QuitRequested;
            break;
        }
    }
    waiting_ = false;
    answered_ = false;
    return outcome;
}

}  // namespace kes

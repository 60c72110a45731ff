#pragma once
// The pacing of an upload: after a line is written the upload waits until the board ends a line of its
// answer, the user cancels, or the time-out passes without an answer. The warning question about a
// redefinition holds the wait while it is open (the time-out clock stands still); its Yes releases a
// line that is waiting, its No cancels (through the Cancel button).
//
// Everything runs on the GUI thread: the receive path, the question, the Cancel button and the close of
// the port reach the handshake from message handlers that the wait itself runs.
#include <cstdint>

#include "UploadInterfaces.h"

namespace kes {

enum class WaitOutcome { Answered, TimedOut, Cancelled, QuitRequested };

class UploadHandshake {
public:
    static constexpr std::uint32_t kLineTimeoutMs = 5000;

    explicit UploadHandshake(UploadHost& host, std::uint32_t timeoutMs = kLineTimeoutMs)
        : host_(host), timeoutMs_(timeoutMs) {}

    // From the receive path: the board's answer held a line end (CR, or LF for ESP32 boards). Counts
    // only while a line is waiting; report it after the text was checked for the warning, so that the
    // question opens before the next line is written.
    void LineEnded();
    // From the warning question, around its message box.
    void QuestionOpened();
    // `lineEnded`: the warning's line had already ended when the question was asked.
    void QuestionAnswered(bool yes, bool lineEnded = true);
    bool QuestionOpen() const { return questionOpen_; }

    // The cancel flag (the Cancel button, the question's No, a time-out, a failed write).
    void RequestCancel() { cancel_ = true; }
    void ClearCancel() { cancel_ = false; }
    bool CancelRequested() const { return cancel_; }

    // Call right before writing a line: an answer from before the write does not count for it.
    void BeginLine();
    // Call right after the write: processes messages, sleeping on them, until one of the outcomes.
    // A pending cancel ends it at once; an answer wins over a time-out that passed meanwhile.
    WaitOutcome WaitForAnswer();
    bool Waiting() const { return waiting_; }

private:
    UploadHost& host_;
    std::uint32_t timeoutMs_;
    bool waiting_ = false;
    bool answered_ = false;
    bool cancel_ = false;
    bool questionOpen_ = false;
    std::uint64_t deadline_ = 0;
    std::uint64_t questionOpenedAt_ = 0;
};

}  // namespace kes

#pragma once
// The pacing of an upload: every line is written the moment the board ends a line of its answer to the line
// before, and never earlier. The next lines are handed over while the board still answers, and the side that sees
// the answer's line end writes the next one at once: the port's receive watch, on the thread that takes the bytes
// in, so that no line waits for the GUI thread to drain, show or check anything.
//
// A line whose answer may hold the board's warning (" ALREADY DEFINED", " COMPILE ONLY", or bytes the terminal's
// filters change) is held at its line end until the terminal has taken and checked every byte up to it: then the
// warning question, if one is asked, comes before the next line; its Yes releases the line, its No cancels. The
// time-out (no line end within 5 s of a write) stands still while the question is open.
//
// Threads: the receive side (BytesArrived, BytesTaken, LineEnded) may run on any thread, in the order of the bytes;
// everything else on the GUI thread, whose waits handle messages. One lock guards the state; writes happen under it,
// so that a line end counts only when it comes after the write.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>

#include "UploadInterfaces.h"

namespace kes {

enum class WaitOutcome { Answered, TimedOut, Cancelled, QuitRequested, WriteFailed };

class UploadHandshake {
public:
    static constexpr std::uint32_t kLineTimeoutMs = 5000;
    // Lines handed over ahead of the board, at least: the lines go out on the thread that takes the answers in, while
    // the GUI thread shows them (an append to a long memo takes Wine up to 50 ms, a message pass with the skin's
    // paints 5-10 ms), and at a slow board's pace (115200 baud: 3-4 ms a line) this covers that.
    static constexpr size_t kLinesAhead = 16;
    // At a faster pace, as many as the board takes in this time (at 921600 baud or on a USB port: 0.3-1 ms a line):
    // the GUI thread may be busy that long without the board waiting for it, and the progress bar and the log stay
    // this close to the board (with a fixed large count a short file's bar would be full before the board has its
    // first lines at a slow pace).
    static constexpr std::uint64_t kAheadMs = 100;
    static constexpr size_t kMostLinesAhead = 1024;
    // The pace is taken over the lines written in this time.
    static constexpr std::uint64_t kPaceSpanMs = 50;

    // `port` writes the lines (from the receive side's thread too); `host` gives the clock and the messages.
    // `linesAhead`: the least number of lines kept ahead.
    UploadHandshake(UploadHost& host, UploadPort& port, std::uint32_t timeoutMs = kLineTimeoutMs,
                    size_t linesAhead = kLinesAhead)
        : host_(host), port_(port), timeoutMs_(timeoutMs), linesAhead_(std::max<size_t>(linesAhead, 1)),
          aheadLimit_(linesAhead_) {}

    // ---- the lines (GUI thread)
    // Forgets the lines of an earlier upload; `answerLineEnd` ends the board's answers (CR, LF for ESP32).
    void Start(char answerLineEnd);
    // Hands one line over, with its line end. It is written at once when no line waits for its answer, otherwise
    // kept and written, in turn, at an answer's line end. While the kept lines are as many as may wait (LinesAhead),
    // it waits first (handling messages) until half of them were written: the host is woken then. Answered: written
    // or kept; WriteFailed: see WriteError.
    WaitOutcome Send(const std::string& bytes);
    // Waits until every line handed over was written and its answer's line end came and was taken by the terminal.
    WaitOutcome Finish();
    int Written() const;
    std::string WriteError() const;
    // A line end came and waits for the terminal's check (the terminal should drain now).
    bool Held() const;
    // As many lines are kept as may wait (the GUI thread has nothing to hand over meanwhile).
    bool Full() const;
    // How many lines may be kept now: kLinesAhead (or the least given), more at a fast board's pace.
    size_t LinesAhead() const;

    // ---- the receive side (any thread, in the order of the bytes)
    // The board's bytes as they came in; `waiting`: bytes before them that the terminal has not taken yet.
    void BytesArrived(std::string_view bytes, size_t waiting);
    // The terminal took the next `count` waiting bytes (or they were dropped).
    void BytesTaken(size_t count);
    // One line end of the answer, with nothing before it to check.
    void LineEnded();
    // A line waits for its answer's line end (any thread, without the lock): the receive side should look for it
    // without pause.
    bool AnswerAwaited() const { return awaited_.load(std::memory_order_relaxed); }

    // ---- the terminal (GUI thread)
    // The terminal drained and checked everything it had taken: a held line goes out when its line end was among it
    // and no question is open.
    void AnswerChecked();
    void QuestionOpened();
    // Yes releases a line held at its line end (one that has not come yet is released when it comes and was
    // checked). No releases nothing; the caller cancels.
    void QuestionAnswered(bool yes);
    bool QuestionOpen() const;

    // The cancel flag (the Cancel button, the question's No, a time-out, a failed write). Kept lines are dropped.
    void RequestCancel();
    void ClearCancel();
    bool CancelRequested() const;

private:
    enum class Answer { None, Awaited, Held };

    template <typename Done>
    WaitOutcome WaitUntil(std::unique_lock<std::mutex>& lock, Done&& done);
    bool WriteLocked(const std::string& bytes);
    void ReleaseLocked();
    void LineEndLocked(size_t through);
    bool LineSuspect() const;
    void SetAnswer(Answer answer);
    void Track(char c);
    void FollowPace(std::uint64_t now);

    UploadHost& host_;
    UploadPort& port_;
    std::uint32_t timeoutMs_;
    size_t linesAhead_;
    size_t aheadLimit_;            // the lines that may be kept at the board's pace
    std::uint64_t paceSince_ = 0;  // the span the pace is taken over: its start and the lines written before it
    int paceWritten_ = 0;
    bool roomAwaited_ = false;  // Send waits until no more than roomAt_ lines are kept
    size_t roomAt_ = 0;
    mutable std::mutex lock_;
    char lineEnd_ = '\r';
    Answer answer_ = Answer::None;
    std::atomic<bool> awaited_{false};  // answer_ is Awaited
    std::deque<std::string> kept_;  // the next lines, each written at an awaited line end
    std::uint64_t writtenAt_ = 0;      // of the line whose answer is awaited
    std::uint64_t paused_ = 0;         // time the question was open since then
    std::uint64_t openedAt_ = 0;
    size_t untaken_ = 0;  // bytes up to the last awaited line end that the terminal has still to take
    bool questionOpen_ = false;
    bool cancel_ = false;
    bool writeFailed_ = false;
    std::string writeError_;
    int written_ = 0;
    // The board's current line (since its last CR or LF) and the line it ended last, as far as the warning check
    // needs them; "odd": it holds a byte that the terminal's filters change.
    std::string line_;
    bool lineOdd_ = false;
    std::string finished_;
    bool finishedOdd_ = false;
    bool afterCr_ = false;
};

}  // namespace kes

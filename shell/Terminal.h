#pragma once
// The terminal apart from its window: the receive path (queue, escape filter, the tail of the terminal's text,
// the board's warning), the board type and the log. The main window shows what the terminal prepares; an upload
// hears from it that what it took in was checked for the warning, and asks it to drain, without waiting for the
// window.
//
// Showing text in the terminal memo is display work: the drained batches are joined and handed to the screen at
// most once per refresh (and less often while appending costs the memo much), so that no upload line waits for
// an append or a repaint. The tail follows every batch at once, so the warning check and the pacing never need
// the memo.
//
// Received may run on any thread (the queue has its own lock); everything else on the GUI thread.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "shell/BoardModes.h"
#include "shell/ReceivePath.h"
#include "shell/TerminalTail.h"

namespace kes {

// The terminal's window, as the terminal uses it (the main window over its memo; fakes in the tests).
class TerminalScreen {
public:
    virtual ~TerminalScreen() = default;
    virtual std::uint64_t NowMs() = 0;
    // Applies one joined edit to the memo: clear, erase, append, caret to the end and scrolled into view.
    virtual void ShowText(const TDrainedBatch& edit) = 0;
    // The memo's whole text; asked only when the tail lost track (the user edited the memo).
    virtual std::string ScreenText() = 0;
    virtual void Beep() = 0;
    // Lights the mark of a held-back escape sequence.
    virtual void ShowHeldBack(bool on) = 0;
    // The raw bytes of one drained batch, for the console companion.
    virtual void Forward(const std::string& raw) = 0;
    // The board's warning question about this line; true for Yes.
    virtual bool AskWarning(const std::string& line) = 0;
    // Brings the terminal window to the front and repaints it.
    virtual void Raise() = 0;
};

// What a running upload hears of the terminal.
class TerminalUpload {
public:
    virtual ~TerminalUpload() = default;
    virtual bool Running() const = 0;
    // A drain took everything queued and checked it for the warning (the question, if any, was answered).
    virtual void AnswerChecked() = 0;
    // The warning question opens and is answered. On No the upload cancels.
    virtual void WarningQuestionOpened() = 0;
    virtual void WarningQuestionAnswered(bool yes) = 0;
};

// Where log lines go (the log window), and the time of day they begin with.
struct TLogSink {
    std::function<std::string()> TimeText;
    // A finished line; `scroll` brings the list's end into view.
    std::function<void(const std::string& line, bool scroll)> AddLine;
};

class TTerminal {
public:
    // Spacing of the memo appends: at least one screen refresh, and so that appending takes at most about a
    // 25th of the time while an upload runs (a third otherwise). A visible edit control under Wine lays out all
    // of its lines again on every append (measured: 10-40 ms at 80 KB, 2000 lines), and an upload line whose
    // answer comes meanwhile waits for it. Without an upload, text is shown at once when the board pauses.
    static constexpr std::uint64_t kRefreshMs = 16;
    static constexpr std::uint64_t kAppendShare = 25;
    static constexpr std::uint64_t kAppendShareIdle = 3;
    // When display work that ran from `start` to `end` (ms) may run again, taking a `share`-th of the time at most.
    static std::uint64_t NextShowAt(std::uint64_t start, std::uint64_t end, std::uint64_t share) {
        return end + std::max(kRefreshMs, (end - start) * (share - 1));
    }
    // The most text one timed append takes (cut after the last line end within it). The edit control's cost of an
    // append grows with the text it already holds (measured under Wine: about 15 ms a MiB held), so the pieces are
    // large; but a burst of many MiB joined into one append would keep the window from painting and from taking
    // keys for as many seconds, and the memo would show none of it until then. A cut piece's rest follows after a
    // screen refresh while no upload runs.
    static constexpr size_t kLargestAppend = size_t{1} << 20;

    explicit TTerminal(TerminalScreen& screen) : screen_(screen) {}

    // ---- board type (the checked item of "Processor-Type"; none checked behaves as Arduino)
    void SetBoardType(std::optional<TBoardType> type) { mode_ = &EffectiveBoardMode(type); }
    const TBoardMode& Mode() const { return *mode_; }
    // The line end written after every uploaded line.
    std::string UploadLineEnd() const { return std::string(1, mode_->UploadLineEnd); }

    // ---- log
    void SetLogSink(TLogSink sink) { log_ = std::move(sink); }
    // Adds time + message; `scroll` also brings the end of the list into view.
    void Log(const std::string& message, bool scroll = false) const;
    // Adds message + time ("COM port Connected at <time>").
    void LogTimeLast(const std::string& message) const;

    // ---- the upload that listens (nullptr: none)
    void SetUpload(TerminalUpload* upload) { upload_ = upload; }
    bool Uploading() const { return upload_ && upload_->Running(); }

    // ---- receive path
    // One chunk read from the port. True when it holds the line end that answers an upload line.
    bool Received(std::string_view chunk) { return rx_.Received(*mode_, chunk); }
    bool HasQueued() const { return rx_.HasQueued(); }
    // Drains what is queued: the tail follows it, the companion gets the raw bytes, the warning question is
    // asked, and the upload hears that it was checked. The text itself waits for the screen (ShowIfDue). False
    // when nothing was queued.
    bool Drain();
    // The timer's tick: drains, and shows the waiting text (kLargestAppend of it at most) when its time has come or
    // the board paused.
    void Tick();
    // Shows the waiting text now (the end of an upload, before the user edits the memo, before a question).
    void Show();
    // Shows the waiting text (kLargestAppend of it at most) when at least the spacing passed since the last append.
    void ShowIfDue();
    bool TextWaiting() const { return waiting_.has_value(); }

    // ---- the screen's own edits
    // The memo was emptied (Clear-Screen, Exit): waiting text is dropped.
    void ScreenCleared();
    // The user changed the memo (typing, a deleted line): the tail reads it again when next needed.
    void ScreenEdited() { tail_.Invalidate(); }
    // Text the terminal adds itself (the command line's line end), in order with the board's.
    void AddText(const std::string& text);
    // Showing the main window forgets a held-back escape sequence.
    void ResetReceive() { rx_.Reset(); }

    void Raise() { screen_.Raise(); }
    const TTerminalTail& Tail() const { return tail_; }

private:
    void Queue(const TDrainedBatch& batch);
    void CheckWarning();
    // Shows the waiting text, or its first `largest` bytes when there is more.
    void ShowUpTo(size_t largest);

    TerminalScreen& screen_;
    const TBoardMode* mode_ = &EffectiveBoardMode(std::nullopt);
    TLogSink log_;
    TerminalUpload* upload_ = nullptr;
    TReceivePath rx_;
    TTerminalTail tail_;
    std::optional<TDrainedBatch> waiting_;  // joined edits not yet shown
    std::optional<bool> heldBack_;          // the mark's state to show with them
    std::uint64_t nextShowAt_ = 0;
    std::uint64_t lastDrainAt_ = 0;
    bool draining_ = false;
    std::optional<TTerminalTail::TLineId> asked_;  // the line the warning question was last asked for
};

}  // namespace kes

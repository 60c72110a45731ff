#include "shell/TerminalTail.h"

#include "shell/LogicalLines.h"

namespace kes {

void TTerminalTail::Reset(std::string_view memoText) {
    text_.assign(memoText);
    atMemoStart_ = true;
    dropped_ = 0;
    ++generation_;
    valid_ = true;
    Trim();
}

void TTerminalTail::Apply(const TDrainedBatch& batch) {
    if (batch.ClearMemo) Reset({});
    if (!valid_) return;
    if (batch.EraseChars > 0) {
        if (batch.EraseChars > text_.size()) {
            valid_ = false;
            return;
        }
        text_.resize(text_.size() - batch.EraseChars);
        // Emptied back to a line start that is not the memo's: the last line lies before what is kept.
        if (text_.empty() && !atMemoStart_) {
            valid_ = false;
            return;
        }
    }
    text_ += batch.Append;
    Trim();
}

void TTerminalTail::Trim() {
    const size_t start = LastLine(text_).Start;
    if (start == 0) return;
    text_.erase(0, start);
    dropped_ += start;
    atMemoStart_ = false;
}

TTerminalTail::TLineId TTerminalTail::LastLineId() const {
    return TLineId{generation_, dropped_ + LastLine(text_).Start};
}

}  // namespace kes

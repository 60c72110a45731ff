#include "shell/ReceivePath.h"

#include <algorithm>

namespace kes {

bool ChunkEndsLine(const TBoardMode& mode, std::string_view chunk) {
    return chunk.find(mode.AnswerLineEnd) != std::string_view::npos;
}

namespace {

// The memo's text ends at a NUL byte (an edit control takes text up to its first NUL), and a NUL shows nothing
// on a terminal: the display drops it, the companion still gets it.
void DropNul(std::string& text) { text.erase(std::remove(text.begin(), text.end(), '\0'), text.end()); }

}  // namespace

void ApplyBackspaces(std::string_view text, TDrainedBatch& batch) {
    for (char c : text) {
        if (c == '\0') continue;
        if (c != chBS)
            batch.Append += c;
        else if (!batch.Append.empty())
            batch.Append.pop_back();
        else
            ++batch.EraseChars;
    }
}

void ApplyDrainedBatch(std::string& memoText, const TDrainedBatch& batch) {
    if (batch.ClearMemo) memoText.clear();
    memoText.resize(memoText.size() - std::min(batch.EraseChars, memoText.size()));
    memoText += batch.Append;
}

bool TReceivePath::Received(const TBoardMode& mode, std::string_view chunk) {
    const bool endsLine = ChunkEndsLine(mode, chunk);
    queue_.Append(chunk, endsLine);
    return endsLine;
}

std::optional<TDrainedBatch> TReceivePath::Drain(const TBoardMode& mode) {
    if (queue_.Empty()) return std::nullopt;
    TDrainedBatch batch;
    TRxBatch queued = queue_.TakeAll();
    batch.Raw = std::move(queued.Bytes);
    batch.LineEnded = queued.LineEnded;
    if (mode.FiltersEscapes) {
        TEscapeResult r = filter_.Filter(batch.Raw);
        batch.ClearMemo = r.ClearsScreen();
        batch.Append = std::move(r.Text);
        DropNul(batch.Append);
        batch.Beeps = r.Beeps;
        batch.HeldBack = r.HeldBack;
        return batch;
    }
    // A sequence held back before the board type changed is shown as it came.
    std::string text = filter_.Release() + batch.Raw;
    if (mode.SendsKeysAtOnce)
        ApplyBackspaces(text, batch);
    else {
        DropNul(text);
        batch.Append = std::move(text);
    }
    return batch;
}

}  // namespace kes

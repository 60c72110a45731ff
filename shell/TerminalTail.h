#pragma once
// The end of the terminal memo's text, kept beside the memo so that the last line can be checked after every
// drain without reading the whole (ever growing) memo back. It follows the drained batches; an edit it cannot
// follow (the user typing, a backspace reaching before what is kept) makes it invalid, and the window then
// resets it from the memo's whole text once.
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/ReceivePath.h"

namespace kes {

class TTerminalTail {
public:
    // Names one line of the memo: the same line keeps its name while batches continue or end it.
    struct TLineId {
        std::uint64_t Generation = 0;  // counts the times the memo was emptied or read afresh
        std::uint64_t Start = 0;       // where the line begins in the memo's text
        bool operator==(const TLineId&) const = default;
    };

    // The memo's whole text.
    void Reset(std::string_view memoText);
    // The memo was emptied.
    void Clear() { Reset({}); }
    // The memo took a drained batch (ApplyDrainedBatch's edit).
    void Apply(const TDrainedBatch& batch);
    // The memo changed in a way the tail did not see.
    void Invalidate() { valid_ = false; }

    bool Valid() const { return valid_; }
    // Begins at the memo's start or at the start of a line, at or before the start of its last line; valid
    // only while Valid().
    const std::string& Text() const { return text_; }
    // The last line (as the memo counts lines).
    TLineId LastLineId() const;

private:
    void Trim();

    std::string text_;
    bool atMemoStart_ = true;    // text_ begins where the memo's text begins
    std::uint64_t dropped_ = 0;  // bytes of the memo's text before text_
    std::uint64_t generation_ = 0;
    bool valid_ = true;
};

}  // namespace kes

#pragma once
// Removes BEL characters and ANSI control sequences (ESC "[" ...) from the text the board sends,
// for the board types that send them. The filter keeps state between batches: a sequence cut off at
// the end of one batch is held back and finished by the next.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kes {

struct TEscapeResult {
    std::string Text;              // what to show
    int Beeps = 0;                 // one default beep per BEL removed
    std::vector<size_t> ClearsAt;  // offsets into Text where an ESC "[2J" stood
    bool HeldBack = false;         // an unfinished sequence waits for the next batch (Shape1 lit)

    // ESC "[2J" was in the batch: the terminal is cleared before Text is appended.
    bool ClearsScreen() const { return !ClearsAt.empty(); }
};

class TEscapeFilter {
public:
    // Longest sequence recognised, ESC and final byte included; longer ones are shown as text.
    static constexpr size_t MaxSequence = 64;

    // Filters one batch. A sequence is ESC "[", parameter bytes 0x30-0x3F, intermediate bytes 0x20-0x2F and a
    // final byte 0x40-0x7E; each complete one is removed. An ESC not followed by "[" is text, and so is a
    // sequence broken by any other byte (up to that byte) or one longer than MaxSequence.
    TEscapeResult Filter(std::string_view batch);
    // Gives back a held-back sequence as plain text (for a board type that doesn't filter).
    std::string Release();
    // Forgets a held-back sequence.
    void Reset() { pending_.clear(); }

    bool HoldsBack() const { return !pending_.empty(); }
    // The held-back text, ESC first.
    const std::string& Pending() const { return pending_; }

private:
    std::string pending_;
};

}  // namespace kes

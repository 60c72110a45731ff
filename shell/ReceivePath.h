#pragma once
// What the terminal does with the bytes the board sends, apart from the window itself:
// queueing with the upload handshake decision, and turning a drained batch into the edit the terminal
// memo needs (escape filter for the SCAMP2 types, backspaces for ESP32), keeping the raw bytes for the
// console companion.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "shell/BoardModes.h"
#include "shell/EscapeFilter.h"
#include "shell/RxQueue.h"

namespace kes {

// True when a received chunk holds the line end that answers an upload line (CR; LF for ESP32).
bool ChunkEndsLine(const TBoardMode& mode, std::string_view chunk);

// One drain, as the terminal memo applies it: clear (when ClearMemo), delete EraseChars characters at the
// end of its text, append Append, put the caret at the end. Beeps and HeldBack are for the window.
struct TDrainedBatch {
    std::string Raw;         // every byte as received, for the console companion
    bool ClearMemo = false;  // ESC "[2J" in the batch: the memo is emptied before Append is added
    size_t EraseChars = 0;   // ESP32 backspaces that reach back into the memo's text
    std::string Append;
    int Beeps = 0;          // BEL bytes the escape filter took out (the window beeps once for them)
    bool HeldBack = false;  // an unfinished escape sequence waits: Shape1 shown
    // A chunk of the batch ended a line of the board's answer (CR; LF for ESP32), as each was judged when it came.
    bool LineEnded = false;
};

// The edit a text of the ESP32 board makes: each BS deletes the character before it, reaching into the
// memo's text (EraseChars) when this text has none left.
void ApplyBackspaces(std::string_view text, TDrainedBatch& batch);

// Reference of the memo edit (the window does the same on the edit control).
void ApplyDrainedBatch(std::string& memoText, const TDrainedBatch& batch);

// Received may run on any thread (the queue has its own lock); Drain, Reset and HoldsBack on the GUI thread.
class TReceivePath {
public:
    // ComPort1RxChar: queues one chunk. Returns true when the port's Tag is to be set to 1.
    bool Received(const TBoardMode& mode, std::string_view chunk);
    // Timer1Timer's cheap test of an idle tick.
    bool HasQueued() const { return !queue_.Empty(); }
    // Takes everything queued and prepares the memo edit; nullopt when nothing was queued.
    std::optional<TDrainedBatch> Drain(const TBoardMode& mode);
    // Showing the main window forgets a held-back sequence.
    void Reset() { filter_.Reset(); }
    bool HoldsBack() const { return filter_.HoldsBack(); }

private:
    TRxQueue queue_;
    TEscapeFilter filter_;
};

}  // namespace kes

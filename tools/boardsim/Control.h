#pragma once
// The board's control channel: one command line in, one answer out (protocol in Control.cpp and README.md).
#include <string>
#include <string_view>

#include "tools/boardsim/Board.h"

namespace boardsim {

struct ControlAnswer {
    std::string text;        // one or more lines, each ended by LF
    bool flushLine = false;  // the I/O loop must also drop the bytes waiting unread on the serial line
    long unplugMs = -1;      // the I/O loop must take the serial line away for this long ("unplug")
};

// Carries out one command (without its line end) on the board.
ControlAnswer RunControl(Board& board, std::string_view command, Instant now);

// Helpers of the protocol, also used by its tests.
bool ParseHex(std::string_view hex, std::string& bytes);
bool Unescape(std::string_view text, std::string& bytes);
std::string EscapeLine(std::string_view bytes);

}  // namespace boardsim

#pragma once
// Lines of the terminal text as the board and the user made them: the text between line ends
// (CR LF, CR or LF), however the memo wraps them on screen. Positions are byte offsets into the text.
#include <cstddef>
#include <string_view>

namespace kes {

struct TTextRange {
    size_t Start = 0;
    size_t End = 0;  // one past the last byte
    size_t Length() const { return End - Start; }
    std::string_view Of(std::string_view text) const { return text.substr(Start, End - Start); }
};

// The line that holds the caret at `caret` (a caret right after a line's last character, or on its line
// end, belongs to that line).
TTextRange LineAt(std::string_view text, size_t caret);

// What deleting the caret's line removes: the line and the line end after it; the last line has none, so
// only its text goes (the line end before it stays).
TTextRange LineDeletionAt(std::string_view text, size_t caret);

// The last line that counts: one line end at the very end of the text adds no empty line. `text` may also be
// just a tail of the terminal text, as long as it begins at or before the start of that line.
TTextRange LastLine(std::string_view text);

}  // namespace kes

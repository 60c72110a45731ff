#include "shell/LogicalLines.h"

#include <algorithm>

namespace kes {

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Start of the line that holds position `pos` (scanning back to the previous line end).
size_t LineStartBefore(std::string_view text, size_t pos) {
    while (pos > 0 && !IsLineEnd(text[pos - 1])) --pos;
    return pos;
}

// Position of the line end at or after `pos` (text size when the text ends first).
size_t LineEndFrom(std::string_view text, size_t pos) {
    while (pos < text.size() && !IsLineEnd(text[pos])) ++pos;
    return pos;
}

// Length of the line end at `pos`: 2 for CR LF, 1 for a lone CR or LF, 0 at the end of the text.
size_t LineEndLength(std::string_view text, size_t pos) {
    if (pos >= text.size()) return 0;
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') return 2;
    return 1;
}

}  // namespace

TTextRange LineAt(std::string_view text, size_t caret) {
    caret = std::min(caret, text.size());
    // A caret between CR and LF stands on the line end of the line before it.
    if (caret > 0 && caret < text.size() && text[caret - 1] == '\r' && text[caret] == '\n') --caret;
    const size_t start = LineStartBefore(text, caret);
    return {start, LineEndFrom(text, caret)};
}

TTextRange LineDeletionAt(std::string_view text, size_t caret) {
    TTextRange line = LineAt(text, caret);
    line.End += LineEndLength(text, line.End);
    return line;
}

TTextRange LastLine(std::string_view text) {
    size_t end = text.size();
    if (end > 0 && text[end - 1] == '\n') {
        --end;
        if (end > 0 && text[end - 1] == '\r') --end;
    } else if (end > 0 && text[end - 1] == '\r') {
        --end;
    }
    return {LineStartBefore(text, end), end};
}

}  // namespace kes

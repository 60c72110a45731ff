#pragma once
// The directives of an uploaded Forth source: log, include and eof lines, comment lines, and the file name
// that an include directive names. Matching folds only the letters A to Z; other bytes stay as they are.
#include <string>

namespace kes {

// What one line holds, each test made on the line with A-Z folded to small letters; a directive text may
// stand anywhere in the line.
struct SourceLineKinds {
    bool log = false;               // "\ log ", "( log "
    bool include = false;           // "\ include ", "#include ", "( include "
    bool eof = false;               // "\ eof", "#eof", "( eof"
    bool skip = false;              // "\ include", "#include", "( include", "\ eof", "#eof", "( eof" (never sent)
    bool backslashInclude = false;  // "\ include "
    bool parenInclude = false;      // "( include "
    bool hashEof = false;           // "#eof"
};

SourceLineKinds ClassifySourceLine(const std::string& line);

// A comment line begins with "\" in its very first column.
bool IsCommentLine(const std::string& line);

// Number of bytes of text equal to the single character of ch (0 when ch is not one character long).
int CountCharInString(const std::string& ch, const std::string& text);

// The file name of an include directive: the text between exactly two double quotes, else between exactly
// one "<" and one ">" (in that order), both with their letter case; else the word after the first
// "include " in small letters (empty when a second blank follows "include " or the text is missing).
std::string GetParseFilename(const std::string& line);

}  // namespace kes

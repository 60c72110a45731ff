#pragma once
// Searching a text and a memo, as the source window's "Search in source" and the help window's "Search" do, and
// the word under a double click in either window.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kes {

class TCustomMemo;

enum TSearchOption : unsigned {
    soIgnoreCase = 1,  // compare with A-Z folded
    soFromStart = 2,   // search the whole text from its start
    soWrap = 4,        // nothing after the selection: search again from the start
};

// Where `what` next occurs in `text`: from the end of the selection (selStart + selLength), or from the start
// with soFromStart. nullopt when it is not found (or `what` is empty).
std::optional<size_t> SearchText(std::string_view text, std::string_view what, size_t selStart, size_t selLength,
                                 unsigned options);

// A search works only on a text longer than 20 characters and with something to look for.
bool SearchAllowed(size_t textLength, const std::string& what);

// The word around a character position: the run of characters above the blank that holds `pos` or ends
// right before it. Empty when there is none.
struct TWordRange {
    size_t Start = 0;
    size_t Length = 0;
};
TWordRange WordAt(std::string_view text, size_t pos);

// Finds `what` in `memo` after its selection, selects it and scrolls it into view; false when nothing more is
// found (the selection stays).
bool SearchMemo(TCustomMemo& memo, const std::string& what, unsigned options);

// The windows' search command: only when SearchAllowed; gives the memo the focus, starts at the top unless
// `again` ("Search again" goes on after the selection), and searches ignoring the case of A-Z.
bool FindInMemo(TCustomMemo& memo, const std::string& what, bool again);

}  // namespace kes

#include "shell/TextSearch.h"

#include <algorithm>

#include "base/StringList.h"
#include "gui/StdCtrls.h"

namespace kes {

std::optional<size_t> SearchText(std::string_view text, std::string_view what, size_t selStart, size_t selLength,
                                 unsigned options) {
    if (what.empty() || what.size() > text.size()) return std::nullopt;
    std::string hay(text), needle(what);
    if (options & soIgnoreCase) {
        hay = UpperAZ(hay);
        needle = UpperAZ(needle);
    }
    const size_t from = (options & soFromStart) ? 0 : std::min(selStart + selLength, hay.size());
    size_t hit = hay.find(needle, from);
    if (hit == std::string::npos && (options & soWrap) && from > 0) hit = hay.find(needle, 0);
    if (hit == std::string::npos) return std::nullopt;
    return hit;
}

bool SearchAllowed(size_t textLength, const std::string& what) { return textLength > 20 && !what.empty(); }

TWordRange WordAt(std::string_view text, size_t pos) {
    auto inWord = [&](size_t i) { return static_cast<unsigned char>(text[i]) > ' '; };
    pos = std::min(pos, text.size());
    size_t start = pos;
    if (start == text.size() || !inWord(start)) {
        if (start == 0 || !inWord(start - 1)) return {pos, 0};
    }
    while (start > 0 && inWord(start - 1)) --start;
    size_t end = pos;
    while (end < text.size() && inWord(end)) ++end;
    return {start, end - start};
}

bool SearchMemo(TCustomMemo& memo, const std::string& what, unsigned options) {
    int start = 0, end = 0;
    memo.GetSelection(start, end);
    const std::optional<size_t> hit =
        SearchText(memo.Text(), what, static_cast<size_t>(start), static_cast<size_t>(end - start), options);
    if (!hit) return false;
    memo.SetSelection(static_cast<int>(*hit), static_cast<int>(*hit + what.size()));
    memo.ScrollCaret();
    return true;
}

bool FindInMemo(TCustomMemo& memo, const std::string& what, bool again) {
    if (!SearchAllowed(static_cast<size_t>(memo.GetTextLen()), what)) return false;
    if (memo.CanFocus()) memo.SetFocus();
    if (!again) memo.SetCaret(0);
    return SearchMemo(memo, what, soIgnoreCase);
}

}  // namespace kes

#include "shell/HelpAddress.h"

#include "base/StringList.h"
#include "shell/TextSearch.h"

namespace kes {

namespace {

bool StartsWithAZ(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() &&
           CompareTextAZ(std::string(s.substr(0, prefix.size())), std::string(prefix)) == 0;
}

// Drops what commonly stands around an address in running text: "(", "<", quotes before it; ")", ">", quotes
// and sentence punctuation after it.
std::string_view TrimAround(std::string_view word) {
    const std::string_view leading = "(<[\"'";
    const std::string_view trailing = ")>]\"'.,;:!?";
    while (!word.empty() && leading.find(word.front()) != std::string_view::npos) word.remove_prefix(1);
    while (!word.empty() && trailing.find(word.back()) != std::string_view::npos) word.remove_suffix(1);
    return word;
}

// Characters that never belong in an address handed on to the browser.
bool HasUnsafeCharacter(std::string_view s) {
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || u >= 0x7F || std::string_view("\"<>\\^`{|}").find(c) != std::string_view::npos) return true;
    }
    return false;
}

}  // namespace

std::string WebAddressAt(std::string_view text, size_t pos) {
    const TWordRange range = WordAt(text, pos);
    const std::string_view word = TrimAround(text.substr(range.Start, range.Length));
    if (word.empty() || HasUnsafeCharacter(word)) return {};

    std::string address;
    if (word.find("://") != std::string_view::npos) {
        for (std::string_view scheme : {"http://", "https://"})
            if (StartsWithAZ(word, scheme) && word.size() > scheme.size()) address = std::string(word);
    } else if (StartsWithAZ(word, "www.") && word.size() > 4) {
        address = "http://" + std::string(word);
    }
    return address;
}

}  // namespace kes

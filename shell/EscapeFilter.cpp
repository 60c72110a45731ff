#include "shell/EscapeFilter.h"

#include "shell/BoardModes.h"

namespace kes {

namespace {

bool IsParameter(unsigned char c) { return c >= 0x30 && c <= 0x3F; }
bool IsIntermediate(unsigned char c) { return c >= 0x20 && c <= 0x2F; }
bool IsFinal(unsigned char c) { return c >= 0x40 && c <= 0x7E; }

enum class TScan { Complete, Incomplete, Text };

// Looks at the sequence that starts with the ESC at s[at]. Complete: `length` bytes form a sequence.
// Text: the first `length` bytes are not a sequence and are shown. Incomplete: the text ends inside it.
TScan ScanSequence(std::string_view s, size_t at, size_t& length) {
    const size_t end = s.size();
    if (at + 1 == end) return TScan::Incomplete;
    if (s[at + 1] != '[') {
        length = 1;
        return TScan::Text;
    }
    const size_t limit = at + TEscapeFilter::MaxSequence;
    size_t j = at + 2;
    while (j < end && j < limit && IsParameter(static_cast<unsigned char>(s[j]))) ++j;
    while (j < end && j < limit && IsIntermediate(static_cast<unsigned char>(s[j]))) ++j;
    if (j == limit) {  // no final byte within the bound
        length = TEscapeFilter::MaxSequence;
        return TScan::Text;
    }
    if (j == end) return TScan::Incomplete;
    if (IsFinal(static_cast<unsigned char>(s[j]))) {
        length = j - at + 1;
        return TScan::Complete;
    }
    length = j - at;  // broken by s[j], which is looked at again on its own
    return TScan::Text;
}

}  // namespace

TEscapeResult TEscapeFilter::Filter(std::string_view batch) {
    TEscapeResult r;
    std::string s = std::move(pending_);
    pending_.clear();
    s.reserve(s.size() + batch.size());
    for (char c : batch) {
        if (c == chBEL)
            ++r.Beeps;
        else
            s += c;
    }
    r.Text.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] != chESC) {
            r.Text += s[i++];
            continue;
        }
        size_t length = 0;
        switch (ScanSequence(s, i, length)) {
        case TScan::Incomplete:
            pending_ = s.substr(i);
            i = s.size();
            break;
        case TScan::Text:
            r.Text.append(s, i, length);
            i += length;
            break;
        case TScan::Complete:
            if (std::string_view(s).substr(i, length) == "\x1b[2J") r.ClearsAt.push_back(r.Text.size());
            i += length;
            break;
        }
    }
    r.HeldBack = !pending_.empty();
    return r;
}

std::string TEscapeFilter::Release() {
    std::string text = std::move(pending_);
    pending_.clear();
    return text;
}

}  // namespace kes

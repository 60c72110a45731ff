#pragma once
// The benchmarks' terminal text: numbered lines of 64 bytes with CR LF, cut to n bytes.
#include <cstddef>
#include <string>

namespace kes::bench {

inline std::string TerminalLines(size_t n) {
    std::string s;
    for (size_t line = 0; s.size() < n; ++line) {
        std::string l = "line " + std::to_string(line) + " ";
        while (l.size() < 62) l += static_cast<char>('a' + (l.size() + line) % 26);
        s += l + "\r\n";
    }
    s.resize(n);
    return s;
}

}  // namespace kes::bench

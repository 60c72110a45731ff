#include "gui/Dialogs.h"

namespace kes {

std::string TOpenDialog::PlatformFilter(const std::string& filter) {
    if (filter.empty()) return std::string("\0\0", 2);
    std::string out;
    for (char c : filter) out += c == '|' ? '\0' : c;
    // An odd number of parts (a description without a pattern) gets "*.*".
    size_t parts = 1;
    for (char c : filter) parts += c == '|';
    if (parts % 2) out += std::string("\0*.*", 4);
    out += std::string("\0\0", 2);
    return out;
}

}  // namespace kes

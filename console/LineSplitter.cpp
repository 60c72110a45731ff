#include "console/LineSplitter.h"

namespace kes::tirvane {

std::optional<std::string> LineSplitter::Next() {
    const auto lf = pending_.find('\n');
    if (lf == std::string::npos) return std::nullopt;
    std::string line = pending_.substr(0, lf);
    pending_.erase(0, lf + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::optional<std::string> LineSplitter::Rest() {
    if (pending_.empty()) return std::nullopt;
    std::string line;
    line.swap(pending_);
    if (line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace kes::tirvane

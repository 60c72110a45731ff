#include "shell/CommandHistory.h"

namespace kes {

void TCommandHistory::Add(const std::string& command) {
    items_.push_back(command);
    if (Count() > MaxCommands) items_.erase(items_.begin());
    cursor_ = Count() - 1;
    pastEnd_ = true;
}

std::optional<std::string> TCommandHistory::Up() {
    if (cursor_ < 0 || cursor_ >= Count()) return std::nullopt;
    if (pastEnd_) {
        pastEnd_ = false;
        return items_[cursor_];
    }
    if (cursor_ == 0) return std::nullopt;
    return items_[--cursor_];
}

std::optional<std::string> TCommandHistory::Down() {
    if (cursor_ + 1 >= Count()) {
        pastEnd_ = true;
        return std::string();
    }
    pastEnd_ = false;
    return items_[++cursor_];
}

}  // namespace kes

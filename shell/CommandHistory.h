#pragma once
// The command line's history: the last 50 commands sent, oldest first, walked with Up and Down.
#include <optional>
#include <string>
#include <vector>

namespace kes {

class TCommandHistory {
public:
    static constexpr int MaxCommands = 50;

    // A command was sent: it becomes the newest (the oldest goes beyond 50) and the cursor stands past it,
    // so that Up shows it first.
    void Add(const std::string& command);
    // Up: the text to show, or nullopt to leave the line as it is (empty history, or already the oldest).
    std::optional<std::string> Up();
    // Down: the text to show; "" empties the line when the cursor leaves the newest command.
    std::optional<std::string> Down();

    int Count() const { return static_cast<int>(items_.size()); }
    const std::vector<std::string>& Items() const { return items_; }
    // Index of the command under the cursor (-1 when none) and the past-the-newest flag.
    int Cursor() const { return cursor_; }
    bool PastEnd() const { return pastEnd_; }

private:
    std::vector<std::string> items_;
    int cursor_ = -1;
    bool pastEnd_ = false;
};

}  // namespace kes

#pragma once
// Log lines of the terminal: the time of day in the user's long time format, then the message.
#include <string>
#include <string_view>

namespace kes {

// time + message (the messages of the main window begin with a blank).
std::string LogLine(std::string_view time, std::string_view message);

}  // namespace kes

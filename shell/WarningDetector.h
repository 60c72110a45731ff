#pragma once
// The board's warnings that stop an upload to ask the user: " ALREADY DEFINED" and " COMPILE ONLY"
// (exact letter case, with the leading blank) anywhere in the terminal's last line.
#include <optional>
#include <string>
#include <string_view>

namespace kes {

// True when one line of text holds a warning.
bool HoldsBoardWarning(std::string_view line);
// The last line of the terminal text when it holds a warning; nullopt otherwise.
std::optional<std::string> FindBoardWarning(std::string_view memoText);

// The texts of the warning: the log message (after the time), the question and its caption.
std::string BoardWarningLogText(std::string_view line);
std::string BoardWarningCaption(std::string_view line);
inline constexpr const char* kBoardWarningQuestion = "Continue? - \"YES\" might hang up your system!";

}  // namespace kes

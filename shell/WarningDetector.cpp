#include "shell/WarningDetector.h"

#include "shell/LogicalLines.h"

namespace kes {

bool HoldsBoardWarning(std::string_view line) {
    return line.find(" ALREADY DEFINED") != std::string_view::npos || line.find(" COMPILE ONLY") != std::string_view::npos;
}

std::optional<std::string> FindBoardWarning(std::string_view memoText) {
    const std::string_view line = LastLine(memoText).Of(memoText);
    if (!HoldsBoardWarning(line)) return std::nullopt;
    return std::string(line);
}

std::string BoardWarningLogText(std::string_view line) { return " Warning: " + std::string(line); }

std::string BoardWarningCaption(std::string_view line) { return "Warning: " + std::string(line); }

}  // namespace kes

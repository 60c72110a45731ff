#include "shell/WarningDetector.h"

#include "shell/LogicalLines.h"

namespace kes {

std::optional<std::string> FindBoardWarning(std::string_view memoText) {
    const std::string_view line = LastLine(memoText).Of(memoText);
    if (line.find(" ALREADY DEFINED") == std::string_view::npos && line.find(" COMPILE ONLY") == std::string_view::npos)
        return std::nullopt;
    return std::string(line);
}

std::string BoardWarningLogText(std::string_view line) { return " Warning: " + std::string(line); }

std::string BoardWarningCaption(std::string_view line) { return "Warning: " + std::string(line); }

}  // namespace kes

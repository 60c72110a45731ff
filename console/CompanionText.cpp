#include "console/CompanionText.h"

#include <algorithm>

#include "base/StringList.h"

namespace kes::tirvane {

std::string BannerText() {
    const std::string esc(1, '\x1b');
    return esc + "[41m   Ver.1.1 Write *exit/*EXIT to terminate console. " +
           "Use ICON in top left corner for personal settings.\r\n" + esc + "[0m\r\n";
}

void CrToLf(std::string& text) { std::replace(text.begin(), text.end(), '\r', '\n'); }

bool IsExitCommand(const std::string& line) { return LowerAZ(line) == "*exit"; }

std::string TypedLinePayload(const std::string& line) {
    std::string bytes = line;
    bytes += '\n';
    bytes += '\0';
    return bytes;
}

}  // namespace kes::tirvane

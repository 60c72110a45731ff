#include "shell/LogLine.h"

namespace kes {

std::string LogLine(std::string_view time, std::string_view message) {
    std::string line(time);
    line += message;
    return line;
}

}  // namespace kes

#include "shell/LogLine.h"

namespace kes {

namespace {

void AppendNumber(std::string& out, int value, bool twoDigits) {
    if (twoDigits && value < 10) out += '0';
    out += std::to_string(value);
}

}  // namespace

std::string FormatTimeOfDay(const TTimeOfDay& time, std::string_view picture, std::string_view am,
                            std::string_view pm) {
    std::string out;
    size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {  // quoted text; '' inside stands for one quote
            ++i;
            while (i < picture.size()) {
                if (picture[i] != '\'') {
                    out += picture[i++];
                } else if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                    out += '\'';
                    i += 2;
                } else {
                    ++i;
                    break;
                }
            }
            continue;
        }
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        const bool two = run >= 2;
        switch (c) {
        case 'h': AppendNumber(out, time.Hour % 12 == 0 ? 12 : time.Hour % 12, two); break;
        case 'H': AppendNumber(out, time.Hour, two); break;
        case 'm': AppendNumber(out, time.Minute, two); break;
        case 's': AppendNumber(out, time.Second, two); break;
        case 't': {
            const std::string_view d = time.Hour < 12 ? am : pm;
            out += two ? d : d.substr(0, 1);
            break;
        }
        default: out.append(run, c); break;
        }
        i += run;
    }
    return out;
}

std::string LogLine(std::string_view time, std::string_view message) {
    std::string line(time);
    line += message;
    return line;
}

}  // namespace kes

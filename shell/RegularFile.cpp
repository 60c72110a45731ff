#include "shell/RegularFile.h"

#include "base/StringList.h"

namespace kes {

namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }

bool IsReservedBaseName(std::string name) {
    // "aux.fs", "AUX .", "com1.txt.": the part before the first dot, trailing blanks dropped.
    if (const size_t dot = name.find('.'); dot != std::string::npos) name.resize(dot);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    name = UpperAZ(name);
    for (const char* reserved : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (name == reserved) return true;
    return name.size() == 4 && (name.rfind("COM", 0) == 0 || name.rfind("LPT", 0) == 0) && name[3] >= '1' &&
           name[3] <= '9';
}

}  // namespace

bool IsDeviceName(const std::string& path) {
    if (path.size() >= 4 && IsSep(path[0]) && IsSep(path[1]) && (path[2] == '.' || path[2] == '?') && IsSep(path[3])) {
        if (path[2] == '.') return true;
        const std::string rest = path.substr(4);
        const bool drivePath = rest.size() >= 3 && rest[1] == ':' && IsSep(rest[2]);
        const bool uncPath = rest.size() >= 4 && UpperAZ(rest.substr(0, 3)) == "UNC" && IsSep(rest[3]);
        if (!drivePath && !uncPath) return true;
    }
    const size_t cut = path.find_last_of("\\/:");
    return IsReservedBaseName(cut == std::string::npos ? path : path.substr(cut + 1));
}

}  // namespace kes

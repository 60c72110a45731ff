#include "IncludeFileReader.h"

#include "base/StringList.h"

namespace kes {

bool IncludeFileReader::ReadLines(const std::string& path, std::vector<std::string>& lines) {
    std::string bytes;
    if (path.empty() || !ReadFileBytes(path, bytes)) return false;
    TStringList list;
    list.SetText(bytes);
    lines = list.Items();
    return true;
}

}  // namespace kes

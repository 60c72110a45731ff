#include "IncludeFileReader.h"

#include <new>

#include "base/StringList.h"
#include "shell/RegularFile.h"

namespace kes {

IncludeRead IncludeFileReader::ReadLines(const std::string& path, std::vector<std::string>& lines) {
    std::string bytes;
    switch (ReadRegularFile(path, bytes, kMaxIncludeFileBytes)) {
    case FileRead::Ok: break;
    case FileRead::TooLarge: return IncludeRead::TooLarge;
    case FileRead::NotFound: return IncludeRead::NotFound;
    }
    try {
        TStringList list;
        list.SetText(bytes);
        lines = list.Items();
    } catch (const std::bad_alloc&) {
        return IncludeRead::NotFound;
    }
    return IncludeRead::Ok;
}

std::string IncludeFileReader::SystemName(const std::string& path) { return SystemFileName(path); }

}  // namespace kes

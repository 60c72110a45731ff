// Started in place of KestrupTirvane.exe by the launcher tests: writes "started.mark" beside itself.
#include "base/win/Unique.h"

#include <string>

int main() {
    char path[MAX_PATH];
    std::string own(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    const std::string mark = own.substr(0, own.find_last_of('\\')) + "\\started.mark";
    const kes::UniqueFile mark_file(
        CreateFileA(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return 0;
}

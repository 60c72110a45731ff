// The serial devices of this machine, from the device map in the registry.
#include <vector>

#include "base/win/Unique.h"
#include "base/win/Win.h"
#include "serial/CPort.h"

namespace kes {

void ListSerialPorts(TStringList& list) {
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return;  // no device map: the list stays as it was
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char valueName[256];
        BYTE data[256];
        DWORD nameLen = sizeof(valueName), dataLen = sizeof(data), type = 0;
        if (RegEnumValueA(key.Get(), index, valueName, &nameLen, nullptr, &type, data, &dataLen) != ERROR_SUCCESS)
            break;
        std::string name(reinterpret_cast<const char*>(data), dataLen);
        while (!name.empty() && name.back() == '\0') name.pop_back();
        names.push_back(name);
    }
    key.Reset();
    SortPortNames(names);
    list.Clear();
    for (const std::string& n : names) list.Add(n);
}

}  // namespace kes

// The main window's stored skin, kept in the program as a resource.
#include "skin/data/win/SkinDataWin.h"

namespace kes {

bool LoadStoredSkin(TSkinData& skin, const char* resource, HMODULE module) {
    if (!module) module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, resource, MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0) return false;
    return skin.ReadSkinStream(std::string(static_cast<const char*>(data), size));
}

}  // namespace kes

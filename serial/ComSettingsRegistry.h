#pragma once
// The registry operations that settings storage uses. On Windows the class library's registry object stands
// behind it (serial/win); tests use a map.
#include <string>

namespace kes {

enum TComRegistryRoot { rrCurrentUser, rrLocalMachine };

class TComSettingsRegistry {
public:
    virtual ~TComSettingsRegistry() = default;
    // Selects the root (closes the open key); HKEY_CURRENT_USER until set.
    virtual void SetRootKey(TComRegistryRoot root) = 0;
    // Opens a key below the root with full access, creating it when missing; false when it could not.
    virtual bool OpenKey(const std::string& key, bool canCreate) = 0;
    virtual bool ValueExists(const std::string& name) = 0;
    // A missing value reads as empty text; a value of another type raises.
    virtual std::string ReadString(const std::string& name) = 0;
    // A 32-bit integer value; a missing value, one of another type, or no open key raises.
    virtual int ReadInteger(const std::string& name) = 0;
    // Text (REG_SZ) and 32-bit integers (REG_DWORD); failure, also for want of an open key, raises.
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
    virtual void WriteInteger(const std::string& name, int value) = 0;
};

// The root and key that a settings path and a component name select:
//   "ROOT\key\path" -> root ROOT (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER; any other word, the empty one too,
//   means HKEY_CURRENT_USER) and the key "key\path\" + name. False when the path holds no backslash.
struct ComSettingsKey {
    TComRegistryRoot root = rrCurrentUser;
    std::string key;
};
bool ParseSettingsPath(const std::string& path, const std::string& name, ComSettingsKey& out);

}  // namespace kes

#pragma once
// The registry object and the registry settings object. Each object belongs to the thread that made it; the
// registry itself may be used from any thread.
#include <string>

#include "base/Component.h"
#include "base/IniFile.h"
#include "base/StringList.h"
#include "base/win/Unique.h"
#include "base/win/Win.h"

namespace kes {

// One open key at a time under a root key (HKEY_CURRENT_USER unless set). Paths that begin with "\" start at the
// root; others are relative to the open key (or the root when none is open).
class TRegistry : public TObject {
    KES_CLASS(TRegistry, TObject)
public:
    TRegistry() = default;
    ~TRegistry() override { CloseKey(); }

    HKEY RootKey() const { return root_; }
    // Closes the open key first.
    void SetRootKey(HKEY root);
    HKEY CurrentKey() const { return current_.Get(); }
    // The open key's path below the root, without a leading "\"; empty when none is open.
    const std::string& CurrentPath() const { return path_; }

    // Opens with full access; creates the missing key when `canCreate`. False when it could not, and the
    // previously open key stays open.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    bool CreateKey(const std::string& key);
    // Deletes a key with everything below it. An empty name is refused (false): it would mean the open key or
    // the whole root.
    bool DeleteKey(const std::string& key);
    bool KeyExists(const std::string& key);

    bool ValueExists(const std::string& name);
    bool DeleteValue(const std::string& name);
    // Replace `list` with the names of the open key's values / subkeys (empty when no key is open).
    void GetValueNames(TStringList& list);
    void GetKeyNames(TStringList& list);

    // A missing value (or no open key) reads as empty text; a value that is not REG_SZ / REG_EXPAND_SZ raises
    // ERegistryException.
    std::string ReadString(const std::string& name);
    // REG_SZ. Failure raises ERegistryException.
    void WriteString(const std::string& name, const std::string& value);
    // REG_DWORD; a missing value or any other type raises ERegistryException.
    int ReadInteger(const std::string& name);
    void WriteInteger(const std::string& name, int value);
    // Integers that are true when not 0; written as 1 or 0.
    bool ReadBool(const std::string& name) { return ReadInteger(name) != 0; }
    void WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

private:
    // The key a path starts from, and the path with its leading "\" removed.
    HKEY BaseKey(const std::string& key, std::string& rest) const;
    bool Open(const std::string& key, bool canCreate, REGSAM access);

    HKEY root_ = HKEY_CURRENT_USER;
    UniqueRegKey current_;
    std::string path_;
};

// Settings kept in the registry in ini form: each section is a key below the root (HKEY_CURRENT_USER) and the
// base path given at creation (empty: directly under the root); every value is a string (integers as decimal
// text, Booleans "1"/"0"). A missing or unreadable value reads as its default; writing creates the key.
class TRegIniFile : public TCustomIniFile {
    KES_CLASS(TRegIniFile, TCustomIniFile)
public:
    explicit TRegIniFile(const std::string& basePath = std::string(), HKEY root = HKEY_CURRENT_USER);

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& fallback) override;
    // Failure raises ERegistryException.
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    void ReadSection(const std::string& section, TStringList& idents) override;
    void ReadSections(TStringList& sections) override;
    bool SectionExists(const std::string& section) override;
    bool ValueExists(const std::string& section, const std::string& ident) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    void UpdateFile() override {}

private:
    std::string SectionPath(const std::string& section) const;
    HKEY root_;
};

}  // namespace kes

#include "Registry.h"

#include <vector>

#include "base/Exception.h"

namespace kes {

static std::string StripTrailingSlashes(std::string s) {
    while (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

static void RaiseGetFailed(const std::string& name) {
    throw ERegistryException("Failed to get data for '" + name + "'");
}

static void RaiseBadType(const std::string& name) { throw ERegistryException("Invalid data type for '" + name + "'"); }

static void RaiseSetFailed(const std::string& name) {
    throw ERegistryException("Failed to set data for '" + name + "'");
}

void TRegistry::SetRootKey(HKEY root) {
    CloseKey();
    root_ = root;
}

HKEY TRegistry::BaseKey(const std::string& key, std::string& rest) const {
    if (!key.empty() && key.front() == '\\') {
        rest = StripTrailingSlashes(key.substr(1));
        return root_;
    }
    rest = StripTrailingSlashes(key);
    return current_ ? current_.Get() : root_;
}

bool TRegistry::Open(const std::string& key, bool canCreate, REGSAM access) {
    std::string rest;
    const bool relative = key.empty() || key.front() != '\\';
    HKEY base = BaseKey(key, rest);
    UniqueRegKey opened;
    LONG r = canCreate ? RegCreateKeyExA(base, rest.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                         opened.Put(), nullptr)
                       : RegOpenKeyExA(base, rest.c_str(), 0, access, opened.Put());
    if (r != ERROR_SUCCESS) return false;
    std::string path = rest;
    if (relative && current_ && !path_.empty()) path = rest.empty() ? path_ : path_ + "\\" + rest;
    CloseKey();
    current_ = std::move(opened);
    path_ = path;
    return true;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) { return Open(key, canCreate, KEY_ALL_ACCESS); }

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    return Open(key, false, KEY_READ) || Open(key, false, KEY_QUERY_VALUE);
}

void TRegistry::CloseKey() {
    current_.Reset();
    path_.clear();
}

bool TRegistry::CreateKey(const std::string& key) {
    std::string rest;
    HKEY base = BaseKey(key, rest);
    UniqueRegKey created;
    return RegCreateKeyExA(base, rest.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           created.Put(), nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteKey(const std::string& key) {
    std::string rest;
    HKEY base = BaseKey(key, rest);
    if (rest.empty()) return false;
    return RegDeleteTreeA(base, rest.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const std::string& key) {
    std::string rest;
    HKEY base = BaseKey(key, rest);
    UniqueRegKey opened;
    const LONG r = RegOpenKeyExA(base, rest.c_str(), 0, KEY_QUERY_VALUE, opened.Put());
    return r == ERROR_SUCCESS || r == ERROR_ACCESS_DENIED;
}

bool TRegistry::ValueExists(const std::string& name) {
    if (!current_) return false;
    return RegQueryValueExA(current_.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const std::string& name) {
    return current_ && RegDeleteValueA(current_.Get(), name.c_str()) == ERROR_SUCCESS;
}

void TRegistry::GetValueNames(TStringList& list) {
    list.Clear();
    if (!current_) return;
    std::vector<char> name(16384);
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(name.size());
        if (RegEnumValueA(current_.Get(), i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        list.Add(std::string(name.data(), len));
    }
}

void TRegistry::GetKeyNames(TStringList& list) {
    list.Clear();
    if (!current_) return;
    std::vector<char> name(256);
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(current_.Get(), i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        list.Add(std::string(name.data(), len));
    }
}

std::string TRegistry::ReadString(const std::string& name) {
    if (!current_) return std::string();
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(current_.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseBadType(name);
    std::string data;
    LONG r;
    do {
        data.assign(size + 1, '\0');
        size = static_cast<DWORD>(data.size());
        r = RegQueryValueExA(current_.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    } while (r == ERROR_MORE_DATA);
    if (r != ERROR_SUCCESS) RaiseGetFailed(name);
    if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseBadType(name);
    data.resize(size);
    // The stored text may or may not carry its terminating zero; the text ends at the first one.
    size_t zero = data.find('\0');
    if (zero != std::string::npos) data.resize(zero);
    return data;
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    if (!current_ ||
        RegSetValueExA(current_.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        RaiseSetFailed(name);
}

int TRegistry::ReadInteger(const std::string& name) {
    if (!current_) RaiseGetFailed(name);
    DWORD type = 0, value = 0, size = sizeof(value);
    LONG r = RegQueryValueExA(current_.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (r == ERROR_MORE_DATA) RaiseBadType(name);
    if (r != ERROR_SUCCESS) RaiseGetFailed(name);
    if (type != REG_DWORD || size != sizeof(value)) RaiseBadType(name);
    return static_cast<int>(value);
}

void TRegistry::WriteInteger(const std::string& name, int value) {
    const DWORD v = static_cast<DWORD>(value);
    if (!current_ || RegSetValueExA(current_.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v),
                                    sizeof(v)) != ERROR_SUCCESS)
        RaiseSetFailed(name);
}

TRegIniFile::TRegIniFile(const std::string& basePath, HKEY root)
    : TCustomIniFile(
          StripTrailingSlashes(basePath.empty() || basePath.front() != '\\' ? basePath : basePath.substr(1))),
      root_(root) {}

std::string TRegIniFile::SectionPath(const std::string& section) const {
    return "\\" + (FileName().empty() ? section : FileName() + "\\" + section);
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& fallback) {
    TRegistry reg;
    reg.SetRootKey(root_);
    if (!reg.OpenKeyReadOnly(SectionPath(section)) || !reg.ValueExists(ident)) return fallback;
    try {
        return reg.ReadString(ident);
    } catch (const ERegistryException&) {
        return fallback;  // not a string: unreadable
    }
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    TRegistry reg;
    reg.SetRootKey(root_);
    if (!reg.OpenKey(SectionPath(section), true))
        throw ERegistryException("Failed to create key '" + SectionPath(section).substr(1) + "'");
    reg.WriteString(ident, value);
}

void TRegIniFile::ReadSection(const std::string& section, TStringList& idents) {
    idents.Clear();
    TRegistry reg;
    reg.SetRootKey(root_);
    if (reg.OpenKeyReadOnly(SectionPath(section))) reg.GetValueNames(idents);
}

void TRegIniFile::ReadSections(TStringList& sections) {
    sections.Clear();
    TRegistry reg;
    reg.SetRootKey(root_);
    if (reg.OpenKeyReadOnly("\\" + FileName())) reg.GetKeyNames(sections);
}

bool TRegIniFile::SectionExists(const std::string& section) {
    TRegistry reg;
    reg.SetRootKey(root_);
    return !section.empty() && reg.KeyExists(SectionPath(section));
}

bool TRegIniFile::ValueExists(const std::string& section, const std::string& ident) {
    TRegistry reg;
    reg.SetRootKey(root_);
    return reg.OpenKeyReadOnly(SectionPath(section)) && reg.ValueExists(ident);
}

void TRegIniFile::EraseSection(const std::string& section) {
    if (section.empty()) return;  // never the base key itself
    TRegistry reg;
    reg.SetRootKey(root_);
    reg.DeleteKey(SectionPath(section));
}

void TRegIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    TRegistry reg;
    reg.SetRootKey(root_);
    if (reg.OpenKey(SectionPath(section), false)) reg.DeleteValue(ident);
}

}  // namespace kes

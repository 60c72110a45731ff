#include "serial/ComMemoryRegistry.h"

#include "base/Exception.h"
#include "base/StringList.h"

namespace kes {

std::string TComMemoryRegistry::FullKey(TComRegistryRoot root, const std::string& key) {
    std::string path = key;
    while (!path.empty() && path.front() == '\\') path.erase(path.begin());
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return UpperAZ((root == rrLocalMachine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\") + path);
}

void TComMemoryRegistry::SetRootKey(TComRegistryRoot root) {
    root_ = root;
    current_.clear();
}

bool TComMemoryRegistry::OpenKey(const std::string& key, bool canCreate) {
    const std::string full = FullKey(root_, key);
    auto it = store_->keys.find(full);
    if (it == store_->keys.end()) {
        if (!canCreate) return false;
        store_->keys[full];
    }
    current_ = full;
    return true;
}

std::map<std::string, TComMemoryRegistry::Value>* TComMemoryRegistry::Open() const {
    if (current_.empty()) return nullptr;
    auto it = store_->keys.find(current_);
    return it == store_->keys.end() ? nullptr : &it->second;
}

bool TComMemoryRegistry::ValueExists(const std::string& name) {
    auto* values = Open();
    return values && values->count(UpperAZ(name)) != 0;
}

std::string TComMemoryRegistry::ReadString(const std::string& name) {
    auto* values = Open();
    if (!values) return std::string();
    auto it = values->find(UpperAZ(name));
    if (it == values->end()) return std::string();
    if (auto* s = std::get_if<std::string>(&it->second)) return *s;
    throw ERegistryException("Invalid data type for '" + name + "'");
}

int TComMemoryRegistry::ReadInteger(const std::string& name) {
    auto* values = Open();
    if (values) {
        auto it = values->find(UpperAZ(name));
        if (it != values->end())
            if (auto* n = std::get_if<int>(&it->second)) return *n;
    }
    throw ERegistryException("Invalid data type for '" + name + "'");
}

void TComMemoryRegistry::WriteString(const std::string& name, const std::string& value) {
    auto* values = Open();
    if (!values || store_->failWrites) throw ERegistryException("Failed to set data for '" + name + "'");
    (*values)[UpperAZ(name)] = value;
}

void TComMemoryRegistry::WriteInteger(const std::string& name, int value) {
    auto* values = Open();
    if (!values || store_->failWrites) throw ERegistryException("Failed to set data for '" + name + "'");
    (*values)[UpperAZ(name)] = value;
}

}  // namespace kes

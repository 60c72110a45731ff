#pragma once
// A registry held in memory: the settings registry of builds without the system registry, and of tests.
// Key paths and value names compare without regard to the letter case of A to Z.
#include <map>
#include <memory>
#include <string>
#include <variant>

#include "serial/ComSettingsRegistry.h"

namespace kes {

class TComMemoryRegistry : public TComSettingsRegistry {
public:
    using Value = std::variant<std::string, int>;
    // Keys by "ROOT\PATH" (upper case), each a map of upper-case value names.
    struct Store {
        std::map<std::string, std::map<std::string, Value>> keys;
        bool failWrites = false;  // every write raises (a key that cannot be written)
    };

    explicit TComMemoryRegistry(std::shared_ptr<Store> store = std::make_shared<Store>()) : store_(std::move(store)) {}
    const std::shared_ptr<Store>& GetStore() const { return store_; }
    // The open key's full name, empty when none is open.
    const std::string& CurrentKey() const { return current_; }
    static std::string FullKey(TComRegistryRoot root, const std::string& key);

    void SetRootKey(TComRegistryRoot root) override;
    bool OpenKey(const std::string& key, bool canCreate) override;
    bool ValueExists(const std::string& name) override;
    std::string ReadString(const std::string& name) override;
    int ReadInteger(const std::string& name) override;
    void WriteString(const std::string& name, const std::string& value) override;
    void WriteInteger(const std::string& name, int value) override;

private:
    std::map<std::string, Value>* Open() const;
    std::shared_ptr<Store> store_;
    TComRegistryRoot root_ = rrCurrentUser;
    std::string current_;
};

}  // namespace kes

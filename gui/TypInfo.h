#pragma once
// Published properties by name: each class keeps a table of {name, kind, get, set} that chains to its base
// class's table. Reading a property that is missing gives -1, empty text or nullptr; nothing here throws
// except the integer conversion of SetPropByName, which raises EConvertError like StrToInt.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/Component.h"

namespace kes {

enum class TTypeKind { tkInteger, tkEnumeration, tkString, tkClass, tkSet };

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::tkInteger;
    // Value names of an enumeration (ordinal = index) or the element names of a set (bit = index).
    const std::vector<std::string>* Names = nullptr;
    std::function<int64_t(const TObject*)> GetOrd;  // integer, enumeration, set
    std::function<void(TObject*, int64_t)> SetOrd;
    std::function<std::string(const TObject*)> GetStr;  // string
    std::function<void(TObject*, const std::string&)> SetStr;
    std::function<TObject*(const TObject*)> GetObj;  // class
};

class TPropTable {
public:
    TPropTable(const TPropTable* base, std::initializer_list<TPropInfo> props) : base_(base), props_(props) {}
    // Searches this class's properties, then the base classes' (names compared without case).
    const TPropInfo* Find(const std::string& name) const;
    // All names, base class first.
    void Names(std::vector<std::string>& out) const;

private:
    const TPropTable* base_;
    std::vector<TPropInfo> props_;
};

// Implemented by every class that publishes properties.
class IPublished {
public:
    virtual ~IPublished() = default;
    virtual const TPropTable& Properties() const = 0;
};

// Declares the static table and its virtual accessor; define `const TPropTable& X::ClassProps()` in the .cpp.
#define KES_PUBLISHED                                                             \
public:                                                                           \
    static const ::kes::TPropTable& ClassProps();                                 \
    const ::kes::TPropTable& Properties() const override { return ClassProps(); } \
                                                                                  \
private:

inline TPropInfo MakePropInfo(const char* name, TTypeKind kind, const std::vector<std::string>* names = nullptr) {
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.Names = names;
    return p;
}

// Table builders: the accessors are lambdas on the concrete class.
template <typename T, typename G, typename S>
TPropInfo IntProp(const char* name, G get, S set) {
    TPropInfo p = MakePropInfo(name, TTypeKind::tkInteger);
    p.GetOrd = [get](const TObject* o) { return static_cast<int64_t>(get(*static_cast<const T*>(o))); };
    p.SetOrd = [set](TObject* o, int64_t v) { set(*static_cast<T*>(o), static_cast<int>(v)); };
    return p;
}

template <typename T, typename G, typename S>
TPropInfo EnumProp(const char* name, const std::vector<std::string>& names, G get, S set) {
    TPropInfo p = MakePropInfo(name, TTypeKind::tkEnumeration, &names);
    p.GetOrd = [get](const TObject* o) { return static_cast<int64_t>(get(*static_cast<const T*>(o))); };
    p.SetOrd = [set](TObject* o, int64_t v) { set(*static_cast<T*>(o), v); };
    return p;
}

extern const std::vector<std::string> kBooleanNames;  // "False", "True"

template <typename T, typename G, typename S>
TPropInfo BoolProp(const char* name, G get, S set) {
    TPropInfo p = MakePropInfo(name, TTypeKind::tkEnumeration, &kBooleanNames);
    p.GetOrd = [get](const TObject* o) { return static_cast<int64_t>(get(*static_cast<const T*>(o)) ? 1 : 0); };
    p.SetOrd = [set](TObject* o, int64_t v) { set(*static_cast<T*>(o), v != 0); };
    return p;
}

template <typename T, typename G, typename S>
TPropInfo SetProp(const char* name, const std::vector<std::string>& names, G get, S set) {
    TPropInfo p = MakePropInfo(name, TTypeKind::tkSet, &names);
    p.GetOrd = [get](const TObject* o) { return static_cast<int64_t>(get(*static_cast<const T*>(o))); };
    p.SetOrd = [set](TObject* o, int64_t v) { set(*static_cast<T*>(o), static_cast<unsigned>(v)); };
    return p;
}

template <typename T, typename G, typename S>
TPropInfo StrProp(const char* name, G get, S set) {
    TPropInfo p = MakePropInfo(name, TTypeKind::tkString);
    p.GetStr = [get](const TObject* o) { return std::string(get(*static_cast<const T*>(o))); };
    p.SetStr = [set](TObject* o, const std::string& v) { set(*static_cast<T*>(o), v); };
    return p;
}

template <typename T, typename G>
TPropInfo ObjProp(const char* name, G get) {
    TPropInfo p = MakePropInfo(name, TTypeKind::tkClass);
    p.GetObj = [get](const TObject* o) -> TObject* { return get(*static_cast<const T*>(o)); };
    return p;
}

// Lookup and access by name; `obj` may be nullptr.
const TPropInfo* GetPropInfo(const TObject* obj, const std::string& name);
bool IsPublishedProp(const TObject* obj, const std::string& name);
std::vector<std::string> GetPropNames(const TObject* obj);
// Integer property value; -1 when absent or not an integer.
int64_t GetIntPropByName(const TObject* obj, const std::string& name);
// Name of an enumeration property's value; empty when absent or not an enumeration.
std::string GetEnumPropByName(const TObject* obj, const std::string& name);
// A string property read directly; any other kind as text (integer in decimal, enumeration by name,
// set as "[a,b]", object by its name); empty when absent.
std::string GetStrPropByName(const TObject* obj, const std::string& name);
// The object property's value when it is a `className` (any class when nullptr); nullptr otherwise.
TObject* GetObjectPropByName(const TObject* obj, const std::string& name, const char* className = nullptr);
// Sets from text: integer by StrToInt, enumeration by value name, string as is, set from "[a,b]".
// False when the property is absent, read-only, of object kind, or the name is not a value of it.
bool SetPropByName(TObject* obj, const std::string& name, const std::string& value);

// Text forms of the ordinal kinds.
std::string SetToString(const std::vector<std::string>& names, unsigned bits, bool brackets = true);
// False when an element name is unknown.
bool StringToSet(const std::vector<std::string>& names, const std::string& text, unsigned& bits);

}  // namespace kes

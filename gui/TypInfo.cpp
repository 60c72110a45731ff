#include "gui/TypInfo.h"

#include <climits>

#include "base/Exception.h"
#include "base/StringList.h"
#include "base/SysUtils.h"

namespace kes {

const std::vector<std::string> kBooleanNames{"False", "True"};

const TPropInfo* TPropTable::Find(const std::string& name) const {
    for (const TPropTable* t = this; t; t = t->base_)
        for (const TPropInfo& p : t->props_)
            if (CompareTextAZ(p.Name, name) == 0) return &p;
    return nullptr;
}

void TPropTable::Names(std::vector<std::string>& out) const {
    if (base_) base_->Names(out);
    for (const TPropInfo& p : props_) out.push_back(p.Name);
}

const TPropInfo* GetPropInfo(const TObject* obj, const std::string& name) {
    auto* pub = dynamic_cast<const IPublished*>(obj);
    return pub ? pub->Properties().Find(name) : nullptr;
}

bool IsPublishedProp(const TObject* obj, const std::string& name) { return GetPropInfo(obj, name) != nullptr; }

std::vector<std::string> GetPropNames(const TObject* obj) {
    std::vector<std::string> names;
    if (auto* pub = dynamic_cast<const IPublished*>(obj)) pub->Properties().Names(names);
    return names;
}

int64_t GetIntPropByName(const TObject* obj, const std::string& name) {
    const TPropInfo* p = GetPropInfo(obj, name);
    if (!p || p->Kind != TTypeKind::tkInteger || !p->GetOrd) return -1;
    return p->GetOrd(obj);
}

static std::string EnumName(const TPropInfo& p, int64_t v) {
    if (!p.Names || v < 0 || v >= static_cast<int64_t>(p.Names->size())) return std::to_string(v);
    return (*p.Names)[static_cast<size_t>(v)];
}

std::string GetEnumPropByName(const TObject* obj, const std::string& name) {
    const TPropInfo* p = GetPropInfo(obj, name);
    if (!p || p->Kind != TTypeKind::tkEnumeration || !p->GetOrd) return {};
    return EnumName(*p, p->GetOrd(obj));
}

std::string GetStrPropByName(const TObject* obj, const std::string& name) {
    const TPropInfo* p = GetPropInfo(obj, name);
    if (!p) return {};
    switch (p->Kind) {
    case TTypeKind::tkString: return p->GetStr ? p->GetStr(obj) : std::string();
    case TTypeKind::tkInteger: return p->GetOrd ? std::to_string(p->GetOrd(obj)) : std::string();
    case TTypeKind::tkEnumeration: return p->GetOrd ? EnumName(*p, p->GetOrd(obj)) : std::string();
    case TTypeKind::tkSet:
        return p->GetOrd && p->Names ? SetToString(*p->Names, static_cast<unsigned>(p->GetOrd(obj))) : std::string();
    case TTypeKind::tkClass: {
        TObject* o = p->GetObj ? p->GetObj(obj) : nullptr;
        auto* c = dynamic_cast<TComponent*>(o);
        return c ? c->Name() : std::string();
    }
    }
    return {};
}

TObject* GetObjectPropByName(const TObject* obj, const std::string& name, const char* className) {
    const TPropInfo* p = GetPropInfo(obj, name);
    if (!p || p->Kind != TTypeKind::tkClass || !p->GetObj) return nullptr;
    TObject* o = p->GetObj(obj);
    if (o && className && !o->InheritsFrom(className)) return nullptr;
    return o;
}

bool SetPropByName(TObject* obj, const std::string& name, const std::string& value) {
    const TPropInfo* p = GetPropInfo(obj, name);
    if (!p) return false;
    switch (p->Kind) {
    case TTypeKind::tkInteger:
        if (!p->SetOrd) return false;
        p->SetOrd(obj, StrToInt(value));
        return true;
    case TTypeKind::tkEnumeration:
        if (!p->SetOrd || !p->Names) return false;
        for (size_t i = 0; i < p->Names->size(); ++i)
            if (CompareTextAZ((*p->Names)[i], value) == 0) {
                p->SetOrd(obj, static_cast<int64_t>(i));
                return true;
            }
        return false;
    case TTypeKind::tkString:
        if (!p->SetStr) return false;
        p->SetStr(obj, value);
        return true;
    case TTypeKind::tkSet: {
        unsigned bits = 0;
        if (!p->SetOrd || !p->Names || !StringToSet(*p->Names, value, bits)) return false;
        p->SetOrd(obj, bits);
        return true;
    }
    case TTypeKind::tkClass: return false;
    }
    return false;
}

std::string SetToString(const std::vector<std::string>& names, unsigned bits, bool brackets) {
    std::string s;
    for (size_t i = 0; i < names.size() && i < 32; ++i)
        if (bits & (1u << i)) {
            if (!s.empty()) s += ',';
            s += names[i];
        }
    return brackets ? "[" + s + "]" : s;
}

bool StringToSet(const std::vector<std::string>& names, const std::string& text, unsigned& bits) {
    std::string t = Trim(text);
    if (!t.empty() && t.front() == '[') {
        if (t.back() != ']') return false;
        t = t.substr(1, t.size() - 2);
    }
    unsigned result = 0;
    size_t pos = 0;
    while (pos <= t.size()) {
        size_t comma = t.find(',', pos);
        if (comma == std::string::npos) comma = t.size();
        const std::string item = Trim(t.substr(pos, comma - pos));
        if (!item.empty()) {
            bool found = false;
            for (size_t i = 0; i < names.size() && i < 32; ++i)
                if (CompareTextAZ(names[i], item) == 0) {
                    result |= 1u << i;
                    found = true;
                    break;
                }
            if (!found) return false;
        }
        pos = comma + 1;
    }
    bits = result;
    return true;
}

}  // namespace kes

#include "gui/TypInfo.h"

#include <climits>

#include "base/Exception.h"
#include "base/StringList.h"

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

static std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
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

bool TryStrToInt(const std::string& text, int64_t& value) {
    const std::string s = Trim(text);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    uint64_t v = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (v > (base == 16 ? 0xFFFFFFFFull : static_cast<uint64_t>(INT_MAX) + (negative ? 1 : 0))) return false;
    }
    int64_t r = static_cast<int64_t>(v);
    if (base == 16 && !negative && r > INT_MAX) r = static_cast<int32_t>(static_cast<uint32_t>(r));
    value = negative ? -r : r;
    return true;
}

int StrToInt(const std::string& s) {
    int64_t v = 0;
    if (!TryStrToInt(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
    return static_cast<int>(v);
}

}  // namespace kes

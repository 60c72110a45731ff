#include "QuickIni.h"

#include "base/SysUtils.h"

namespace kes {

namespace {

bool IsHeader(const std::string& line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

std::string KeyOf(const std::string& line) {
    const std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : LowerAZ(Trim(line.substr(0, eq)));
}

}  // namespace

void TQuickIni::LoadFromStream(const std::string* stream, std::size_t position) {
    if (!stream) return;
    lines_.Clear();
    sections_.clear();
    firstSection_.clear();
    const std::string& text = *stream;
    std::size_t p = position < text.size() ? position : text.size();
    while (p < text.size()) {
        std::size_t e = p;
        while (e < text.size() && text[e] != '\r' && text[e] != '\n' && text[e] != '\0') ++e;
        const std::string line = Trim(text.substr(p, e - p));
        if (!line.empty() && line[0] != ';') {
            if (IsHeader(line)) {
                sections_.emplace_back(line, lines_.Count());
                firstSection_.emplace(LowerAZ(line), lines_.Count());  // a repeated header keeps the first
            }
            lines_.Add(line);
        }
        if (e >= text.size() || text[e] == '\0') break;  // a NUL ends the text
        if (text[e] == '\r') ++e;
        if (e < text.size() && text[e] == '\n') ++e;
        p = e;
    }
}

int TQuickIni::FindSection(const std::string& name) const {
    const auto found = firstSection_.find(LowerAZ("[" + name + "]"));
    return found == firstSection_.end() ? -1 : found->second;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const {
    const std::string wanted = LowerAZ(key);
    if (lines_.Count() == 0 || wanted.empty()) return defaultValue;
    const int header = FindSection(section);
    if (header < 0) return defaultValue;
    for (int i = header + 1; i < lines_.Count(); ++i) {
        const std::string& line = lines_[i];
        if (IsHeader(line)) break;
        if (KeyOf(line) == wanted) {
            const std::string value = Trim(line.substr(line.find('=') + 1));
            return value.empty() ? defaultValue : value;
        }
    }
    return defaultValue;
}

std::int32_t TQuickIni::ReadInteger(const std::string& section, const std::string& key,
                                    std::int32_t defaultValue) const {
    std::string s = ReadString(section, key, std::string());
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = "$" + s.substr(2);
    return StrToIntDef(s, defaultValue);
}

void TQuickIni::ReadSections(TStringList& target) const {
    target.Clear();
    for (const auto& section : sections_) {
        std::string s = Trim(section.first);
        s = Trim(s.substr(1, s.size() - 2));
        target.Add(s);
    }
}

}  // namespace kes

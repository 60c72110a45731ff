#include "IniFile.h"

#include <algorithm>

#include "Exception.h"
#include "SysUtils.h"

namespace kes {

static bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

void TCustomIniFile::CheckWritable(const std::string& section, const std::string& ident, const std::string& value) {
    if (Trim(section).empty() || section.find(']') != std::string::npos || HasLineBreak(section))
        throw EIniFileException("Invalid ini section name \"" + section + "\"");
    const std::string name = Trim(ident);
    if (name.empty() || name.front() == ';' || name.front() == '[' || ident.find('=') != std::string::npos ||
        HasLineBreak(ident))
        throw EIniFileException("Invalid ini value name \"" + ident + "\"");
    if (HasLineBreak(value)) throw EIniFileException("Ini value \"" + ident + "\" holds a line break");
}

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident, int fallback) {
    return StrToIntDef(ReadString(section, ident, std::string()), fallback);
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident, bool fallback) {
    return ReadInteger(section, ident, fallback ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

bool TCustomIniFile::SectionExists(const std::string& section) {
    TStringList idents;
    ReadSection(section, idents);
    return idents.Count() > 0;
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident) {
    TStringList idents;
    ReadSection(section, idents);
    return idents.IndexOfText(ident) >= 0;
}

TMemIniFile::TMemIniFile(const std::string& fileName) : TCustomIniFile(fileName) {
    std::string bytes;
    if (!fileName.empty() && ReadFileBytes(fileName, bytes)) SetText(bytes);
}

TMemIniFile::Section* TMemIniFile::FindSection(const std::string& name) {
    for (Section& s : sections_)
        if (CompareTextAZ(s.name, name) == 0) return &s;
    return nullptr;
}

TMemIniFile::Line* TMemIniFile::FindLine(Section& section, const std::string& ident) {
    for (Line& l : section.lines)
        if (!l.raw && CompareTextAZ(l.name, ident) == 0) return &l;
    return nullptr;
}

std::string TMemIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& fallback) {
    Section* s = FindSection(Trim(section));
    Line* l = s ? FindLine(*s, Trim(ident)) : nullptr;
    return l ? l->value : fallback;
}

void TMemIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    CheckWritable(section, ident, value);
    const std::string sectionName = Trim(section), name = Trim(ident);
    Section* s = FindSection(sectionName);
    if (!s) {
        sections_.push_back(Section{sectionName, {}});
        s = &sections_.back();
    }
    // Blanks around a value would not survive a reading; the stored value is what a reading gives.
    if (Line* l = FindLine(*s, name))
        l->value = Trim(value);
    else
        s->lines.push_back(Line{name, Trim(value), false});
}

void TMemIniFile::ReadSection(const std::string& section, TStringList& idents) {
    idents.Clear();
    if (Section* s = FindSection(Trim(section)))
        for (const Line& l : s->lines)
            if (!l.raw) idents.Add(l.name);
}

void TMemIniFile::ReadSections(TStringList& sections) {
    sections.Clear();
    for (const Section& s : sections_) sections.Add(s.name);
}

void TMemIniFile::EraseSection(const std::string& section) {
    const std::string name = Trim(section);
    sections_.erase(std::remove_if(sections_.begin(), sections_.end(),
                                   [&](const Section& s) { return CompareTextAZ(s.name, name) == 0; }),
                    sections_.end());
}

void TMemIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    Section* s = FindSection(Trim(section));
    if (!s) return;
    const std::string name = Trim(ident);
    auto& lines = s->lines;
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const Line& l) { return !l.raw && CompareTextAZ(l.name, name) == 0; }),
                lines.end());
}

void TMemIniFile::UpdateFile() {
    if (FileName().empty()) return;
    if (!WriteFileBytes(FileName(), Text())) throw EFOpenError("Cannot create file \"" + FileName() + "\"");
}

void TMemIniFile::Clear() {
    preamble_.clear();
    sections_.clear();
}

void TMemIniFile::SetText(const std::string& text) {
    Clear();
    TStringList lines;
    lines.SetText(text);
    Section* current = nullptr;
    for (const std::string& raw : lines.Items()) {
        const std::string line = Trim(raw);
        if (line.empty()) continue;
        if (line.front() == '[') {
            size_t close = line.find(']');
            if (close != std::string::npos) {
                const std::string name = Trim(line.substr(1, close - 1));
                current = FindSection(name);
                if (!current) {
                    sections_.push_back(Section{name, {}});
                    current = &sections_.back();
                }
                continue;
            }
        }
        size_t eq = line.find('=');
        const bool isValue = current && eq != std::string::npos && eq > 0 && line.front() != ';';
        Line entry =
            isValue ? Line{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)), false} : Line{std::string(), raw, true};
        (current ? current->lines : preamble_).push_back(std::move(entry));
    }
}

std::string TMemIniFile::Text() const {
    std::string out;
    for (const Line& l : preamble_) out += l.value + "\r\n";
    for (const Section& s : sections_) {
        out += "[" + s.name + "]\r\n";
        for (const Line& l : s.lines) out += (l.raw ? l.value : l.name + "=" + l.value) + "\r\n";
        out += "\r\n";
    }
    return out;
}

}  // namespace kes

#pragma once
// TQuickIni: a read-only parser for the skin description ("[Section]" headers and "key=value" lines).
// The text is split into trimmed lines once; every lookup walks the lines of one section.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/StringList.h"

namespace kes {

class TQuickIni {
public:
    // Parses the bytes of stream from position to the end; a null stream does nothing.
    void LoadFromStream(const std::string* stream, std::size_t position = 0);
    void LoadFromText(const std::string& text) { LoadFromStream(&text); }

    // Line index of the header "[" + name + "]" (letter case ignored, blanks as passed), or -1.
    int FindSection(const std::string& name) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // The class library's integer conversion (decimal, "$" or "0x" and hexadecimal digits); else the default.
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t defaultValue) const;
    // The section names without brackets, in text order.
    void ReadSections(TStringList& target) const;

    const TStringList& Lines() const { return lines_; }

private:
    TStringList lines_;
    std::vector<std::pair<std::string, int>> sections_;  // header line and its index in lines_
    // Lower-cased header line -> its first index in lines_: a lookup costs the same with thousands of sections.
    std::unordered_map<std::string, int> firstSection_;
};

}  // namespace kes

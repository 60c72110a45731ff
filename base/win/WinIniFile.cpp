#include "WinIniFile.h"

#include <vector>

#include "base/Exception.h"
#include "base/win/Win.h"

namespace kes {

namespace {

// GetPrivateProfileStringA into a buffer that grows until the answer fits (the function cuts silently).
std::string ProfileString(const char* section, const char* ident, const char* fallback, const std::string& file,
                          bool list) {
    std::vector<char> buf(2048);
    for (;;) {
        DWORD n = GetPrivateProfileStringA(section, ident, fallback, buf.data(), static_cast<DWORD>(buf.size()),
                                           file.c_str());
        // A full buffer is reported as size - 1 for a value and size - 2 for a list.
        const DWORD full = static_cast<DWORD>(buf.size()) - (list ? 2 : 1);
        if (n < full || buf.size() >= (1u << 24)) return std::string(buf.data(), n);
        buf.resize(buf.size() * 4);
    }
}

void SplitZeroList(const std::string& zeros, TStringList& list) {
    list.Clear();
    size_t start = 0;
    while (start < zeros.size()) {
        size_t end = zeros.find('\0', start);
        if (end == std::string::npos) end = zeros.size();
        if (end > start) list.Add(zeros.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace

TIniFile::~TIniFile() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, FileName().c_str()); }

std::string TIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& fallback) {
    return ProfileString(section.c_str(), ident.c_str(), fallback.c_str(), FileName(), false);
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    CheckWritable(section, ident, value);
    if (!WritePrivateProfileStringA(section.c_str(), ident.c_str(), value.c_str(), FileName().c_str()))
        throw EIniFileException("Unable to write to " + FileName());
}

void TIniFile::ReadSection(const std::string& section, TStringList& idents) {
    SplitZeroList(ProfileString(section.c_str(), nullptr, "", FileName(), true), idents);
}

void TIniFile::ReadSections(TStringList& sections) {
    SplitZeroList(ProfileString(nullptr, nullptr, "", FileName(), true), sections);
}

void TIniFile::EraseSection(const std::string& section) {
    if (!WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, FileName().c_str()))
        throw EIniFileException("Unable to write to " + FileName());
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    WritePrivateProfileStringA(section.c_str(), ident.c_str(), nullptr, FileName().c_str());
}

void TIniFile::UpdateFile() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, FileName().c_str()); }

}  // namespace kes

#pragma once
// The ini-file object over the Windows profile functions: every call reads or writes the file at once (the
// system caches it; UpdateFile and the destructor flush). Any thread, one object per thread.
#include <string>

#include "base/IniFile.h"

namespace kes {

class TIniFile : public TCustomIniFile {
    KES_CLASS(TIniFile, TCustomIniFile)
public:
    // A name without a folder is placed by the system (in the Windows folder).
    explicit TIniFile(const std::string& fileName) : TCustomIniFile(fileName) {}
    ~TIniFile() override;

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& fallback) override;
    // Failure raises EIniFileException ("Unable to write to <file>").
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    void ReadSection(const std::string& section, TStringList& idents) override;
    void ReadSections(TStringList& sections) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    void UpdateFile() override;
};

}  // namespace kes

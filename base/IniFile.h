#pragma once
// Ini-file objects: sections of "name=value" lines. Section and value names compare without regard to the letter
// case of A to Z. An ini object belongs to the thread that made it (no locking inside).
#include <string>
#include <vector>

#include "Component.h"
#include "StringList.h"

namespace kes {

class TCustomIniFile : public TObject {
    KES_CLASS(TCustomIniFile, TObject)
public:
    explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

    // A missing value reads as `fallback`.
    virtual std::string ReadString(const std::string& section, const std::string& ident,
                                   const std::string& fallback) = 0;
    // Failures (and text the format cannot hold: line breaks anywhere, "=" in a name, "]" in a section name,
    // an empty name, a name that starts with ";" or "[") raise EIniFileException.
    virtual void WriteString(const std::string& section, const std::string& ident, const std::string& value) = 0;

    // Decimal text; a missing value or one that is no integer reads as `fallback`.
    virtual int ReadInteger(const std::string& section, const std::string& ident, int fallback);
    virtual void WriteInteger(const std::string& section, const std::string& ident, int value);
    // Stored as "1" or "0"; read as an integer that is true when not 0.
    virtual bool ReadBool(const std::string& section, const std::string& ident, bool fallback);
    virtual void WriteBool(const std::string& section, const std::string& ident, bool value);

    // Replaces `idents` with the value names of one section, or with the section names.
    virtual void ReadSection(const std::string& section, TStringList& idents) = 0;
    virtual void ReadSections(TStringList& sections) = 0;
    // A section exists when it holds at least one value.
    virtual bool SectionExists(const std::string& section);
    virtual bool ValueExists(const std::string& section, const std::string& ident);
    virtual void EraseSection(const std::string& section) = 0;
    virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;
    // Makes written values lasting (file objects write their file).
    virtual void UpdateFile() = 0;

protected:
    // Raises EIniFileException for text that would not read back as written.
    static void CheckWritable(const std::string& section, const std::string& ident, const std::string& value);

private:
    std::string fileName_;
};

// An ini file held in memory: parsed from text (or from its file at creation), changed in memory, and written
// back by UpdateFile. With an empty file name it is a pure in-memory store.
class TMemIniFile : public TCustomIniFile {
    KES_CLASS(TMemIniFile, TCustomIniFile)
public:
    // Reads the file when it exists; a missing file gives an empty object.
    explicit TMemIniFile(const std::string& fileName = std::string());

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& fallback) override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    void ReadSection(const std::string& section, TStringList& idents) override;
    void ReadSections(TStringList& sections) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    // Writes Text() to the file (EFOpenError when it cannot); nothing without a file name.
    void UpdateFile() override;

    // Parsing: "[name]" starts a section (blanks around the name dropped); "name=value" lines are values, blanks
    // around name and value dropped; a repeated section continues the first one; every other line (comments,
    // text without "=") is kept as it is and written back in place. Empty lines are dropped.
    void SetText(const std::string& text);
    // Each section as "[name]", its lines, then an empty line; lines end with CR LF.
    std::string Text() const;
    void Clear();

private:
    struct Line {
        std::string name;   // empty for a kept raw line
        std::string value;  // the value, or the raw line
        bool raw = false;
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };
    Section* FindSection(const std::string& name);
    Line* FindLine(Section& section, const std::string& ident);

    std::vector<Line> preamble_;  // raw lines before the first section
    std::vector<Section> sections_;
};

}  // namespace kes

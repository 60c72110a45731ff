#pragma once
// An ordered list of 8-bit strings; Text joins them with CR LF.
#include <string>
#include <vector>

#include "Component.h"

namespace kes {

class TStringList : public TPersistent {
    KES_CLASS(TStringList, TPersistent)
public:
    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& operator[](int index) const;
    const std::string& Strings(int index) const { return (*this)[index]; }
    void Put(int index, const std::string& s);

    int Add(const std::string& s);
    void Insert(int index, const std::string& s);
    void Delete(int index);
    void Clear() { items_.clear(); }
    // Exact match first to last; -1 when absent. IndexOfText folds A-Z.
    int IndexOf(const std::string& s) const;
    int IndexOfText(const std::string& s) const;
    // Sorts without regard to the letter case of A to Z (stable for equal keys).
    void Sort();

    // Every line followed by CR LF.
    std::string Text() const;
    // Splits at CR LF, CR or LF; a final line end adds no empty line.
    void SetText(const std::string& text);

    // Whole files as bytes; failures raise EFOpenError.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

    void Assign(const TPersistent& source) override;
    const std::vector<std::string>& Items() const { return items_; }

private:
    void CheckIndex(int index, bool allowEnd) const;
    std::vector<std::string> items_;
};

// Letter-case helpers that fold only A to Z.
std::string UpperAZ(std::string s);
std::string LowerAZ(std::string s);
int CompareTextAZ(const std::string& a, const std::string& b);

// Whole-file helpers (bytes unchanged); false when the file cannot be read or written.
bool ReadFileBytes(const std::string& path, std::string& out);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace kes

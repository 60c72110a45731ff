#include "StringList.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "Exception.h"

namespace kes {

std::string UpperAZ(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string LowerAZ(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

int CompareTextAZ(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto fold = [](char c) {
            unsigned char u = static_cast<unsigned char>(c);
            return (u >= 'a' && u <= 'z') ? u - 'a' + 'A' : u;
        };
        int d = fold(a[i]) - fold(b[i]);
        if (d) return d < 0 ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool ReadFileBytes(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();  // a failure while flushing counts too
    return !out.fail();
}

void TStringList::CheckIndex(int index, bool allowEnd) const {
    if (index < 0 || index > Count() || (!allowEnd && index == Count()))
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

const std::string& TStringList::operator[](int index) const {
    CheckIndex(index, false);
    return items_[static_cast<size_t>(index)];
}

void TStringList::Put(int index, const std::string& s) {
    CheckIndex(index, false);
    items_[static_cast<size_t>(index)] = s;
}

int TStringList::Add(const std::string& s) {
    items_.push_back(s);
    return Count() - 1;
}

void TStringList::Insert(int index, const std::string& s) {
    CheckIndex(index, true);
    items_.insert(items_.begin() + index, s);
}

void TStringList::Delete(int index) {
    CheckIndex(index, false);
    items_.erase(items_.begin() + index);
}

int TStringList::IndexOf(const std::string& s) const {
    auto it = std::find(items_.begin(), items_.end(), s);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TStringList::IndexOfText(const std::string& s) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareTextAZ(items_[static_cast<size_t>(i)], s) == 0) return i;
    return -1;
}

void TStringList::Sort() {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const std::string& a, const std::string& b) { return CompareTextAZ(a, b) < 0; });
}

std::string TStringList::Text() const {
    std::string out;
    for (const std::string& s : items_) {
        out += s;
        out += "\r\n";
    }
    return out;
}

void TStringList::SetText(const std::string& text) {
    items_.clear();
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        items_.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) items_.push_back(text.substr(start));
}

void TStringList::LoadFromFile(const std::string& path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) throw EFOpenError("Cannot open file \"" + path + "\"");
    SetText(bytes);
}

void TStringList::SaveToFile(const std::string& path) const {
    if (!WriteFileBytes(path, Text())) throw EFOpenError("Cannot create file \"" + path + "\"");
}

void TStringList::Assign(const TPersistent& source) {
    if (auto* other = dynamic_cast<const TStringList*>(&source)) {
        items_ = other->items_;
        return;
    }
    TPersistent::Assign(source);
}

}  // namespace kes

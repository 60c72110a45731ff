#include "IncludePaths.h"

#include <vector>

#include "base/StringList.h"

namespace kes {

namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }
bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool HasDrive(const std::string& p) { return p.size() >= 2 && IsDriveLetter(p[0]) && p[1] == ':'; }
bool IsUnc(const std::string& p) { return p.size() >= 2 && IsSep(p[0]) && IsSep(p[1]); }

std::vector<std::string> SplitParts(const std::string& s) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : s) {
        if (IsSep(c)) {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    return parts;
}

// The drive ("C:") or share ("\\server\share") that a normalised absolute path starts with; empty otherwise.
std::string RootOf(const std::string& normalised) {
    if (HasDrive(normalised)) return normalised.substr(0, 2);
    if (IsUnc(normalised)) {
        size_t server = normalised.find('\\', 2);
        if (server == std::string::npos) return normalised;
        size_t share = normalised.find('\\', server + 1);
        return share == std::string::npos ? normalised : normalised.substr(0, share);
    }
    return {};
}

}  // namespace

std::string NormalisePath(const std::string& path) {
    std::string prefix;  // written before the parts
    std::string rest = path;
    size_t fixedParts = 0;  // parts that ".." never removes
    bool rooted = false;
    if (IsUnc(path)) {
        prefix = "\\\\";
        rest = path.substr(2);
        fixedParts = 2;
        rooted = true;
    } else if (HasDrive(path)) {
        prefix = path.substr(0, 2);
        rest = path.substr(2);
        if (!rest.empty() && IsSep(rest[0])) {
            prefix += '\\';
            rooted = true;
        }
    } else if (!path.empty() && IsSep(path[0])) {
        prefix = "\\";
        rooted = true;
    }

    std::vector<std::string> out;
    std::vector<std::string> parts = SplitParts(rest);
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string part = parts[i];
        const bool fixed = out.size() < fixedParts;
        // The system drops trailing dots and blanks of the last part: "a.fs." and "a.fs " open "a.fs".
        if (!fixed && i + 1 == parts.size() && part != "." && part != "..") {
            while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
        }
        if (fixed) {
            if (!part.empty() || i + 1 < parts.size()) out.push_back(part);
            continue;
        }
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (out.size() > fixedParts && out.back() != "..") {
                out.pop_back();
            } else if (!rooted && prefix.empty()) {
                out.push_back(part);
            }
            continue;
        }
        out.push_back(part);
    }

    std::string result = prefix;
    for (size_t i = 0; i < out.size(); ++i) {
        if (i) result += '\\';
        result += out[i];
    }
    if (result.empty() && !path.empty()) result = ".";
    return result;
}

std::string FolderOfFile(const std::string& file) {
    size_t cut = file.find_last_of("\\/");
    if (cut == std::string::npos) {
        if (HasDrive(file)) return file.substr(0, 2);
        return {};
    }
    // Keep the separator of a root ("C:\", "\") so that the folder stays absolute.
    std::string folder = file.substr(0, cut);
    if (folder.empty() || (folder.size() == 2 && HasDrive(folder))) folder = file.substr(0, cut + 1);
    return NormalisePath(folder);
}

std::string ResolveIncludePath(const std::string& baseFolder, const std::string& name) {
    if (name.empty()) return {};
    if (IsUnc(name) || (HasDrive(name) && name.size() > 2 && IsSep(name[2]))) return NormalisePath(name);
    const std::string base = NormalisePath(baseFolder);
    if (HasDrive(name)) {
        const std::string rest = name.substr(2);
        if (HasDrive(base) && UpperAZ(base.substr(0, 2)) == UpperAZ(name.substr(0, 2)))
            return NormalisePath(base + "\\" + rest);
        return NormalisePath(name.substr(0, 2) + "\\" + rest);
    }
    if (IsSep(name[0])) return NormalisePath(RootOf(base) + name);
    if (base.empty() || base == ".") return NormalisePath(name);
    return NormalisePath(base + "\\" + name);
}

std::string IncludePathKey(const std::string& path) { return UpperAZ(NormalisePath(path)); }

}  // namespace kes

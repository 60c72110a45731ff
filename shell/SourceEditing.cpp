#include "shell/SourceEditing.h"

#include <algorithm>
#include <cstdlib>

#include "base/StringList.h"
#include "shell/IncludePaths.h"

namespace kes {

std::string TextLengthsText(size_t textLength, size_t selLength) {
    return "TextSize " + std::to_string(textLength) + " / " + std::to_string(selLength);
}

bool SameFileSaveAllowed(const std::string& fileName) {
    return fileName.find(":\\") != std::string::npos && fileName.find('.') != std::string::npos;
}

// ---- search

std::optional<size_t> SearchText(std::string_view text, std::string_view what, size_t selStart, size_t selLength,
                                 unsigned options) {
    if (what.empty() || what.size() > text.size()) return std::nullopt;
    std::string hay(text), needle(what);
    if (options & soIgnoreCase) {
        hay = UpperAZ(hay);
        needle = UpperAZ(needle);
    }
    const size_t from = (options & soFromStart) ? 0 : std::min(selStart + selLength, hay.size());
    size_t hit = hay.find(needle, from);
    if (hit == std::string::npos && (options & soWrap) && from > 0) hit = hay.find(needle, 0);
    if (hit == std::string::npos) return std::nullopt;
    return hit;
}

bool SearchAllowed(size_t textLength, const std::string& what) { return textLength > 20 && !what.empty(); }

// ---- include viewer

TWordRange WordAt(std::string_view text, size_t pos) {
    auto inWord = [&](size_t i) { return static_cast<unsigned char>(text[i]) > ' '; };
    pos = std::min(pos, text.size());
    size_t start = pos;
    if (start == text.size() || !inWord(start)) {
        if (start == 0 || !inWord(start - 1)) return {pos, 0};
    }
    while (start > 0 && inWord(start - 1)) --start;
    size_t end = pos;
    while (end < text.size() && inWord(end)) ++end;
    return {start, end - start};
}

namespace {

// The text after the first `open` up to the next `close` (to the end when none follows).
std::string Between(const std::string& s, char open, char close) {
    const size_t a = s.find(open);
    const size_t b = s.find(close, a + 1);
    return s.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
}

}  // namespace

std::string ViewerFileName(const std::string& word) {
    std::string name = word;
    if (name.find('<') != std::string::npos && name.find('>') != std::string::npos) name = Between(name, '<', '>');
    if (name.find('"') != std::string::npos) name = Between(name, '"', '"');
    return name;
}

std::string SourceBaseFolder(const std::string& sourceFile, const std::string& startFolder) {
    if (sourceFile.empty()) return NormalisePath(startFolder);
    const std::string folder = FolderOfFile(ResolveIncludePath(startFolder, sourceFile));
    return folder.empty() ? NormalisePath(startFolder) : folder;
}

std::string QuotedPath(const std::string& path) { return "\"" + path + "\""; }

TLevelBounds IncludeLevelBounds(int depth, int frameWidth, int frameHeight) {
    const int margin = depth * 10 + 10;
    return {margin, margin, std::max(0, frameWidth - 2 * margin), std::max(0, frameHeight - 2 * margin)};
}

// ---- printing

namespace {

constexpr int kLayoutDpi = 600;
constexpr int kScreenDpi = 96;

int Scale(int value, int dpi, int from) {
    return static_cast<int>((static_cast<long long>(value) * dpi + from / 2) / from);
}

}  // namespace

TPrintLayout LayoutPrintout(int lineCount, int dpiX, int dpiY, int pageHeight, int fontHeight) {
    TPrintLayout layout;
    if (dpiX <= 0) dpiX = kLayoutDpi;
    if (dpiY <= 0) dpiY = kLayoutDpi;
    const int x = Scale(500, dpiX, kLayoutDpi);
    const int top = Scale(300, dpiY, kLayoutDpi);
    const int step = std::max(1, Scale(150, dpiY, kLayoutDpi));
    const int last = Scale(7000, dpiY, kLayoutDpi);
    layout.FontHeight = fontHeight < 0 ? -Scale(-fontHeight, dpiY, kScreenDpi) : Scale(fontHeight, dpiY, kScreenDpi);
    auto fits = [&](int y) { return y <= last && (pageHeight <= 0 || y + step <= pageHeight); };
    int page = 1, y = top;
    for (int i = 0; i < lineCount; ++i) {
        if (y != top && !fits(y)) {
            ++page;
            y = top;
        }
        layout.Lines.push_back({page, x, y});
        y += step;
    }
    layout.Pages = lineCount > 0 ? page : 0;
    return layout;
}

std::optional<std::string> SourceFileRefusal(const std::string& fileName, std::string_view bytes) {
    const size_t nul = bytes.find('\0');
    if (nul == std::string_view::npos) return std::nullopt;
    return "\"" + fileName + "\" is not loaded: it holds NUL bytes (the first at byte " + std::to_string(nul) +
           "), as UTF-16 and binary files do. This editor takes 8-bit text only and would cut the file there.";
}

// ---- registry values

namespace {

constexpr const char* kSection = "Source";

}  // namespace

TSourceSettings ReadSourceSettings(TCustomIniFile& ini) {
    TSourceSettings s;
    s.Place = ReadWindowPlace(ini, kSection, s.Place);
    s.FileName = ini.ReadString(kSection, "Filename", "");
    return s;
}

std::vector<std::string> WriteSourcePlace(TCustomIniFile& ini, const TWindowPlace& place) {
    TSettingsWrite write(ini);
    write.Place(kSection, place);
    return write.Failed();
}

void WriteSourceFileName(TCustomIniFile& ini, const std::string& fileName) {
    ini.WriteString(kSection, "Filename", fileName);
}

}  // namespace kes

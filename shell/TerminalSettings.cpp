#include "shell/TerminalSettings.h"

#include <cstdint>

namespace kes {

namespace {

std::optional<int> ParseInt(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    if (i == s.size() || s[i] < '0' || s[i] > '9') return std::nullopt;
    int64_t v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        v = v * 10 + (s[i++] - '0');
        if (v > int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    while (i < s.size() && s[i] == ' ') ++i;
    if (i != s.size()) return std::nullopt;
    if (negative) v = -v;
    if (v > INT32_MAX) return std::nullopt;
    return static_cast<int>(v);
}

constexpr const char* kMcuKey = "MCUtype";
constexpr const char* kReadOnlyKey = "Memo1ReadOnly";
constexpr const char* kWindowKey = "Window";
constexpr int kIconCorner = -32000;

bool IsUsablePlace(const TWindowPlace& p) {
    return p.Width >= 1 && p.Height >= 1 && p.Left > kIconCorner && p.Top > kIconCorner;
}

}  // namespace

std::optional<std::string> TMemorySettingsStore::ReadString(const std::string& section,
                                                            const std::string& name) const {
    auto it = Values.find({section, name});
    if (it == Values.end()) return std::nullopt;
    return it->second;
}

bool TMemorySettingsStore::WriteString(const std::string& section, const std::string& name,
                                       const std::string& value) {
    Values[{section, name}] = value;
    return true;
}

int ReadSettingInt(const TSettingsStore& store, const std::string& section, const std::string& name, int def) {
    auto text = store.ReadString(section, name);
    if (!text) return def;
    return ParseInt(*text).value_or(def);
}

bool ReadSettingBool(const TSettingsStore& store, const std::string& section, const std::string& name, bool def) {
    return ReadSettingInt(store, section, name, def ? 1 : 0) != 0;
}

TWindowPlace PlaceToSave(bool minimised, const TWindowPlace& current, const TWindowPlace& normal) {
    return minimised ? normal : current;
}

std::optional<TBoardType> TTerminalSettings::BoardType() const {
    std::optional<TBoardType> type;
    for (int i = 0; i < 4; ++i)
        if (Checked[i]) type = BoardModes()[i].Type;
    return type;
}

void TTerminalSettings::SetBoardType(std::optional<TBoardType> type) {
    for (int i = 0; i < 4; ++i) Checked[i] = type && BoardModes()[i].Type == *type;
}

TTerminalSettings ReadTerminalSettings(const TSettingsStore& store) {
    TTerminalSettings s;
    for (int i = 0; i < 4; ++i) s.Checked[i] = ReadSettingBool(store, kMcuKey, BoardModes()[i].RegistryValue, i == 0);
    s.SetBoardType(s.BoardType());  // radio items: only the last true one stays checked
    s.Memo1ReadOnly = ReadSettingBool(store, kReadOnlyKey, "Bool", false);
    const TWindowPlace def;
    TWindowPlace p;
    p.Top = ReadSettingInt(store, kWindowKey, "Top", def.Top);
    p.Left = ReadSettingInt(store, kWindowKey, "Left", def.Left);
    p.Height = ReadSettingInt(store, kWindowKey, "Height", def.Height);
    p.Width = ReadSettingInt(store, kWindowKey, "Width", def.Width);
    s.Window = IsUsablePlace(p) ? p : def;
    return s;
}

bool WriteTerminalSettings(TSettingsStore& store, const TTerminalSettings& s) {
    bool ok = true;
    auto put = [&](const char* section, const char* name, const std::string& value) {
        ok = store.WriteString(section, name, value) && ok;
    };
    for (int i = 0; i < 4; ++i) put(kMcuKey, BoardModes()[i].RegistryValue, s.Checked[i] ? "1" : "0");
    put(kReadOnlyKey, "Bool", s.Memo1ReadOnly ? "1" : "0");
    put(kWindowKey, "Top", std::to_string(s.Window.Top));
    put(kWindowKey, "Left", std::to_string(s.Window.Left));
    put(kWindowKey, "Height", std::to_string(s.Window.Height));
    put(kWindowKey, "Width", std::to_string(s.Window.Width));
    return ok;
}

}  // namespace kes

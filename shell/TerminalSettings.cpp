#include "shell/TerminalSettings.h"

namespace kes {

namespace {

constexpr const char* kMcuKey = "MCUtype";
constexpr const char* kReadOnlyKey = "Memo1ReadOnly";
constexpr const char* kWindowKey = "Window";

}  // namespace

std::optional<TBoardType> TTerminalSettings::BoardType() const {
    std::optional<TBoardType> type;
    for (int i = 0; i < 4; ++i)
        if (Checked[i]) type = BoardModes()[i].Type;
    return type;
}

void TTerminalSettings::SetBoardType(std::optional<TBoardType> type) {
    for (int i = 0; i < 4; ++i) Checked[i] = type && BoardModes()[i].Type == *type;
}

TTerminalSettings ReadTerminalSettings(TCustomIniFile& ini) {
    TTerminalSettings s;
    for (int i = 0; i < 4; ++i) s.Checked[i] = ini.ReadBool(kMcuKey, BoardModes()[i].RegistryValue, i == 0);
    s.SetBoardType(s.BoardType());  // radio items: only the last true one stays checked
    s.Memo1ReadOnly = ini.ReadBool(kReadOnlyKey, "Bool", false);
    s.Window = ReadWindowPlace(ini, kWindowKey, TWindowPlace{});
    return s;
}

std::vector<std::string> WriteTerminalSettings(TCustomIniFile& ini, const TTerminalSettings& s) {
    TSettingsWrite write(ini);
    for (int i = 0; i < 4; ++i) write.Bool(kMcuKey, BoardModes()[i].RegistryValue, s.Checked[i]);
    write.Bool(kReadOnlyKey, "Bool", s.Memo1ReadOnly);
    write.Place(kWindowKey, s.Window);
    return write.Failed();
}

}  // namespace kes

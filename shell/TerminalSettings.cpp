#include "shell/TerminalSettings.h"

namespace kes {

namespace {

constexpr const char* kMcuKey = "MCUtype";
constexpr const char* kReadOnlyKey = "Memo1ReadOnly";
constexpr const char* kWindowKey = "Window";
constexpr int kIconCorner = -32000;

bool IsUsablePlace(const TWindowPlace& p) {
    return p.Width >= 1 && p.Height >= 1 && p.Left > kIconCorner && p.Top > kIconCorner;
}

}  // namespace

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

TTerminalSettings ReadTerminalSettings(TCustomIniFile& ini) {
    TTerminalSettings s;
    for (int i = 0; i < 4; ++i) s.Checked[i] = ini.ReadBool(kMcuKey, BoardModes()[i].RegistryValue, i == 0);
    s.SetBoardType(s.BoardType());  // radio items: only the last true one stays checked
    s.Memo1ReadOnly = ini.ReadBool(kReadOnlyKey, "Bool", false);
    const TWindowPlace def;
    TWindowPlace p;
    p.Top = ini.ReadInteger(kWindowKey, "Top", def.Top);
    p.Left = ini.ReadInteger(kWindowKey, "Left", def.Left);
    p.Height = ini.ReadInteger(kWindowKey, "Height", def.Height);
    p.Width = ini.ReadInteger(kWindowKey, "Width", def.Width);
    s.Window = IsUsablePlace(p) ? p : def;
    return s;
}

void WriteTerminalSettings(TCustomIniFile& ini, const TTerminalSettings& s) {
    for (int i = 0; i < 4; ++i) ini.WriteBool(kMcuKey, BoardModes()[i].RegistryValue, s.Checked[i]);
    ini.WriteBool(kReadOnlyKey, "Bool", s.Memo1ReadOnly);
    ini.WriteInteger(kWindowKey, "Top", s.Window.Top);
    ini.WriteInteger(kWindowKey, "Left", s.Window.Left);
    ini.WriteInteger(kWindowKey, "Height", s.Window.Height);
    ini.WriteInteger(kWindowKey, "Width", s.Window.Width);
}

}  // namespace kes

#pragma once
// The terminal's own settings: board type, read-only flag and window place, kept by a settings object
// (on Windows the registry one without a base key: sections directly under HKEY_CURRENT_USER, integers as
// decimal text, Booleans as "1"/"0"). A missing or unreadable value reads as its default.
#include <optional>
#include <string>
#include <vector>

#include "base/IniFile.h"
#include "shell/BoardModes.h"
#include "shell/WindowPlace.h"

namespace kes {

struct TTerminalSettings {
    // Check marks of the four "Processor-Type" items, in menu order (Arduino, Scamp2, Scamp2andTirvane, ESP32).
    bool Checked[4] = {true, false, false, false};
    bool Memo1ReadOnly = false;
    TWindowPlace Window;

    // The checked board type: the last true value wins (radio items); nullopt when all four are false.
    std::optional<TBoardType> BoardType() const;
    void SetBoardType(std::optional<TBoardType> type);
};

// Reads "MCUtype", "Memo1ReadOnly" and "Window". A place that can't be a window's (width or height below 1,
// a corner at -32000 or beyond, as minimised windows report) reads as the default place.
TTerminalSettings ReadTerminalSettings(TCustomIniFile& ini);
// Writes every value, also after one failed; returns "Section\Ident" of those that could not be written.
std::vector<std::string> WriteTerminalSettings(TCustomIniFile& ini, const TTerminalSettings& settings);

}  // namespace kes

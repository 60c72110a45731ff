#include "shell/BoardModes.h"

namespace kes {

namespace {
// clang-format off
const std::array<TBoardMode, 4> kModes{{
    {TBoardType::Arduino, "Arduino1", "Arduino FlashForth", "Arduino", " MCU: Arduino",
     false, true, false, chCR, chCR, false, false, "\r\r"},
    {TBoardType::Scamp2, "SCAMPPIC241", "SCAMP2 FORTH", "Scamp2", " MCU: Scamp2",
     false, true, false, chCR, chCR, true, true, "\r"},
    {TBoardType::Scamp2andTirvane, "SCAMPPIC24usingTirvane1", "SCAMP2 FORTH using ANSI Console", "Scamp2andTirvane",
     " MCU: Scamp2+ANSI Console", false, true, false, chCR, chCR, true, false, "\r\r"},
    {TBoardType::ESP32, "ESP32", "ESP32 FORTH", "ESP32forth", " MCU: ESP32 w FORTH",
     true, false, true, chLF, chLF, false, false, "\r\r"},
}};
// clang-format on
}  // namespace

const std::array<TBoardMode, 4>& BoardModes() { return kModes; }

const TBoardMode& BoardMode(TBoardType type) {
    for (const auto& m : kModes)
        if (m.Type == type) return m;
    return kModes[0];
}

const TBoardMode& EffectiveBoardMode(std::optional<TBoardType> checked) {
    return BoardMode(checked.value_or(TBoardType::Arduino));
}

std::optional<TBoardType> BoardTypeByItemName(std::string_view itemName) {
    for (const auto& m : kModes)
        if (itemName == m.ItemName) return m.Type;
    return std::nullopt;
}

std::optional<TBoardType> BoardTypeByRegistryValue(std::string_view value) {
    for (const auto& m : kModes)
        if (value == m.RegistryValue) return m.Type;
    return std::nullopt;
}

TMemoKeyDecision DecideMemoKey(const TBoardMode& mode, bool portOpen, char key) {
    if (!portOpen) return {TMemoKeyAction::Drop, {}};
    if (mode.SendsKeysAtOnce) return {TMemoKeyAction::SendKey, std::string(1, key == chCR ? chLF : key)};
    if (key == chCR) return {TMemoKeyAction::SendCaretLine, {}};
    return {TMemoKeyAction::Pass, {}};
}

bool SendsEscOnKey(const TBoardMode& mode, bool portOpen) { return portOpen && mode.SendsEscKey; }

std::string TerminalLineBytes(std::string_view line) { return std::string(line) + chCR; }

std::string CommandLineBytes(std::string_view command) { return std::string(command) + chCR + chLF; }

}  // namespace kes

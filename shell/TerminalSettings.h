#pragma once
// The terminal's own settings: board type, read-only flag and window place, stored as strings in keys
// directly under HKEY_CURRENT_USER (integers as decimal text, Booleans as "1"/"0"). A missing or unreadable
// value reads as its default.
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "shell/BoardModes.h"

namespace kes {

// Where the values live: the registry on Windows, a map in tests.
class TSettingsStore {
public:
    virtual ~TSettingsStore() = default;
    // nullopt when the value is missing or can't be read as a string.
    virtual std::optional<std::string> ReadString(const std::string& section, const std::string& name) const = 0;
    // Creates the section when needed; returns false when the value could not be written.
    virtual bool WriteString(const std::string& section, const std::string& name, const std::string& value) = 0;
};

class TMemorySettingsStore : public TSettingsStore {
public:
    std::optional<std::string> ReadString(const std::string& section, const std::string& name) const override;
    bool WriteString(const std::string& section, const std::string& name, const std::string& value) override;
    std::map<std::pair<std::string, std::string>, std::string> Values;
};

// Value codec: an integer is optional blanks, an optional sign and decimal digits that fit 32 bits;
// a Boolean is an integer, true when not 0. Anything else reads as the default.
int ReadSettingInt(const TSettingsStore& store, const std::string& section, const std::string& name, int def);
bool ReadSettingBool(const TSettingsStore& store, const std::string& section, const std::string& name, bool def);

struct TWindowPlace {
    int Top = 300;
    int Left = 300;
    int Height = 500;
    int Width = 1200;
    bool operator==(const TWindowPlace&) const = default;
};

// The place to store when the window closes: a minimised window keeps its normal (restored) place, not the
// place of its icon.
TWindowPlace PlaceToSave(bool minimised, const TWindowPlace& current, const TWindowPlace& normal);

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
TTerminalSettings ReadTerminalSettings(const TSettingsStore& store);
// Writes every value; false when any write failed (the others are still written).
bool WriteTerminalSettings(TSettingsStore& store, const TTerminalSettings& settings);

}  // namespace kes

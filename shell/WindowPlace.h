#pragma once
// A window's stored place (Top, Left, Height, Width in a settings section): reading it back, what to store
// when the window closes, and bringing a place that lies off every monitor back onto one. Also the writing of
// settings at close, where one value that cannot be written must not keep the others or the window back.
#include <string>
#include <vector>

#include "base/IniFile.h"

namespace kes {

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

// "Top", "Left", "Height", "Width" of the section; a place that can't be a window's (width or height below 1,
// a corner at -32000 or beyond, as minimised windows report) reads as `defaults`.
TWindowPlace ReadWindowPlace(TCustomIniFile& ini, const std::string& section, const TWindowPlace& defaults);

// A place shows on a monitor when at least this many pixels of it, in both directions, lie on its work area.
inline constexpr int kMinVisiblePixels = 32;

// The place unchanged when it shows on one of the monitors' work areas (or none is known); otherwise moved
// onto the nearest one, and made smaller where it does not fit.
TWindowPlace PlaceOnMonitors(const TWindowPlace& place, const std::vector<TWindowPlace>& workAreas);

// Writes settings one by one; a value that cannot be written is noted and the rest are still written.
class TSettingsWrite {
public:
    explicit TSettingsWrite(TCustomIniFile& ini) : ini_(ini) {}
    void Integer(const std::string& section, const std::string& ident, int value);
    void Bool(const std::string& section, const std::string& ident, bool value);
    void Place(const std::string& section, const TWindowPlace& place);
    // "Section\Ident" of every value that could not be written, in the order tried.
    const std::vector<std::string>& Failed() const { return failed_; }

private:
    template <typename F>
    void Try(const std::string& section, const std::string& ident, F&& write);
    TCustomIniFile& ini_;
    std::vector<std::string> failed_;
};

// The one report of settings that could not be written ("" when all were).
std::string UnsavedSettingsText(const std::vector<std::string>& failed);

}  // namespace kes

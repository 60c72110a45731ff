#include "shell/WindowPlace.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace kes {

namespace {

constexpr int kIconCorner = -32000;

bool IsUsablePlace(const TWindowPlace& p) {
    return p.Width >= 1 && p.Height >= 1 && p.Left > kIconCorner && p.Top > kIconCorner;
}

long long Overlap(long long a0, long long a1, long long b0, long long b1) {
    return std::max(0LL, std::min(a1, b1) - std::max(a0, b0));
}

// Distance between the two rectangles (0 when they touch or overlap), squared.
long long Gap(const TWindowPlace& p, const TWindowPlace& a) {
    auto axis = [](long long p0, long long p1, long long a0, long long a1) {
        return p1 < a0 ? a0 - p1 : (a1 < p0 ? p0 - a1 : 0);
    };
    const long long dx = axis(p.Left, 0LL + p.Left + p.Width, a.Left, 0LL + a.Left + a.Width);
    const long long dy = axis(p.Top, 0LL + p.Top + p.Height, a.Top, 0LL + a.Top + a.Height);
    return dx * dx + dy * dy;
}

}  // namespace

TWindowPlace PlaceToSave(bool minimised, const TWindowPlace& current, const TWindowPlace& normal) {
    return minimised ? normal : current;
}

TWindowPlace ReadWindowPlace(TCustomIniFile& ini, const std::string& section, const TWindowPlace& defaults) {
    TWindowPlace p;
    p.Top = ini.ReadInteger(section, "Top", defaults.Top);
    p.Left = ini.ReadInteger(section, "Left", defaults.Left);
    p.Height = ini.ReadInteger(section, "Height", defaults.Height);
    p.Width = ini.ReadInteger(section, "Width", defaults.Width);
    return IsUsablePlace(p) ? p : defaults;
}

TWindowPlace PlaceOnMonitors(const TWindowPlace& place, const std::vector<TWindowPlace>& workAreas) {
    const TWindowPlace* nearest = nullptr;
    long long nearestGap = std::numeric_limits<long long>::max();
    for (const TWindowPlace& a : workAreas) {
        const long long w = Overlap(place.Left, 0LL + place.Left + place.Width, a.Left, 0LL + a.Left + a.Width);
        const long long h = Overlap(place.Top, 0LL + place.Top + place.Height, a.Top, 0LL + a.Top + a.Height);
        if (w >= std::min(kMinVisiblePixels, place.Width) && h >= std::min(kMinVisiblePixels, place.Height))
            return place;
        const long long gap = Gap(place, a);
        if (gap < nearestGap) {
            nearestGap = gap;
            nearest = &a;
        }
    }
    if (!nearest) return place;
    const TWindowPlace& a = *nearest;
    TWindowPlace p = place;
    p.Width = std::min(p.Width, a.Width);
    p.Height = std::min(p.Height, a.Height);
    p.Left = std::clamp(p.Left, a.Left, a.Left + a.Width - p.Width);
    p.Top = std::clamp(p.Top, a.Top, a.Top + a.Height - p.Height);
    return p;
}

template <typename F>
void TSettingsWrite::Try(const std::string& section, const std::string& ident, F&& write) {
    try {
        write();
    } catch (const std::exception&) {
        failed_.push_back(section + "\\" + ident);
    }
}

void TSettingsWrite::Integer(const std::string& section, const std::string& ident, int value) {
    Try(section, ident, [&] { ini_.WriteInteger(section, ident, value); });
}

void TSettingsWrite::Bool(const std::string& section, const std::string& ident, bool value) {
    Try(section, ident, [&] { ini_.WriteBool(section, ident, value); });
}

void TSettingsWrite::Place(const std::string& section, const TWindowPlace& place) {
    Integer(section, "Top", place.Top);
    Integer(section, "Left", place.Left);
    Integer(section, "Height", place.Height);
    Integer(section, "Width", place.Width);
}

std::string UnsavedSettingsText(const std::vector<std::string>& failed) {
    if (failed.empty()) return {};
    std::string text = "These settings could not be written to the registry and keep their former values:";
    for (const std::string& name : failed) text += "\r\n" + name;
    return text;
}

}  // namespace kes

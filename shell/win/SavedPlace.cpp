#include "shell/win/SavedPlace.h"

#include "gui/win/Dialogs.h"
#include "gui/win/Win.h"

namespace kes {

namespace {

TWindowPlace PlaceOf(const RECT& r) { return TWindowPlace{r.top, r.left, r.bottom - r.top, r.right - r.left}; }

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info))
        reinterpret_cast<std::vector<TWindowPlace>*>(areas)->push_back(PlaceOf(info.rcWork));
    return TRUE;
}

}  // namespace

TWindowPlace SavedPlaceOf(TCustomForm& form) {
    HWND h = static_cast<HWND>(form.Handle());
    TWindowPlace current{form.Top(), form.Left(), form.Height(), form.Width()};
    RECT now{};
    if (GetWindowRect(h, &now)) current = PlaceOf(now);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    const TWindowPlace normal = GetWindowPlacement(h, &wp) ? PlaceOf(wp.rcNormalPosition) : current;
    return PlaceToSave(IsIconic(h) != FALSE, current, normal);
}

void RestorePlace(TCustomForm& form, const TWindowPlace& place) {
    std::vector<TWindowPlace> areas;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    const TWindowPlace p = PlaceOnMonitors(place, areas);
    form.SetBounds(p.Left, p.Top, p.Width, p.Height);
}

void ReportUnsavedSettings(const std::vector<std::string>& failed, TCustomForm* owner) {
    if (failed.empty()) return;
    MsgBox(UnsavedSettingsText(failed), "Warning", MB_OK | MB_ICONWARNING, owner);
}

}  // namespace kes

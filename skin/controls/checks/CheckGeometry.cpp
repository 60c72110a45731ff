#include "skin/controls/checks/CheckGeometry.h"

#include <algorithm>

namespace kes {

namespace {

int WithinStrip(int frame, int frames) { return std::clamp(frame, 1, std::max(1, frames)); }

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

int CheckBoxFrame(const CheckBoxFacts& f, int frames) {
    int v = f.Checked ? kCheckOn : kCheckOff;
    bool grayed = false;
    if (f.HasState) {
        if (Contains(f.State, "uncheck"))
            v = kCheckOff;
        else if (Contains(f.State, "check"))
            v = kCheckOn;
        else if (Contains(f.State, "gray"))
            v = kCheckGrayed, grayed = true;
    } else if (f.HasChecked) {
        v = f.CheckedTrue ? kCheckOn : kCheckOff;
    }
    if (f.HasDataField && f.LastSet != 0) {
        // wParam 0 and 1 of BM_SETCHECK are unchecked and checked; anything else is the third state.
        v = f.LastSet == 1 ? kCheckOff : f.LastSet == 2 ? kCheckOn : kCheckGrayed;
        grayed = v == kCheckGrayed;
    }
    if (f.HasDataBinding) v = kCheckOff, grayed = false;
    // Kept: a grayed box shows the grayed frames (9, 12), not 8 or 6 (another state's look) of a 12-frame strip.
    // A grayed box has one look for both; only the two-state codes have a disabled twin.
    if (f.Disabled && !grayed) v += 2;
    if (f.Indeterminate) v = kCheckGrayed, grayed = true;
    if (frames == 12) {
        if (grayed) return f.Disabled ? 12 : 9;
        static constexpr int kTwelve[5] = {0, 1, 5, 4, 8};
        v = kTwelve[v];
    }
    return WithinStrip(v, frames);
}

int RadioButtonFrame(bool checked, bool disabled, int frames) {
    int v = (checked ? kCheckOn : kCheckOff) + (disabled ? 2 : 0);
    if (frames == 8) {
        static constexpr int kEight[5] = {0, 1, 5, 4, 8};
        v = kEight[v];
    }
    return WithinStrip(v, frames);
}

CheckPlacement PlaceCheckBox(const PixelRect& r, int w, int h, bool leftText, bool radio) {
    CheckPlacement p;
    const int top = r.Top + (r.Height() - h) / 2;
    p.Text = r;
    if (leftText) {
        const int right = radio ? r.Right - 1 : r.Right;
        p.Box = {right - w, top, right, top + h};
        p.Text.Right = right - w - 2;
    } else {
        p.Box = {r.Left, top, r.Left + w, top + h};
        p.Text.Left = r.Left + w + 2;
    }
    return p;
}

}  // namespace kes

#pragma once
// The hint window: a small borderline popup that shows a control's hint near the mouse. The layer shows
// hints by itself for controls whose ShowHint (or a parent's) is on; ActivateHint shows any text anywhere.
#include <string>

#include "gui/Controls.h"

namespace kes {

class THintWindow : public TCustomControl {
    KES_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(TComponent* owner);
    // Shows `hint` in `rect` (screen coordinates), above every other window, without taking the focus.
    void ActivateHint(const TRect& rect, const std::string& hint);
    // The rectangle (at 0,0) that fits `hint` in lines no wider than `maxWidth`.
    TRect CalcHintRect(int maxWidth, const std::string& hint);
    void ReleaseHandle();
    void Paint(TCanvas& canvas) override;

protected:
    void CreateParams(TCreateParams& params) override;
};

// The short part of a hint: the text before the first "|".
std::string GetShortHint(const std::string& hint);
// The hint shown for a control: its own when ShowHint is on for it or one of its parents; empty otherwise.
std::string EffectiveHint(const TControl* control);

// Hint timing of the application (installed when a form gets its window; needs the application object).
void InstallHintManager();
// Drops a control that goes away from the hint timing.
void ForgetHintControl(const TControl* control);
// The hint window while a hint shows, else nullptr.
THintWindow* ShowingHintWindow();

}  // namespace kes

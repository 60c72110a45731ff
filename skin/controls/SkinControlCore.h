#pragma once
// The order in which a control's controller takes part in the control's messages: the controller's
// BeforeMessage, then (when it lets the message through) the control's previous handling, then its
// AfterMessage. SKM_SETACTIVE switches the controller on and off and is never passed on; while it is off every
// message goes straight to the previous handling. WM_NCDESTROY unskins the controller once.
#include <cstdint>

#include "base/Component.h"
#include "gui/Controls.h"

namespace kes {

// Message numbers the dispatch needs (the platform's and the skin engine's).
enum : unsigned {
    kWmSetFocus = 0x0007,
    kWmKillFocus = 0x0008,
    kWmEnable = 0x000A,
    kWmSetText = 0x000C,
    kWmPaint = 0x000F,
    kWmNcDestroy = 0x0082,
    kSkmSetActive = 0x3506,
    kSkmIsSkinned = 0x3523,
    kCmEnabledChanged = 0xB00C,
};

// State of a controller: made, attached, its window gone.
enum : int { kControlMade = 0, kControlAttached = 1, kControlWindowGone = 6 };

class SkinControlCore : public TComponent {
    KES_CLASS(SkinControlCore, TComponent)
public:
    explicit SkinControlCore(TComponent* owner) : TComponent(owner) {}

    bool Active() const { return active_; }
    int State() const { return state_; }

    // Runs one message of the control through the controller.
    void Dispatch(TMessage& m);

    // Switches the skin off (and gives the control back what the controller changed).
    virtual void Unskin() { active_ = false; }

protected:
    // True lets the previous handling and AfterMessage run; false means the message is answered.
    virtual bool BeforeMessage(TMessage& m);
    virtual void AfterMessage(TMessage& m);
    // The control's own handling (the rest of its chain, or the window's previous procedure).
    virtual void CallPrevious(TMessage& m) = 0;
    // Has the control repainted at once.
    virtual void Repaint() {}
    // Paints the control's look over what the control painted (dc 0: its window DC).
    virtual void PaintWindow(uintptr_t /*dc*/) {}

    bool active_ = true;
    int state_ = kControlMade;
};

}  // namespace kes

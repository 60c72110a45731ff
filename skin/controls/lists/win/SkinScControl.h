#pragma once
// The skinned scroll-bar control (TScrollBar and its kind): one overlay in the scroll-bar-control mode lies
// over the whole control and paints the skin's bar, its thumb reckoned from the control's range; a press on it
// is the control's own press, so the control tracks, scrolls and repeats as it always does. GUI thread only.
#include "skin/controls/scrollbars/win/SkinScrollbar.h"

namespace kes {

class TSkinScControl : public TSkinControl {
    KES_CLASS(TSkinScControl, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    ~TSkinScControl() override;
    // Attaches to a scroll-bar control of the class library.
    void AttachScrollBarControl(TWinControl* control, TSkinData* skin, TWinSkinForm* form);
    // The factory's and the program's attach lead to the same.
    void AttachScrollControl(TWinControl* control, TSkinData* skin, TWinSkinForm* form) override;
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void Unskin() override;
    void DrawControl(HDC dc, const TRect& rect) override;
    TWScrollbar* Overlay() const { return bar_; }

protected:
    void AfterMessage(TMessage& m) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void FreeOverlay();
    TWScrollbar* bar_ = nullptr;
};

}  // namespace kes

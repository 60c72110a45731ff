#pragma once
// TComboxScrollBar: the vertical scroll bar of a combo box's drop-down list, painted over the list's
// non-client area after the list painted its own, with its own thumb drag (the list's native drag of a
// dropped list is replaced). The drag waits for each message and ends on the button going up, Esc, a lost
// capture, a cancelled mode or the list being hidden; a quit message met on the way is posted again.
// The combo box's controller attaches it when it skins a combo box (AttachComboListScrollbar). GUI thread only.
#include "skin/controls/win/SkinControl.h"

namespace kes {

class TComboxScrollBar : public TSkinControl {
    KES_CLASS(TComboxScrollBar, TSkinControl)
public:
    explicit TComboxScrollBar(TComponent* owner);
    void DrawControl(HDC dc, const TRect& rect) override;
    void Unskin() override;
    bool Dragging() const { return dragging_; }

protected:
    bool BeforeMessage(TMessage& m) override;
    void AfterMessage(TMessage& m) override;

private:
    // A press on the thumb (screen point): the drag runs until it ends; false when the press missed the thumb.
    bool TrackThumb(POINT press);

    int arrow_ = 0;
    bool dragging_ = false;
    bool dragEnded_ = false;
};

// Skins the scroll bar of a combo box's drop-down list window (GetComboBoxInfo's hwndList). The controller is
// owned by `owner` and listed with the skinned window's controllers (form may be null). Null without a list
// window or skin.
TComboxScrollBar* AttachComboxScrollBar(TComponent* owner, HWND list, TSkinData* skin, TWinSkinForm* form);
// The same for the combo box's controller: its skin and skinned window, owned by it.
inline TComboxScrollBar* AttachComboxScrollBar(TSkinControl& owner, HWND list) {
    return AttachComboxScrollBar(&owner, list, owner.Skin(), owner.Form());
}

}  // namespace kes

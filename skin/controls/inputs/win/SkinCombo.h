#pragma once
// The skinned combo box, TSkinComBox: after the combo painted itself, its frame, button and arrow glyph are
// painted over it from the skin's "ComboButton" (with "SunkEdge" and "ExtraImages"), in the state the combo is
// in now (disabled, pressed, hot, focused). The combo keeps all of its own behaviour: it drops down, selects
// and types as it always does; the button's place is read back from the system at every paint. The inner
// edit of a drop-down combo is subclassed so that its painting and presses repaint the combo's skin.
#include <memory>

#include "skin/draw/ComboGeometry.h"
#include "skin/controls/win/SkinControl.h"

namespace kes {

class TSkinComBox : public TSkinControl {
    KES_CLASS(TSkinComBox, TSkinControl)
public:
    // extended: the combo is the inner combo of a ComboBoxEx window (its button is the skin's "ComboxArrow").
    TSkinComBox(TComponent* owner, bool extended);
    ~TSkinComBox() override;
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* form) override;
    void Unskin() override;
    void DrawControl(HDC dc, const TRect& rect) override;

    // The inner edit (null for a drop-down list) and the button's place as last painted.
    HWND InnerEdit() const;
    const PixelRect& ButtonRect() const { return button_; }

    // The controllers of the combo's list window: the drop-down list's bar, or a simple combo's list bars.
    TSkinControl* DropDownBar() const { return dropBar_; }
    TSkinControl* ListBars() const { return listBars_; }

protected:
    void AfterMessage(TMessage& m) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    struct InnerEditSubclass;
    void FreeListControllers();
    void SubclassInnerEdit();
    void SkinDropDownList();
    bool Pressed() const;
    void DrawFlat(HDC dc, const TRect& rect, bool focused, bool leftButton);
    void DrawExtended(HDC dc, const TRect& rect, int state);
    void SetHot(bool hot);

    std::unique_ptr<InnerEditSubclass> inner_;
    TSkinControl* dropBar_ = nullptr;   // owned (a component of this controller)
    TSkinControl* listBars_ = nullptr;  // owned
    PixelRect button_;
    bool extended_ = false;
    bool buttonPressed_ = false;  // the system shows the button pressed (the list is down)
};

}  // namespace kes

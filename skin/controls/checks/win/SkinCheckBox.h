#pragma once
// The skinned check boxes and radio buttons: TSkinCheckBox and TSkinRadioButton draw the box from the skin's
// CheckButton or RadioButton strip of the [Buttons] section. For a control of the class library with a usable
// strip (background mode 1) the controller paints the whole control: background, box and caption. For a raw
// window, or when the strip is missing, the system paints the control and the controller only draws the box
// over the system's box (background mode 0). The control keeps its own behaviour: clicks and the space key toggle
// it as before, and the controller repaints after each change. GUI thread only.
#include "skin/controls/checks/CheckGeometry.h"
#include "skin/controls/win/SkinControl.h"

namespace kes {

// What the check boxes and radio buttons share: attaching, the messages, drawing box and caption.
class TSkinCheckControl : public TSkinControl {
    KES_CLASS(TSkinCheckControl, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void DrawControl(HDC dc, const TRect& rect) override;
    bool Transparent() const { return transparent_; }

protected:
    bool BeforeMessage(TMessage& m) override;
    void AfterMessage(TMessage& m) override;
    // The strip this control draws from and its frame count.
    virtual const PixelBuffer& Strip() const = 0;
    virtual int StripFrames() const = 0;
    // The frame of the strip for the control's state now.
    virtual int CurrentFrame(int frames) = 0;
    virtual bool IsRadio() const = 0;

private:
    void DrawCaption(HDC dc, const TRect& area, unsigned textFlags);
    bool transparent_ = false;
};

class TSkinCheckBox : public TSkinCheckControl {
    KES_CLASS(TSkinCheckBox, TSkinCheckControl)
public:
    using TSkinCheckControl::TSkinCheckControl;
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;

protected:
    void AfterMessage(TMessage& m) override;
    const PixelBuffer& Strip() const override;
    int StripFrames() const override;
    int CurrentFrame(int frames) override;
    bool IsRadio() const override { return false; }

private:
    int lastSet_ = 0;  // 0: no BM_SETCHECK seen, else its wParam + 1
};

class TSkinRadioButton : public TSkinCheckControl {
    KES_CLASS(TSkinRadioButton, TSkinCheckControl)
public:
    using TSkinCheckControl::TSkinCheckControl;

protected:
    const PixelBuffer& Strip() const override;
    int StripFrames() const override;
    int CurrentFrame(int frames) override;
    bool IsRadio() const override { return true; }
};

}  // namespace kes

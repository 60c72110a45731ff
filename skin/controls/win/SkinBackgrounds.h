#pragma once
// The skinned containers and frames: TSkinStatusBar (panels on the skin's "StatusBarEdges", the size grip from
// "ExtraImages"), TSkinGroupBox (a rounded frame line and the caption on the background colour), TSkinBox
// (recolours a panel or form with the skin's background colour), TSkinBoxH (the skin's background for raw
// dialog and tool-bar windows and their static texts) and TSkinSizer (a size box in the background colour).
#include "skin/controls/win/SkinControl.h"

namespace kes {

class TSkinStatusBar : public TSkinControl {
    KES_CLASS(TSkinStatusBar, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void DrawControl(HDC dc, const TRect& rect) override;

protected:
    bool BeforeMessage(TMessage& m) override;
};

class TSkinGroupBox : public TSkinControl {
    KES_CLASS(TSkinGroupBox, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void DrawControl(HDC dc, const TRect& rect) override;

protected:
    bool BeforeMessage(TMessage& m) override;
};

class TSkinBox : public TSkinControl {
    KES_CLASS(TSkinBox, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    // Recolours only: the control's messages stay its own.
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void Unskin() override;
};

class TSkinBoxH : public TSkinControl {
    KES_CLASS(TSkinBoxH, TSkinControl)
public:
    using TSkinControl::TSkinControl;

protected:
    bool BeforeMessage(TMessage& m) override;
};

class TSkinSizer : public TSkinControl {
    KES_CLASS(TSkinSizer, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void DrawControl(HDC dc, const TRect& rect) override;
};

}  // namespace kes

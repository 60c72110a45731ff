#pragma once
// TSkinObjImage: the skin of a check box or radio button of another control library that draws its own box from
// a glyph bitmap it publishes. The controller builds a glyph strip in the layout that control expects from the
// skin's CheckButton or RadioButton strip and hands it over by property name (kind 1: "CustomGlyphs" with
// "UseCustomGlyphs" of a check box, kind 2: the same of a radio button, kind 3: "Properties"."Glyph" of a check
// box); it does so when attached and when the skin changes, and takes the glyphs back when unskinned. It takes
// no part in the control's messages except to answer that the control is skinned. GUI thread only.
#include "skin/controls/win/SkinControl.h"

namespace kes {

class TSkinObjImage : public TSkinControl {
    KES_CLASS(TSkinObjImage, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    ~TSkinObjImage() override;
    int ObjKind = 0;  // 1, 2 or 3 (set before attaching)
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void SkinChanged() override;
    void Unskin() override;
    // Builds the strip and hands it to the control (nothing without the skin's strip or the control's bitmap).
    void PushGlyphs();

private:
    int handler_ = 0;
};

}  // namespace kes

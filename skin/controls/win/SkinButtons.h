#pragma once
// The skinned push buttons: TSkinButton (plain push buttons, also raw "button" windows of dialog boxes),
// TSkinBitButton (a glyph beside the caption) and TSkinMenuButton (a drop-down arrow at the right). Each
// paints the button from the skin's [Buttons] strip into a bitmap of its own and copies it out in one blit,
// tracks the hot and pressed states itself and, because it keeps the left-button press from the button's own
// window procedure, produces the click itself: exactly one per press and release on the button.
#include "skin/controls/ButtonGeometry.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/draw/win/SkinGdi.h"

namespace kes {

class TSkinButton : public TSkinControl {
    KES_CLASS(TSkinButton, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void DrawControl(HDC dc, const TRect& rect) override;
    bool Transparent() const { return transparent_; }

protected:
    bool BeforeMessage(TMessage& m) override;
    void AfterMessage(TMessage& m) override;
    // The state of the button now (focus, enabled, default read from the system and the control).
    ButtonState ReadState(bool withDefault);
    std::wstring CaptionText() const;
    // WM_KEYDOWN / WM_KEYUP of the space bar presses and releases the button; false for other keys.
    bool SpaceKey(const TMessage& m);
    // The bitmap sized to rect with the background and face frame drawn; selects the caption font and
    // colour; false when the skin has no [Buttons] image.
    bool BeginFace(const TRect& rect, int face, bool drawFace = true);
    void EndFace(HDC target, const TRect& rect);
    void SetCaptionColour(int face, bool enabled, bool normalAlways);
    // The caption centred (or left-aligned), the first "||" a line break, with the focus mark.
    void DrawButtonCaption(const TRect& rect, unsigned alignment, const std::wstring& caption, bool focused);
    void FocusMark(RECT r, bool focused);

    SkinBitmap bitmap_;
    bool transparent_ = false;

private:
    HGDIOBJ oldFont_ = nullptr;
    UniqueGdi<HFONT> font_;
};

class TSkinBitButton : public TSkinButton {
    KES_CLASS(TSkinBitButton, TSkinButton)
public:
    using TSkinButton::TSkinButton;
    void DrawControl(HDC dc, const TRect& rect) override;
    std::string ImageProperty;  // a graphic property ("PngImage") instead of "Glyph"
};

class TSkinMenuButton : public TSkinButton {
    KES_CLASS(TSkinMenuButton, TSkinButton)
public:
    using TSkinButton::TSkinButton;
    void DrawControl(HDC dc, const TRect& rect) override;
};

// A windowless speed button, painted on its parent: the face by state ("Down" shows pressed, a flat button
// shows its face only when hot or pressed), the glyph strip frame by state, the caption.
class TSkinSpeedButton : public TSkinBitButton {
    KES_CLASS(TSkinSpeedButton, TSkinBitButton)
public:
    using TSkinBitButton::TSkinBitButton;
    ~TSkinSpeedButton() override;
    void AttachGraphicControl(TWinSkinForm* form, TSkinData* skin) override;
    void PaintWindow(uintptr_t dc) override;

protected:
    bool BeforeMessage(TMessage& m) override;
    void AfterMessage(TMessage& m) override;

private:
    // Paints the button onto dc, whose origin is the button's top-left corner.
    void PaintOn(HDC dc);
    void GiveBack();
    TGraphicControl* graphic_ = nullptr;
    int handler_ = 0;
    bool painting_ = false;
};

// One frame of a glyph strip at (x, y), transparent in the bitmap's automatic colour; a one-frame glyph asked
// for frame 2 (disabled) is drawn embossed.
void DrawGlyphFrame(HDC dc, int x, int y, int numGlyphs, int index, TBitmap& glyph);
// An embossed grey copy of a glyph.
std::unique_ptr<TBitmap> CreateDisabledGlyph(TBitmap& glyph);

}  // namespace kes

#pragma once
// The skinned edit, up-down and date picker. TSkinEdit draws a 3-pixel border in the skin's colours over the
// edit's own and skins an up-down the edit holds as a child. TSkinUpDown paints both arrows from the skin's
// "UpDown.Vert" / "UpDown.Horz" strips (or plainly without them) while the up-down keeps its own clicking,
// repeating and value. TSkinDateTime draws a 2-pixel border and covers the picker's button with TArrowButton,
// a small window of its own whose presses are handed to the picker, so the calendar opens as it always does.
#include <memory>

#include "skin/controls/win/SkinControl.h"

namespace kes {

class TSkinUpDown;

class TSkinEdit : public TSkinControl {
    KES_CLASS(TSkinEdit, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void DrawControl(HDC dc, const TRect& rect) override;
    TSkinUpDown* EmbeddedUpDown() const { return upDown_; }

protected:
    void AfterMessage(TMessage& m) override;

private:
    void SkinEmbeddedUpDown();
    void PrintBorder(HDC dc);
    TSkinUpDown* upDown_ = nullptr;  // owned by the edit's control, or by the skinned window
};

class TSkinUpDown : public TSkinControl {
    KES_CLASS(TSkinUpDown, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void DrawControl(HDC dc, const TRect& rect) override;
    // Set when an edit skins the up-down it holds: the arrows stay 3 pixels inside the edit.
    bool Embedded = false;

protected:
    bool BeforeMessage(TMessage& m) override;
};

class TArrowButton;

class TSkinDateTime : public TSkinControl {
    KES_CLASS(TSkinDateTime, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    ~TSkinDateTime() override;
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* form) override;
    void Unskin() override;
    void DrawControl(HDC dc, const TRect& rect) override;
    // The arrow button's window (null before attaching).
    HWND ArrowWindow() const;

protected:
    void AfterMessage(TMessage& m) override;

private:
    std::unique_ptr<TArrowButton> arrow_;
};

// The small arrow for an up-down or date picker drawn plainly (no skin image): a solid arrow head around (x, y)
// in the DC's pen colour; part 0 up, 1 down, 2 left, 3 right; any other part draws nothing.
void DrawSmallArrow(HDC dc, int x, int y, int part);

}  // namespace kes

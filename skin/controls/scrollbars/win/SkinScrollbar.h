#pragma once
// Skinned scroll bars of scrollable controls (memos, list boxes). The native bars keep working as the system
// made them: a small borderless window (TWScrollbar) lies exactly over each native bar, paints the skin's
// scroll-bar images from what the system reports at paint time (GetScrollBarInfo) and hands every press on it
// to the native bar, which then runs its own tracking. TSkinScrollbar owns the two overlays of one control and
// draws the control's two-line border. GUI thread only.
#include "gui/ExtCtrls.h"
#include "skin/controls/ScrollbarPaint.h"
#include "skin/controls/win/SkinControl.h"

namespace kes {

// The pieces of a bar (PlanScrollbar) drawn with the skin's images on a bitmap of `size` filled with
// "ButtonFace", copied 1:1 to `at` on dc. False (nothing drawn) when the skin has no "Scrollbar" image or the
// bitmap could not be made.
// With stretchTo the bitmap is stretched over that size at `at` instead.
bool PaintScrollbar(HDC dc, POINT at, SIZE size, const TSkinData& skin, const ScrollbarLook& look,
                    const SIZE* stretchTo = nullptr);
// Cross extent of a skinned bar: the "Scrollbar" image's height, or the arrow size when they differ by more
// than 2 pixels.
int SkinScrollBreadth(const TSkinData& skin, int arrow);

class TWScrollbar : public TCustomPanel {
    KES_CLASS(TWScrollbar, TCustomPanel)
public:
    // mode 0: the target's horizontal window bar, 1: its vertical one, 2: the target is a scroll-bar control
    // (its "Kind" says which way it lies).
    explicit TWScrollbar(TSkinControl* controller);

    void AttachToControl(TWinControl* control, int mode);
    void AttachToWindow(HWND window, int mode);
    void HideBar();
    // Puts the overlay over the target's bar as the system reports it now (hidden when the bar or the target
    // is); a failed query leaves it where it is.
    void UpdatePosition(HWND window);
    // The target made its window anew: the overlay follows the new one (and a scroll-bar control's new Kind).
    void Retarget(HWND window);
    ScrollPart HitTest(int x, int y) const;
    // A scroll code from the native bar (WM_HSCROLL/WM_VSCROLL) shows its part as the hot one.
    void ShowScrollCode(int code);
    void Refresh();
    // Refresh when the system's bar no longer looks as last painted (its control repainted).
    void RefreshIfChanged();

    bool Shown() const { return shown_; }
    bool Pressed() const { return pressed_; }
    ScrollPart Hot() const { return hot_; }
    int Mode() const { return mode_; }
    HWND Target() const { return target_; }

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& m) override;

private:
    void Attach(HWND window, int mode, bool vertical);
    bool BarInfo(SCROLLBARINFO& info) const;
    void Paint(HDC dc);
    void Press(TMessage& m);
    void Release(TMessage& m);

    int length_ = 0;
    ThumbSpan thumb_;
    POINT origin_{};        // the bar's top-left, screen
    POINT pressCursor_{};   // the cursor when the button went down, screen
    ThumbSpan pressThumb_;  // the system's thumb at that moment
    bool pressed_ = false;
    bool vertical_ = false;
    ScrollPart hot_ = kScrollNone;
    int arrow_ = 0;
    HWND target_ = nullptr;
    TWinControl* targetControl_ = nullptr;
    HWND parentWindow_ = nullptr;
    TSkinControl* controller_;
    int mode_ = 0;
    bool shown_ = false;
    // What the last paint showed.
    struct Painted {
        ThumbSpan Thumb;
        int Length = -1;
        bool Enabled = true;
        bool operator==(const Painted&) const = default;
    } painted_;
};

// The horizontal (0) and vertical (1) overlays of one window, owned by its controller.
class OverlayPair {
public:
    ~OverlayPair() { Free(); }
    void Make(TSkinControl* controller, TWinControl* control, HWND window);
    void Free();
    void UpdatePosition(HWND window);
    // The controller's paint: shown overlays refresh when their bar changed, hidden ones of a window that has
    // the bar's style look again; the corner between two shown bars takes "ButtonFace" on the window DC dc.
    void Paint(TSkinControl& controller, HDC dc, HWND window);
    void ShowScrollCode(bool vertical, int code);
    void Refresh();
    void SetEnabled(bool on);
    void Hide();
    TWScrollbar* operator[](int i) const { return bars_[i]; }

private:
    TWScrollbar* bars_[2] = {nullptr, nullptr};
};

class TSkinScrollbar : public TSkinControl {
    KES_CLASS(TSkinScrollbar, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void AttachScrollControl(TWinControl* control, TSkinData* skin, TWinSkinForm* form) override;
    void Unskin() override;
    void SkinChanged() override;
    void DrawControl(HDC dc, const TRect& rect) override;

    TWScrollbar* Horizontal() const { return bars_[0]; }
    TWScrollbar* Vertical() const { return bars_[1]; }

protected:
    bool BeforeMessage(TMessage& m) override;
    void AfterMessage(TMessage& m) override;

private:
    void DrawBorder(HDC dc);

    OverlayPair bars_;
    bool border_ = false;
    bool fixedColour_ = false;  // the control's "FixedColor" was given the skin's colour
    int64_t savedFixed_ = 0;
};

// The bars of a raw list window (the list of a simple combo box): two overlays, no border.
class TSkinScrollbarH : public TSkinControl {
    KES_CLASS(TSkinScrollbarH, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* form) override;
    void Unskin() override;
    void DrawControl(HDC dc, const TRect& rect) override;
    TWScrollbar* Horizontal() const { return bars_[0]; }
    TWScrollbar* Vertical() const { return bars_[1]; }

protected:
    void AfterMessage(TMessage& m) override;

private:
    OverlayPair bars_;
};

// Skins the bars of a list window that a combo box's controller (owner) found (a simple combo box's list): the
// controller is owned by owner and uses its skin and skinned window. Null without a window.
TSkinScrollbarH* AttachListScrollBars(TSkinControl& owner, HWND list);

}  // namespace kes

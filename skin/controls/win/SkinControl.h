#pragma once
// TSkinControl: the controller that skins one child control of a skinned window. It takes part in every
// message of the control (BeforeMessage, the control's own handling, AfterMessage; see SkinControlCore.h) and
// paints the skinned look over the control. It attaches either to a control of the class library, as the
// newest handler of the control's chain (the control owns it), or to a raw window without a control object,
// through a subclass of the window (the skinned window's TWinSkinForm owns it). GUI thread only.
#include <memory>
#include <string>

#include "gui/win/Canvas.h"
#include "gui/win/Win.h"
#include "skin/controls/SkinControlCore.h"
#include "skin/controls/SkinControlRules.h"
#include "skin/data/SkinData.h"

namespace kes {

class TWinSkinForm;

class TSkinControl : public SkinControlCore {
    KES_CLASS(TSkinControl, SkinControlCore)
public:
    // owner: the control it skins, or the TWinSkinForm for a raw window.
    explicit TSkinControl(TComponent* owner);
    ~TSkinControl() override;

    // Attaches to the owner control (nothing when attached already); recolour gives the control the skin's
    // background colour until Unskin.
    virtual void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour);
    // Attaches to a raw window (nothing when attached already).
    virtual void AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* form);
    // The scroll-bar family's attach; others attach to the control as usual.
    virtual void AttachScrollControl(TWinControl* control, TSkinData* skin, TWinSkinForm* form);
    // A windowless control's attach (speed buttons); others attach nothing.
    virtual void AttachGraphicControl(TWinSkinForm* form, TSkinData* skin);
    void Unskin() override;
    // Re-applies the skin after it changed.
    virtual void SkinChanged();
    // Paints the whole window into dc (its window DC when 0).
    void PaintWindow(uintptr_t dc) override;
    // Draws the skinned control; rect is the window rectangle moved to (0, 0).
    virtual void DrawControl(HDC dc, const TRect& rect);

    HWND Window() const { return window_; }
    // The window the control had before it made its window anew (null when it never did).
    HWND FormerWindow() const { return formerWindow_; }
    TControl* Control() const { return control_; }
    TWinSkinForm* Form() const { return form_; }
    TSkinData* Skin() const { return skin_; }
    bool Attached() const { return attached_; }
    bool Recolour() const { return recolour_; }
    SkinKind Kind() const { return kind_; }
    void SetKind(SkinKind kind) { kind_ = kind; }
    int BackgroundMode = 0;
    // The TWinSkinForm is going: forget it.
    void FormGone() { form_ = nullptr; }

protected:
    enum : uint8_t { kMouseHot = 1, kMousePressed = 2 };

    // The menu the control opens for itself (an edit's Undo, Cut, Copy, Paste menu) is drawn by the window's
    // skin; then the base handling.
    bool BeforeMessage(TMessage& m) override;
    void CallPrevious(TMessage& m) override;
    void Repaint() override;
    // WM_PAINT: into the DC of wParam, or between BeginPaint and EndPaint; draws the control.
    void HandlePaint(TMessage& m);
    // WM_ERASEBKGND: the parent's background under a control, the parent's colour under a raw window.
    void HandleEraseBkgnd(TMessage& m);
    void FillBackground(HDC dc, const TRect& r) const;
    void FillParentColour(HDC dc, const TRect& r) const;
    TColor ParentColour() const;
    // Switches the control's published ParentBackground off (on = true) and back on (on = false).
    void SetParentBackground(bool on);
    // A left-button press to the control's own mouse-down handling.
    void SendMouseDown(const TMessage& m);
public:
    // DrawText flags plus DT_RTLREADING for a right-to-left control (or paint proxy).
    unsigned BiDiTextFlags(unsigned flags) const;
    bool EnabledFlag() const { return enabled_; }

protected:
    // The focus mark around the controller's caption laid out in rect with flags (check boxes, radio buttons).
    void DrawCaptionFocus(HDC dc, unsigned flags, const TRect& rect);
    TColor ColourOf(SkinColour slot) const;

    uint8_t mouse_ = 0;
    bool enabled_ = true;
    bool focused_ = false;
    std::wstring caption_;
    bool unicode_ = false;
    TSkinData* skin_ = nullptr;
    HWND window_ = nullptr;
    TControl* control_ = nullptr;
    TControl* paintProxy_ = nullptr;
    TRect windowRect_;
    bool recolour_ = false;
    TColor savedColour_ = clBtnFace;
    bool attached_ = false;
    TWinSkinForm* form_ = nullptr;
    bool parentBackground_ = false;

private:
    struct RawSubclass;
    struct OwnMenuWatch;
    void Hook(TMessage& m);
    // The control's own menu while it is open: its items owner-drawn by the window's menu items (true when the
    // message was answered here).
    bool OwnMenuMessage(TMessage& m);
    void OwnMenuOpens(HMENU menu);
    void OwnMenuCloses();
    HMENU ownMenu_ = nullptr;
    int handlerId_ = 0;                  // the handler in the control's chain
    bool recreating_ = false;            // the control is making its window anew
    HWND formerWindow_ = nullptr;
    std::unique_ptr<RawSubclass> raw_;  // the subclass of a raw window
    SkinKind kind_ = SkinKind::None;
};

// A caption in rect with a DrawText alignment (DT_LEFT, DT_CENTER, DT_RIGHT), centred vertically, on a
// transparent background, grey when not enabled; extra are further flags (DT_RTLREADING).
void DrawCaptionAligned(HDC dc, const TRect& rect, unsigned alignment, bool enabled, const std::wstring& text,
                        unsigned extra = 0);
// A solid colour fill.
void FillRectColour(HDC dc, const TRect& rect, TColor colour);
// A caption centred both ways on one line, whatever alignment (taLeftJustify, taRightJustify, taCenter) says.
void DrawCaptionCentered(HDC dc, const TRect& rect, const std::wstring& text, int alignment, bool enabled);
// An image-list icon and a caption beside it (imageIndex -1 or no list: the caption alone); the controller's
// enabled flag and reading order apply.
void DrawImageCaption(const TSkinControl& c, HDC dc, const TRect& rect, unsigned alignment, const std::wstring& text,
                      int imageIndex, HIMAGELIST images);
// (A skin object's frame in nine parts: DrawSkinImage of SkinObjectDraw.h; a frame of a strip stretched with
// magenta left out: DrawSkinFrame of SkinDraw.h. Both keep the frame number within the strip.)
// A small solid arrow head around (x, y) in the colour: 0 up, 1 down, 2 left, 3 right.
void DrawSmallArrow(HDC dc, int x, int y, int kind, TColor colour);
// target becomes a copy of source (size and picture).
void CopySkinBitmap(TBitmap& source, TBitmap& target);

// A published property of a control read or written by name (the object may be null; a missing property reads
// as -1 or empty text). SetPropByName raises on a non-numeric value for an integer property.
std::wstring GetWidePropByName(const TObject* obj, const std::string& name);
// The window's text, wide.
std::wstring GetWindowWideText(HWND window);
// A popup window, or a child of the desktop.
bool IsPopupWindow(HWND window);

}  // namespace kes

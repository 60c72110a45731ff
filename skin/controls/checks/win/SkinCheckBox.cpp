// The skinned check boxes and radio buttons.
#include "skin/controls/checks/win/SkinCheckBox.h"

#include "base/StringList.h"
#include "gui/TypInfo.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/draw/win/SkinDraw.h"
#include "skin/controls/checks/win/SkinStripCache.h"
#include "skin/draw/win/SkinText.h"

namespace kes {

namespace {

constexpr intptr_t kTransparentTag = 5555;

// The focus rectangle around a caption: off on systems of major version 6, whose own look has none.
bool CaptionFocusRect() {
    static const bool on = LOBYTE(LOWORD(GetVersion())) != 6;
    return on;
}

bool HasStrip(const TSkinData* skin, const PixelBuffer& strip) {
    return skin && strip.Width() > 0 && strip.Height() > 0;
}

}  // namespace

void TSkinCheckControl::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    TSkinControl::AttachControl(form, skin, recolour);
    if (!control_) return;
    BackgroundMode = HasStrip(skin_, Strip()) ? 1 : 0;
    transparent_ = control_->Tag == kTransparentTag || (skin_ && InSet(skin_->Options, xoTransparent));
}

bool TSkinCheckControl::BeforeMessage(TMessage& m) {
    const bool pass = TSkinControl::BeforeMessage(m);
    switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINT:
        if (BackgroundMode != 1) return pass;
        HandlePaint(m);
        m.Result = 0;
        return false;
    case WM_ERASEBKGND:
        if (!transparent_) return pass;
        HandleEraseBkgnd(m);
        return false;
    default: return pass;
    }
}

void TSkinCheckControl::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYUP: Repaint(); break;
    default: TSkinControl::AfterMessage(m); break;
    }
}

void TSkinCheckControl::DrawControl(HDC dc, const TRect& rect) {
    const PixelBuffer& strip = Strip();
    TBitmap* bitmap = HasStrip(skin_, strip) ? CachedSkinBitmap(strip) : nullptr;
    if (!bitmap) {
        BackgroundMode = 0;
        return;
    }
    const int frames = std::max(1, StripFrames());
    const int frame = CurrentFrame(frames);
    const LONG_PTR style = GetWindowLongPtrA(window_, GWL_STYLE);
    const CheckPlacement p = PlaceCheckBox({rect.Left, rect.Top, rect.Right, rect.Bottom}, strip.Width() / frames,
                                           strip.Height(), (style & BS_LEFTTEXT) != 0, IsRadio());
    // A caption left of its box is right-aligned only when the control reads right to left.
    const bool rightToLeft = BiDiTextFlags(0) != 0;
    const unsigned textFlags = BiDiTextFlags((style & BS_LEFTTEXT) && rightToLeft ? DT_RIGHT : 0u);
    if (BackgroundMode == 1 && !transparent_) FillBackground(dc, rect);
    DrawSkinFrame(dc, Rect(p.Box.Left, p.Box.Top, p.Box.Right, p.Box.Bottom), *bitmap, frame, frames, true);
    if (BackgroundMode == 1) DrawCaption(dc, Rect(p.Text.Left, p.Text.Top, p.Text.Right, p.Text.Bottom), textFlags);
}

void TSkinCheckControl::DrawCaption(HDC dc, const TRect& area, unsigned textFlags) {
    const std::wstring text = GetWidePropByName(control_, "Caption");
    caption_ = text;
    UniqueGdi<HFONT> font = CreateFontFor(control_->Font());
    const HGDIOBJ oldFont = font ? SelectObject(dc, font.Get()) : nullptr;
    const bool enabled = IsWindowEnabled(window_) != FALSE;
    const COLORREF oldText = SetTextColor(dc, ColorToRGB(enabled ? control_->Font().Color() : clBtnShadow));
    const COLORREF oldBack = SetBkColor(dc, ColorToRGB(ColourOf(SkinColour::ButtonFace)));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const unsigned flags = textFlags | DT_WORDBREAK | DT_EXPANDTABS;
    RECT measured = ToRECT(area);
    SkinDrawText(dc, text, measured, flags | DT_CALCRECT | DT_NOCLIP);
    RECT r = ToRECT(area);
    r.top += (area.Height() - (measured.bottom - measured.top)) / 2;
    if (GetFocus() == window_ && !text.empty() && CaptionFocusRect()) {
        RECT f{measured.left, r.top, measured.right, r.top + (measured.bottom - measured.top)};
        if (textFlags & DT_RIGHT) OffsetRect(&f, r.right - measured.right, 0);
        InflateRect(&f, 1, 1);
        DrawFocusRect(dc, &f);
    }
    SkinDrawText(dc, text, r, flags);
    SetBkMode(dc, oldMode);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
    if (oldFont) SelectObject(dc, oldFont);
}

// ---- check boxes ----

void TSkinCheckBox::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    TSkinCheckControl::AttachControl(form, skin, recolour);
    lastSet_ = 0;
}

void TSkinCheckBox::AfterMessage(TMessage& m) {
    if (m.Msg == BM_SETCHECK) lastSet_ = static_cast<int>(m.WParam) + 1;
    TSkinCheckControl::AfterMessage(m);
}

const PixelBuffer& TSkinCheckBox::Strip() const {
    static const PixelBuffer none;
    return skin_ ? skin_->Buttons.CheckImage : none;
}

int TSkinCheckBox::StripFrames() const { return skin_ ? skin_->Buttons.CheckButtonFrame : 1; }

int TSkinCheckBox::CurrentFrame(int frames) {
    const LRESULT s = SendMessageA(window_, BM_GETSTATE, 0, 0);
    CheckBoxFacts f;
    f.Checked = (s & BST_CHECKED) != 0;
    f.Indeterminate = (s & BST_INDETERMINATE) != 0;
    f.Disabled = (GetWindowLongPtrA(window_, GWL_STYLE) & WS_DISABLED) != 0;
    if (control_) {
        if ((f.HasState = IsPublishedProp(control_, "State"))) f.State = LowerAZ(GetEnumPropByName(control_, "State"));
        if ((f.HasChecked = IsPublishedProp(control_, "Checked")))
            f.CheckedTrue = LowerAZ(GetEnumPropByName(control_, "Checked")) == "true";
        f.HasDataField = IsPublishedProp(control_, "DataField");
        f.LastSet = lastSet_;
        f.HasDataBinding = IsPublishedProp(control_, "DataBinding");
    }
    return CheckBoxFrame(f, frames);
}

// ---- radio buttons ----

const PixelBuffer& TSkinRadioButton::Strip() const {
    static const PixelBuffer none;
    return skin_ ? skin_->Buttons.RadioImage : none;
}

int TSkinRadioButton::StripFrames() const { return skin_ ? skin_->Buttons.RadioButtonFrame : 1; }

int TSkinRadioButton::CurrentFrame(int frames) {
    bool checked = (SendMessageA(window_, BM_GETCHECK, 0, 0) & BST_CHECKED) != 0;
    if (control_ && IsPublishedProp(control_, "Checked"))
        checked = LowerAZ(GetEnumPropByName(control_, "Checked")) == "true";
    const bool disabled = (GetWindowLongPtrA(window_, GWL_STYLE) & WS_DISABLED) != 0;
    return RadioButtonFrame(checked, disabled, frames);
}

// ---- registration ----

static TSkinControl* MakeCheckBox(TComponent* owner, const ControlDecision&) { return new TSkinCheckBox(owner); }
static TSkinControl* MakeRadioButton(TComponent* owner, const ControlDecision&) { return new TSkinRadioButton(owner); }

static const bool registered = [] {
    RegisterSkinController(SkinKind::CheckBox, MakeCheckBox);
    RegisterSkinController(SkinKind::RadioButton, MakeRadioButton);
    return true;
}();

}  // namespace kes

// Keeps this file's registration in every program that links the frame library.
extern "C" {
int kes_skin_checks_anchor = 0;
}

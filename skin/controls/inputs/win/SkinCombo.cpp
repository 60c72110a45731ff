// The skinned combo box.
#include "skin/controls/inputs/win/SkinCombo.h"

#include <utility>

#include "gui/win/MsgCrack.h"
#include "gui/win/WindowSubclass.h"
#include "skin/controls/scrollbars/win/ComboListScrollbar.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/controls/scrollbars/win/SkinScrollbar.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/draw/win/SkinText.h"

namespace kes {

namespace {

PixelRect ToPixel(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
TRect ToT(const PixelRect& r) { return Rect(r.Left, r.Top, r.Right, r.Bottom); }

bool Inside(const PixelRect& r, TPoint p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }

// A mirrored strip holds its frames in reverse order.
int MirroredFrame(int frame, int frames) { return frames + 1 - frame; }

// A frame line of one colour around r.
void FrameColour(HDC dc, const TRect& r, TColor colour) {
    UniqueGdi<HBRUSH> b(CreateSolidBrush(ColorToRGB(colour)));
    const RECT rc = ToRECT(r);
    FrameRect(dc, &rc, b.Get());
}

}  // namespace

// The combo's inner edit: its own procedure first, then the combo's skin follows its painting and presses.
struct TSkinComBox::InnerEditSubclass : WindowSubclass {
    explicit InnerEditSubclass(TSkinComBox& c) : owner(c) {}
    TSkinComBox& owner;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        const LRESULT result = DefaultProc(msg, wp, lp);
        if (!owner.Active()) return result;
        switch (msg) {
        case WM_PAINT: owner.PaintWindow(0); break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            owner.mouse_ |= kMousePressed;
            owner.Repaint();
            break;
        case WM_LBUTTONUP:
            owner.mouse_ &= static_cast<uint8_t>(~kMousePressed);
            owner.Repaint();
            break;
        default: break;
        }
        return result;
    }
};

TSkinComBox::TSkinComBox(TComponent* owner, bool extended) : TSkinControl(owner), extended_(extended) {}

TSkinComBox::~TSkinComBox() {
    inner_.reset();
    FreeListControllers();
}

void TSkinComBox::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == dropBar_) dropBar_ = nullptr;
    if (component == listBars_) listBars_ = nullptr;
}

void TSkinComBox::FreeListControllers() {
    delete std::exchange(dropBar_, nullptr);
    delete std::exchange(listBars_, nullptr);
}

HWND TSkinComBox::InnerEdit() const { return inner_ ? inner_->Window() : nullptr; }

void TSkinComBox::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    if (attached_) return;
    TSkinControl::AttachControl(form, skin, recolour);
    if (!attached_) return;
    if ((GetWindowLongPtrA(window_, GWL_STYLE) & 3) == CBS_SIMPLE) {
        // A simple combo's list is a child of the combo; its bar is skinned with the list boxes' controller.
        COMBOBOXINFO info{};
        if (CallGetComboBoxInfo(window_, info) && info.hwndList &&
            (GetWindowLongPtrA(info.hwndList, GWL_STYLE) & WS_CHILD) && !IsPopupWindow(info.hwndList)) {
            if (!listBars_) listBars_ = AttachListScrollBars(*this, info.hwndList);
        }
        return;
    }
    SkinDropDownList();
    SubclassInnerEdit();
}

void TSkinComBox::AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* form) {
    if (attached_) return;
    TSkinControl::AttachWindow(window, skin, form);
    if (attached_ && (GetWindowLongPtrA(window_, GWL_STYLE) & 3) != CBS_SIMPLE) SubclassInnerEdit();
}

void TSkinComBox::SkinDropDownList() {
    COMBOBOXINFO info{};
    if (!CallGetComboBoxInfo(window_, info) || !info.hwndList) return;
    if (!dropBar_) dropBar_ = AttachComboxScrollBar(*this, info.hwndList);  // the dropped list's bar
}

void TSkinComBox::SubclassInnerEdit() {
    HWND edit = GetTopWindow(window_);
    if (!edit || inner_) return;
    inner_ = std::make_unique<InnerEditSubclass>(*this);
    if (!inner_->Attach(edit)) inner_.reset();
}

void TSkinComBox::Unskin() {
    if (!active_) return;
    TSkinControl::Unskin();
    inner_.reset();
    if (state_ == kControlWindowGone) return;
    // The list window's controllers go with the combo's skin: the list shows its own bars again.
    for (TSkinControl* c : {dropBar_, listBars_})
        if (c) c->Unskin();
    FreeListControllers();
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void TSkinComBox::SetHot(bool hot) {
    if (hot == ((mouse_ & kMouseHot) != 0)) return;
    if (hot) {
        mouse_ |= kMouseHot;
        CallTrackMouseEvent(window_);
    } else {
        mouse_ &= static_cast<uint8_t>(~kMouseHot);
    }
    Repaint();
}

void TSkinComBox::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: break;  // the combo repaints itself, and the skin with it
    case WM_MOUSEMOVE:
        if (IsWindowEnabled(window_)) SetHot(Inside(button_, msg::Point(m)));
        break;
    case WM_DRAWITEM:
    case WM_NCPAINT: PaintWindow(0); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        mouse_ |= kMousePressed;
        Repaint();
        break;
    case WM_LBUTTONUP:
        mouse_ &= static_cast<uint8_t>(~kMousePressed);
        Repaint();
        break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE: SetHot(false); break;
    default: TSkinControl::AfterMessage(m); break;
    }
}

// Pressed while the system shows the button down (its list is open), or while the left button that pressed the
// combo is still held: a press whose release went to the dropped list does not stay pressed.
bool TSkinComBox::Pressed() const {
    return buttonPressed_ || ((mouse_ & kMousePressed) && GetKeyState(VK_LBUTTON) < 0);
}

void TSkinComBox::DrawControl(HDC dc, const TRect& rect) {
    const TDataSkinBorder* button = skin_ ? skin_->ComboButton.get() : nullptr;
    if (!button || !button->HasImage() || !window_) return;
    const auto exStyle = GetWindowLongPtrA(window_, GWL_EXSTYLE);
    const bool left = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    int arrow = GetSystemMetrics(SM_CXHSCROLL);
    COMBOBOXINFO info{};
    buttonPressed_ = false;
    if (CallGetComboBoxInfo(window_, info)) {
        if (info.stateButton & STATE_SYSTEM_INVISIBLE) return;
        button_ = ToPixel(info.rcButton);
        buttonPressed_ = (info.stateButton & STATE_SYSTEM_PRESSED) != 0;
        // The button as wide as the system made it.
        if (button_.Width() > 0) arrow = button_.Width();
    }
    const HWND focus = GetFocus();
    const bool focused = focus && (focus == window_ || IsChild(window_, focus));
    const bool enabled = IsWindowEnabled(window_) != FALSE;
    if (button->Style == 1) {
        DrawFlat(dc, rect, focused, left);
        return;
    }
    const TRect r = Rect(0, 0, rect.Width(), rect.Height());
    const int state = ComboButtonState(enabled, Pressed(), (mouse_ & kMouseHot) != 0, focused);
    if (extended_) {
        DrawExtended(dc, r, state);
        return;
    }
    if (button->Style == 2) {
        // One image for the whole combo; its middle is keyed out where the combo shows its text.
        const TDataSkinObject* whole = left ? skin_->SunkEdge.get() : button;
        if (whole && whole->HasImage()) {
            const int frames = whole->Frame;
            DrawSkinImage(dc, r, whole->Image, MarginsOf(*whole), left ? MirroredFrame(state, frames) : state, frames,
                          true, false, false);
        }
        button_ = ComboLayout({r.Left, r.Top, r.Right, r.Bottom}, arrow, left).Button;
        return;
    }
    const ComboParts parts = ComboLayout({r.Left, r.Top, r.Right, r.Bottom}, arrow, left);
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, parts.Text.Left, parts.Text.Top, parts.Text.Right, parts.Text.Bottom);
    if (const TDataSkinObject* sunk = skin_->SunkEdge.get(); sunk && sunk->HasImage())
        DrawSkinImage(dc, r, *sunk, state);
    DrawSkinFrame(dc, ToT(parts.Button), left ? button->Image2 : button->Image, left ? MirroredFrame(state, 4) : state,
                  4, true);
    button_ = parts.Button;
    if (const TDataSkinObject* extra = skin_->ExtraImages.get(); extra && extra->HasImage()) {
        const int w = extra->Image.Width() / 5, h = extra->Image.Height();
        const int x = parts.Glyph.Left + (parts.Glyph.Width() - w) / 2;
        const int y = parts.Glyph.Top + (parts.Glyph.Height() - h) / 2;
        DrawSkinFrame(dc, Rect(x, y, x + w, y + h), extra->Image, state, 5, true);
    }
    RestoreDC(dc, saved);
}

void TSkinComBox::DrawFlat(HDC dc, const TRect& rect, bool focused, bool left) {
    const TDataSkinBorder& button = *skin_->ComboButton;
    const TRect r = Rect(0, 0, rect.Width(), rect.Height());
    const bool enabled = IsWindowEnabled(window_) != FALSE;
    const int state = ComboButtonState(enabled, Pressed(), (mouse_ & kMouseHot) != 0, focused);
    const FlatComboParts parts = FlatComboLayout({r.Left, r.Top, r.Right, r.Bottom}, button.Image.Width() / 4,
                                                 button.Image.Height(), GetSystemMetrics(SM_CYVTHUMB), left);
    const TColor background = control_ ? control_->Color() : static_cast<TColor>(GetSysColor(COLOR_WINDOW));
    FrameColour(dc, Rect(1, 1, r.Right - 1, r.Bottom - 1), background);
    FillRectColour(dc, ToT(parts.Strip), background);
    FrameColour(dc, r, ColourOf(SkinColour::ButtonShadow));
    button_ = parts.Button;
    DrawSkinFrame(dc, ToT(parts.Button), button.Image, state, 4, button.Trans != 0);
}

void TSkinComBox::DrawExtended(HDC dc, const TRect& r, int state) {
    RECT client;
    GetClientRect(window_, &client);
    if (client.right != r.Width() && client.bottom != r.Height()) {
        FrameColour(dc, r, ColourOf(SkinColour::ButtonShadow));
        FrameColour(dc, Rect(1, 1, r.Right - 1, r.Bottom - 1), static_cast<TColor>(0xFFFFFF));
    }
    const TDataSkinObject* arrow = skin_->ComboxArrow.get();
    if (!arrow || !arrow->HasImage() || button_.Empty()) return;
    FillRectColour(dc, ToT(button_), ColourOf(SkinColour::ButtonFace));
    DrawSkinFrame(dc, ToT(button_), arrow->Image, state, arrow->Frame, arrow->Trans != 0);
}

// ---- registration ----

static TSkinControl* MakeComBox(TComponent* owner, const ControlDecision& d) {
    return new TSkinComBox(owner, d.ExtendedCombo);
}

static const bool registered = [] {
    RegisterSkinController(SkinKind::ComBox, MakeComBox);
    return true;
}();

}  // namespace kes

extern "C" {
int kes_skin_combo_anchor = 0;
}

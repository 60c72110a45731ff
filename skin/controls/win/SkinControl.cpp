// The controller of one skinned control: attaching, the message hook and the shared message handlers.
#include "skin/controls/win/SkinControl.h"

#include <optional>

#include "gui/TypInfo.h"
#include "gui/win/MsgCrack.h"
#include "gui/win/WindowSubclass.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/draw/win/SkinDraw.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/draw/win/SkinText.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

// The subclass of a raw window: every message goes through the controller's hook.
struct TSkinControl::RawSubclass : WindowSubclass {
    explicit RawSubclass(TSkinControl& c) : owner(c) {}
    TSkinControl& owner;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        TMessage m{Window(), msg, wp, lp, 0};
        owner.Hook(m);
        return m.Result;
    }
    void Previous(TMessage& m) {
        m.NextCalled = true;
        m.Result = DefaultProc(m.Msg, m.WParam, m.LParam);
    }
};

TSkinControl::TSkinControl(TComponent* owner) : SkinControlCore(owner) {}

TSkinControl::~TSkinControl() {
    BeginDestroy();
    // A control that is going has dropped its handlers with its window already.
    if (handlerId_) {
        if (auto* w = dynamic_cast<TWinControl*>(control_); w && !w->Destroying()) w->RemoveMessageHandler(handlerId_);
        handlerId_ = 0;
    }
    raw_.reset();
    if (form_) form_->Controllers().Remove(this);
}

void TSkinControl::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    if (attached_) return;
    auto* control = dynamic_cast<TWinControl*>(Owner());
    if (!control) return;
    recolour_ = recolour;
    skin_ = skin;
    form_ = form;
    control_ = control;
    window_ = static_cast<HWND>(control->Handle());
    unicode_ = IsWindowUnicode(window_) != FALSE;
    handlerId_ = control->AddMessageHandler([this](TMessage& m) {
        Hook(m);
        return true;
    });
    if (form_) form_->Controllers().Add(this);
    if (recolour_) {
        SetParentBackground(true);
        savedColour_ = control->Color();
        control->SetColor(ColourOf(SkinColour::ButtonFace));
        if (parentBackground_) BackgroundMode = 1;
    }
    control->Invalidate();
    attached_ = true;
    state_ = kControlAttached;
}

void TSkinControl::AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* form) {
    if (attached_ || !window) return;
    skin_ = skin;
    form_ = form;
    window_ = window;
    enabled_ = true;
    BackgroundMode = 0;
    if (form_) form_->Controllers().Add(this);
    unicode_ = IsWindowUnicode(window) != FALSE;
    caption_ = GetWindowWideText(window);
    raw_ = std::make_unique<RawSubclass>(*this);
    raw_->Attach(window);
    InvalidateRect(window, nullptr, TRUE);
    attached_ = true;
    state_ = kControlAttached;
}

void TSkinControl::AttachScrollControl(TWinControl*, TSkinData* skin, TWinSkinForm* form) {
    AttachControl(form, skin, false);
}

void TSkinControl::AttachGraphicControl(TWinSkinForm*, TSkinData*) {}

void TSkinControl::Unskin() {
    if (!active_) return;
    active_ = false;
    if (state_ == kControlWindowGone || !recolour_ || !control_) return;
    SetParentBackground(false);
    control_->SetColor(savedColour_);
}

void TSkinControl::SkinChanged() {
    if (recolour_ && control_) control_->SetColor(ColourOf(SkinColour::ButtonFace));
    Repaint();
}

void TSkinControl::Hook(TMessage& m) {
    if (handlerId_) {
        // A control that makes its window anew keeps this handler: the old window's end is not the control's,
        // and the new window is the one the next message comes to.
        if (m.Msg == CM_RECREATEWND) recreating_ = true;
        if (recreating_ && m.Msg == WM_NCDESTROY) {
            CallPrevious(m);
            return;
        }
        if (m.Wnd && m.Wnd != window_) {
            formerWindow_ = window_;
            window_ = static_cast<HWND>(m.Wnd);
            recreating_ = false;
            mouse_ = 0;
        }
    }
    Dispatch(m);
}

void TSkinControl::CallPrevious(TMessage& m) {
    if (raw_)
        raw_->Previous(m);
    else
        CallNextHandler(m);
}

void TSkinControl::DrawControl(HDC, const TRect&) {}

void TSkinControl::PaintWindow(uintptr_t given) {
    RECT wr;
    if (!window_ || !GetWindowRect(window_, &wr)) return;
    windowRect_ = ToTRect(wr);
    const TRect r = Rect(0, 0, wr.right - wr.left, wr.bottom - wr.top);
    HDC dc = reinterpret_cast<HDC>(given);
    // The window DC goes back on every path, also when the drawing failed.
    std::optional<WindowDc> own;
    if (!dc) {
        own.emplace(window_, true);
        dc = own->Get();
        if (dc) SkinGdiMade(SkinGdiKind::Dc);
    }
    if (!dc) return;
    struct Count {
        bool own;
        ~Count() {
            if (own) SkinGdiFreed(SkinGdiKind::Dc);
        }
    } count{own.has_value()};
    try {
        DrawControl(dc, r);
    } catch (...) {
    }
}

void TSkinControl::Repaint() {
    if (paintProxy_) {
        paintProxy_->Invalidate();
        return;
    }
    if (!window_) return;
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
}

void TSkinControl::HandlePaint(TMessage& m) {
    HDC dc = msg::PaintDcOf(m);
    PAINTSTRUCT ps{};
    const bool began = dc == nullptr;
    if (began) dc = BeginPaint(window_, &ps);
    RECT wr;
    if (dc && GetWindowRect(window_, &wr)) {
        windowRect_ = ToTRect(wr);
        try {
            DrawControl(dc, Rect(0, 0, wr.right - wr.left, wr.bottom - wr.top));
        } catch (...) {
        }
    }
    if (began) EndPaint(window_, &ps);
}

void TSkinControl::HandleEraseBkgnd(TMessage& m) {
    HDC dc = msg::PaintDcOf(m);
    if (control_) {
        DrawParentBackground(*control_, dc, true);
    } else {
        RECT cr;
        GetClientRect(window_, &cr);
        FillParentColour(dc, ToTRect(cr));
    }
    m.Result = 1;
}

void FillRectColour(HDC dc, const TRect& r, TColor colour) {
    UniqueGdi<HBRUSH> b(CreateSolidBrush(ColorToRGB(colour)));
    const RECT rc = ToRECT(r);
    FillRect(dc, &rc, b.Get());
}

void TSkinControl::FillBackground(HDC dc, const TRect& r) const {
    FillRectColour(dc, r, ColourOf(SkinColour::ButtonFace));
}

TColor TSkinControl::ParentColour() const {
    const TControl* parent = control_ ? control_->Parent() : nullptr;
    if (!IsPublishedProp(parent, "Color")) return ColourOf(SkinColour::ButtonFace);
    return static_cast<TColor>(GetIntPropByName(parent, "Color"));
}

void TSkinControl::FillParentColour(HDC dc, const TRect& r) const { FillRectColour(dc, r, ParentColour()); }

void TSkinControl::SetParentBackground(bool on) {
    if (!skin_ || InSet(skin_->Options, xoParentBackGround) || !IsPublishedProp(control_, "ParentBackground")) return;
    if (on) {
        parentBackground_ = GetEnumPropByName(control_, "ParentBackground") == "True";
        if (parentBackground_) SetPropByName(control_, "ParentBackground", "False");
    } else if (parentBackground_) {
        SetPropByName(control_, "ParentBackground", "True");
    }
}

void TSkinControl::SendMouseDown(const TMessage& m) {
    if (!control_) return;
    TPoint p = msg::Point(m);
    if (control_->Width() > 32768 || control_->Height() > 32768) {
        POINT c;
        GetCursorPos(&c);
        p = control_->ScreenToClient({c.x, c.y});
    }
    control_->MouseDown(mbLeft, MouseShiftState(msg::MouseKeys(m)), p.X, p.Y);
}

unsigned TSkinControl::BiDiTextFlags(unsigned flags) const {
    const TControl* c = control_ ? control_ : paintProxy_;
    return c && c->BiDiMode == bdRightToLeft ? flags | DT_RTLREADING : flags;
}

TColor TSkinControl::ColourOf(SkinColour slot) const {
    return skin_ ? static_cast<TColor>(skin_->Colour(slot)) : clBtnFace;
}

std::wstring GetWidePropByName(const TObject* obj, const std::string& name) {
    std::wstring w;
    if (IsPublishedProp(obj, name)) StrToWideStr(GetStrPropByName(obj, name), w);
    return w;
}

std::wstring GetWindowWideText(HWND window) {
    if (SkinIsNT()) {
        const int n = GetWindowTextLengthW(window);
        std::wstring w(static_cast<size_t>(n) + 1, L'\0');
        const int got = GetWindowTextW(window, w.data(), n + 1);
        w.resize(static_cast<size_t>(got > 0 ? got : 0));
        return w;
    }
    char buffer[1000] = {};
    SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    std::wstring w;
    StrToWideStr(buffer, w);
    return w;
}

// The desktop is asked for its handle (a fixed number is only what one system happened to use).
bool IsPopupWindow(HWND window) {
    return (GetWindowLongPtrA(window, GWL_STYLE) & WS_POPUP) || GetParent(window) == GetDesktopWindow();
}

}  // namespace kes

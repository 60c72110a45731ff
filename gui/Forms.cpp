// Neutral half of forms: close rules, dialog keys, default and cancel buttons, placing, the form list.
#include "gui/Forms.h"

#include <algorithm>

#include "gui/Keys.h"
#include "gui/StdCtrls.h"

namespace kes {

static const std::vector<std::string> kFormBorderNames{"bsNone",   "bsSingle",     "bsSizeable",
                                                       "bsDialog", "bsToolWindow", "bsSizeToolWin"};
static const std::vector<std::string> kPositionNames{"poDesigned",        "poDefault",        "poDefaultPosOnly",
                                                     "poDefaultSizeOnly", "poScreenCenter",   "poDesktopCenter",
                                                     "poMainFormCenter",  "poOwnerFormCenter"};
static const std::vector<std::string> kWindowStateNames{"wsNormal", "wsMinimized", "wsMaximized"};
static const std::vector<std::string> kFormStyleNames{"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};

const TPropTable& TCustomForm::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            EnumProp<TCustomForm>(
                "BorderStyle", kFormBorderNames, [](const TCustomForm& c) { return c.BorderStyle(); },
                [](TCustomForm& c, int64_t v) { c.SetBorderStyle(static_cast<TFormBorderStyle>(v)); }),
            EnumProp<TCustomForm>(
                "Position", kPositionNames, [](const TCustomForm& c) { return c.Position(); },
                [](TCustomForm& c, int64_t v) { c.SetPosition(static_cast<TPosition>(v)); }),
            EnumProp<TCustomForm>(
                "WindowState", kWindowStateNames, [](const TCustomForm& c) { return c.WindowState(); },
                [](TCustomForm& c, int64_t v) { c.SetWindowState(static_cast<TWindowState>(v)); }),
            EnumProp<TCustomForm>(
                "FormStyle", kFormStyleNames, [](const TCustomForm& c) { return c.FormStyle(); },
                [](TCustomForm& c, int64_t v) { c.SetFormStyle(static_cast<TFormStyle>(v)); }),
            IntProp<TCustomForm>(
                "ModalResult", [](const TCustomForm& c) { return c.ModalResult(); },
                [](TCustomForm& c, int v) { c.SetModalResult(v); }),
            BoolProp<TCustomForm>(
                "KeyPreview", [](const TCustomForm& c) { return c.KeyPreview; },
                [](TCustomForm& c, bool v) { c.KeyPreview = v; }),
            IntProp<TCustomForm>(
                "ClientWidth", [](const TCustomForm& c) { return c.ClientWidth(); },
                [](TCustomForm& c, int v) { c.SetClientWidth(v); }),
            IntProp<TCustomForm>(
                "ClientHeight", [](const TCustomForm& c) { return c.ClientHeight(); },
                [](TCustomForm& c, int v) { c.SetClientHeight(v); }),
            ObjProp<TCustomForm>("ActiveControl", [](const TCustomForm& c) { return c.ActiveControl(); }),
            ObjProp<TCustomForm>("Menu", [](const TCustomForm& c) { return reinterpret_cast<TObject*>(c.Menu()); }),
        });
    return t;
}

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner) {
    visible_ = false;
    parentFont_ = false;
    SetBounds(0, 0, 320, 240);
    Screen().AddForm(this);
}

TCustomForm::~TCustomForm() {
    // OnDestroy runs while the form and its controls are still whole.
    if (created_ && !Destroying()) Fire(OnDestroy, this);
    BeginDestroy();
    Screen().RemoveForm(this);
    if (Screen().MainForm == this) Screen().MainForm = nullptr;
}

void TCustomForm::DoCreate() {
    created_ = true;
    Fire(OnCreate, this);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    activeControl_ = control;
    if (control && Visible() && control->CanFocus()) control->SetFocus();
}

void TCustomForm::FocusChanged(TWinControl* control) {
    if (control == this || !ContainsControl(control)) return;
    activeControl_ = control;
}

void TCustomForm::ShowForm() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    // An MDI child that is closed goes; other forms are hidden.
    TCloseAction action = formStyle_ == fsMDIChild ? caFree : caHide;
    Fire(OnClose, this, action);
    if (action == caNone) return;
    if (Screen().MainForm == this) {
        if (Screen().OnTerminate) Screen().OnTerminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    case caNone: break;
    }
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    Fire(OnCloseQuery, this, canClose);
    return canClose;
}

static void FindButtons(const TWinControl* w, TButton*& def, TButton*& cancel) {
    for (int i = 0; i < w->ControlCount(); ++i) {
        TControl* c = w->Controls(i);
        if (auto* b = dynamic_cast<TButton*>(c)) {
            if (b->Default() && !def && b->CanFocus()) def = b;
            if (b->Cancel && !cancel && b->CanFocus()) cancel = b;
        }
        if (auto* cw = dynamic_cast<TWinControl*>(c)) FindButtons(cw, def, cancel);
    }
}

TButton* TCustomForm::DefaultButton() const {
    TButton *d = nullptr, *c = nullptr;
    FindButtons(this, d, c);
    return d;
}

TButton* TCustomForm::CancelButton() const {
    TButton *d = nullptr, *c = nullptr;
    FindButtons(this, d, c);
    return c;
}

bool TCustomForm::DialogKey(uint16_t key, TShiftState shift) {
    if (shift & (ssAlt | ssCtrl)) return false;
    switch (key) {
    case vkTab: SelectNext(activeControl_, (shift & ssShift) == 0, true); return true;
    case vkReturn: {
        TButton* b = dynamic_cast<TButton*>(activeControl_);
        if (!b) b = DefaultButton();
        if (!b) return false;
        b->Click();
        return true;
    }
    case vkEscape:
        if (TButton* b = CancelButton()) {
            b->Click();
            return true;
        }
        return false;
    default: return false;
    }
}

void TCustomForm::PlaceByPosition() {
    TRect area;
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter: area = ScreenWorkArea(); break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* other = position_ == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : Screen().MainForm;
        if (!other || other == this) other = Screen().MainForm;
        area = (other && other != this) ? other->BoundsRect() : ScreenWorkArea();
        break;
    }
    default: return;
    }
    TPoint p = CenterIn(area, width_, height_);
    const TRect work = ScreenWorkArea();
    p.X = std::max(work.Left, p.X);
    p.Y = std::max(work.Top, p.Y);
    SetBounds(p.X, p.Y, width_, height_);
}

void TCustomForm::SetVisible(bool visible) {
    if (visible && !placed_) {
        placed_ = true;
        PlaceByPosition();
    }
    TScrollingWinControl::SetVisible(visible);
}

void TCustomForm::DoShowChange(bool shown) {
    if (Destroying()) return;
    if (shown)
        Fire(OnShow, this);
    else
        Fire(OnHide, this);
}

TCustomFrame::TCustomFrame(TComponent* owner) : TScrollingWinControl(owner) { SetBounds(0, 0, 320, 240); }

TCustomForm* TScreen::ActiveForm() const {
    for (TCustomForm* f : forms_)
        if (f->Active()) return f;
    return nullptr;
}

void TScreen::RemoveForm(TCustomForm* f) { forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end()); }

TScreen& Screen() {
    static TScreen screen;
    return screen;
}

}  // namespace kes

namespace kes {

void TCustomForm::Paint(TCanvas& canvas) {
    Canvas = &canvas;
    struct Reset {
        TCustomForm* f;
        ~Reset() { f->Canvas = nullptr; }
    } reset{this};
    if (!Destroying()) Fire(OnPaint, this);
}

}  // namespace kes

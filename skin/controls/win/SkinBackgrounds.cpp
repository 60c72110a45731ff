// The skinned status bar, group box and backgrounds.
#include "skin/controls/win/SkinBackgrounds.h"

#include "gui/ComCtrls.h"
#include "gui/TypInfo.h"
#include "skin/controls/ButtonGeometry.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/data/win/SkinDataWin.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/draw/win/SkinText.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

// ---- status bar ----

bool TSkinStatusBar::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: HandlePaint(m); return false;
    case WM_ERASEBKGND: m.Result = 1; return false;
    default: return TSkinControl::BeforeMessage(m);
    }
}

// A panel's background: its frame of "StatusBarEdges", or a one-pixel 3-D frame without the image.
static void PanelBackground(HDC dc, const TSkinData& skin, const TRect& r, int bevel) {
    if (const TDataSkinObject* edges = skin.StatusBarEdges.get(); edges && edges->HasImage()) {
        DrawSkinImage(dc, r, edges->Image, MarginsOf(*edges), bevel, 3, false, edges->Tile != 0, false);
        return;
    }
    if (bevel == 3) return;
    const TColor topLeft = bevel == 1 ? clBtnShadow : clBtnHighlight;
    const TColor bottomRight = bevel == 1 ? clBtnHighlight : clBtnShadow;
    FillRectColour(dc, Rect(r.Left, r.Top, r.Right, r.Top + 1), topLeft);
    FillRectColour(dc, Rect(r.Left, r.Top, r.Left + 1, r.Bottom), topLeft);
    FillRectColour(dc, Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), bottomRight);
    FillRectColour(dc, Rect(r.Right - 1, r.Top, r.Right, r.Bottom), bottomRight);
}

static void PanelText(HDC dc, TRect r, unsigned alignment, const std::string& text, unsigned extra) {
    std::wstring w;
    StrToWideStr(text.empty() ? std::string(" ") : text, w);
    r.Left += 2;
    r.Right -= 2;
    DrawCaptionAligned(dc, r, alignment, true, w, extra);
}

void TSkinStatusBar::DrawControl(HDC dc, const TRect& rect) {
    auto* bar = dynamic_cast<TCustomStatusBar*>(control_);
    if (!bar || !skin_) return;
    TBitmap& work = SkinWorkBitmap();
    work.SetSize(rect.Width(), rect.Height());
    HDC mdc = work.Canvas().Handle();
    if (!mdc) return;
    FillBackground(mdc, rect);
    TFont plain;
    plain.Assign(bar->Font());
    plain.SetStyle(0);
    const UniqueGdi<HFONT> font = CreateFontFor(plain);
    const HGDIOBJ oldFont = SelectObject(mdc, font.Get());
    COLORREF ink = ColorToRGB(bar->Font().Color());
    if (const TDataSkinObject* edges = skin_->StatusBarEdges.get()) ink = ColorToRGB(edges->NormalColour2);
    SetTextColor(mdc, ink);
    SetTextColor(dc, ink);
    const TStatusPanels& panels = bar->Panels();
    if (bar->SimplePanel() || panels.Count() == 0) {
        const bool rtl = bar->BiDiMode == bdRightToLeft;
        PanelBackground(mdc, *skin_, rect, 1);
        PanelText(mdc, rect, rtl ? DT_RIGHT : DT_LEFT, GetStrPropByName(bar, "simpletext"), rtl ? DT_RTLREADING : 0);
    } else {
        for (int i = 0; i < panels.Count(); ++i) {
            RECT pr{};
            if (!SendMessageA(window_, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&pr))) continue;
            const PixelRect p = StatusPanelRect({pr.left, pr.top, pr.right, pr.bottom}, i == panels.Count() - 1, rect.Right);
            const TRect r = Rect(p.Left, p.Top, p.Right, p.Bottom);
            const TStatusPanel& panel = panels[i];
            PanelBackground(mdc, *skin_, r, StatusBevelFrame(panel.Bevel()));
            if (panel.Style() == psText)
                PanelText(mdc, r, StatusPanelAlignment(panel.Alignment(), panel.BiDiMode == bdRightToLeft),
                          panel.Text(), panel.BiDiMode == bdRightToLeft ? DT_RTLREADING : 0);
        }
    }
    const TDataSkinObject* extra = skin_->ExtraImages.get();
    if ((GetWindowLongPtrA(window_, GWL_STYLE) & SBARS_SIZEGRIP) && extra && extra->HasImage()) {
        const int fw = extra->FrameWidth(), fh = extra->Image.Height();
        DrawSkinFrame(mdc, Rect(rect.Right - 1 - fw, rect.Bottom - 1 - fh, rect.Right - 1, rect.Bottom - 1),
                      extra->Image, 5, extra->Frame, true);
    }
    SelectObject(mdc, oldFont);
    BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), mdc, 0, 0, SRCCOPY);
    PaintControls(bar, dc);
    if (!bar->OnDrawPanel) return;
    for (int i = 0; i < panels.Count(); ++i) {
        RECT pr{};
        if (!SendMessageA(window_, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&pr))) continue;
        bar->DrawPanel(i, Rect(pr.left + 2, pr.top + 2, pr.right - 2, pr.bottom - 2), dc);
    }
}

// ---- group box ----

void TSkinGroupBox::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    TSkinControl::AttachControl(form, skin, recolour);
    BackgroundMode = control_ ? 1 : 0;
}

bool TSkinGroupBox::BeforeMessage(TMessage& m) {
    if (!TSkinControl::BeforeMessage(m)) return false;
    if (m.Msg == WM_PAINT && BackgroundMode == 1) {
        HandlePaint(m);
        return false;
    }
    return true;
}

void TSkinGroupBox::DrawControl(HDC dc, const TRect& rect) {
    if (!skin_) return;
    std::wstring caption = GetWindowWideText(window_);
    if (caption.empty() && control_) caption = GetWidePropByName(control_, "Caption");
    if (control_) FillBackground(dc, rect);
    UniqueGdi<HFONT> own;
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window_, WM_GETFONT, 0, 0));
    if (control_) {
        own = CreateFontFor(control_->Font());
        font = own.Get();
        SetTextColor(dc, ColorToRGB(control_->Font().Color()));
    }
    const HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SIZE zero{};
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    const int top = GroupBoxFrameTop(zero.cy);
    if (BackgroundMode == 0)
        if (HBRUSH face = SkinFaceBrush(*skin_)) {
            RECT f{0, top, rect.Right, rect.Bottom};
            FrameRect(dc, &f, face);
            InflateRect(&f, -1, -1);
            FrameRect(dc, &f, face);
        }
    UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRGB(ColourOf(SkinColour::ButtonShadow))));
    const HGDIOBJ oldPen = SelectObject(dc, pen.Get()), oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 1, top, rect.Right - 1, rect.Bottom - 1, 5, 5);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    const COLORREF oldBk = SetBkColor(dc, ColorToRGB(ColourOf(SkinColour::ButtonFace)));
    const int oldMode = SetBkMode(dc, OPAQUE);
    if (GetWindowLongPtrA(window_, GWL_EXSTYLE) & WS_EX_RIGHT) {
        RECT r{rect.Left, rect.Top, rect.Right - 8, rect.Bottom};
        SkinDrawText(dc, caption, r, BiDiTextFlags(DT_RIGHT | DT_EXPANDTABS));
    } else {
        RECT r{rect.Left + 8, rect.Top, rect.Right, rect.Bottom};
        SkinDrawText(dc, caption, r, DT_EXPANDTABS);
    }
    SetBkMode(dc, oldMode);
    SetBkColor(dc, oldBk);
    if (oldFont) SelectObject(dc, oldFont);
    if (BackgroundMode == 1) PaintControls(dynamic_cast<TWinControl*>(control_), dc);
}

// ---- boxes ----

void TSkinBox::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    if (attached_) return;
    auto* control = dynamic_cast<TWinControl*>(Owner());
    if (!control) return;
    form_ = form;
    skin_ = skin;
    recolour_ = recolour;
    control_ = control;
    window_ = static_cast<HWND>(control->Handle());
    if (form_) form_->Controllers().Add(this);
    if (recolour_) {
        SetParentBackground(true);
        savedColour_ = control->Color();
        control->SetColor(ColourOf(SkinColour::ButtonFace));
    }
    attached_ = true;
    state_ = kControlAttached;
}

void TSkinBox::Unskin() {
    if (!active_) return;
    active_ = false;
    if (recolour_ && control_ && !control_->Destroying()) {
        SetParentBackground(false);
        control_->SetColor(savedColour_);
    }
    state_ = 2;
}

bool TSkinBoxH::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND: {
        RECT wr;
        GetWindowRect(window_, &wr);
        FillBackground(reinterpret_cast<HDC>(m.WParam), Rect(0, 0, wr.right - wr.left, wr.bottom - wr.top));
        m.Result = 0;
        return false;
    }
    case WM_CTLCOLORSTATIC:
        CallPrevious(m);
        // Static texts (also on nested dialog pages) show the skin's background through their own.
        SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
        if (HBRUSH face = skin_ ? SkinFaceBrush(*skin_) : nullptr) m.Result = reinterpret_cast<LRESULT>(face);
        return false;
    default: return TSkinControl::BeforeMessage(m);
    }
}

void TSkinSizer::DrawControl(HDC dc, const TRect& rect) { FillBackground(dc, rect); }

// ---- registration ----

template <typename T>
static TSkinControl* MakeKind(TComponent* owner, const ControlDecision&) {
    return new T(owner);
}

static const bool registered = [] {
    RegisterSkinController(SkinKind::StatusBar, MakeKind<TSkinStatusBar>);
    RegisterSkinController(SkinKind::GroupBox, MakeKind<TSkinGroupBox>);
    RegisterSkinController(SkinKind::Box, MakeKind<TSkinBox>);
    RegisterSkinController(SkinKind::BoxH, MakeKind<TSkinBoxH>);
    RegisterSkinController(SkinKind::Sizer, MakeKind<TSkinSizer>);
    return true;
}();

}  // namespace kes

extern "C" {
int kes_skin_backgrounds_anchor = 0;
}

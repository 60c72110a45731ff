// The skinned push, bit and menu buttons.
#include "skin/controls/win/SkinButtons.h"

#include "base/StringList.h"
#include "gui/TypInfo.h"
#include "gui/win/ImgList.h"
#include "gui/win/MsgCrack.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/draw/win/SkinText.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

namespace {

constexpr intptr_t kTransparentTag = 5555;

bool PropTrue(const TObject* o, const char* name) { return LowerAZ(GetEnumPropByName(o, name)) == "true"; }

// The measured size of a caption in the DC's font.
SIZE MeasureCaption(HDC dc, const std::wstring& text, int width, UINT flags) {
    if (text.empty()) return {0, 0};
    RECT r{0, 0, width, 0};
    SkinDrawText(dc, text, r, flags | DT_CALCRECT);
    return {r.right - r.left, r.bottom - r.top};
}

// The first "||" of a caption becomes a line break.
std::wstring BarToBreak(std::wstring text) {
    if (const size_t at = text.find(L"||"); at != std::wstring::npos) text.replace(at, 2, L"\r\n");
    return text;
}

}  // namespace

void TSkinButton::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    TSkinControl::AttachControl(form, skin, recolour);
    const std::string cls = LowerAZ(Owner() ? Owner()->ClassName() : "");
    BackgroundMode = cls.rfind("trz", 0) == 0 || cls.rfind("tel", 0) == 0 ? 1 : 0;
    transparent_ = (control_ && control_->Tag == kTransparentTag) || (skin_ && InSet(skin_->Options, xoTransparent));
}

bool TSkinButton::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: HandlePaint(m); return false;
    case WM_ERASEBKGND: m.Result = 1; return false;
    case WM_TIMER: KillTimer(window_, 1); return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != window_) ::SetFocus(window_);
        mouse_ |= kMousePressed;
        PaintWindow(0);
        if (control_ && BackgroundMode == 0) SendMouseDown(m);
        return false;
    default: return TSkinControl::BeforeMessage(m);
    }
}

void TSkinButton::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_SETTEXT: PaintWindow(0); break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (SpaceKey(m)) Repaint();
        break;
    case WM_MOUSEMOVE:
        if (IsWindowEnabled(window_) && !(mouse_ & kMouseHot)) {
            mouse_ |= kMouseHot;
            Repaint();
        }
        CallTrackMouseEvent(window_);
        break;
    case WM_LBUTTONUP: {
        if (!(mouse_ & kMousePressed)) break;
        mouse_ &= static_cast<uint8_t>(~kMousePressed);
        Repaint();
        if (control_) {
            control_->Click();
            break;
        }
        char cls[64] = {};
        GetClassNameA(window_, cls, sizeof cls);
        const WPARAM id = LowerAZ(cls) == "tbutton" ? 0 : static_cast<WPARAM>(GetDlgCtrlID(window_));
        PostMessageA(GetParent(window_), WM_COMMAND, id, reinterpret_cast<LPARAM>(window_));
        break;
    }
    case WM_MOUSELEAVE:
        mouse_ &= static_cast<uint8_t>(~(kMouseHot | kMousePressed));
        Repaint();
        break;
    default: TSkinControl::AfterMessage(m); break;
    }
}

bool TSkinButton::SpaceKey(const TMessage& m) {
    if (msg::VirtualKey(m) != VK_SPACE) return false;
    if (m.Msg == WM_KEYDOWN)
        mouse_ |= kMousePressed;
    else
        mouse_ &= static_cast<uint8_t>(~kMousePressed);
    return true;
}

ButtonState TSkinButton::ReadState(bool withDefault) {
    ButtonState s;
    s.Pressed = (mouse_ & kMousePressed) != 0;
    s.Hot = (mouse_ & kMouseHot) != 0;
    s.Focused = focused_ = GetFocus() == window_;
    s.Enabled = enabled_ = !(GetWindowLongPtrA(window_, GWL_STYLE) & WS_DISABLED);
    if (withDefault) {
        // Kept from the style for a dialog's raw button, which has no "Default": its default button shows frame 5.
        s.Default = control_ ? PropTrue(control_, "Default")
                             : (GetWindowLongPtrA(window_, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
    }
    return s;
}

std::wstring TSkinButton::CaptionText() const {
    return control_ ? GetWidePropByName(control_, "Caption") : GetWindowWideText(window_);
}

bool TSkinButton::BeginFace(const TRect& rect, int face, bool drawFace) {
    if (!skin_ || !skin_->Buttons.HasImage()) return false;
    bitmap_.SetSize(rect.Width(), rect.Height());
    HDC dc = bitmap_.Canvas().Handle();
    if (!dc) return false;
    const TRect r = Rect(0, 0, rect.Width(), rect.Height());
    if (transparent_ && control_)
        DrawParentBackground(*control_, dc);
    else
        FillBackground(dc, r);
    if (drawFace) DrawSkinImage(dc, r, skin_->Buttons, face);
    font_ = control_ ? CreateFontFor(control_->Font()) : UniqueGdi<HFONT>();
    HGDIOBJ f = font_ ? static_cast<HGDIOBJ>(font_.Get())
                      : reinterpret_cast<HGDIOBJ>(SendMessageA(window_, WM_GETFONT, 0, 0));
    oldFont_ = f ? SelectObject(dc, f) : nullptr;
    return true;
}

void TSkinButton::SetCaptionColour(int face, bool enabled, bool normalAlways) {
    const TDataSkinButton& b = skin_->Buttons;
    TColor colour = control_ ? control_->Font().Color() : ColourOf(SkinColour::ButtonText);
    if (b.NormalColour2Given && (normalAlways || face == kFaceNormal)) colour = b.NormalColour2;
    if (face == kFaceHot && b.MouseOverColour2Given) colour = b.MouseOverColour2;
    if (face == kFacePressed && b.PressedColour2Given) colour = b.PressedColour2;
    if (!enabled) colour = clBtnShadow;
    SetTextColor(bitmap_.Canvas().Handle(), ColorToRGB(colour));
}

void TSkinButton::EndFace(HDC target, const TRect& rect) {
    HDC dc = bitmap_.Canvas().Handle();
    BitBlt(target, rect.Left, rect.Top, rect.Width(), rect.Height(), dc, 0, 0, SRCCOPY);
    if (oldFont_) SelectObject(dc, oldFont_);
    oldFont_ = nullptr;
    font_.Reset();
}

void TSkinButton::FocusMark(RECT r, bool focused) {
    if (!focused || InSet(skin_->Options, xoNoFocusRect)) return;
    InflateRect(&r, 2, 2);
    DrawFocusRect(bitmap_.Canvas().Handle(), &r);
}

void TSkinButton::DrawButtonCaption(const TRect& rect, unsigned alignment, const std::wstring& caption, bool focused) {
    HDC dc = bitmap_.Canvas().Handle();
    const std::wstring text = BarToBreak(caption);
    caption_ = text;
    const int old = SetBkMode(dc, TRANSPARENT);
    const UINT base = alignment | DT_WORDBREAK | DT_EXPANDTABS;
    const SIZE s = MeasureCaption(dc, text, rect.Width() - 4, base | DT_NOCLIP);
    const PixelRect p =
        PlaceButtonCaption({rect.Left, rect.Top, rect.Right, rect.Bottom}, s.cx, s.cy, alignment == DT_CENTER);
    RECT r{p.Left, p.Top, p.Right, p.Bottom};
    SkinDrawText(dc, text, r, BiDiTextFlags(base));
    SetBkMode(dc, old);
    FocusMark(RECT{p.Left, p.Top, p.Left + s.cx, p.Bottom}, focused);
}

void TSkinButton::DrawControl(HDC dc, const TRect& rect) {
    const ButtonState s = ReadState(true);
    const int face = PushButtonFace(s);
    if (!BeginFace(rect, face)) return;
    SetCaptionColour(face, s.Enabled, true);
    DrawButtonCaption(rect, DT_CENTER, CaptionText(), s.Focused);
    EndFace(dc, rect);
}

// ---- bit buttons ----

std::unique_ptr<TBitmap> CreateDisabledGlyph(TBitmap& glyph) {
    auto out = std::make_unique<TBitmap>(glyph.Width(), glyph.Height());
    HDC dst = out->Canvas().Handle(), src = glyph.Canvas().Handle();
    if (!dst || !src) return out;
    const RECT all{0, 0, glyph.Width(), glyph.Height()};
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(dst, &all, face);
    // The mask: black where the glyph differs from its background colour.
    HDC mdc = CreateCompatibleDC(nullptr);
    UniqueGdi<HBITMAP> mask(CreateBitmap(glyph.Width(), glyph.Height(), 1, 1, nullptr));
    HGDIOBJ oldMask = SelectObject(mdc, mask.Get());
    SetBkColor(src, ColorToRGB(glyph.TransparentColor()));
    BitBlt(mdc, 0, 0, glyph.Width(), glyph.Height(), src, 0, 0, SRCCOPY);
    SetBkColor(dst, RGB(255, 255, 255));
    SetTextColor(dst, RGB(0, 0, 0));
    const auto emboss = [&](int dx, int colour) {
        HGDIOBJ old = SelectObject(dst, GetSysColorBrush(colour));
        BitBlt(dst, dx, dx, glyph.Width(), glyph.Height(), mdc, 0, 0, 0x00E20746);
        SelectObject(dst, old);
    };
    emboss(1, COLOR_BTNHIGHLIGHT);
    emboss(0, COLOR_BTNSHADOW);
    SelectObject(mdc, oldMask);
    DeleteDC(mdc);
    return out;
}

void DrawGlyphFrame(HDC dc, int x, int y, int numGlyphs, int index, TBitmap& glyph) {
    if (glyph.Empty() || !dc) return;
    numGlyphs = std::max(1, numGlyphs);
    const int fw = glyph.Width() / numGlyphs;
    std::unique_ptr<TBitmap> frame;
    if (index == 2 && numGlyphs == 1) {
        frame = CreateDisabledGlyph(glyph);
    } else {
        const int n = numGlyphs < index ? 1 : index;
        frame = std::make_unique<TBitmap>(fw, glyph.Height());
        BitBlt(frame->Canvas().Handle(), 0, 0, fw, glyph.Height(), glyph.Canvas().Handle(), fw * (n - 1), 0,
               SRCCOPY);
    }
    TCanvas canvas(dc);
    canvas.DrawTransparent(x, y, *frame, frame->TransparentColor());
}

void TSkinBitButton::DrawControl(HDC dc, const TRect& rect) {
    if (!control_ || LowerAZ(GetEnumPropByName(control_, "Visible")) == "false") return;
    const bool image = !ImageProperty.empty();
    ButtonState s = ReadState(!image);
    const int face = PushButtonFace(s);
    TBitmap* glyph = dynamic_cast<TBitmap*>(GetObjectPropByName(control_, image ? ImageProperty : "Glyph"));
    if (glyph && glyph->Empty()) glyph = nullptr;
    const int numGlyphs = image ? 1 : std::max<int>(1, static_cast<int>(GetIntPropByName(control_, "NumGlyphs")));
    // Without a glyph, the picture of the image list (an enabled and a disabled index).
    auto* images = glyph || image ? nullptr : dynamic_cast<TCustomImageList*>(GetObjectPropByName(control_, "Images"));
    const int imageIndex = static_cast<int>(GetIntPropByName(control_, "ImageIndex"));
    if (!BeginFace(rect, face)) return;
    HDC mdc = bitmap_.Canvas().Handle();
    const std::wstring caption = BarToBreak(CaptionText());
    GlyphLayoutInput in;
    in.W = rect.Width();
    in.H = rect.Height();
    if (glyph) {
        in.GlyphW = glyph->Width() / numGlyphs;
        in.GlyphH = glyph->Height();
    } else if (images && imageIndex != -1) {
        in.GlyphW = images->Width();
        in.GlyphH = images->Height();
    }
    in.Place = GlyphPlaceOf(LowerAZ(GetEnumPropByName(control_, "Layout")));
    const bool across = in.Place == kGlyphLeft || in.Place == kGlyphRight;
    const int areaW = rect.Width() - 4 - (across ? in.GlyphW + 2 : 0);
    const SIZE t = MeasureCaption(mdc, caption, areaW, DT_WORDBREAK);
    in.TextW = t.cx;
    in.TextH = t.cy;
    in.Margin = static_cast<int>(GetIntPropByName(control_, "Margin"));
    in.Spacing = static_cast<int>(GetIntPropByName(control_, "Spacing"));
    in.Centred = LowerAZ(GetEnumPropByName(control_, "Alignment")) == "tacenter";
    const GlyphLayout l = LayoutGlyphButton(in);
    if (glyph && image) {
        // A graphic is drawn whole, disabled or not (the disabled face and caption say so).
        TCanvas(mdc).Draw(l.GlyphX, l.GlyphY, *glyph);
    } else if (glyph) {
        DrawGlyphFrame(mdc, l.GlyphX, l.GlyphY, numGlyphs, GlyphIndexFor(face), *glyph);
    } else if (images) {
        const int disabledIndex = static_cast<int>(GetIntPropByName(control_, "DisabledIndex"));
        const int index = s.Enabled || disabledIndex == -1 ? imageIndex : disabledIndex;
        TCanvas canvas(mdc);
        if (index != -1) images->Draw(canvas, l.GlyphX, l.GlyphY, index, s.Enabled);
    }
    SetCaptionColour(face, s.Enabled, !image);
    if (!caption.empty()) {
        const int old = SetBkMode(mdc, TRANSPARENT);
        RECT r{l.TextX, l.TextY, l.TextX + t.cx, l.TextY + t.cy};
        SkinDrawText(mdc, caption, r, image ? l.TextFlags : BiDiTextFlags(l.TextFlags));
        SetBkMode(mdc, old);
        FocusMark(r, s.Focused);
    }
    EndFace(dc, rect);
}

// ---- menu buttons ----

void TSkinMenuButton::DrawControl(HDC dc, const TRect& rect) {
    const ButtonState s = ReadState(false);
    const int face = MenuButtonFace(s);
    TBitmap* glyph = control_ ? dynamic_cast<TBitmap*>(GetObjectPropByName(control_, "Glyph")) : nullptr;
    if (!BeginFace(rect, face)) return;
    HDC mdc = bitmap_.Canvas().Handle();
    const std::wstring caption = BarToBreak(CaptionText());
    const int gw = glyph && !glyph->Empty() ? glyph->Width() : 0, gh = glyph && !glyph->Empty() ? glyph->Height() : 0;
    const SIZE t = MeasureCaption(mdc, caption, rect.Width() - gw - 8 - 4, DT_WORDBREAK);
    const int margin = control_ ? static_cast<int>(GetIntPropByName(control_, "Margin")) : -1;
    const int spacing = control_ ? static_cast<int>(GetIntPropByName(control_, "Spacing")) : -1;
    const MenuButtonLayout l = LayoutMenuButton(rect.Width(), rect.Height(), gw, gh, t.cx, t.cy, margin, spacing);
    if (gw) DrawGlyphFrame(mdc, l.GlyphX, l.GlyphY, 1, 1, *glyph);
    SetCaptionColour(face, s.Enabled, false);
    const COLORREF ink = ColorToRGB(s.Enabled ? clWindowText : clBtnShadow);
    UniqueGdi<HBRUSH> brush(CreateSolidBrush(ink));
    UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, ink));
    HGDIOBJ ob = SelectObject(mdc, brush.Get()), op = SelectObject(mdc, pen.Get());
    const POINT arrow[3] = {{l.ArrowX, l.ArrowY + 2}, {l.ArrowX - 3, l.ArrowY - 1}, {l.ArrowX + 3, l.ArrowY - 1}};
    Polygon(mdc, arrow, 3);
    SelectObject(mdc, ob);
    SelectObject(mdc, op);
    const int old = SetBkMode(mdc, TRANSPARENT);
    RECT r{l.TextX, l.TextY, l.TextX + t.cx, l.TextY + t.cy};
    SkinDrawText(mdc, caption, r, DT_WORDBREAK);
    SetBkMode(mdc, old);
    FocusMark(r, s.Focused);
    EndFace(dc, rect);
}

// ---- speed buttons ----

TSkinSpeedButton::~TSkinSpeedButton() { GiveBack(); }

void TSkinSpeedButton::GiveBack() {
    if (handler_ && graphic_ && !graphic_->Destroying()) graphic_->RemoveMessageHandler(handler_);
    handler_ = 0;
}

void TSkinSpeedButton::AttachGraphicControl(TWinSkinForm* form, TSkinData* skin) {
    if (attached_) return;
    graphic_ = dynamic_cast<TGraphicControl*>(Owner());
    if (!graphic_) return;
    skin_ = skin;
    form_ = form;
    control_ = graphic_;
    paintProxy_ = graphic_;
    handler_ = graphic_->AddMessageHandler([this](TMessage& m) {
        Dispatch(m);
        return true;
    });
    if (form_) form_->Controllers().Add(this);
    attached_ = true;
    state_ = kControlAttached;
    transparent_ = graphic_->Tag == kTransparentTag || InSet(skin_->Options, xoTransparent);
}

bool TSkinSpeedButton::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        if (HDC dc = reinterpret_cast<HDC>(m.WParam)) PaintOn(dc);
        m.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallPrevious(m);  // the button's own press handling runs first
        mouse_ |= kMousePressed;
        PaintWindow(0);
        return false;
    case WM_LBUTTONUP: return true;
    default: return TSkinButton::BeforeMessage(m);
    }
}

void TSkinSpeedButton::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_ENABLE: break;
    case WM_NCDESTROY: GiveBack(); break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (SpaceKey(m)) PaintWindow(0);
        break;
    case WM_LBUTTONUP:
        mouse_ &= static_cast<uint8_t>(~kMousePressed);
        PaintWindow(0);
        break;
    case CM_MOUSEENTER:
        mouse_ |= kMouseHot;
        PaintWindow(0);
        break;
    case CM_MOUSELEAVE:
        mouse_ &= static_cast<uint8_t>(~(kMouseHot | kMousePressed));
        if (graphic_->Visible()) PaintWindow(0);
        break;
    default: TSkinButton::AfterMessage(m); break;
    }
}

// At once, on the parent's window where the button sits.
void TSkinSpeedButton::PaintWindow(uintptr_t) {
    TWinControl* parent = graphic_ ? graphic_->Parent() : nullptr;
    if (!parent || !parent->HandleAllocated()) return;
    const HWND w = static_cast<HWND>(parent->WindowHandle());
    WindowDc window(w);
    HDC dc = window.Get();
    if (!dc) return;
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, graphic_->Left(), graphic_->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, graphic_->Width(), graphic_->Height());
    try {
        PaintOn(dc);
    } catch (...) {
    }
    RestoreDC(dc, saved);
}

void TSkinSpeedButton::PaintOn(HDC dc) {
    if (!graphic_ || !skin_ || !skin_->Buttons.HasImage() || painting_) return;
    if (LowerAZ(GetEnumPropByName(graphic_, "Visible")) == "false") return;
    painting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{painting_};
    ButtonState s;
    s.Pressed = (mouse_ & kMousePressed) != 0;
    s.Hot = (mouse_ & kMouseHot) != 0;
    s.Enabled = enabled_ = PropTrue(graphic_, "Enabled");
    const bool down = PropTrue(graphic_, "Down");
    const int face = SpeedButtonFace(s, down);
    const int w = graphic_->Width(), h = graphic_->Height();
    if (w < 1 || h < 1) return;
    const TRect rect = Rect(0, 0, w, h);
    const bool flat = PropTrue(graphic_, "Flat");
    if (!BeginFace(rect, face, face == kFacePressed || face == kFaceHot || !flat)) return;
    const bool image = !ImageProperty.empty();
    TBitmap* glyph = dynamic_cast<TBitmap*>(GetObjectPropByName(graphic_, image ? ImageProperty : "Glyph"));
    const int numGlyphs = image ? 1 : std::max<int>(1, static_cast<int>(GetIntPropByName(graphic_, "NumGlyphs")));
    if (glyph && !glyph->Empty()) {
        HDC mdc = bitmap_.Canvas().Handle();
        const std::wstring caption = CaptionText();
        GlyphLayoutInput in;
        in.W = w;
        in.H = h;
        in.GlyphW = glyph->Width() / numGlyphs;
        in.GlyphH = glyph->Height();
        in.Place = GlyphPlaceOf(LowerAZ(GetEnumPropByName(graphic_, "Layout")));
        const bool across = in.Place == kGlyphLeft || in.Place == kGlyphRight;
        const SIZE t = MeasureCaption(mdc, caption, w - 4 - (across ? in.GlyphW + 2 : 0), DT_WORDBREAK);
        in.TextW = t.cx;
        in.TextH = t.cy;
        in.Margin = static_cast<int>(GetIntPropByName(graphic_, "Margin"));
        in.Spacing = static_cast<int>(GetIntPropByName(graphic_, "Spacing"));
        in.Speed = true;
        const GlyphLayout l = LayoutGlyphButton(in);
        if (image)
            TCanvas(mdc).Draw(l.GlyphX, l.GlyphY, *glyph);
        else
            DrawGlyphFrame(mdc, l.GlyphX, l.GlyphY, numGlyphs, GlyphIndexFor(face, down), *glyph);
        SetCaptionColour(face, s.Enabled, false);
        const int old = SetBkMode(mdc, TRANSPARENT);
        RECT r{l.TextX, l.TextY, l.TextX + t.cx, l.TextY + t.cy};
        SkinDrawText(mdc, caption, r, BiDiTextFlags(l.TextFlags));
        SetBkMode(mdc, old);
    } else {
        SetCaptionColour(face, s.Enabled, true);
        DrawButtonCaption(rect, DT_CENTER, CaptionText(), false);
    }
    EndFace(dc, rect);
}

// ---- registration ----

static TSkinControl* MakeButton(TComponent* owner, const ControlDecision&) { return new TSkinButton(owner); }
static TSkinControl* MakeMenuButton(TComponent* owner, const ControlDecision&) { return new TSkinMenuButton(owner); }
static TSkinControl* MakeSpeedButton(TComponent* owner, const ControlDecision& d) {
    auto* b = new TSkinSpeedButton(owner);
    b->ImageProperty = d.ImageProperty;
    return b;
}
static TSkinControl* MakeBitButton(TComponent* owner, const ControlDecision& d) {
    auto* b = new TSkinBitButton(owner);
    b->ImageProperty = d.ImageProperty;
    return b;
}

static const bool registered = [] {
    RegisterSkinController(SkinKind::Button, MakeButton);
    RegisterSkinController(SkinKind::BitButton, MakeBitButton);
    RegisterSkinController(SkinKind::MenuButton, MakeMenuButton);
    RegisterSkinController(SkinKind::SpeedButton, MakeSpeedButton);
    return true;
}();

}  // namespace kes

// Keeps this file's registration in every program that links the frame library.
extern "C" {
int kes_skin_buttons_anchor = 0;
}

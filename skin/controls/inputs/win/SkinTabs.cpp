// The skinned tab control.
#include "skin/controls/inputs/win/SkinTabs.h"

#include "gui/TabCtrls.h"
#include "gui/TypInfo.h"
#include "skin/container/ImgUtil.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/controls/inputs/win/SkinEdit.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/controls/inputs/win/SkinHeader.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/draw/win/SkinText.h"

namespace kes {

namespace {

TRect ToT(const PixelRect& r) { return Rect(r.Left, r.Top, r.Right, r.Bottom); }

// The pixels of a 24-bit bitmap as a buffer of their own.
PixelBuffer PixelsOf(TBitmap& bitmap) {
    GdiFlush();
    return PixelBuffer(PixelBuffer::Attach(bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), false));
}

}  // namespace

void DrawImageCaptionCentred(HDC dc, const TRect& rect, const std::wstring& text, int image, HIMAGELIST images,
                             unsigned extraFlags) {
    int iconWidth = 0, iconHeight = 0;
    if (image != -1 && images) ImageList_GetIconSize(images, &iconWidth, &iconHeight);
    if (image == -1 || !images || iconWidth >= rect.Width()) iconWidth = 0;
    RECT measured{0, 0, rect.Width(), rect.Height()};
    if (!text.empty()) SkinDrawText(dc, text, measured, DT_SINGLELINE | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
    const int textWidth = text.empty() ? 0 : measured.right - measured.left;
    const int textHeight = measured.bottom - measured.top;
    int x = (rect.Width() - iconWidth - textWidth) / 2;
    if (x < 2) x = 1;
    if (iconWidth)
        ImageList_Draw(images, image, dc, rect.Left + x, rect.Top + (rect.Height() - iconHeight) / 2, ILD_TRANSPARENT);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const int top = rect.Top + (rect.Height() - textHeight) / 2;
    RECT r{rect.Left + x + iconWidth, top, rect.Right, top + textHeight};
    if (!text.empty()) SkinDrawText(dc, text, r, DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS | extraFlags);
    SetBkMode(dc, oldMode);
}

void TSkinTab::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    if (attached_) return;
    TSkinControl::AttachControl(form, skin, recolour);
    if (!attached_) return;
    enabled_ = IsWindowEnabled(window_) != FALSE;
    LoadTabImages();
    SkinUpDown();
}

void TSkinTab::AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* form) {
    if (attached_) return;
    TSkinControl::AttachWindow(window, skin, form);
    if (!attached_) return;
    focused_ = GetFocus() == window_;
    enabled_ = IsWindowEnabled(window_) != FALSE;
    LoadTabImages();
    SkinUpDown();
}

void TSkinTab::SkinChanged() {
    LoadTabImages();
    TSkinControl::SkinChanged();
}

void TSkinTab::LoadTabImages() {
    orientation_ = ReadOrientation(static_cast<unsigned>(GetWindowLongPtrA(window_, GWL_STYLE)));
    tabImage_ = {};
    paneImage_ = {};
    const TDataSkinBorder* tabs = skin_ ? skin_->Tabs.get() : nullptr;
    if (!tabs || !tabs->HasImage()) return;
    tabImage_ = tabs->Image;
    if (tabs->Style == 0) {
        if (tabs->Image2.Width() > 0 && tabs->Image2.Height() > 0) paneImage_ = tabs->Image2;
    } else if (const TDataSkinObject* pane = skin_->TabPane.get(); pane && pane->HasImage()) {
        paneImage_ = pane->Image;
    }
    switch (orientation_) {
    case TabOrientation::Bottom:
        FlipBitmapVertical(tabImage_);
        if (paneImage_.Width() > 0) FlipBitmapVertical(paneImage_);
        break;
    case TabOrientation::Left:
        if (paneImage_.Width() > 0) RotateBitmapLeft(paneImage_);
        break;
    case TabOrientation::Right:
        if (paneImage_.Width() > 0) RotateBitmapRight(paneImage_);
        break;
    case TabOrientation::Top: break;
    }
}

// The up-down child of a tab window gets a TSkinUpDown (owned by owner) the first time it is there; true while
// it shows.
static bool SkinChildUpDown(TSkinControl& owner, TSkinUpDown*& upDown) {
    HWND child = FindWindowExA(owner.Window(), nullptr, "msctls_updown32", nullptr);
    if (!child) return false;
    if (!upDown) {
        upDown = new TSkinUpDown(&owner);
        upDown->SetKind(SkinKind::UpDown);
        upDown->AttachWindow(child, owner.Skin(), owner.Form());
    }
    return IsWindowVisible(child) != FALSE;
}

bool TSkinTab::SkinUpDown() { return SkinChildUpDown(*this, upDown_); }

bool TSkinTab::BeforeMessage(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        HandlePaint(m);
        return false;
    }
    return TSkinControl::BeforeMessage(m);
}

// A tab's text (80 characters at most) and image index, W or A as the window is.
static std::wstring TabItemText(HWND window, bool unicode, int index, int& image) {
    if (unicode) {
        wchar_t text[81] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
        item.pszText = text;
        item.cchTextMax = 80;
        if (!SendMessageW(window, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
        image = item.iImage;
        return text;
    }
    char text[81] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    item.pszText = text;
    item.cchTextMax = 80;
    if (!SendMessageA(window, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
    image = item.iImage;
    std::wstring wide;
    StrToWideStr(text, wide);
    return wide;
}

std::wstring TSkinTab::TabText(int index, int& image) const { return TabItemText(window_, unicode_, index, image); }

void TSkinTab::DrawControl(HDC dc, const TRect& rect) {
    if (!skin_ || !window_) return;
    RECT display = ToRECT(rect);
    SendMessageA(window_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const PixelRect pane = TabPane({display.left, display.top, display.right, display.bottom}, orientation_);
    const bool upDownShows = SkinUpDown();
    if (tabImage_.Width() > 0) DrawTabs(dc, rect, pane, upDownShows);
    if (paneImage_.Width() > 0) {
        const TDataSkinBorder& tabs = *skin_->Tabs;
        SkinMargins margins{4, 5, 4, 4};
        if (tabs.Style != 0 && skin_->TabPane) margins = MarginsOf(*skin_->TabPane);
        DrawSkinImage(dc, ToT(pane), paneImage_, margins, 1, 1, false, false, false);
    }
    if (BackgroundMode == 2) PaintControls(dynamic_cast<TWinControl*>(control_), dc);
}

void TSkinTab::DrawTabs(HDC dc, const TRect& rect, const PixelRect& pane, bool upDownShows) {
    const TDataSkinBorder& tabs = *skin_->Tabs;
    const PixelRect r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    const PixelRect strip = TabStrip(r, pane, orientation_);
    const TabWorkSize size = WorkSize(strip, orientation_);
    if (size.Width <= 0 || size.Height <= 0) return;
    SkinBitmap work(size.Width, size.Height);
    HDC mdc = work.Canvas().Handle();
    if (!mdc) return;
    FillParentColour(mdc, Rect(0, 0, size.Width, size.Height));
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window_, WM_GETFONT, 0, 0));
    if (!font) font = GetStockObject(DEFAULT_GUI_FONT);
    const HGDIOBJ oldFont = SelectObject(mdc, font);
    const int count = static_cast<int>(SendMessageA(window_, TCM_GETITEMCOUNT, 0, 0));
    const int current = static_cast<int>(SendMessageA(window_, TCM_GETCURFOCUS, 0, 0));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(window_, TCM_GETIMAGELIST, 0, 0));
    tabRects_.assign(static_cast<size_t>(count > 0 ? count : 0), PixelRect{});
    for (int i = 0; i < count; ++i) {
        int image = -1;
        const std::wstring text = TabText(i, image);
        RECT tr;
        if (!SendMessageA(window_, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tr))) continue;
        tabRects_[static_cast<size_t>(i)] = {tr.left, tr.top, tr.right, tr.bottom};
        const PixelRect t = TabInWork({tr.left, tr.top, tr.right, tr.bottom}, orientation_, r, pane, size);
        const int state = i == current ? 2 : 1;
        DrawSkinImage(mdc, ToT(t), tabImage_, MarginsOf(tabs), state, tabs.Frame, tabs.Trans != 0, tabs.Tile != 0,
                      false);
        SetTextColor(mdc, ColorToRGB(static_cast<TColor>(state == 1 ? tabs.NormalColour2 : tabs.MouseOverColour2)));
        DrawImageCaptionCentred(mdc, ToT(t), text, image, images, BiDiTextFlags(0));
    }
    SelectObject(mdc, oldFont);
    std::unique_ptr<TBitmap> turned;
    TBitmap* out = &work;
    if (orientation_ == TabOrientation::Left || orientation_ == TabOrientation::Right) {
        PixelBuffer pixels = PixelsOf(work);
        if (orientation_ == TabOrientation::Right)
            RotateBitmapRight(pixels);
        else
            RotateBitmapLeft(pixels);
        turned = BitmapFromPixels(pixels);
        if (!turned) return;
        out = turned.get();
    }
    // The up-down shows over the strip: the copy leaves it out, and the DC's clipping is given back after.
    const int saved = SaveDC(dc);
    if (upDownShows && upDown_ && upDown_->Window()) {
        RECT u;
        GetWindowRect(upDown_->Window(), &u);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&u), 2);
        ExcludeClipRect(dc, u.left, u.top, u.right, u.bottom);
    }
    BitBlt(dc, strip.Left, strip.Top, out->Width(), out->Height(), out->Canvas().Handle(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

// ---- old-style tab set ----

void TSkinTab31::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    if (attached_) return;
    auto* set = dynamic_cast<TWinControl*>(Owner());
    if (!set) return;
    recolour_ = recolour;
    TSkinControl::AttachWindow(static_cast<HWND>(set->Handle()), skin, form);
    if (!attached_) return;
    control_ = set;
    LoadTabImage();
    scroller_ = set->ComponentCount() > 0 ? dynamic_cast<TControl*>(set->Components(0)) : nullptr;
}

void TSkinTab31::SkinChanged() {
    LoadTabImage();
    TSkinControl::SkinChanged();
}

void TSkinTab31::LoadTabImage() {
    tabImage_ = {};
    if (!skin_ || !skin_->Tabs || !skin_->Tabs->HasImage()) return;
    tabImage_ = skin_->Tabs->Image;
    FlipBitmapVertical(tabImage_);
}

bool TSkinTab31::BeforeMessage(TMessage& m) {
    // Without the skin's tab image the tab set draws itself.
    if (tabImage_.Width() <= 0) return TSkinControl::BeforeMessage(m);
    switch (m.Msg) {
    case WM_PAINT: HandlePaint(m); return true;
    case WM_ERASEBKGND: m.Result = 1; return false;
    default: return TSkinControl::BeforeMessage(m);
    }
}

void TSkinTab31::DrawControl(HDC dc, const TRect& rect) {
    auto* set = dynamic_cast<TTabSet*>(control_);
    if (!skin_ || !set || tabImage_.Width() <= 0 || rect.IsEmpty()) return;
    const TDataSkinBorder& tabs = *skin_->Tabs;
    SkinBitmap work(rect.Width(), rect.Height());
    HDC mdc = work.Canvas().Handle();
    if (!mdc) return;
    FillBackground(mdc, Rect(0, 0, rect.Width(), rect.Height()));
    const UniqueGdi<HFONT> font = CreateFontFor(set->Font());
    SelectGuard selected(mdc, font.Get());
    // The tabs lie where the tab set puts them (its start and end margins, the room its scroll buttons need,
    // wide tabs left out), so a click lands on the tab it shows.
    const std::vector<TRect> places = set->TabRects();
    for (size_t i = 0; i < places.size(); ++i) {
        if (places[i].IsEmpty()) continue;
        const int index = set->FirstIndex() + static_cast<int>(i);
        const TRect t = Rect(places[i].Left, 0, places[i].Right, rect.Height());
        const int state = index == set->TabIndex() ? 2 : 1;
        DrawSkinImage(mdc, t, tabImage_, MarginsOf(tabs), state, tabs.Frame, tabs.Trans != 0, tabs.Tile != 0, false);
        SetTextColor(mdc, ColorToRGB(static_cast<TColor>(state == 2 ? tabs.MouseOverColour2 : tabs.NormalColour2)));
        std::wstring text;
        StrToWideStr(set->Tab(index), text);
        DrawImageCaptionCentred(mdc, t, text, -1, nullptr, BiDiTextFlags(0));
    }
    BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), mdc, 0, 0, SRCCOPY);
}

// ---- tab control in button style ----

bool TSkinTabBtn::BeforeMessage(TMessage& m) {
    // Without the skin's button image the control draws itself.
    if (m.Msg == WM_PAINT && skin_ && skin_->Buttons.HasImage()) {
        HandlePaint(m);
        return false;
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinTabBtn::DrawControl(HDC dc, const TRect& rect) {
    if (!skin_ || !window_ || !skin_->Buttons.HasImage()) return;
    const TDataSkinButton& buttons = skin_->Buttons;
    RECT display = ToRECT(rect);
    SendMessageA(window_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const TRect strip = Rect(rect.Left, rect.Top, rect.Right, display.top - 4 + 1);
    if (strip.IsEmpty()) return;
    SkinBitmap work(strip.Width(), strip.Height());
    HDC mdc = work.Canvas().Handle();
    if (!mdc) return;
    FillBackground(mdc, Rect(0, 0, strip.Width(), strip.Height()));
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window_, WM_GETFONT, 0, 0));
    SelectGuard selected(mdc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    const int count = static_cast<int>(SendMessageA(window_, TCM_GETITEMCOUNT, 0, 0));
    const int current = static_cast<int>(SendMessageA(window_, TCM_GETCURFOCUS, 0, 0));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(window_, TCM_GETIMAGELIST, 0, 0));
    for (int i = 0; i < count; ++i) {
        int image = -1;
        const std::wstring text = TabItemText(window_, unicode_, i, image);
        RECT tr;
        if (!SendMessageA(window_, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tr))) continue;
        const TRect t =
            Rect(tr.left - strip.Left, tr.top + 1 - strip.Top, tr.right - strip.Left, tr.bottom + 1 - strip.Top);
        const int state = i == current ? 2 : 1;
        DrawSkinImage(mdc, t, buttons, state);
        COLORREF colour = 0;
        if (state == 1 && buttons.NormalColour2Given) colour = ColorToRGB(static_cast<TColor>(buttons.NormalColour2));
        if (state == 2 && buttons.PressedColour2Given) colour = ColorToRGB(static_cast<TColor>(buttons.PressedColour2));
        SetTextColor(mdc, colour);
        DrawImageCaptionCentred(mdc, t, text, image, images, BiDiTextFlags(0));
    }
    BitBlt(dc, strip.Left, strip.Top, strip.Width(), strip.Height(), mdc, 0, 0, SRCCOPY);
    // Buttons have no pane: below them the control shows its parent's colour, not the system's.
    if (strip.Bottom < rect.Bottom) FillParentColour(dc, Rect(rect.Left, strip.Bottom, rect.Right, rect.Bottom));
}

// ---- tab sheet ----

bool TSkinTabSheet::BeforeMessage(TMessage& m) {
    const bool passOn = TSkinControl::BeforeMessage(m);
    if (!passOn || BackgroundMode != 0) return passOn;
    switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINT: HandlePaint(m); return false;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window_, &client);
        if (HDC dc = reinterpret_cast<HDC>(m.WParam)) FillBackground(dc, ToTRect(client));
        m.Result = 1;
        return false;
    }
    default: return passOn;
    }
}

void TSkinTabSheet::DrawControl(HDC dc, const TRect& rect) {
    FillBackground(dc, rect);
    PaintControls(dynamic_cast<TWinControl*>(control_), dc);
}

// ---- page control of another library ----

static constexpr const char* kAdvTabImages[] = {"TabBackGround", "TabBackGroundActive"};

void TSkinAdvPage::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    if (attached_) return;
    TSkinControl::AttachControl(form, skin, recolour);
    if (attached_) PushTabImages();
}

void TSkinAdvPage::PushTabImages() {
    if (PageKind != 4 || !skin_ || !skin_->Tabs || !skin_->Tabs->HasImage() || !control_) return;
    const TDataSkinBorder& tabs = *skin_->Tabs;
    for (int frame = 1; frame <= 2; ++frame) {
        auto* target = dynamic_cast<TBitmap*>(GetObjectPropByName(control_, kAdvTabImages[frame - 1], "TBitmap"));
        if (!target) continue;
        if (auto image = StretchSkinImage(Rect(0, 0, kTabWidth, kTabHeight), tabs.Image, MarginsOf(tabs), frame,
                                          tabs.Frame, tabs.Tile != 0, false))
            target->Assign(*image);
    }
    control_->Invalidate();
}

void TSkinAdvPage::Unskin() {
    const bool wasActive = active_;
    TSkinControl::Unskin();
    // A control whose window went is on its way out: its pictures may be gone already.
    if (!wasActive || state_ == kControlWindowGone || !control_) return;
    for (const char* name : kAdvTabImages)
        if (auto* target = dynamic_cast<TBitmap*>(GetObjectPropByName(control_, name, "TBitmap")))
            target->SetSize(0, 0);
    control_->Invalidate();
}

void TSkinAdvPage::SkinChanged() {
    PushTabImages();
    TSkinControl::SkinChanged();
}

void TSkinAdvPage::SkinUpDown() { SkinChildUpDown(*this, upDown_); }

void TSkinAdvPage::DrawControl(HDC, const TRect&) { SkinUpDown(); }

// ---- registration ----

static TSkinControl* MakeTab(TComponent* owner, const ControlDecision&) { return new TSkinTab(owner); }
static TSkinControl* MakeTab31(TComponent* owner, const ControlDecision&) { return new TSkinTab31(owner); }
static TSkinControl* MakeAdvPage(TComponent* owner, const ControlDecision& d) {
    auto* c = new TSkinAdvPage(owner);
    c->PageKind = d.ObjKind;
    return c;
}
static TSkinControl* MakeListView(TComponent* owner, const ControlDecision&) { return new TSkinListView(owner); }

static const bool registered = [] {
    RegisterSkinController(SkinKind::Tab, MakeTab);
    RegisterSkinController(SkinKind::Tab31, MakeTab31);
    RegisterSkinController(SkinKind::AdvPage, MakeAdvPage);
    RegisterSkinController(SkinKind::ListView, MakeListView);
    return true;
}();

}  // namespace kes

extern "C" {
int kes_skin_tabs_anchor = 0;
}

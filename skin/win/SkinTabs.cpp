// The skinned tab control.
#include "skin/win/SkinTabs.h"

#include "skin/ImgUtil.h"
#include "skin/win/SkinControlList.h"
#include "skin/win/SkinEdit.h"
#include "skin/win/SkinGdi.h"
#include "skin/win/SkinObjectDraw.h"
#include "skin/win/SkinText.h"

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

bool TSkinTab::SkinUpDown() {
    HWND upDown = FindWindowExA(window_, nullptr, "msctls_updown32", nullptr);
    if (!upDown) return false;
    if (!upDown_) {
        upDown_ = new TSkinUpDown(this);
        upDown_->SetKind(SkinKind::UpDown);
        upDown_->AttachWindow(upDown, skin_, form_);
    }
    return IsWindowVisible(upDown) != FALSE;
}

bool TSkinTab::BeforeMessage(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        HandlePaint(m);
        return false;
    }
    return TSkinControl::BeforeMessage(m);
}

std::wstring TSkinTab::TabText(int index, int& image) const {
    if (unicode_) {
        wchar_t text[81] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
        item.pszText = text;
        item.cchTextMax = 80;
        if (!SendMessageW(window_, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
            return {};
        image = item.iImage;
        return text;
    }
    char text[81] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    item.pszText = text;
    item.cchTextMax = 80;
    if (!SendMessageA(window_, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
    image = item.iImage;
    std::wstring wide;
    StrToWideStr(text, wide);
    return wide;
}

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

// ---- registration ----

static TSkinControl* MakeTab(TComponent* owner, const ControlDecision&) { return new TSkinTab(owner); }

static const bool registered = [] {
    RegisterSkinController(SkinKind::Tab, MakeTab);
    return true;
}();

}  // namespace kes

extern "C" {
int kes_skin_tabs_anchor = 0;
}

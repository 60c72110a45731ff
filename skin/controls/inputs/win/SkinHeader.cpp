// The skinned header control.
#include "skin/controls/inputs/win/SkinHeader.h"

#include "gui/win/MsgCrack.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/draw/win/SkinText.h"

namespace kes {

void TSkinHeader::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    TSkinControl::AttachControl(form, skin, recolour);
    hot_ = -1;
}

void TSkinHeader::AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* form) {
    TSkinControl::AttachWindow(window, skin, form);
    hot_ = -1;
}

static bool HasHeaderbar(const TSkinData* skin) { return skin && skin->Headerbar && skin->Headerbar->HasImage(); }

bool TSkinHeader::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: HandlePaint(m); return false;
    case WM_ERASEBKGND:
        if (!HasHeaderbar(skin_)) return true;
        m.Result = 1;
        return false;
    default: return TSkinControl::BeforeMessage(m);
    }
}

void TSkinHeader::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEMOVE: {
        const TPoint p = msg::Point(m);
        TrackHotSection({p.X, p.Y});
        break;
    }
    case WM_MOUSELEAVE:
        hot_ = -1;
        Repaint();
        break;
    default: TSkinControl::AfterMessage(m); break;
    }
}

void TSkinHeader::TrackHotSection(SkinPoint at) {
    const int hot = HotSectionAt(hotRects_, at, hot_);
    if (hot != hot_) {
        hot_ = hot;
        Repaint();
    }
    CallTrackMouseEvent(window_);
}

void TSkinHeader::DrawControl(HDC dc, const TRect& rect) {
    if (!HasHeaderbar(skin_) || !window_) return;
    const TDataSkinObject& bar = *skin_->Headerbar;
    SkinBitmap work(rect.Width(), rect.Height());
    HDC mdc = work.Canvas().Handle();
    if (!mdc) return;
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window_, WM_GETFONT, 0, 0));
    if (!font) font = GetStockObject(DEFAULT_GUI_FONT);
    const HGDIOBJ oldFont = SelectObject(mdc, font);
    SetBkMode(mdc, TRANSPARENT);
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(window_, HDM_GETIMAGELIST, 0, 0));
    const int count = static_cast<int>(SendMessageA(window_, HDM_GETITEMCOUNT, 0, 0));
    hotRects_.assign(static_cast<size_t>(count > 0 ? count : 0), PixelRect{});
    int rightmost = rect.Left;
    for (int i = 0; i < count; ++i) {
        RECT sr;
        if (!SendMessageA(window_, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&sr))) continue;
        const PixelRect section{sr.left, sr.top, sr.right, sr.bottom};
        DrawSection(mdc, i, section, images);
        hotRects_[static_cast<size_t>(i)] = HotRect(section);
        rightmost = std::max(rightmost, static_cast<int>(sr.right));
    }
    const PixelRect rest = HeaderRest({rect.Left, rect.Top, rect.Right, rect.Bottom}, rightmost);
    if (!rest.Empty())
        if (auto filler = StretchSkinImage(Rect(0, 0, rest.Width(), rest.Height()), bar.Image, MarginsOf(bar), 1,
                                           bar.Frame, bar.Tile != 0, false))
            BitBlt(mdc, rest.Left, rest.Top, rest.Width(), rest.Height(), filler->Canvas().Handle(), 0, 0, SRCCOPY);
    SelectObject(mdc, oldFont);
    BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), mdc, 0, 0, SRCCOPY);
}

void TSkinHeader::DrawSection(HDC work, int index, const PixelRect& rect, HIMAGELIST images) {
    if (rect.Width() <= 0 || rect.Height() <= 0) return;
    const TDataSkinObject& bar = *skin_->Headerbar;
    wchar_t text[201] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = 200;
    SendMessageW(window_, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    auto face = StretchSkinImage(Rect(0, 0, rect.Width(), rect.Height()), bar.Image, MarginsOf(bar),
                                 index == hot_ ? 2 : 1, bar.Frame, bar.Tile != 0, false);
    if (!face) return;
    HDC fdc = face->Canvas().Handle();
    const std::wstring caption = text;
    if (!caption.empty() && fdc) {
        const int image = HeaderImageIndex(static_cast<unsigned>(item.fmt), item.iImage);
        int iconWidth = 0, iconHeight = 0;
        if (images) ImageList_GetIconSize(images, &iconWidth, &iconHeight);
        const HGDIOBJ oldFont = SelectObject(fdc, GetCurrentObject(work, OBJ_FONT));
        const unsigned flags = DT_END_ELLIPSIS | DT_EXPANDTABS;
        RECT measured{0, 0, rect.Width(), rect.Height()};
        SkinDrawText(fdc, caption, measured, flags | DT_CALCRECT | DT_NOCLIP);
        const HeaderCaptionPlace place =
            PlaceHeaderCaption(rect.Width(), rect.Height(), HeaderAlignment(static_cast<unsigned>(item.fmt)),
                               measured.right - measured.left, measured.bottom - measured.top,
                               image != -1 && images != nullptr, iconWidth, iconHeight);
        if (place.IconWidth) ImageList_Draw(images, image, fdc, place.Icon.X, place.Icon.Y, ILD_TRANSPARENT);
        SetBkMode(fdc, TRANSPARENT);
        if (skin_->ColourIsGiven(SkinColour::WindowText))
            SetTextColor(fdc, ColorToRGB(static_cast<TColor>(skin_->Colour(SkinColour::WindowText))));
        RECT r{place.Text.Left, place.Text.Top, place.Text.Right, place.Text.Bottom};
        SkinDrawText(fdc, caption, r, BiDiTextFlags(flags));
        SelectObject(fdc, oldFont);
    }
    BitBlt(work, rect.Left, rect.Top, rect.Width(), rect.Height(), fdc, 0, 0, SRCCOPY);
}

void TSkinListView::AttachScrollControl(TWinControl* control, TSkinData* skin, TWinSkinForm* form) {
    if (Attached() || !control) return;
    scrollAttaching_ = true;
    TSkinScrollbar::AttachScrollControl(control, skin, form);
    scrollAttaching_ = false;
    if (Attached() && !header_) header_ = SkinListViewHeader(control, window_, skin, form);
}

void TSkinListView::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    if (scrollAttaching_) {
        TSkinScrollbar::AttachControl(form, skin, recolour);
        return;
    }
    AttachScrollControl(dynamic_cast<TWinControl*>(Owner()), skin, form);
}

TSkinHeader* SkinListViewHeader(TComponent* owner, HWND listView, TSkinData* skin, TWinSkinForm* form) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
    if (!header) return nullptr;
    auto* c = new TSkinHeader(owner);
    c->AttachWindow(header, skin, form);
    return c;
}

}  // namespace kes

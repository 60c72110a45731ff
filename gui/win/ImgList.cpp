#include "gui/win/ImgList.h"

#include <algorithm>

namespace kes {

TCustomImageList::TCustomImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(std::max(1, width)), height_(std::max(1, height)) {}

TCustomImageList::~TCustomImageList() { BeginDestroy(); }

HIMAGELIST TCustomImageList::Handle() {
    if (!list_) list_.Reset(ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4));
    return list_.Get();
}

void TCustomImageList::SetSize(int width, int height) {
    list_.Reset();
    width_ = std::max(1, width);
    height_ = std::max(1, height);
}

int TCustomImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.Get()) : 0; }

// Image lists want device-dependent bitmaps of the image size: copy through a compatible bitmap.
static UniqueGdi<HBITMAP> CopyBitmap(TBitmap& bmp) {
    WindowDc screen(nullptr);
    UniqueGdi<HBITMAP> h(CreateCompatibleBitmap(screen.Get(), bmp.Width(), bmp.Height()));
    const UniqueDc dc(CreateCompatibleDC(screen.Get()));
    SelectGuard selected(dc.Get(), h.Get());
    BitBlt(dc.Get(), 0, 0, bmp.Width(), bmp.Height(), bmp.Canvas().Handle(), 0, 0, SRCCOPY);
    return h;
}

int TCustomImageList::Add(TBitmap& image, TBitmap* mask) {
    if (image.Empty()) return -1;
    const UniqueGdi<HBITMAP> img = CopyBitmap(image);
    UniqueGdi<HBITMAP> msk;
    if (mask && !mask->Empty()) {
        msk.Reset(CreateBitmap(mask->Width(), mask->Height(), 1, 1, nullptr));
        const UniqueDc dc(CreateCompatibleDC(nullptr));
        SelectGuard selected(dc.Get(), msk.Get());
        BitBlt(dc.Get(), 0, 0, mask->Width(), mask->Height(), mask->Canvas().Handle(), 0, 0, SRCCOPY);
    }
    return ImageList_Add(Handle(), img.Get(), msk.Get());
}

int TCustomImageList::AddMasked(TBitmap& image, TColor maskColor) {
    if (image.Empty()) return -1;
    const UniqueGdi<HBITMAP> img = CopyBitmap(image);
    return ImageList_AddMasked(Handle(), img.Get(), ColorToRGB(maskColor));
}

void TCustomImageList::Delete(int index) {
    if (list_ && index >= 0 && index < Count()) ImageList_Remove(list_.Get(), index);
}

void TCustomImageList::Clear() {
    if (list_) ImageList_RemoveAll(list_.Get());
}

bool TCustomImageList::LoadResource(HINSTANCE module, const char* name, TColor maskColor) {
    // Through a bitmap of the screen's format, so that the mask is made from the colour at any colour depth
    // of the resource (a monochrome one too).
    const UniqueGdi<HBITMAP> res(
        static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!res) return false;
    BITMAP bm{};
    GetObjectA(res.Get(), sizeof bm, &bm);
    if (bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
    list_.Reset();
    height_ = bm.bmHeight;
    WindowDc screen(nullptr);
    UniqueGdi<HBITMAP> copy(CreateCompatibleBitmap(screen.Get(), bm.bmWidth, bm.bmHeight));
    {
        const UniqueDc src(CreateCompatibleDC(screen.Get())), dst(CreateCompatibleDC(screen.Get()));
        SelectGuard s(src.Get(), res.Get()), d(dst.Get(), copy.Get());
        BitBlt(dst.Get(), 0, 0, bm.bmWidth, bm.bmHeight, src.Get(), 0, 0, SRCCOPY);
    }
    return ImageList_AddMasked(Handle(), copy.Get(), ColorToRGB(maskColor)) >= 0;
}

void TCustomImageList::DrawMask(HDC dc, int x, int y, int index, COLORREF colour) {
    if (!list_ || index < 0 || index >= Count() || !dc) return;
    // The mask (black where the image is) in a monochrome bitmap, then the brush through it.
    const UniqueDc mdc(CreateCompatibleDC(dc));
    UniqueGdi<HBITMAP> mono(CreateBitmap(width_, height_, 1, 1, nullptr));
    const UniqueGdi<HBRUSH> brush(CreateSolidBrush(colour));
    if (!mdc || !mono || !brush) return;
    SelectGuard m(mdc.Get(), mono.Get());
    PatBlt(mdc.Get(), 0, 0, width_, height_, WHITENESS);
    ImageList_Draw(list_.Get(), index, mdc.Get(), 0, 0, ILD_MASK);
    SelectGuard b(dc, brush.Get());
    const COLORREF bk = SetBkColor(dc, RGB(255, 255, 255)), fg = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, width_, height_, mdc.Get(), 0, 0, 0x00B8074A);
    SetBkColor(dc, bk);
    SetTextColor(dc, fg);
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (!list_ || index < 0 || index >= Count() || !canvas.Handle()) return;
    if (enabled) {
        ImageList_Draw(list_.Get(), index, canvas.Handle(), x, y, ILD_TRANSPARENT);
        return;
    }
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof p;
    p.himl = list_.Get();
    p.i = index;
    p.hdcDst = canvas.Handle();
    p.x = x;
    p.y = y;
    p.rgbBk = CLR_NONE;
    p.rgbFg = CLR_DEFAULT;
    p.fStyle = ILD_TRANSPARENT;
    p.fState = ILS_SATURATE;
    if (!ImageList_DrawIndirect(&p))
        ImageList_DrawEx(list_.Get(), index, canvas.Handle(), x, y, 0, 0, CLR_NONE, CLR_DEFAULT, ILD_BLEND50);
}

}  // namespace kes

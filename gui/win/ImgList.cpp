#include "gui/win/ImgList.h"

#include <algorithm>

namespace kes {

TCustomImageList::TCustomImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(std::max(1, width)), height_(std::max(1, height)) {}

TCustomImageList::~TCustomImageList() {
    BeginDestroy();
    if (list_) ImageList_Destroy(list_);
}

HIMAGELIST TCustomImageList::Handle() {
    if (!list_) list_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4);
    return list_;
}

void TCustomImageList::SetSize(int width, int height) {
    if (list_) ImageList_Destroy(list_);
    list_ = nullptr;
    width_ = std::max(1, width);
    height_ = std::max(1, height);
}

int TCustomImageList::Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

// Image lists want device-dependent bitmaps of the image size: copy through a compatible bitmap.
static HBITMAP CopyBitmap(TBitmap& bmp) {
    HDC screen = GetDC(nullptr);
    HBITMAP h = CreateCompatibleBitmap(screen, bmp.Width(), bmp.Height());
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, h);
    BitBlt(dc, 0, 0, bmp.Width(), bmp.Height(), bmp.Canvas().Handle(), 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return h;
}

int TCustomImageList::Add(TBitmap& image, TBitmap* mask) {
    if (image.Empty()) return -1;
    HBITMAP img = CopyBitmap(image);
    HBITMAP msk = nullptr;
    if (mask && !mask->Empty()) {
        msk = CreateBitmap(mask->Width(), mask->Height(), 1, 1, nullptr);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, msk);
        BitBlt(dc, 0, 0, mask->Width(), mask->Height(), mask->Canvas().Handle(), 0, 0, SRCCOPY);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    const int index = ImageList_Add(Handle(), img, msk);
    DeleteObject(img);
    if (msk) DeleteObject(msk);
    return index;
}

int TCustomImageList::AddMasked(TBitmap& image, TColor maskColor) {
    if (image.Empty()) return -1;
    HBITMAP img = CopyBitmap(image);
    const int index = ImageList_AddMasked(Handle(), img, ColorToRGB(maskColor));
    DeleteObject(img);
    return index;
}

void TCustomImageList::Delete(int index) {
    if (list_ && index >= 0 && index < Count()) ImageList_Remove(list_, index);
}

void TCustomImageList::Clear() {
    if (list_) ImageList_RemoveAll(list_);
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (!list_ || index < 0 || index >= Count() || !canvas.Handle()) return;
    if (enabled) {
        ImageList_Draw(list_, index, canvas.Handle(), x, y, ILD_TRANSPARENT);
        return;
    }
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof p;
    p.himl = list_;
    p.i = index;
    p.hdcDst = canvas.Handle();
    p.x = x;
    p.y = y;
    p.rgbBk = CLR_NONE;
    p.rgbFg = CLR_DEFAULT;
    p.fStyle = ILD_TRANSPARENT;
    p.fState = ILS_SATURATE;
    if (!ImageList_DrawIndirect(&p)) ImageList_DrawEx(list_, index, canvas.Handle(), x, y, 0, 0, CLR_NONE, CLR_DEFAULT, ILD_BLEND50);
}

}  // namespace kes

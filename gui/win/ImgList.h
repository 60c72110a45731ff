#pragma once
// An image list: equal-sized images (with masks) kept by the platform, drawn by index.
#include "base/Component.h"
#include "gui/win/Canvas.h"
#include "gui/win/Win.h"

namespace kes {

class TCustomImageList : public TComponent {
    KES_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* owner, int width = 16, int height = 16);
    ~TCustomImageList() override;
    int Width() const { return width_; }
    int Height() const { return height_; }
    // New size; the images are dropped.
    void SetSize(int width, int height);
    int Count() const;
    // Adds the image (cut into Width-wide pieces when wider); `mask` may be null. Returns the first index.
    int Add(TBitmap& image, TBitmap* mask = nullptr);
    // Adds with `maskColor` transparent.
    int AddMasked(TBitmap& image, TColor maskColor);
    void Delete(int index);
    void Clear();
    // The images of a bitmap resource of the module, cut into pieces of the list's width, with maskColor
    // transparent (the list's images are replaced); false when the resource is missing.
    bool LoadResource(HINSTANCE module, const char* name, TColor maskColor);
    // Draws image `index` (greyed when not enabled); nothing for an index out of range.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
    // Image index as a stencil: its opaque pixels in one colour (a monochrome glyph on any background).
    void DrawMask(HDC dc, int x, int y, int index, COLORREF colour);
    HIMAGELIST Handle();

private:
    UniqueImageList list_;
    int width_, height_;
};

class TImageList : public TCustomImageList {
    KES_CLASS(TImageList, TCustomImageList)
public:
    using TCustomImageList::TCustomImageList;
};

}  // namespace kes

#include "gui/win/Buttons.h"

#include <algorithm>

#include "gui/win/ImgList.h"

namespace kes {

const std::vector<std::string> kButtonLayoutNames = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};

const TPropTable& TBitBtn::ClassProps() {
    static const TPropTable t(
        &TButton::ClassProps(),
        {
            ObjProp<TBitBtn>("Glyph", [](const TBitBtn& c) { return const_cast<TBitmap*>(&c.Glyph()); }),
            IntProp<TBitBtn>(
                "NumGlyphs", [](const TBitBtn& c) { return c.NumGlyphs(); },
                [](TBitBtn& c, int v) { c.SetNumGlyphs(v); }),
            EnumProp<TBitBtn>(
                "Layout", kButtonLayoutNames, [](const TBitBtn& c) { return c.Layout; },
                [](TBitBtn& c, int64_t v) { c.Layout = static_cast<TButtonLayout>(v); }),
            IntProp<TBitBtn>(
                "Margin", [](const TBitBtn& c) { return c.Margin; }, [](TBitBtn& c, int v) { c.Margin = v; }),
            IntProp<TBitBtn>(
                "Spacing", [](const TBitBtn& c) { return c.Spacing; }, [](TBitBtn& c, int v) { c.Spacing = v; }),
            ObjProp<TBitBtn>("Images", [](const TBitBtn& c) { return static_cast<TObject*>(c.Images()); }),
            IntProp<TBitBtn>(
                "ImageIndex", [](const TBitBtn& c) { return c.ImageIndex; },
                [](TBitBtn& c, int v) { c.ImageIndex = v; }),
            IntProp<TBitBtn>(
                "DisabledIndex", [](const TBitBtn& c) { return c.DisabledIndex; },
                [](TBitBtn& c, int v) { c.DisabledIndex = v; }),
        });
    return t;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

TBitBtn::~TBitBtn() {
    BeginDestroy();
    SetImages(nullptr);
}

void TBitBtn::SetNumGlyphs(int n) { numGlyphs_ = std::clamp(n, 1, 4); }

void TBitBtn::SetImages(TCustomImageList* images) {
    if (images == images_) return;
    if (images_) RemoveFreeNotification(images_);
    images_ = images;
    if (images_) FreeNotification(images_);
    Invalidate();
}

void TBitBtn::Notification(TComponent* component, TOperation operation) {
    TButton::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

}  // namespace kes

#pragma once
// A push button with a picture beside its caption: a glyph strip (frames side by side: normal, disabled,
// pressed, down) or an image of an image list (an enabled and a disabled index), placed by Layout, Margin and
// Spacing. Unskinned it is the system's push button with its caption; the skin draws glyph or image beside it.
#include <memory>
#include <string>
#include <vector>

#include "gui/StdCtrls.h"
#include "gui/win/Canvas.h"

namespace kes {

class TCustomImageList;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
extern const std::vector<std::string> kButtonLayoutNames;

class TBitBtn : public TButton {
    KES_CLASS(TBitBtn, TButton)
    KES_PUBLISHED
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;
    TBitmap& Glyph() { return glyph_; }
    const TBitmap& Glyph() const { return glyph_; }
    // Frames in the glyph strip (1 to 4).
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int n);
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;  // -1: centred
    int Spacing = 4;  // -1: spread evenly
    // The image list the picture comes from when there is no glyph (not owned; forgotten when it goes).
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    int ImageIndex = -1;     // the picture while enabled; -1: none
    int DisabledIndex = -1;  // the picture while disabled; -1: the enabled one, drawn greyed

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TBitmap glyph_;
    int numGlyphs_ = 1;
    TCustomImageList* images_ = nullptr;
};

}  // namespace kes

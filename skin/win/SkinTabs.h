#pragma once
// The skinned tab control, TSkinTab: the strip of tabs is drawn from the skin's "Tabs" image into a bitmap of
// its own (drawn upright and turned for tabs at the left or right), the current tab in the second frame, and
// the pane around the pages from the "Tabs" border or "Tab.Pane". The tab control keeps its own behaviour:
// the tabs' places, the current tab and the texts are read back from the control at every paint. An up-down
// the control shows when its tabs do not fit is skinned with TSkinUpDown.
#include <vector>

#include "skin/PixelBuffer.h"
#include "skin/TabGeometry.h"
#include "skin/win/SkinControl.h"

namespace kes {

class TSkinUpDown;

class TSkinTab : public TSkinControl {
    KES_CLASS(TSkinTab, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* form) override;
    void SkinChanged() override;
    void DrawControl(HDC dc, const TRect& rect) override;
    TabOrientation Orientation() const { return orientation_; }
    // The tabs' rectangles in the control as last painted.
    const std::vector<PixelRect>& TabRects() const { return tabRects_; }

protected:
    bool BeforeMessage(TMessage& m) override;

private:
    void LoadTabImages();
    // Skins the control's up-down the first time it is there; true while it shows.
    bool SkinUpDown();
    void DrawTabs(HDC dc, const TRect& rect, const PixelRect& pane, bool upDownShows);
    std::wstring TabText(int index, int& image) const;

    std::vector<PixelRect> tabRects_;
    TabOrientation orientation_ = TabOrientation::Top;
    PixelBuffer tabImage_;   // "Tabs", turned upside down for tabs at the bottom
    PixelBuffer paneImage_;  // the pane, turned for tabs at the left or right
    TSkinUpDown* upDown_ = nullptr;
};

// A caption and image-list icon centred in rect (the tabs' captions); transparent background.
void DrawImageCaptionCentred(HDC dc, const TRect& rect, const std::wstring& text, int image, HIMAGELIST images,
                             unsigned extraFlags);

}  // namespace kes

#pragma once
// The skinned tab control, TSkinTab: the strip of tabs is drawn from the skin's "Tabs" image into a bitmap of
// its own (drawn upright and turned for tabs at the left or right), the current tab in the second frame, and
// the pane around the pages from the "Tabs" border or "Tab.Pane". The tab control keeps its own behaviour:
// the tabs' places, the current tab and the texts are read back from the control at every paint. An up-down
// the control shows when its tabs do not fit is skinned with TSkinUpDown. With BackgroundMode 2 the control's
// windowless children are painted over the pane.
//
// The rest of the family: TSkinTab31 draws an old-style tab set (its tabs where the tab set lays them out),
// TSkinTabBtn a tab control in button style from the "Buttons" image, TSkinTabSheet the background of a page,
// and TSkinAdvPage hands a foreign page control the tab pictures it draws itself with.
#include <vector>

#include "skin/container/PixelBuffer.h"
#include "skin/draw/TabGeometry.h"
#include "skin/controls/win/SkinControl.h"

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

// An old-style tab set (TTabSet): the window is subclassed; the tabs are drawn from "Tabs" turned upside down
// (they hang from the top edge) at the places the tab set gives them, the current one in the second frame.
class TSkinTab31 : public TSkinControl {
    KES_CLASS(TSkinTab31, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void SkinChanged() override;
    void DrawControl(HDC dc, const TRect& rect) override;
    // The tab set's scroll buttons, remembered when attached.
    TControl* Scroller() const { return scroller_; }

protected:
    bool BeforeMessage(TMessage& m) override;

private:
    void LoadTabImage();
    PixelBuffer tabImage_;
    TControl* scroller_ = nullptr;
};

// A tab control in button style: the row of buttons from the skin's "Buttons" image, the current one pressed.
class TSkinTabBtn : public TSkinControl {
    KES_CLASS(TSkinTabBtn, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void DrawControl(HDC dc, const TRect& rect) override;

protected:
    bool BeforeMessage(TMessage& m) override;
};

// A page of a page control: the skin's face colour under the page's windowless children (BackgroundMode 0).
class TSkinTabSheet : public TSkinControl {
    KES_CLASS(TSkinTabSheet, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void DrawControl(HDC dc, const TRect& rect) override;

protected:
    bool BeforeMessage(TMessage& m) override;
};

// A page control of another library that draws its tabs from bitmaps it publishes ("TabBackGround",
// "TabBackGroundActive"): it is handed the skin's two tab frames (kind 4) and draws nothing itself.
class TSkinAdvPage : public TSkinControl {
    KES_CLASS(TSkinAdvPage, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void Unskin() override;
    void SkinChanged() override;
    void DrawControl(HDC dc, const TRect& rect) override;
    int PageKind = 0;
    // The size of the tab pictures handed over.
    static constexpr int kTabWidth = 100, kTabHeight = 21;

private:
    void PushTabImages();
    void SkinUpDown();
    TSkinUpDown* upDown_ = nullptr;
};

// A caption and image-list icon centred in rect (the tabs' captions); transparent background.
void DrawImageCaptionCentred(HDC dc, const TRect& rect, const std::wstring& text, int image, HIMAGELIST images,
                             unsigned extraFlags);

}  // namespace kes

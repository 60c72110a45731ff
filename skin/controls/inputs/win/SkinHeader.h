#pragma once
// The skinned header control, TSkinHeader: each section is drawn from the skin's "Headerbar" image (the
// section under the mouse in its second frame) with its icon and caption, and the part right of the last
// section in the first frame. The header keeps its own behaviour (sizing, dragging, clicks); the sections'
// places, texts and formats are read back from it at every paint.
#include <vector>

#include "skin/draw/HeaderGeometry.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/controls/scrollbars/win/SkinScrollbar.h"

namespace kes {

class TSkinHeader : public TSkinControl {
    KES_CLASS(TSkinHeader, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void AttachWindow(HWND window, TSkinData* skin, TWinSkinForm* form) override;
    void DrawControl(HDC dc, const TRect& rect) override;
    int HotSection() const { return hot_; }

protected:
    bool BeforeMessage(TMessage& m) override;
    void AfterMessage(TMessage& m) override;

private:
    void TrackHotSection(SkinPoint at);
    void DrawSection(HDC work, int index, const PixelRect& rect, HIMAGELIST images);

    std::vector<PixelRect> hotRects_;
    int hot_ = -1;
};

// A list view: its scroll bars as any scrollable control's, and its header window with a TSkinHeader.
class TSkinListView : public TSkinScrollbar {
    KES_CLASS(TSkinListView, TSkinScrollbar)
public:
    using TSkinScrollbar::TSkinScrollbar;
    void AttachScrollControl(TWinControl* control, TSkinData* skin, TWinSkinForm* form) override;
    // Attached as a scrollable control, also when the application made it (OnSkinControl).
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    TSkinHeader* Header() const { return header_; }

private:
    TSkinHeader* header_ = nullptr;  // owned by the list view
    bool scrollAttaching_ = false;
};

// Skins the header of a list view (LVM_GETHEADER) with a TSkinHeader owned by `owner`; null when the list view
// has no header. The list view's own controller calls it when it attaches.
TSkinHeader* SkinListViewHeader(TComponent* owner, HWND listView, TSkinData* skin, TWinSkinForm* form);

}  // namespace kes

#pragma once
// The skinned progress and track bars. TSkinProgress composes the whole bar off-screen from the skin's
// "Progress" image (an empty and a filled frame, or a trough with "Progress.Chunk" chunks) and copies it out
// in one blit; without the image the bar paints itself. TSkinTrackBar lets the track bar paint its ticks
// and draws channel and thumb when the control asks through its custom-draw notifications (NM_CUSTOMDRAW,
// reflected back to the control by its parent). GUI thread only.
#include "skin/controls/checks/ValueBarGeometry.h"
#include "skin/controls/win/SkinControl.h"

namespace kes {

class TSkinProgress : public TSkinControl {
    KES_CLASS(TSkinProgress, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void DrawControl(HDC dc, const TRect& rect) override;

protected:
    bool BeforeMessage(TMessage& m) override;

private:
    void DrawBar(HDC work, const ProgressPlan& plan);
    void DrawChunks(HDC work, const ProgressPlan& plan);
};

class TSkinTrackBar : public TSkinControl {
    KES_CLASS(TSkinTrackBar, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void SkinChanged() override;

protected:
    bool BeforeMessage(TMessage& m) override;

private:
    void DrawChannel(HDC dc);
    void DrawThumb(HDC dc);
};

}  // namespace kes

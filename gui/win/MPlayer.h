#pragma once
// A media player's button bar: up to nine buttons side by side (play, pause, stop, next, previous, step, back,
// record, eject), each shown, enabled and coloured by the set properties VisibleButtons, EnabledButtons and
// ColoredButtons. A press and release on the same enabled button fires OnButtonClick with that button. The
// glyphs are the bitmap resources EN_MPPLAY, DI_MPPLAY, CL_MPPLAY ... of the program (enabled, disabled,
// coloured), olive (0x008080) left out; a missing one leaves its button without a glyph. No device is driven:
// the bar tells its owner which button the user chose.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/Controls.h"
#include "gui/win/Canvas.h"

namespace kes {

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
constexpr int kMPBtnTypes = 9;
using TButtonSet = unsigned;  // bit per TMPBtnType
constexpr TButtonSet kAllMPButtons = (1u << kMPBtnTypes) - 1;
extern const std::vector<std::string> kMPBtnTypeNames;

// doDefault: the bar's own action follows (it has none beyond the event).
using TMPBtnEvent = std::function<void(TObject* sender, TMPBtnType button, bool& doDefault)>;

class TMediaPlayer : public TCustomControl {
    KES_CLASS(TMediaPlayer, TCustomControl)
    KES_PUBLISHED
public:
    explicit TMediaPlayer(TComponent* owner);
    ~TMediaPlayer() override;

    TButtonSet VisibleButtons() const { return visible_; }
    void SetVisibleButtons(TButtonSet s);
    TButtonSet EnabledButtons() const { return enabled_; }
    void SetEnabledButtons(TButtonSet s);
    TButtonSet ColoredButtons() const { return coloured_; }
    void SetColoredButtons(TButtonSet s);

    TMPBtnEvent OnButtonClick;

    // The visible button at a client point's x (a button's span holds both its ends); -1 when none.
    int ButtonAt(int x) const;
    TRect ButtonRect(TMPBtnType button) const;
    void Paint(TCanvas& canvas) override;
    bool ClickOnMouseUp() const override { return false; }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    int VisibleCount() const;
    int ButtonWidth() const;
    TButtonSet visible_ = kAllMPButtons, enabled_ = kAllMPButtons, coloured_ = kAllMPButtons;
    int pressed_ = -1;  // the button under the press, while the left button is down
    std::array<std::array<std::unique_ptr<TBitmap>, 3>, kMPBtnTypes> glyphs_;
};

}  // namespace kes

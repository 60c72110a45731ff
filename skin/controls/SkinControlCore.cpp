#include "skin/controls/SkinControlCore.h"

namespace kes {

void SkinControlCore::Dispatch(TMessage& m) {
    if (m.Msg == kSkmSetActive) {
        active_ = static_cast<int32_t>(static_cast<uint32_t>(m.WParam)) > 0;
        if (active_) Repaint();
        return;
    }
    if (!active_) {
        CallPrevious(m);
        return;
    }
    if (!BeforeMessage(m)) return;
    CallPrevious(m);
    AfterMessage(m);
}

bool SkinControlCore::BeforeMessage(TMessage& m) {
    switch (m.Msg) {
    case kWmNcDestroy:
        state_ = kControlWindowGone;
        CallPrevious(m);
        if (active_) Unskin();
        return false;
    case kSkmIsSkinned: m.Result = 1; return false;
    default: return true;
    }
}

void SkinControlCore::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case kWmSetFocus:
    case kWmKillFocus:
    case kWmEnable:
    case kWmSetText:
    case kCmEnabledChanged: Repaint(); break;
    case kWmPaint: PaintWindow(m.WParam); break;
    default: break;
    }
}

}  // namespace kes

#include "gui/win/MPlayer.h"

#include <utility>

#include "gui/win/Win.h"

// The platform's SetProp (a window property) would hide the set-property builder of the table below.
#undef SetProp

namespace kes {

const std::vector<std::string> kMPBtnTypeNames = {"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                                  "btStep", "btBack",  "btRecord", "btEject"};

namespace {
const char* const kGlyphNames[kMPBtnTypes] = {"MPPLAY", "MPPAUSE", "MPSTOP",   "MPNEXT", "MPPREV",
                                              "MPSTEP", "MPBACK",  "MPRECORD", "MPEJECT"};
const char* const kStates[3] = {"EN", "DI", "CL"};
constexpr TColor kGlyphSurround = clOlive;
}  // namespace

const TPropTable& TMediaPlayer::ClassProps() {
    static const TPropTable t(
        &TWinControl::ClassProps(),
        {
            SetProp<TMediaPlayer>(
                "VisibleButtons", kMPBtnTypeNames, [](const TMediaPlayer& c) { return c.VisibleButtons(); },
                [](TMediaPlayer& c, unsigned v) { c.SetVisibleButtons(v); }),
            SetProp<TMediaPlayer>(
                "EnabledButtons", kMPBtnTypeNames, [](const TMediaPlayer& c) { return c.EnabledButtons(); },
                [](TMediaPlayer& c, unsigned v) { c.SetEnabledButtons(v); }),
            SetProp<TMediaPlayer>(
                "ColoredButtons", kMPBtnTypeNames, [](const TMediaPlayer& c) { return c.ColoredButtons(); },
                [](TMediaPlayer& c, unsigned v) { c.SetColoredButtons(v); }),
        });
    return t;
}

TMediaPlayer::TMediaPlayer(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 253, 30);
    TabStop = true;
    for (int j = 0; j < kMPBtnTypes; ++j)
        for (int i = 0; i < 3; ++i) {
            auto b = std::make_unique<TBitmap>();
            if (!b->LoadFromResourceName(std::string(kStates[i]) + "_" + kGlyphNames[j])) b.reset();
            glyphs_[static_cast<size_t>(j)][static_cast<size_t>(i)] = std::move(b);
        }
}

TMediaPlayer::~TMediaPlayer() { BeginDestroy(); }

void TMediaPlayer::SetVisibleButtons(TButtonSet s) {
    visible_ = s & kAllMPButtons;
    Invalidate();
}
void TMediaPlayer::SetEnabledButtons(TButtonSet s) {
    enabled_ = s & kAllMPButtons;
    Invalidate();
}
void TMediaPlayer::SetColoredButtons(TButtonSet s) {
    coloured_ = s & kAllMPButtons;
    Invalidate();
}

int TMediaPlayer::VisibleCount() const {
    int n = 0;
    for (int j = 0; j < kMPBtnTypes; ++j) n += (visible_ >> j) & 1u;
    return n;
}

int TMediaPlayer::ButtonWidth() const {
    const int n = VisibleCount();
    return n ? ClientWidth() / n : 0;
}

int TMediaPlayer::ButtonAt(int x) const {
    const int w = ButtonWidth();
    int sum = 0;
    for (int j = 0; j < kMPBtnTypes; ++j) {
        if (!((visible_ >> j) & 1u)) continue;
        if (x >= sum && x <= sum + w) return j;
        sum += w;
    }
    return -1;
}

TRect TMediaPlayer::ButtonRect(TMPBtnType button) const {
    const int w = ButtonWidth();
    int x = 0;
    for (int j = 0; j < kMPBtnTypes; ++j) {
        if (!((visible_ >> j) & 1u)) continue;
        if (j == button) return Rect(x, 0, x + w, ClientHeight());
        x += w;
    }
    return {};
}

void TMediaPlayer::Paint(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    const RECT all{0, 0, ClientWidth(), ClientHeight()};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    for (int j = 0; j < kMPBtnTypes; ++j) {
        if (!((visible_ >> j) & 1u)) continue;
        RECT r = ToRECT(ButtonRect(static_cast<TMPBtnType>(j)));
        const bool on = Enabled() && ((enabled_ >> j) & 1u);
        const bool down = on && pressed_ == j;
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0u));
        const int state = !on ? 1 : ((coloured_ >> j) & 1u) ? 2 : 0;
        TBitmap* g = glyphs_[static_cast<size_t>(j)][static_cast<size_t>(state)].get();
        if (!g) continue;
        const int shift = down ? 1 : 0;
        canvas.DrawTransparent(r.left + (r.right - r.left - g->Width()) / 2 + shift,
                               (r.bottom - r.top - g->Height()) / 2 + shift, *g, kGlyphSurround);
    }
}

void TMediaPlayer::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    const int at = ButtonAt(x);
    pressed_ = at >= 0 && ((enabled_ >> at) & 1u) ? at : -1;
    if (CanFocus()) SetFocus();
    Invalidate();
}

void TMediaPlayer::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    const int was = std::exchange(pressed_, -1);
    Invalidate();
    const bool inside = y >= 0 && y <= Height() && ButtonAt(x) == was;
    if (was < 0 || !inside || !Enabled()) return;
    bool doDefault = true;
    if (OnButtonClick) OnButtonClick(this, static_cast<TMPBtnType>(was), doDefault);
}

}  // namespace kes

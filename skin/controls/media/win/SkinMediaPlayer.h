#pragma once
// The skinned media player: TSkinMP lays a panel of its own, TWMediaPlayer, over the player (same parent, same
// bounds, on top) and the panel paints the player's button bar with the skin's button faces and the player's
// glyphs. The player itself stays underneath and keeps all of its behaviour: a press on the panel is handed to
// it, and the release too when it ends on the button the press began on, so the player clicks as before. The
// panel carries the skin's DisableTag, so the skin never skins it. GUI thread only.
#include <array>
#include <cstdint>
#include <memory>

#include "gui/ExtCtrls.h"
#include "skin/controls/media/MediaPlayerGeometry.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/draw/win/SkinGdi.h"

namespace kes {

class TSkinMP;

class TWMediaPlayer : public TCustomPanel {
    KES_CLASS(TWMediaPlayer, TCustomPanel)
public:
    // owner: the skinned window's TWinSkinForm. Loads the 27 glyph bitmaps (missing ones stay empty).
    explicit TWMediaPlayer(TComponent* owner);
    ~TWMediaPlayer() override;
    // Takes over the target's place; the controller's skin draws it.
    void Attach(TSkinMP* controller, TWinControl* target);
    void SyncBounds(TWinControl* target);
    // The visible button at x (kNoMediaButton when none), as last laid out by Paint.
    int ButtonAt(int x) const;
    void Paint(TCanvas& canvas) override;
    void WndProc(TMessage& m) override;
    int PressedButton() const { return pressedButton_; }
    int HitButton() const { return hitButton_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    struct Button {
        bool Visible = false, Enabled = false, Coloured = false;
        std::array<std::unique_ptr<SkinBitmap>, 3> Bitmaps;  // enabled, disabled, coloured
    };
    void ReadButtons();
    void DrawButton(HDC dc, int kind, const TRect& r);
    std::array<Button, kMediaButtons> buttons_;
    int visibleCount_ = 0;
    TSkinData* skin_ = nullptr;
    bool pressed_ = false;
    uint8_t pressedButton_ = kNoMediaButton;
    uint8_t hitButton_ = kNoMediaButton;
    int buttonWidth_ = 0;
    TWinControl* target_ = nullptr;
    TSkinMP* controller_ = nullptr;
};

class TSkinMP : public TSkinControl {
    KES_CLASS(TSkinMP, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    ~TSkinMP() override;
    void AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) override;
    void Unskin() override;
    TWMediaPlayer* Overlay() const { return overlay_; }

protected:
    void AfterMessage(TMessage& m) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TWMediaPlayer* overlay_ = nullptr;
};

}  // namespace kes

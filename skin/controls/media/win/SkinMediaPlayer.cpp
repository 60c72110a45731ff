// The skinned media player and the panel that draws its button bar.
#include "skin/controls/media/win/SkinMediaPlayer.h"

#include "gui/TypInfo.h"
#include "gui/win/MsgCrack.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/draw/win/SkinObjectDraw.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

namespace {
constexpr TColor kGlyphSurround = clOlive;  // left out of the glyphs
}

// ---- the panel ----

TWMediaPlayer::TWMediaPlayer(TComponent* owner) : TCustomPanel(owner) {
    SetBevelOuter(bvNone);
    for (int j = 0; j < kMediaButtons; ++j)
        for (int i = 0; i < 3; ++i) {
            auto b = std::make_unique<SkinBitmap>();
            b->LoadFromResourceName(MediaGlyphName(j, i));
            buttons_[static_cast<size_t>(j)].Bitmaps[static_cast<size_t>(i)] = std::move(b);
        }
}

TWMediaPlayer::~TWMediaPlayer() { BeginDestroy(); }

void TWMediaPlayer::Attach(TSkinMP* controller, TWinControl* target) {
    controller_ = controller;
    target_ = target;
    FreeNotification(controller);
    FreeNotification(target);
    skin_ = controller->Skin();
    if (skin_) Tag = skin_->DisableTag;
    SyncBounds(target);
    SetParent(target->Parent());
    BringToFront();
}

void TWMediaPlayer::SyncBounds(TWinControl* target) {
    if (target) SetBounds(target->Left(), target->Top(), target->Width(), target->Height());
}

void TWMediaPlayer::Notification(TComponent* component, TOperation operation) {
    TCustomPanel::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == target_) target_ = nullptr;
    if (component == controller_) controller_ = nullptr, target_ = nullptr;
}

int TWMediaPlayer::ButtonAt(int x) const {
    unsigned visible = 0;
    for (int j = 0; j < kMediaButtons; ++j)
        if (buttons_[static_cast<size_t>(j)].Visible) visible |= 1u << j;
    return MediaButtonAt(visible, buttonWidth_, x);
}

void TWMediaPlayer::ReadButtons() {
    const unsigned visible = MediaButtonsIn(GetStrPropByName(target_, "VisibleButtons"));
    const unsigned enabled = MediaButtonsIn(GetStrPropByName(target_, "EnabledButtons"));
    const unsigned coloured = MediaButtonsIn(GetStrPropByName(target_, "ColoredButtons"));
    for (int j = 0; j < kMediaButtons; ++j) {
        Button& b = buttons_[static_cast<size_t>(j)];
        b.Visible = HasMediaButton(visible, j);
        b.Enabled = HasMediaButton(enabled, j);
        b.Coloured = HasMediaButton(coloured, j);
    }
    visibleCount_ = CountMediaButtons(visible);
}

void TWMediaPlayer::Paint(TCanvas& canvas) {
    const TRect client = Rect(0, 0, ClientWidth(), ClientHeight());
    const TColor face = skin_ ? skin_->Colour(SkinColour::ButtonFace) : clBtnFace;
    ReadButtons();
    if (visibleCount_ == 0 || !skin_) {
        canvas.Brush().Color = face;
        canvas.Brush().Style = bsSolid;
        canvas.FillRect(client);
        return;
    }
    buttonWidth_ = client.Width() / visibleCount_;
    SkinBitmap work(client.Width(), client.Height());
    HDC dc = work.Canvas().Handle();
    if (!dc) return;
    FillRectColour(dc, client, face);
    int x = 0;
    for (int j = 0; j < kMediaButtons; ++j) {
        if (!buttons_[static_cast<size_t>(j)].Visible) continue;
        DrawButton(dc, j, Rect(x, 0, x + buttonWidth_, client.Height()));
        x += buttonWidth_;
    }
    BitBlt(canvas.Handle(), 0, 0, client.Width(), client.Height(), dc, 0, 0, SRCCOPY);
}

void TWMediaPlayer::DrawButton(HDC dc, int kind, const TRect& r) {
    const Button& b = buttons_[static_cast<size_t>(kind)];
    const MediaButtonLook look = MediaButtonLookOf(b.Enabled, b.Coloured, pressed_ && pressedButton_ == kind);
    if (skin_->Buttons.HasImage()) DrawSkinImage(dc, r, skin_->Buttons, look.Face);
    SkinBitmap& glyph = *b.Bitmaps[static_cast<size_t>(look.Bitmap)];
    if (glyph.Empty()) return;
    TCanvas canvas(dc);
    canvas.DrawTransparent(r.Left + (r.Width() - glyph.Width()) / 2 + look.Offset,
                           (r.Height() - glyph.Height()) / 2 + look.Offset, glyph, kGlyphSurround);
}

void TWMediaPlayer::WndProc(TMessage& m) {
    const int x = msg::Point(m).X;
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    // Mended: a second press soon after the first comes as a double click, and clicks the player too.
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        TCustomPanel::WndProc(m);
        if (target_) target_->Perform(m.Msg, m.WParam, m.LParam);
        ReleaseCapture();
        hitButton_ = static_cast<uint8_t>(ButtonAt(x));
        pressedButton_ = hitButton_;
        Invalidate();
        return;
    case WM_LBUTTONUP:
        pressed_ = false;
        TCustomPanel::WndProc(m);
        hitButton_ = static_cast<uint8_t>(ButtonAt(x));
        if (hitButton_ == pressedButton_ && target_) target_->Perform(m.Msg, m.WParam, m.LParam);
        pressedButton_ = hitButton_;
        Invalidate();
        return;
    default: TCustomPanel::WndProc(m); return;
    }
}

// ---- the controller ----

TSkinMP::~TSkinMP() {
    BeginDestroy();
    // The panel draws from this controller's control and skin: it goes with the controller.
    delete std::exchange(overlay_, nullptr);
}

void TSkinMP::AttachControl(TWinSkinForm* form, TSkinData* skin, bool recolour) {
    TSkinControl::AttachControl(form, skin, recolour);
    auto* target = dynamic_cast<TWinControl*>(control_);
    if (!attached_ || overlay_ || !target || !target->Parent()) return;
    overlay_ = new TWMediaPlayer(form);
    FreeNotification(overlay_);
    overlay_->Attach(this, target);
    overlay_->SetVisible(target->Visible());
}

void TSkinMP::Unskin() {
    TSkinControl::Unskin();
    if (state_ != kControlWindowGone) delete std::exchange(overlay_, nullptr);
}

void TSkinMP::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == overlay_) overlay_ = nullptr;
}

void TSkinMP::AfterMessage(TMessage& m) {
    auto* target = dynamic_cast<TWinControl*>(control_);
    if (overlay_ && target) switch (m.Msg) {
        case WM_WINDOWPOSCHANGED: {
            overlay_->SyncBounds(target);
            // The layer shows and hides a control through its window's place, not by a message of its own.
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
            if (pos && (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) overlay_->SetVisible(target->Visible());
            break;
        }
        // The player painted a change of its buttons: the panel over it shows the change too.
        case WM_PAINT: overlay_->Invalidate(); break;
        default: break;
        }
    TSkinControl::AfterMessage(m);
}

// ---- registration ----

static TSkinControl* MakeMediaPlayer(TComponent* owner, const ControlDecision&) { return new TSkinMP(owner); }

static const bool registered = [] {
    RegisterSkinController(SkinKind::MediaPlayer, MakeMediaPlayer);
    return true;
}();

}  // namespace kes

// Keeps this file's registration in every program that links the frame library.
extern "C" {
int kes_skin_media_anchor = 0;
}

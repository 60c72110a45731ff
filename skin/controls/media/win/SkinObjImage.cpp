// Glyph strips for check boxes and radio buttons of other control libraries.
#include "skin/controls/media/win/SkinObjImage.h"

#include "gui/TypInfo.h"
#include "skin/controls/media/GlyphStripGeometry.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

namespace {

constexpr TColor kMagenta = static_cast<TColor>(0xFF00FF);

// The strip of `plan` cut from `source` (frames side by side); empty when the source is.
bool BuildStrip(const PixelBuffer& source, int frames, const GlyphStripPlan& plan, TBitmap& strip) {
    if (frames < 1 || plan.Slots == 0 || source.Width() < frames || source.Height() < 1) return false;
    const int w = source.Width() / frames, h = source.Height();
    strip.SetSize(w * plan.Slots, h);
    PixelBuffer out = PixelBuffer::Attach(strip.ScanLine(0), strip.Width(), h, false);
    for (int slot = 0; slot < plan.Slots; ++slot) {
        const int from = plan.Source[static_cast<size_t>(slot)];
        if (from < 1) continue;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) out.SetPixel(slot * w + x, y, source.GetPixel((from - 1) * w + x, y));
    }
    return true;
}

}  // namespace

TSkinObjImage::~TSkinObjImage() {
    BeginDestroy();
    if (auto* w = dynamic_cast<TWinControl*>(control_); handler_ && w && !w->Destroying())
        w->RemoveMessageHandler(handler_);
}

void TSkinObjImage::AttachControl(TWinSkinForm* form, TSkinData* skin, bool) {
    if (attached_) return;
    auto* control = dynamic_cast<TWinControl*>(Owner());
    if (!control) return;
    skin_ = skin;
    form_ = form;
    control_ = control;
    window_ = static_cast<HWND>(control->Handle());
    if (form_) form_->Controllers().Add(this);
    // The control draws itself; it is only asked whether it is skinned.
    handler_ = control->AddMessageHandler([this](TMessage& m) {
        if (m.Msg != SKM_ISSKINNED || !active_) return false;
        m.Result = 1;
        return true;
    });
    PushGlyphs();
    attached_ = true;
    state_ = kControlAttached;
}

void TSkinObjImage::PushGlyphs() {
    if (!skin_ || !control_) return;
    const TDataSkinButton& b = skin_->Buttons;
    const bool radio = ObjKind == 2;
    const PixelBuffer& source = radio ? b.RadioImage : b.CheckImage;
    const int frames = radio ? b.RadioButtonFrame : b.CheckButtonFrame;
    TBitmap strip;
    if (!BuildStrip(source, frames, PlanGlyphStrip(ObjKind, frames), strip)) return;
    if (ObjKind == 1 || ObjKind == 2) {
        auto* glyphs = dynamic_cast<TBitmap*>(GetObjectPropByName(control_, "CustomGlyphs"));
        if (!glyphs) return;
        glyphs->Assign(strip);
        SetPropByName(control_, "transparentcolor", std::to_string(kMagenta));
        SetPropByName(control_, "UseCustomGlyphs", "false");
        SetPropByName(control_, "UseCustomGlyphs", "true");
    } else if (ObjKind == 3) {
        auto* glyph = dynamic_cast<TBitmap*>(GetObjectPropByName(GetObjectPropByName(control_, "Properties"), "Glyph"));
        if (!glyph) return;
        glyph->Assign(strip);
        glyph->SetTransparentColor(kMagenta);
        glyph->Transparent = false;
        // Our bitmaps tell nobody of a change: the control is asked to paint the new glyphs.
        control_->Invalidate();
    }
}

void TSkinObjImage::SkinChanged() { PushGlyphs(); }

void TSkinObjImage::Unskin() {
    if (!active_) return;
    TSkinControl::Unskin();
    if (!control_ || state_ == kControlWindowGone) return;
    if (ObjKind == 1 || ObjKind == 2) {
        SetPropByName(control_, "UseCustomGlyphs", "false");
    } else if (ObjKind == 3) {
        if (auto* glyph =
                dynamic_cast<TBitmap*>(GetObjectPropByName(GetObjectPropByName(control_, "Properties"), "Glyph"))) {
            glyph->Assign(TBitmap());
            control_->Invalidate();
        }
    }
}

// ---- registration ----

static TSkinControl* MakeObjImage(TComponent* owner, const ControlDecision& d) {
    auto* c = new TSkinObjImage(owner);
    c->ObjKind = d.ObjKind;
    return c;
}

static const bool registered = [] {
    RegisterSkinController(SkinKind::ObjImage, MakeObjImage);
    return true;
}();

}  // namespace kes

// Keeps this file's registration in every program that links the frame library.
extern "C" {
int kes_skin_objimage_anchor = 0;
}

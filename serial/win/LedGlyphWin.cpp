// The lamp's platform on Windows: glyphs are bitmaps loaded from the program's resources, the ring timer is a
// timer of the GUI thread.
#include "base/Exception.h"
#include "base/win/Timer.h"
#include "serial/ComLedPlatform.h"
#include "serial/win/LedGlyph.h"

namespace kes {

void TLedGlyphDeleter::operator()(TLedGlyph* glyph) const noexcept { delete glyph; }

TLedGlyphPtr NewLedGlyph() {
    TLedGlyphPtr g(new TLedGlyph);
    g->Transparent = true;
    g->TransparentMode = tmAuto;
    return g;
}

TPersistent* LedGlyphObject(TLedGlyph* glyph) { return glyph; }
bool LedGlyphEmpty(const TLedGlyph& glyph) { return glyph.Empty(); }
int LedGlyphWidth(const TLedGlyph& glyph) { return glyph.Width(); }
int LedGlyphHeight(const TLedGlyph& glyph) { return glyph.Height(); }

void LoadLedGlyph(TLedGlyph& glyph, const std::string& resourceName) {
    if (resourceName.empty() || !glyph.LoadFromResourceName(resourceName))
        throw Exception("Resource " + resourceName + " not found");
    glyph.Transparent = true;
    glyph.TransparentMode = tmAuto;
}

void AssignLedGlyph(TLedGlyph& glyph, TPersistent& source) {
    auto* b = dynamic_cast<TBitmap*>(&source);
    if (!b) throw EConvertError(std::string("Cannot assign a ") + source.ClassName() + " to a TBitmap");
    b->TransparentMode = tmAuto;
    b->Transparent = true;
    glyph.Assign(*b);
}

void DrawLedGlyph(TCanvas& canvas, int x, int y, TLedGlyph& glyph) { canvas.Draw(x, y, glyph); }

namespace {
class TGuiLedTimer : public TLedTimer {
public:
    TGuiLedTimer() {
        timer_.SetEnabled(false);
        timer_.OnTimer = [this](TObject*) {
            if (OnTick) OnTick();
        };
    }
    bool Enabled() const override { return timer_.Enabled(); }
    void SetEnabled(bool enabled) override { timer_.SetEnabled(enabled); }
    unsigned Interval() const override { return timer_.Interval(); }
    void SetInterval(unsigned ms) override { timer_.SetInterval(ms); }

private:
    TTimer timer_{nullptr};
};
}  // namespace

std::unique_ptr<TLedTimer> NewLedTimer() { return std::make_unique<TGuiLedTimer>(); }

}  // namespace kes

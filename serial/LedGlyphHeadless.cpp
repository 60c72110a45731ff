// The lamp's platform where there are no windows: glyphs record what went into them, the timer keeps its
// settings and ticks only when its OnTick is called.
#include "base/Exception.h"
#include "serial/ComLedPlatform.h"
#include "serial/LedGlyphHeadless.h"

namespace kes {

void TLedGlyph::Assign(const TPersistent& source) {
    if (auto* g = dynamic_cast<const TLedGlyph*>(&source)) {
        Source = g->Source;
        Width = g->Width;
        Height = g->Height;
        Transparent = g->Transparent;
        AutoTransparent = g->AutoTransparent;
        return;
    }
    TPersistent::Assign(source);
}

void TLedGlyphDeleter::operator()(TLedGlyph* glyph) const noexcept { delete glyph; }

TLedGlyphPtr NewLedGlyph() {
    TLedGlyphPtr g(new TLedGlyph);
    g->Transparent = true;
    g->AutoTransparent = true;
    return g;
}

TPersistent* LedGlyphObject(TLedGlyph* glyph) { return glyph; }
bool LedGlyphEmpty(const TLedGlyph& glyph) { return glyph.Width == 0 || glyph.Height == 0; }
int LedGlyphWidth(const TLedGlyph& glyph) { return glyph.Width; }
int LedGlyphHeight(const TLedGlyph& glyph) { return glyph.Height; }

void LoadLedGlyph(TLedGlyph& glyph, const std::string& resourceName) {
    if (resourceName.empty()) throw Exception("Resource  not found");
    glyph.Source = resourceName;
    glyph.Width = glyph.Height = 15;
}

void AssignLedGlyph(TLedGlyph& glyph, TPersistent& source) {
    auto* g = dynamic_cast<TLedGlyph*>(&source);
    if (!g) throw EConvertError(std::string("Cannot assign a ") + source.ClassName() + " to a TBitmap");
    g->Transparent = true;
    g->AutoTransparent = true;
    glyph.Assign(*g);
}

void DrawLedGlyph(TCanvas&, int, int, TLedGlyph&) {}

namespace {
class TManualLedTimer : public TLedTimer {
public:
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    unsigned Interval() const override { return interval_; }
    void SetInterval(unsigned ms) override { interval_ = ms; }

private:
    bool enabled_ = false;
    unsigned interval_ = 1000;
};
}  // namespace

std::unique_ptr<TLedTimer> NewLedTimer() { return std::make_unique<TManualLedTimer>(); }

}  // namespace kes

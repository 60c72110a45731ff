#pragma once
// What the status lamp needs from its platform: glyph bitmaps and a timer on the GUI thread.
// Windows: serial/win/LedGlyph.h and LedGlyphWin.cpp (a TBitmap, a TTimer). Elsewhere: LedGlyphHeadless.h and
// LedGlyphHeadless.cpp, which only keep what was put in them.
#include <functional>
#include <memory>
#include <string>

#include "base/Component.h"

namespace kes {

class TCanvas;
class TLedGlyph;

struct TLedGlyphDeleter {
    void operator()(TLedGlyph* glyph) const noexcept;
};
using TLedGlyphPtr = std::unique_ptr<TLedGlyph, TLedGlyphDeleter>;

// An empty glyph: transparent, its transparent colour taken from the bottom-left pixel.
TLedGlyphPtr NewLedGlyph();
bool LedGlyphEmpty(const TLedGlyph& glyph);
// The glyph as a persistent object (for the published-property table).
TPersistent* LedGlyphObject(TLedGlyph* glyph);
int LedGlyphWidth(const TLedGlyph& glyph);
int LedGlyphHeight(const TLedGlyph& glyph);
// Loads a bitmap resource of the program; an Exception naming the resource when it is missing.
void LoadLedGlyph(TLedGlyph& glyph, const std::string& resourceName);
// Makes `source` (a bitmap of the platform) transparent with the automatic colour and copies it in;
// EConvertError when it is no bitmap.
void AssignLedGlyph(TLedGlyph& glyph, TPersistent& source);
// Draws the glyph transparently.
void DrawLedGlyph(TCanvas& canvas, int x, int y, TLedGlyph& glyph);

// A timer that ticks on the GUI thread while enabled.
class TLedTimer {
public:
    virtual ~TLedTimer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual unsigned Interval() const = 0;
    virtual void SetInterval(unsigned ms) = 0;
    std::function<void()> OnTick;
};
// A disabled timer with an interval of 1000 ms.
std::unique_ptr<TLedTimer> NewLedTimer();

}  // namespace kes

#pragma once
// Counts of the GDI and USER objects the skin engine makes and frees itself (regions, bitmaps, device contexts,
// icons), by kind. The system does not report handle counts under every platform, so the engine keeps its own:
// the live count of a kind goes back to where it was when every object made was freed (or handed over). GUI
// thread only.
#include "gui/win/Canvas.h"

namespace kes {

enum class SkinGdiKind { Region, Bitmap, Dc, Icon };
constexpr int kSkinGdiKinds = 4;

void SkinGdiMade(SkinGdiKind kind);
void SkinGdiFreed(SkinGdiKind kind);
// Made minus freed so far.
long SkinGdiLive(SkinGdiKind kind);

// A bitmap of the skin engine, counted.
class SkinBitmap : public TBitmap {
public:
    SkinBitmap() { SkinGdiMade(SkinGdiKind::Bitmap); }
    SkinBitmap(int width, int height) : TBitmap(width, height) { SkinGdiMade(SkinGdiKind::Bitmap); }
    ~SkinBitmap() override { SkinGdiFreed(SkinGdiKind::Bitmap); }
};

}  // namespace kes

// The skin engine's own counts of GDI and USER objects; see SkinGdi.h.
#include "skin/draw/win/SkinGdi.h"

namespace kes {

namespace {
long g_live[kSkinGdiKinds] = {};
}

void SkinGdiMade(SkinGdiKind kind) { ++g_live[static_cast<int>(kind)]; }
void SkinGdiFreed(SkinGdiKind kind) { --g_live[static_cast<int>(kind)]; }
long SkinGdiLive(SkinGdiKind kind) { return g_live[static_cast<int>(kind)]; }

}  // namespace kes

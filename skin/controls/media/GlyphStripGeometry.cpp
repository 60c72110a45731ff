#include "skin/controls/media/GlyphStripGeometry.h"

namespace kes {

GlyphStripPlan PlanGlyphStrip(int kind, int frames) {
    GlyphStripPlan p;
    const bool five = frames == 5;  // only a five-frame strip has a grayed look to hand on
    switch (kind) {
    case 1: p.Slots = 9, p.Source = {1, 2, five ? 5 : 0, 1, 2, five ? 5 : 0, 3, 4, five ? 5 : 0}; break;
    case 2: p.Slots = 6, p.Source = {1, 2, 1, 2, 3, 4}; break;
    case 3: p.Slots = 6, p.Source = {1, 2, five ? 5 : 0, 1, 2, five ? 5 : 0}; break;
    default: return p;
    }
    for (int& s : p.Source)
        if (s > frames) s = 0;
    return p;
}

}  // namespace kes

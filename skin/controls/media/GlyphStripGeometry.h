#pragma once
// The glyph strips that check boxes and radio buttons of other control libraries take in place of their own
// glyphs: which frame of the skin's CheckButton or RadioButton strip goes into which slot of the strip such a
// control expects. Kind 1: a check box with a "CustomGlyphs" bitmap (9 slots: unchecked, checked, grayed, each
// normal, pressed and disabled); kind 2: a radio button of that library (6 slots); kind 3: a check box whose
// "Properties" object has a "Glyph" (6 slots).
#include <array>

namespace kes {

struct GlyphStripPlan {
    int Slots = 0;                // frames of the new strip; 0 for an unknown kind
    std::array<int, 9> Source{};  // frame (from 1) of the skin's strip copied into slot n + 1; 0 leaves it empty
};

// sourceFrames: the frame count of the skin's strip; a frame it does not have is never copied.
GlyphStripPlan PlanGlyphStrip(int kind, int sourceFrames);

}  // namespace kes

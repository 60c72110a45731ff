#include "skin/controls/media/MediaPlayerGeometry.h"

#include <bit>

namespace kes {

const std::array<const char*, kMediaButtons> kMediaButtonKinds = {"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                                                  "btStep", "btBack",  "btRecord", "btEject"};

namespace {
const std::array<const char*, kMediaButtons> kGlyphNames = {"MPPLAY", "MPPAUSE", "MPSTOP",   "MPNEXT", "MPPREV",
                                                            "MPSTEP", "MPBACK",  "MPRECORD", "MPEJECT"};
const std::array<const char*, 3> kStatePrefixes = {"EN", "DI", "CL"};
}  // namespace

unsigned MediaButtonsIn(const std::string& text) {
    unsigned bits = 0;
    for (int j = 0; j < kMediaButtons; ++j)
        if (text.find(kMediaButtonKinds[static_cast<size_t>(j)]) != std::string::npos) bits |= 1u << j;
    return bits;
}

int CountMediaButtons(unsigned bits) { return std::popcount(bits & ((1u << kMediaButtons) - 1)); }

bool HasMediaButton(unsigned bits, int kind) { return kind >= 0 && kind < kMediaButtons && (bits >> kind) & 1u; }

int MediaButtonAt(unsigned visible, int buttonWidth, int x) {
    int sum = 0;
    for (int j = 0; j < kMediaButtons; ++j) {
        if (!HasMediaButton(visible, j)) continue;
        if (x >= sum && x <= sum + buttonWidth) return j;
        sum += buttonWidth;
    }
    return kNoMediaButton;
}

MediaButtonLook MediaButtonLookOf(bool enabled, bool coloured, bool pressed) {
    MediaButtonLook l;
    l.Bitmap = enabled ? (coloured ? 2 : 0) : 1;
    l.Face = !enabled ? 3 : pressed ? 2 : 1;
    l.Offset = l.Face == 2 ? 1 : 0;
    return l;
}

std::string MediaGlyphName(int kind, int state) {
    if (kind < 0 || kind >= kMediaButtons || state < 0 || state > 2) return {};
    return std::string(kStatePrefixes[static_cast<size_t>(state)]) + "_" + kGlyphNames[static_cast<size_t>(kind)];
}

}  // namespace kes

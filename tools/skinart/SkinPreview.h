#pragma once
// A picture of a skin: its main pieces (window frames, caption buttons, menu bar and popup menu, buttons,
// check and radio boxes, scroll bars, combo box, progress bar, tabs, header, status bar) drawn from the
// loaded skin objects with the pixel routines. Texts are listed for an external text renderer.
#include <string>
#include <vector>

#include "skin/container/PixelBuffer.h"

namespace kes {

class TSkinData;

struct PreviewText {
    int X = 0, Y = 0;  // baseline start
    std::int32_t Colour = 0;
    std::string Text;
    bool Bold = false;
    bool Mono = false;
    int Size = 12;
};

PixelBuffer RenderSkinPreview(const TSkinData& skin, std::vector<PreviewText>& texts);

}  // namespace kes

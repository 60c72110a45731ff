#pragma once
// The lamp's glyph where there are no bitmaps: a record of what was loaded or copied into it.
#include <string>

#include "base/Component.h"

namespace kes {

class TLedGlyph : public TPersistent {
    KES_CLASS(TLedGlyph, TPersistent)
public:
    std::string Source;  // the resource name loaded, or the Source of the glyph copied in
    int Width = 0, Height = 0;
    bool Transparent = false;
    bool AutoTransparent = false;  // transparent colour from the bottom-left pixel
    void Assign(const TPersistent& source) override;
};

}  // namespace kes

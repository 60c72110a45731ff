#pragma once
// Where a skinned header control's pieces go: the hot-tracking rectangle of each section, the hot section
// under the mouse, the empty part right of the sections and the icon and caption inside a section.
#include <vector>

#include "skin/container/PixelBuffer.h"
#include "SkinGeometry.h"

namespace kes {

enum class HeaderAlign { Left, Centre, Right };

// Format bits of a header section.
constexpr unsigned kHeaderRight = 0x1;
constexpr unsigned kHeaderCentre = 0x2;
constexpr unsigned kHeaderImage = 0x800;
constexpr unsigned kHeaderOwnerDraw = 0x8000;

HeaderAlign HeaderAlignment(unsigned format);
// The section's image index, or -1 when its format shows no image.
int HeaderImageIndex(unsigned format, int image);

// The part of a section that makes it hot: 3 pixels in from its left and right borders, so the mouse crossing
// a border keeps the section it came from.
PixelRect HotRect(const PixelRect& section);

// The hot section after the mouse moved to `at`: the last section whose hot rectangle holds the point, or
// `hot` unchanged when none does.
int HotSectionAt(const std::vector<PixelRect>& hotRects, SkinPoint at, int hot);

// The empty part of the control right of the sections' rightmost edge; empty when the sections reach the end.
PixelRect HeaderRest(const PixelRect& control, int rightmostEdge);

// The icon and caption inside a width x height section. The icon is left out (width 0) unless the section
// has one narrower than the section.
struct HeaderCaptionPlace {
    int IconWidth = 0;
    SkinPoint Icon;  // top-left of the icon
    PixelRect Text;  // the caption, vertically centred, clipped to the section at the right
    bool operator==(const HeaderCaptionPlace&) const = default;
};
HeaderCaptionPlace PlaceHeaderCaption(int width, int height, HeaderAlign align, int textWidth, int textHeight,
                                      bool hasIcon, int iconWidth, int iconHeight);

}  // namespace kes

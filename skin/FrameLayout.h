#pragma once
// The rules of a skinned window frame that need no window: the kinds of a window, the frame metrics, the
// client rectangle and hit test of the non-client area, the caption text and caption-button layout, which
// caption buttons show, what a click on one does, and the plan of the window region.
#include <cstdint>
#include <string>
#include <vector>

#include "gui/Graphics.h"

namespace kes {
}  // namespace kes

// The frame rules; see FrameLayout.h.
#include "skin/FrameLayout.h"

namespace kes {
}  // namespace kes

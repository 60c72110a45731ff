#pragma once
// The include frame of the source window: a frame with no behaviour of its own. While an upload follows
// include files, it holds one read-only memo per open include level, each inset a little further.
#include "gui/Forms.h"

namespace kes {

class TIncludeFrame : public TFrame {
    KES_CLASS(TIncludeFrame, TFrame)
public:
    explicit TIncludeFrame(TComponent* owner);
};

}  // namespace kes

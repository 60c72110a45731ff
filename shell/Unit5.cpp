#include "shell/Unit5.h"

namespace kes {

TIncludeFrame::TIncludeFrame(TComponent* owner) : TFrame(owner) { SetName("IncludeFrame1"); }

}  // namespace kes

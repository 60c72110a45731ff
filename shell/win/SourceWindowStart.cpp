#include "shell/win/SourceWindowStart.h"

#include "shell/Unit2.h"

namespace kes {

TCustomForm* CreateSourceWindow() { return CreateForm<TSourceFile>(); }

}  // namespace kes

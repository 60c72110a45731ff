#include "shell/SourceWindowLink.h"

namespace kes {

namespace {
TSourceWindowLink* g_link = nullptr;
}

TSourceWindowLink* SourceWindowLink() { return g_link; }
void SetSourceWindowLink(TSourceWindowLink* link) { g_link = link; }

}  // namespace kes

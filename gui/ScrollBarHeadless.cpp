// The scroll-bar control where there are no windows: its state alone.
#include "gui/ScrollBar.h"

namespace kes {

void TScrollBar::CreateParams(TCreateParams& p) { TWinControl::CreateParams(p); }
void TScrollBar::CreateWnd() {}
void TScrollBar::UpdateBar() {}
void TScrollBar::WndProc(TMessage& m) { TWinControl::WndProc(m); }

}  // namespace kes

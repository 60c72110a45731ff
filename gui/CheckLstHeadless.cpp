// The check list where there are no windows: its items' marks alone.
#include "gui/CheckLst.h"

namespace kes {

void TCheckListBox::CreateParams(TCreateParams& p) { TCustomListBox::CreateParams(p); }
void TCheckListBox::CreateWnd() { TCustomListBox::CreateWnd(); }
void TCheckListBox::InvalidateItem(int) {}
void TCheckListBox::WndProc(TMessage& m) { TCustomListBox::WndProc(m); }

}  // namespace kes

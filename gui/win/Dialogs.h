#pragma once
// Message boxes. The flags are the platform's MB_ values; the result is IDOK, IDYES, IDNO ... (the same
// numbers as mrOk, mrYes, mrNo).
#include <string>

#include "gui/win/Win.h"

namespace kes {

class TWinControl;

// A message box owned by `owner` (or the active window).
int MsgBox(const std::string& text, const std::string& caption, unsigned flags = MB_OK, TWinControl* owner = nullptr);
// Text with the main form's caption as title and an OK button.
void ShowMessage(const std::string& text);

}  // namespace kes

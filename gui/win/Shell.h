#pragma once
// Small helpers around the shell and the system: open a file or address, find a top-level window by its
// title, the program's own folder, the local time as text in the user's long time format.
#include <string>

#include "base/win/SysUtilsWin.h"  // FileExists
#include "gui/win/Win.h"

namespace kes {

// The shell's "open" (or another verb) of a file, program or address; false when the shell could not, without
// any error box of its own.
bool ShellOpen(const std::string& file, const std::string& parameters = {}, const std::string& folder = {},
               int show = SW_SHOWNORMAL, const char* verb = "open");
// The first top-level window with exactly this title, or nullptr.
HWND FindTopWindow(const std::string& title);
// The folder of the running program, ending with a backslash.
std::string ProgramFolder();

}  // namespace kes

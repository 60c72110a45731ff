// The help window's place in the program: made with the other windows, reading "MyHelp.txt" from the
// program's own folder, opening addresses through the shell, shown by the main window's "Help".
#include "gui/win/Shell.h"
#include "shell/Unit3.h"

namespace kes {

void ConnectHelpWindow(TForm3& window) {
    window.HelpFolder = ProgramFolder();
    window.OpenAddress = [](const std::string& address) { ShellOpen(address); };
}

}  // namespace kes

// Makes the help window at program start; the program lets the main window's "Help" show it.
#include "shell/Unit3.h"

namespace kes {

TCustomForm* CreateHelpWindow() {
    auto* window = CreateForm<TForm3>();
    ConnectHelpWindow(*window);
    return window;
}

}  // namespace kes

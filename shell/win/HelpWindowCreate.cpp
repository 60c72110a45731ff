// Makes the help window at program start and lets the main window's "Help" show it.
#include "shell/Unit1.h"
#include "shell/Unit3.h"

namespace kes {

TCustomForm* CreateHelpWindow() {
    auto* window = CreateForm<TForm3>();
    ConnectHelpWindow(*window);
    if (Kestrup) {
        Kestrup->HelpWindow = window;
        window->OnDestroy = [](TObject*) {
            if (Kestrup) Kestrup->HelpWindow = nullptr;
        };
    }
    return window;
}

}  // namespace kes

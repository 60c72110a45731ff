#pragma once
// Makes the source window at program start (after the main window, before the help and log windows). The program
// connects it to the port and the terminal.
#include "gui/Forms.h"

namespace kes {

TCustomForm* CreateSourceWindow();

}  // namespace kes

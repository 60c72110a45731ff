#pragma once
// Makes the source window at program start (after the main window, before the help and log windows) and
// wires it to the main window: its port, board type, terminal and log, and the main window's link to it.
#include "gui/Forms.h"

namespace kes {

TCustomForm* CreateSourceWindow();

}  // namespace kes

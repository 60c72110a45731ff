#pragma once
// The local time of day as log lines show it: the user's long time format.
#include <string>

namespace kes {

// Now, formatted with the locale's long time picture and its AM/PM designators.
std::string LocalTimeText();

}  // namespace kes

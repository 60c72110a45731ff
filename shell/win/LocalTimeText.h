#pragma once
// The local time of day as log lines show it: the user's long time format.
#include <string>

namespace kes {

// The local time of day in the user's long time format, as the system formats it.
std::string LocalTimeText();

}  // namespace kes

#pragma once
// The help text the help window shows when the user has no "MyHelp.txt" of his own.
#include <string_view>

namespace kes {

std::string_view BuiltInHelpText();

}  // namespace kes

#pragma once
// The web address a double click in the help text opens.
#include <cstddef>
#include <string>
#include <string_view>

namespace kes {

// The address in the blank-delimited word of `text` that holds (or ends right before) character `pos`: the
// word must hold "://" or start with "www." (any letter case); brackets, quotes and closing punctuation around
// it are dropped, and "www." addresses get "http://" in front. Only http and https addresses with a host are
// given; anything else (other schemes, ordinary words, odd characters) gives "".
std::string WebAddressAt(std::string_view text, size_t pos);

}  // namespace kes

#include "shell/win/LocalTimeText.h"

#include "base/win/Win.h"

namespace kes {

std::string LocalTimeText() {
    char text[80];
    int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, sizeof text);
    if (n <= 1) n = GetTimeFormatA(LOCALE_INVARIANT, 0, nullptr, nullptr, text, sizeof text);
    return n > 1 ? std::string(text, static_cast<size_t>(n - 1)) : std::string();
}

}  // namespace kes

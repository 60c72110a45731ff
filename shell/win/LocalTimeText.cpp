#include "shell/win/LocalTimeText.h"

#include "base/win/Win.h"
#include "shell/LogLine.h"

namespace kes {

namespace {

std::string LocaleText(LCTYPE what, const char* fallback) {
    char buf[80];
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, what, buf, sizeof buf);
    return n > 1 ? std::string(buf, static_cast<size_t>(n - 1)) : std::string(fallback);
}

}  // namespace

std::string LocalTimeText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FormatTimeOfDay({now.wHour, now.wMinute, now.wSecond}, LocaleText(LOCALE_STIMEFORMAT, "HH:mm:ss"),
                           LocaleText(LOCALE_S1159, "AM"), LocaleText(LOCALE_S2359, "PM"));
}

}  // namespace kes

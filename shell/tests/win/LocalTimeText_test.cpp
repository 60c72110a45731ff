#include "shell/win/LocalTimeText.h"

#include <gtest/gtest.h>

#include "base/win/Win.h"
#include "shell/LogLine.h"

using namespace kes;

// Our formatting of the locale's time picture gives what the system's own time formatting gives.
TEST(LocalTimeText, MatchesTheSystemsTimeFormat) {
    const char* pictures[] = {"HH:mm:ss", "h:mm:ss tt", "hh.mm.ss t", "H'h'mm", "tt hh:mm:ss"};
    for (int hour : {0, 9, 12, 13, 23}) {
        SYSTEMTIME st{};
        st.wYear = 2026; st.wMonth = 12; st.wDay = 9;
        st.wHour = static_cast<WORD>(hour); st.wMinute = 5; st.wSecond = 7;
        for (const char* p : pictures) {
            char sys[64];
            ASSERT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, p, sys, sizeof sys), 0);
            char am[16], pm[16];
            GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S1159, am, sizeof am);
            GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S2359, pm, sizeof pm);
            EXPECT_EQ(FormatTimeOfDay({hour, 5, 7}, p, am, pm), sys) << p << " at " << hour;
        }
    }
    char now[64];
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, now, sizeof now);
    EXPECT_EQ(LocalTimeText().size(), std::string(now).size());
}

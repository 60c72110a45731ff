#include "shell/win/LocalTimeText.h"

#include <gtest/gtest.h>

#include <string>

#include "base/win/Win.h"

using namespace kes;

namespace {

// The present moment as the system formats it with `picture` (null: the user's long time format).
std::string SystemTime(const char* picture) {
    char text[80];
    const int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, picture, text, sizeof text);
    return n > 1 ? std::string(text, static_cast<size_t>(n - 1)) : std::string();
}

}  // namespace

// A log line's time is the system's own text of the local time in the user's long time format (seconds and
// AM/PM designator included), not a picture of our own.
TEST(LocalTimeText, IsTheSystemsLongTimeTextOfNow) {
    char picture[80];
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, picture, sizeof picture), 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::string before = SystemTime(picture);
        const std::string text = LocalTimeText();
        const std::string after = SystemTime(nullptr);
        ASSERT_FALSE(text.empty());
        if (before != after) continue;  // a second turned over: look again
        EXPECT_EQ(text, before) << picture;
        return;
    }
    FAIL() << "the clock never held still for a call";
}

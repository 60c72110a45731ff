#include "shell/HelpAddress.h"

#include <gtest/gtest.h>

#include <string>

namespace kes {
namespace {

// Position of the first character of `word` in `text`.
size_t At(const std::string& text, const std::string& word) { return text.find(word); }

TEST(HelpAddress, OnlyTheClickedAddressOfALineWithHyphensIsTaken) {
    const std::string line = "FlashForth - the home page - https://www.flashforth.com - read-me";
    EXPECT_EQ(WebAddressAt(line, At(line, "https") + 5), "https://www.flashforth.com");
    // Other words of the same line open nothing: the line as a whole never reaches the shell.
    EXPECT_EQ(WebAddressAt(line, At(line, "home")), "");
    EXPECT_EQ(WebAddressAt(line, At(line, "read-me")), "");
    EXPECT_EQ(WebAddressAt(line, At(line, "- the")), "");
}

TEST(HelpAddress, WwwAddressesGetHttpAndKeepTheirCase) {
    const std::string text = "see www.udamonic.com/scamp2.html or WWW.FLASHFORTH.COM";
    EXPECT_EQ(WebAddressAt(text, At(text, "www.")), "http://www.udamonic.com/scamp2.html");
    EXPECT_EQ(WebAddressAt(text, At(text, "WWW.") + 3), "http://WWW.FLASHFORTH.COM");
    EXPECT_EQ(WebAddressAt("Www.a.org", 0), "http://Www.a.org");
}

TEST(HelpAddress, OnlyHttpAndHttpsInAnyLetterCase) {
    EXPECT_EQ(WebAddressAt("HTTPS://X.ORG/a?b=1&c=2", 0), "HTTPS://X.ORG/a?b=1&c=2");
    EXPECT_EQ(WebAddressAt("Http://x.org", 0), "Http://x.org");
    for (const char* refused :
         {"file://c:/windows/system32/calc.exe", "ftp://x.org", "javascript://x", "ms-settings://x", "calc.exe",
          "mailto:me@x.org", "c:\\windows\\notepad.exe", "see:https://x.org", "xwww.a.org", "wwwa.org"})
        EXPECT_EQ(WebAddressAt(refused, 2), "") << refused;
}

TEST(HelpAddress, AddressWithoutHostOrWithOddCharactersIsRefused) {
    for (const char* refused :
         {"http://", "https://", "www.", "(https://)", "https://x.org/a\"b", "https://x.org/|calc", "https://x.org/a^b",
          "https://x.org\\..\\a", "https://x.org/<b>", "https://x.org/\x7F", "https://x\xE4.org"})
        EXPECT_EQ(WebAddressAt(refused, 1), "") << refused;
}

TEST(HelpAddress, BracketsQuotesAndPunctuationAroundTheAddressAreDropped) {
    EXPECT_EQ(WebAddressAt("(https://x.org/a).", 3), "https://x.org/a");
    EXPECT_EQ(WebAddressAt("\"www.x.org\",", 3), "http://www.x.org");
    EXPECT_EQ(WebAddressAt("<https://x.org/>;", 3), "https://x.org/");
    EXPECT_EQ(WebAddressAt("'https://x.org/p?q=1'!", 3), "https://x.org/p?q=1");
}

TEST(HelpAddress, TheWordIsFoundFromAnyPositionInItOrRightAfterIt) {
    const std::string text = "first line\r\n  https://a.org/x\tnext\r\nwww.b.org";
    const size_t start = At(text, "https");
    const size_t end = start + std::string("https://a.org/x").size();
    for (size_t pos : {start, start + 7, end - 1, end}) EXPECT_EQ(WebAddressAt(text, pos), "https://a.org/x") << pos;
    EXPECT_EQ(WebAddressAt(text, start - 1), "");  // between two blanks
    EXPECT_EQ(WebAddressAt(text, text.size()), "http://www.b.org");
    EXPECT_EQ(WebAddressAt(text, text.size() + 100), "http://www.b.org");
    EXPECT_EQ(WebAddressAt(text, At(text, "next")), "");
    EXPECT_EQ(WebAddressAt("", 0), "");
    EXPECT_EQ(WebAddressAt("   ", 1), "");
}

}  // namespace
}  // namespace kes

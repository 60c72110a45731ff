#include "console/CompanionText.h"

#include <gtest/gtest.h>

using namespace kes::tirvane;

TEST(CompanionText, ExitCommandFoldsOnlyAToZ) {
    for (const char* line : {"*exit", "*EXIT", "*Exit", "*eXiT"}) EXPECT_TRUE(IsExitCommand(line)) << line;
    // Anything else is an ordinary line that goes to the terminal.
    for (const char* line : {"*exit ", " *exit", "exit", "*exi", "*exitt", "", "*\xC9XIT", "*exit\r"})
        EXPECT_FALSE(IsExitCommand(line)) << line;
}

TEST(CompanionText, TypedLinePayloadIsLineLfAndZero) {
    const std::string p = TypedLinePayload("words");
    EXPECT_EQ(p.size(), 5u + 2u);
    EXPECT_EQ(p, std::string("words\n\0", 7));

    const std::string empty = TypedLinePayload("");
    EXPECT_EQ(empty, std::string("\n\0", 2));

    // 8-bit text passes unchanged; a blank at the end is kept.
    EXPECT_EQ(TypedLinePayload("\xE4 *exit "), std::string("\xE4 *exit \n\0", 10));
}

TEST(CompanionText, CrBecomesLfAcrossBatches) {
    // A CR LF pair printed as two line feeds, also when a batch ends between the two.
    std::string a = "\x1b[31mhi\r";
    std::string b = "\nok\r\r\n";
    CrToLf(a);
    CrToLf(b);
    EXPECT_EQ(a + b, "\x1b[31mhi\n\nok\n\n\n");

    std::string all = "\x1b[31mhi\r\nok\r\r\n";
    CrToLf(all);
    EXPECT_EQ(all, a + b);

    std::string raw("a\0\r\xFF", 4);
    CrToLf(raw);
    EXPECT_EQ(raw, std::string("a\0\n\xFF", 4));
}

TEST(CompanionText, BannerLines) {
    const std::string banner = BannerText();
    EXPECT_EQ(banner,
              "\x1b[41m   Ver.1.1 Write *exit/*EXIT to terminate console. "
              "Use ICON in top left corner for personal settings.\r\n\x1b[0m\r\n");
}

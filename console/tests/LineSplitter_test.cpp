#include "console/LineSplitter.h"

#include <gtest/gtest.h>

using namespace kes::tirvane;

TEST(LineSplitter, KeepsBytesTypedAfterALine) {
    LineSplitter s;
    s.Append("first\r\nsec");
    EXPECT_TRUE(s.HasLine());
    EXPECT_EQ(s.Next(), "first");
    EXPECT_FALSE(s.HasLine());
    EXPECT_EQ(s.Next(), std::nullopt);
    s.Append("ond\nthird\r\n\r\n");
    EXPECT_EQ(s.Next(), "second");
    EXPECT_EQ(s.Next(), "third");
    EXPECT_EQ(s.Next(), "");
    EXPECT_EQ(s.Next(), std::nullopt);
    EXPECT_EQ(s.Rest(), std::nullopt);
}

TEST(LineSplitter, LineEndSplitBetweenReads) {
    LineSplitter s;
    s.Append("*EXIT\r");
    EXPECT_EQ(s.Next(), std::nullopt);
    s.Append("\n");
    EXPECT_EQ(s.Next(), "*EXIT");
}

TEST(LineSplitter, RestAtEndOfInput) {
    LineSplitter s;
    s.Append("a\nlast words\r");
    EXPECT_EQ(s.Next(), "a");
    EXPECT_EQ(s.Rest(), "last words");
    EXPECT_EQ(s.Rest(), std::nullopt);
    // Only CR LF or LF end a line; a blank before the end stays.
    s.Append("x \ry \n");
    EXPECT_EQ(s.Next(), "x \ry ");
}

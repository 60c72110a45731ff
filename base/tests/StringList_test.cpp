#include "base/StringList.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "base/Exception.h"

using namespace kes;

TEST(StringList, EditAndSearch) {
    TStringList l;
    l.Add("b");
    l.Add("a");
    l.Insert(0, "C");
    EXPECT_EQ(l.IndexOf("a"), 2);
    EXPECT_EQ(l.IndexOf("c"), -1);
    EXPECT_EQ(l.IndexOfText("c"), 0);
    l.Delete(0);
    EXPECT_EQ(l.Count(), 2);
    EXPECT_THROW(l.Delete(2), EListError);
    EXPECT_THROW(l.Insert(5, "x"), EListError);
}

TEST(StringList, SortFoldsOnlyAToZ) {
    TStringList l;
    for (const char* s : {"beta", "Alpha", "\xE9t\xE9", "alpha2", "Beta"}) l.Add(s);
    l.Sort();
    EXPECT_EQ(l[0], "Alpha");
    EXPECT_EQ(l[1], "alpha2");
    EXPECT_EQ(l[2], "beta");  // stable among equal keys
    EXPECT_EQ(l[3], "Beta");
    EXPECT_EQ(l[4], "\xE9t\xE9");  // bytes above 127 sort after letters, unfolded
}

TEST(StringList, TextSplitsEveryLineEndAndJoinsWithCrLf) {
    TStringList l;
    l.SetText("one\r\ntwo\rthree\nfour\r\n");
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l[2], "three");
    EXPECT_EQ(l.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
    l.SetText("\r\n\r\n");
    EXPECT_EQ(l.Count(), 2);
}

TEST(StringList, FilesRoundTripBytesAndReportFailures) {
    TStringList l;
    l.Add(std::string("a\0b\xFF", 4));
    const std::string path = testing::TempDir() + "kes_sl.txt";
    l.SaveToFile(path);
    TStringList r;
    r.LoadFromFile(path);
    ASSERT_EQ(r.Count(), 1);
    EXPECT_EQ(r[0], std::string("a\0b\xFF", 4));
    std::remove(path.c_str());
    EXPECT_THROW(r.LoadFromFile(path), EFOpenError);
}

TEST(StringList, AFailedFlushIsAFailedSave) {
    // /dev/full takes the open but refuses the buffered bytes when they are written out at close.
    if (std::FILE* probe = std::fopen("/dev/full", "wb")) {
        std::fclose(probe);
        EXPECT_FALSE(WriteFileBytes("/dev/full", "data"));
        TStringList l;
        l.Add("line");
        EXPECT_THROW(l.SaveToFile("/dev/full"), EFOpenError);
    }
}

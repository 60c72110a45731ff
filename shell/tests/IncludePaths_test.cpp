#include "shell/IncludePaths.h"

#include <gtest/gtest.h>

using namespace kes;

TEST(IncludePaths, NormaliseSeparatorsDotsAndDoubleDots) {
    EXPECT_EQ(NormalisePath("C:/src//lib/./x.fs"), "C:\\src\\lib\\x.fs");
    EXPECT_EQ(NormalisePath("C:\\src\\lib\\..\\x.fs"), "C:\\src\\x.fs");
    EXPECT_EQ(NormalisePath("C:\\src\\"), "C:\\src");
    EXPECT_EQ(NormalisePath("C:\\"), "C:\\");
    EXPECT_EQ(NormalisePath("C:\\..\\..\\x.fs"), "C:\\x.fs");
    EXPECT_EQ(NormalisePath("\\\\srv\\share\\..\\..\\x.fs"), "\\\\srv\\share\\x.fs");
    EXPECT_EQ(NormalisePath("//srv/share/a/../b.fs"), "\\\\srv\\share\\b.fs");
    EXPECT_EQ(NormalisePath("\\a\\..\\..\\b"), "\\b");
    // A relative name keeps the ".." that nothing can take away.
    EXPECT_EQ(NormalisePath("a\\..\\..\\b.fs"), "..\\b.fs");
    EXPECT_EQ(NormalisePath(".\\a\\.."), ".");
    EXPECT_EQ(NormalisePath(""), "");
    EXPECT_EQ(NormalisePath("C:\\Src\\Lib.FS"), "C:\\Src\\Lib.FS");
}

TEST(IncludePaths, FolderOfFile) {
    EXPECT_EQ(FolderOfFile("C:\\src\\main.fs"), "C:\\src");
    EXPECT_EQ(FolderOfFile("C:/src/sub/main.fs"), "C:\\src\\sub");
    EXPECT_EQ(FolderOfFile("C:\\main.fs"), "C:\\");
    EXPECT_EQ(FolderOfFile("\\\\srv\\share\\main.fs"), "\\\\srv\\share");
    EXPECT_EQ(FolderOfFile("main.fs"), "");
}

TEST(IncludePaths, ResolveInTheBaseFolder) {
    const std::string base = "C:\\src";
    EXPECT_EQ(ResolveIncludePath(base, "lib.fs"), "C:\\src\\lib.fs");
    EXPECT_EQ(ResolveIncludePath(base, ".\\lib\\..\\lib.fs"), "C:\\src\\lib.fs");
    EXPECT_EQ(ResolveIncludePath(base, "../common/x.fs"), "C:\\common\\x.fs");
    EXPECT_EQ(ResolveIncludePath(base, "D:\\other\\x.fs"), "D:\\other\\x.fs");
    EXPECT_EQ(ResolveIncludePath(base, "\\\\srv\\share\\x.fs"), "\\\\srv\\share\\x.fs");
    EXPECT_EQ(ResolveIncludePath(base, "\\top\\x.fs"), "C:\\top\\x.fs");
    EXPECT_EQ(ResolveIncludePath("\\\\srv\\share\\src", "\\x.fs"), "\\\\srv\\share\\x.fs");
    EXPECT_EQ(ResolveIncludePath(base, "c:sub\\x.fs"), "C:\\src\\sub\\x.fs");
    EXPECT_EQ(ResolveIncludePath(base, "D:x.fs"), "D:\\x.fs");
    EXPECT_EQ(ResolveIncludePath(base, ""), "");
    EXPECT_EQ(ResolveIncludePath("", "lib.fs"), "lib.fs");
    EXPECT_EQ(ResolveIncludePath("C:\\", "lib.fs"), "C:\\lib.fs");
}

TEST(IncludePaths, SameFileOnlyWhenTheWholePathsMatch) {
    auto same = [](const std::string& a, const std::string& b) {
        return IncludePathKey(ResolveIncludePath("C:\\src", a)) == IncludePathKey(ResolveIncludePath("C:\\src", b));
    };
    EXPECT_FALSE(same("a.fs", "data.fs"));
    EXPECT_FALSE(same("lib.fs", "lib.fs.bak"));
    EXPECT_TRUE(same("lib.fs", ".\\lib.fs"));
    EXPECT_TRUE(same("lib.fs", "LIB.FS"));
    EXPECT_TRUE(same("lib.fs", "sub/../lib.fs"));
    EXPECT_TRUE(same("lib.fs", "C:\\SRC\\lib.fs"));
    EXPECT_TRUE(same("lib.fs", "lib.fs. ."));
    EXPECT_FALSE(same("sub\\lib.fs", "lib.fs"));
    // Only A-Z fold.
    EXPECT_FALSE(same("\xE9.fs", "\xC9.fs"));
}

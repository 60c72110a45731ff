#include "shell/IncludeFileReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "base/StringList.h"

using namespace kes;

TEST(IncludeFileReader, ReadsLogicalLinesWhateverTheLineEnds) {
    const auto path = (std::filesystem::temp_directory_path() / "kes_include_reader.fs").string();
    const std::string longLine(40000, 'w');
    ASSERT_TRUE(WriteFileBytes(path, ": a ;\r\n\\ b\n" + longLine + "\r\r\n\xE9nd"));
    IncludeFileReader reader;
    std::vector<std::string> lines;
    ASSERT_TRUE(reader.ReadLines(path, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{": a ;", "\\ b", longLine, "", "\xE9nd"}));
    std::remove(path.c_str());
}

TEST(IncludeFileReader, MissingFileOrEmptyNameFails) {
    IncludeFileReader reader;
    std::vector<std::string> lines{"kept"};
    EXPECT_FALSE(reader.ReadLines("/nonexistent/dir/x.fs", lines));
    EXPECT_FALSE(reader.ReadLines("", lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"kept"}));
}

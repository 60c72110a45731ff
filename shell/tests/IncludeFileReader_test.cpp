#include "shell/IncludeFileReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "base/StringList.h"
#include "shell/RegularFile.h"

using namespace kes;

TEST(IncludeFileReader, ReadsLogicalLinesWhateverTheLineEnds) {
    const auto path = (std::filesystem::temp_directory_path() / "kes_include_reader.fs").string();
    const std::string longLine(40000, 'w');
    ASSERT_TRUE(WriteFileBytes(path, ": a ;\r\n\\ b\n" + longLine + "\r\r\n\xE9nd"));
    IncludeFileReader reader;
    std::vector<std::string> lines;
    ASSERT_EQ(reader.ReadLines(path, lines), IncludeRead::Ok);
    EXPECT_EQ(lines, (std::vector<std::string>{": a ;", "\\ b", longLine, "", "\xE9nd"}));
    std::remove(path.c_str());
}

TEST(IncludeFileReader, MissingFileOrEmptyNameFails) {
    IncludeFileReader reader;
    std::vector<std::string> lines{"kept"};
    EXPECT_EQ(reader.ReadLines("/nonexistent/dir/x.fs", lines), IncludeRead::NotFound);
    EXPECT_EQ(reader.ReadLines("", lines), IncludeRead::NotFound);
    EXPECT_EQ(lines, (std::vector<std::string>{"kept"}));
}

// Names that open a device or a pipe instead of a file, and names that only look alike.
TEST(RegularFile, DeviceNamesAreKnownBeforeOpening) {
    const struct {
        const char* name;
        bool device;
    } cases[] = {
        {"\\\\.\\COM7", true},
        {"//./pipe/x", true},
        {"\\\\.\\pipe\\kestrup", true},
        {"\\\\?\\GLOBALROOT\\Device\\Null", true},
        {"aux", true},
        {"C:\\src\\AUX.fs", true},
        {"nul .txt", true},
        {"com1.", true},
        {"lpt9", true},
        {"CONOUT$", true},
        {"\\\\?\\C:\\src\\lib.fs", false},
        {"\\\\?\\UNC\\srv\\share\\lib.fs", false},
        {"\\\\srv\\share\\lib.fs", false},
        {"C:\\src\\auxiliary.fs", false},
        {"com10", false},
        {"com0", false},
        {"C:\\aux\\lib.fs", false},
        {"lib.fs", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsDeviceName(c.name), c.device) << c.name;
}

TEST(RegularFile, OnlyRegularFilesWithinTheLimitAreRead) {
    const auto folder = std::filesystem::temp_directory_path() / "kes_regular_file";
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "ten.fs").string();
    const std::string fifo = (folder / "fifo").string();
    ASSERT_TRUE(WriteFileBytes(file, "0123456789"));
    std::remove(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    std::string bytes = "kept";
    EXPECT_EQ(ReadRegularFile(fifo, bytes), FileRead::NotFound);  // would wait for a writer for ever
    EXPECT_EQ(ReadRegularFile(folder.string(), bytes), FileRead::NotFound);
    EXPECT_EQ(ReadRegularFile(file, bytes, 9), FileRead::TooLarge);
    EXPECT_EQ(bytes, "kept");
    EXPECT_EQ(ReadRegularFile(file, bytes, 10), FileRead::Ok);
    EXPECT_EQ(bytes, "0123456789");
    std::filesystem::remove_all(folder);
}

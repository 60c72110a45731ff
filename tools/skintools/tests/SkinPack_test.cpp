#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "Bmp.h"
#include "base/StringList.h"
#include "skin/container/SkinReader.h"

namespace fs = std::filesystem;
using namespace kes;

namespace {

class SkinPack : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("skinpack-" + std::to_string(::getpid()) + "-" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "skin");
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Put(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(WriteFileBytes((dir_ / "skin" / name).string(), bytes));
    }
    int Pack(const std::string& options) {
        const std::string cmd = std::string(SKINPACK_EXE) + " " + options + " " + (dir_ / "skin").string() + " " +
                                (dir_ / "out.skn").string() + " >/dev/null 2>&1";
        return std::system(cmd.c_str());
    }

    fs::path dir_;
};

}  // namespace

TEST_F(SkinPack, FolderBecomesAContainerWithTheDescriptionLast) {
    PixelBuffer red(2, 2);
    red.FillRect({0, 0, 2, 2}, 0x0000FF);
    Put("Zeta.BMP", WriteBmp(red, 24));
    Put("alpha.bmp", WriteBmp(PixelBuffer(3, 1), 8));
    Put("Skin.ini", "[Form]\r\nframecount=2\r\n");
    Put("notes.txt", "not packed");
    ASSERT_EQ(Pack("--rc " + (dir_ / "skin.rc").string() + " --resource MYSKIN"), 0);

    std::string container;
    ASSERT_TRUE(ReadFileBytes((dir_ / "out.skn").string(), container));
    TSkinReader r;
    ASSERT_TRUE(r.LoadFromStream(container)) << r.Error();
    EXPECT_EQ(r.FormatNumber(), 70000);
    ASSERT_EQ(r.Count(), 3);
    EXPECT_EQ(r.Names()[0], "zeta.bmp");  // names in byte order of the file names, lower-cased by the reader
    EXPECT_EQ(r.Names()[1], "alpha.bmp");
    EXPECT_EQ(r.Names()[2], "skin.ini");
    std::string bytes, name;
    r.ExtractFirstMatch(".ini", bytes, name);
    EXPECT_EQ(bytes, "[Form]\r\nframecount=2\r\n");
    r.ExtractFile("zeta.bmp", bytes);
    PixelBuffer back;
    std::string error;
    ASSERT_TRUE(ReadBmp(bytes, back, error)) << error;
    EXPECT_EQ(back.GetPixel(1, 1), 0x0000FF);

    std::string rc;
    ASSERT_TRUE(ReadFileBytes((dir_ / "skin.rc").string(), rc));
    EXPECT_NE(rc.find("MYSKIN RCDATA \"" + fs::absolute(dir_ / "out.skn").generic_string() + "\""), std::string::npos);
}

TEST_F(SkinPack, FormatOptionAndRefusals) {
    Put("a.bmp", WriteBmp(PixelBuffer(1, 1), 24));
    Put("d.ini", "[A]\n");
    ASSERT_EQ(Pack("--format 20000"), 0);
    std::string container;
    ASSERT_TRUE(ReadFileBytes((dir_ / "out.skn").string(), container));
    TSkinReader r;
    ASSERT_TRUE(r.LoadFromStream(container));
    EXPECT_EQ(r.FormatNumber(), 20000);

    EXPECT_NE(Pack("--format 10000"), 0);  // a format the reader does not know
    Put("bad.bmp", "BM not really");
    EXPECT_NE(Pack(""), 0);             // a bitmap the reader refuses
    EXPECT_EQ(Pack("--unchecked"), 0);  // unless asked to keep it, for broken test skins
    Put("second.ini", "[B]\n");
    EXPECT_NE(Pack("--unchecked"), 0);  // which description?
    EXPECT_EQ(Pack("--unchecked -d " + (dir_ / "skin" / "second.ini").string()), 0);
    EXPECT_NE(Pack("--bogus"), 0);
}

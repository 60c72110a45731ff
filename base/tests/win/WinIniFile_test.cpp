#include "base/win/WinIniFile.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Exception.h"
#include "base/win/Win.h"

using namespace kes;

namespace {

class IniFileTest : public testing::Test {
protected:
    void SetUp() override {
        char dir[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, dir);
        path_ = std::string(dir) + "kes_" + testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
        DeleteFileA(path_.c_str());
    }
    void TearDown() override { DeleteFileA(path_.c_str()); }
    std::string path_;
};

}  // namespace

TEST_F(IniFileTest, ValuesRoundTripThroughTheProfileFunctions) {
    {
        TIniFile ini(path_);
        EXPECT_EQ(ini.ReadString("ComPort1", "Port", "none"), "none");  // no file yet
        ini.WriteString("ComPort1", "Port", "COM4");
        ini.WriteInteger("ComPort1", "Buffer.InputSize", 2048);
        ini.WriteInteger("ComPort1", "Negative", -5);
        ini.WriteBool("ComPort1", "DiscardNull", true);
        ini.WriteString("ComPort1", "Text", "not a number");
        ini.WriteString("Other", "Long", std::string(5000, 'x'));
    }
    TIniFile ini(path_);
    EXPECT_EQ(ini.ReadString("comport1", "PORT", ""), "COM4");
    EXPECT_EQ(ini.ReadInteger("ComPort1", "Buffer.InputSize", 0), 2048);
    EXPECT_EQ(ini.ReadInteger("ComPort1", "Negative", 0), -5);
    EXPECT_TRUE(ini.ReadBool("ComPort1", "DiscardNull", false));
    EXPECT_EQ(ini.ReadInteger("ComPort1", "Text", 77), 77);
    EXPECT_EQ(ini.ReadInteger("ComPort1", "Missing", 78), 78);
    EXPECT_EQ(ini.ReadString("Other", "Long", ""), std::string(5000, 'x'));  // longer than one buffer

    TStringList names;
    ini.ReadSection("ComPort1", names);
    EXPECT_EQ(names.Items(), (std::vector<std::string>{"Port", "Buffer.InputSize", "Negative", "DiscardNull", "Text"}));
    ini.ReadSections(names);
    EXPECT_EQ(names.Items(), (std::vector<std::string>{"ComPort1", "Other"}));
    EXPECT_TRUE(ini.ValueExists("ComPort1", "text"));
    EXPECT_FALSE(ini.ValueExists("ComPort1", "Nope"));

    ini.DeleteKey("ComPort1", "Text");
    EXPECT_FALSE(ini.ValueExists("ComPort1", "Text"));
    ini.EraseSection("Other");
    EXPECT_FALSE(ini.SectionExists("Other"));
    EXPECT_TRUE(ini.SectionExists("ComPort1"));
}

TEST_F(IniFileTest, TheMemoryParserReadsWhatTheSystemWrote) {
    {
        TIniFile ini(path_);
        ini.WriteString("ComPort1", "Port", "COM9");
        ini.WriteString("ComPort1", "Parity", "Even");
        ini.WriteString("Second", "Key", "a=b");
    }
    TMemIniFile mem(path_);
    EXPECT_EQ(mem.ReadString("ComPort1", "Port", ""), "COM9");
    EXPECT_EQ(mem.ReadString("ComPort1", "Parity", ""), "Even");
    EXPECT_EQ(mem.ReadString("Second", "Key", ""), "a=b");

    mem.WriteString("Second", "Added", "  spaced  ");
    mem.UpdateFile();
    TIniFile back(path_);
    EXPECT_EQ(back.ReadString("Second", "Added", ""), "spaced");
    EXPECT_EQ(back.ReadString("Second", "Key", ""), "a=b");
}

TEST_F(IniFileTest, RefusesLineBreaksAndReportsUnwritableFiles) {
    TIniFile ini(path_);
    EXPECT_THROW(ini.WriteString("S", "k", "a\r\nb=c"), EIniFileException);
    EXPECT_EQ(ini.ReadString("S", "b", "none"), "none");
    TIniFile nowhere("Z:\\no\\such\\folder\\x.ini");
    EXPECT_THROW(nowhere.WriteString("S", "k", "v"), EIniFileException);
}

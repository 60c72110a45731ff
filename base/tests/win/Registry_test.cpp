#include "base/win/Registry.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Exception.h"

using namespace kes;

namespace {

// Each test works below its own key, removed before and after.
class RegistryTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        base_ = std::string("Software\\KestrupBaseTest\\") + info->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str()); }
    std::string base_;
};

}  // namespace

TEST_F(RegistryTest, StringsAndIntegersRoundTrip) {
    TRegistry reg;
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("\\" + base_ + "\\ComPort1", true));
    EXPECT_EQ(reg.CurrentPath(), base_ + "\\ComPort1");
    reg.WriteString("Port", "COM3");
    reg.WriteString("Empty", "");
    reg.WriteString("High", "\xE4\xF6\xFC 8-bit");
    reg.WriteInteger("CustomBaudRate", 250000);
    reg.WriteInteger("Negative", -1);
    reg.WriteBool("Flag", true);
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentPath(), "");

    ASSERT_TRUE(reg.OpenKeyReadOnly(base_ + "\\ComPort1"));
    EXPECT_EQ(reg.ReadString("Port"), "COM3");
    EXPECT_EQ(reg.ReadString("Empty"), "");
    EXPECT_EQ(reg.ReadString("High"), "\xE4\xF6\xFC 8-bit");
    EXPECT_EQ(reg.ReadInteger("CustomBaudRate"), 250000);
    EXPECT_EQ(reg.ReadInteger("Negative"), -1);
    EXPECT_TRUE(reg.ReadBool("Flag"));
    EXPECT_TRUE(reg.ValueExists("port"));
    TStringList names;
    reg.GetValueNames(names);
    names.Sort();
    EXPECT_EQ(names.Items(), (std::vector<std::string>{"CustomBaudRate", "Empty", "Flag", "High", "Negative", "Port"}));
}

TEST_F(RegistryTest, MissingValuesAndWrongTypes) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\" + base_, true));
    EXPECT_EQ(reg.ReadString("Nothing"), "");                      // a missing string is empty text
    EXPECT_THROW(reg.ReadInteger("Nothing"), ERegistryException);  // a missing integer fails
    reg.WriteString("Text", "42");
    reg.WriteInteger("Number", 42);
    EXPECT_THROW(reg.ReadInteger("Text"), ERegistryException);
    EXPECT_THROW(reg.ReadString("Number"), ERegistryException);
    const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    RegSetValueExA(reg.CurrentKey(), "Qword", 0, REG_QWORD, eight, 8);
    RegSetValueExA(reg.CurrentKey(), "Bin4", 0, REG_BINARY, eight, 4);
    EXPECT_THROW(reg.ReadInteger("Qword"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("Bin4"), ERegistryException);
    // Text stored without its terminating zero reads whole, and stops at an inner zero.
    RegSetValueExA(reg.CurrentKey(), "NoZero", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
    RegSetValueExA(reg.CurrentKey(), "Inner", 0, REG_SZ, reinterpret_cast<const BYTE*>("ab\0cd"), 6);
    EXPECT_EQ(reg.ReadString("NoZero"), "abc");
    EXPECT_EQ(reg.ReadString("Inner"), "ab");
    EXPECT_TRUE(reg.DeleteValue("Text"));
    EXPECT_FALSE(reg.ValueExists("Text"));
    EXPECT_FALSE(reg.DeleteValue("Text"));
}

TEST_F(RegistryTest, WithoutAnOpenKeyReadsAreEmptyAndWritesFail) {
    TRegistry reg;
    ASSERT_FALSE(reg.OpenKey("\\" + base_ + "\\Missing", false));
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    EXPECT_EQ(reg.ReadString("Port"), "");
    EXPECT_FALSE(reg.ValueExists("Port"));
    EXPECT_THROW(reg.ReadInteger("Port"), ERegistryException);
    EXPECT_THROW(reg.WriteString("Port", "COM1"), ERegistryException);
    EXPECT_THROW(reg.WriteInteger("Speed", 1), ERegistryException);
    EXPECT_FALSE(reg.KeyExists("\\" + base_ + "\\Missing"));  // a failed open creates nothing
}

TEST_F(RegistryTest, ReadOnlyKeyRefusesWrites) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\" + base_, true));
    reg.WriteString("Port", "COM1");
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\" + base_));
    EXPECT_EQ(reg.ReadString("Port"), "COM1");
    EXPECT_THROW(reg.WriteString("Port", "COM2"), ERegistryException);
}

TEST_F(RegistryTest, RelativePathsKeysAndRecursiveDelete) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\" + base_, true));
    ASSERT_TRUE(reg.OpenKey("Outer\\", true));  // relative to the open key; a final "\" is ignored
    EXPECT_EQ(reg.CurrentPath(), base_ + "\\Outer");
    ASSERT_TRUE(reg.OpenKey("Inner", true));
    EXPECT_EQ(reg.CurrentPath(), base_ + "\\Outer\\Inner");
    reg.WriteString("Deep", "x");
    EXPECT_FALSE(reg.OpenKey("NotThere", false));
    EXPECT_EQ(reg.CurrentPath(), base_ + "\\Outer\\Inner");  // the open key stays open
    reg.CloseKey();

    ASSERT_TRUE(reg.OpenKey("\\" + base_, false));
    EXPECT_TRUE(reg.KeyExists("Outer\\Inner"));
    EXPECT_TRUE(reg.CreateKey("Second"));
    TStringList keys;
    reg.GetKeyNames(keys);
    keys.Sort();
    EXPECT_EQ(keys.Items(), (std::vector<std::string>{"Outer", "Second"}));
    EXPECT_FALSE(reg.DeleteKey(""));      // never the open key itself
    EXPECT_FALSE(reg.DeleteKey("\\"));    // nor the root
    EXPECT_TRUE(reg.DeleteKey("Outer"));  // with everything below it
    EXPECT_FALSE(reg.KeyExists("Outer"));
    EXPECT_TRUE(reg.KeyExists("\\" + base_ + "\\Second"));
}

TEST_F(RegistryTest, RegIniFileKeepsEverythingAsStrings) {
    TRegIniFile ini(base_);
    ini.WriteInteger("Window", "Top", 300);
    ini.WriteBool("MCUtype", "Arduino", true);
    ini.WriteBool("MCUtype", "ESP32forth", false);
    ini.WriteString("Source", "Filename", "C:\\forth\\main.fs");

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\" + base_ + "\\Window"));
    EXPECT_EQ(reg.ReadString("Top"), "300");  // decimal text, not REG_DWORD
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\" + base_ + "\\MCUtype"));
    EXPECT_EQ(reg.ReadString("Arduino"), "1");
    EXPECT_EQ(reg.ReadString("ESP32forth"), "0");

    EXPECT_EQ(ini.ReadInteger("Window", "Top", 1), 300);
    EXPECT_TRUE(ini.ReadBool("MCUtype", "Arduino", false));
    EXPECT_FALSE(ini.ReadBool("MCUtype", "ESP32forth", true));
    EXPECT_EQ(ini.ReadString("Source", "Filename", ""), "C:\\forth\\main.fs");
    // Missing or unreadable values read as their defaults.
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 300), 300);
    EXPECT_EQ(ini.ReadInteger("NoKey", "Left", 17), 17);
    ASSERT_TRUE(reg.OpenKey("\\" + base_ + "\\Window", false));
    reg.WriteString("Width", "wide");
    reg.WriteInteger("Height", 999);  // a REG_DWORD is not what this object reads
    EXPECT_EQ(ini.ReadInteger("Window", "Width", 1200), 1200);
    EXPECT_EQ(ini.ReadInteger("Window", "Height", 500), 500);
    EXPECT_EQ(ini.ReadString("Window", "Height", "dflt"), "dflt");
    reg.WriteString("Bool", "5");
    EXPECT_TRUE(ini.ReadBool("Window", "Bool", false));

    EXPECT_TRUE(ini.SectionExists("Window"));
    EXPECT_TRUE(ini.ValueExists("Window", "Top"));
    TStringList sections;
    ini.ReadSections(sections);
    sections.Sort();
    EXPECT_EQ(sections.Items(), (std::vector<std::string>{"MCUtype", "Source", "Window"}));
    reg.CloseKey();
    ini.DeleteKey("Window", "Top");
    EXPECT_FALSE(ini.ValueExists("Window", "Top"));
    ini.EraseSection("Window");
    EXPECT_FALSE(ini.SectionExists("Window"));
    EXPECT_TRUE(ini.SectionExists("Source"));
}

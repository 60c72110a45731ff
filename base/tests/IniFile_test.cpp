#include "base/IniFile.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "base/Exception.h"

using namespace kes;

TEST(MemIniFile, ParsesSectionsValuesAndKeepsOtherLines) {
    TMemIniFile ini;
    ini.SetText(
        "; head comment\r\n"
        "[ComPort1]\r\n"
        "  Port = COM3  \n"
        "BaudRate=115200\r"
        "; kept comment\r\n"
        "garbage line\r\n"
        "\r\n"
        "[ Other ]\r\n"
        "Empty=\r\n"
        "Eq=a=b\r\n"
        "[comport1]\r\n"
        "Parity=None\r\n");
    EXPECT_EQ(ini.ReadString("ComPort1", "Port", "?"), "COM3");
    EXPECT_EQ(ini.ReadString("COMPORT1", "baudrate", "?"), "115200");
    EXPECT_EQ(ini.ReadString("comport1", "Parity", "?"), "None");  // a repeated section continues the first
    EXPECT_EQ(ini.ReadString("Other", "Empty", "?"), "");
    EXPECT_EQ(ini.ReadString("Other", "Eq", "?"), "a=b");
    EXPECT_EQ(ini.ReadString("Other", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("Nowhere", "Port", "dflt"), "dflt");

    TStringList names;
    ini.ReadSection("comport1", names);
    EXPECT_EQ(names.Items(), (std::vector<std::string>{"Port", "BaudRate", "Parity"}));
    ini.ReadSections(names);
    EXPECT_EQ(names.Items(), (std::vector<std::string>{"ComPort1", "Other"}));

    EXPECT_EQ(ini.Text(),
              "; head comment\r\n"
              "[ComPort1]\r\nPort=COM3\r\nBaudRate=115200\r\n; kept comment\r\ngarbage line\r\nParity=None\r\n\r\n"
              "[Other]\r\nEmpty=\r\nEq=a=b\r\n\r\n");
}

TEST(MemIniFile, TypedValuesFallBackOnBadText) {
    TMemIniFile ini;
    ini.SetText("[S]\nInt=-42\nHex=$1F\nBad=12abc\nBig=99999999999\nT=1\nF=0\nOdd=7\nWord=yes\n");
    EXPECT_EQ(ini.ReadInteger("S", "Int", 5), -42);
    EXPECT_EQ(ini.ReadInteger("S", "Hex", 5), 31);
    EXPECT_EQ(ini.ReadInteger("S", "Bad", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "Big", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "Missing", 5), 5);
    EXPECT_TRUE(ini.ReadBool("S", "T", false));
    EXPECT_FALSE(ini.ReadBool("S", "F", true));
    EXPECT_TRUE(ini.ReadBool("S", "Odd", false));  // any integer but 0
    EXPECT_TRUE(ini.ReadBool("S", "Word", true));  // no integer: the default
    EXPECT_FALSE(ini.ReadBool("S", "Word", false));
    EXPECT_TRUE(ini.ReadBool("S", "Missing", true));
}

TEST(MemIniFile, WritesUpdateInPlaceAndAppend) {
    TMemIniFile ini;
    ini.SetText("[A]\nx=1\ny=2\n");
    ini.WriteInteger("a", "X", 10);  // same value, other letter case: updated where it stands
    ini.WriteBool("A", "z", true);
    ini.WriteString("B", "name", "  padded  ");
    EXPECT_EQ(ini.ReadString("B", "name", "?"), "padded");  // what a reading of the file would give
    EXPECT_EQ(ini.Text(), "[A]\r\nx=10\r\ny=2\r\nz=1\r\n\r\n[B]\r\nname=padded\r\n\r\n");
    EXPECT_TRUE(ini.SectionExists("b"));
    EXPECT_TRUE(ini.ValueExists("A", "Y"));
    EXPECT_FALSE(ini.ValueExists("A", "w"));
    ini.DeleteKey("A", "y");
    ini.EraseSection("b");
    EXPECT_FALSE(ini.SectionExists("B"));
    EXPECT_EQ(ini.Text(), "[A]\r\nx=10\r\nz=1\r\n\r\n");
}

TEST(MemIniFile, RefusesTextThatWouldNotReadBack) {
    TMemIniFile ini;
    EXPECT_THROW(ini.WriteString("S", "k", "two\r\nlines"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S", "a=b", "v"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S", "", "v"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S]x", "k", "v"), EIniFileException);
    EXPECT_THROW(ini.WriteString("", "k", "v"), EIniFileException);
    EXPECT_THROW(ini.WriteString("S", " ;note", "v"), EIniFileException);  // would read back as a comment
    EXPECT_THROW(ini.WriteString("S", "[x]", "v"), EIniFileException);     // would read back as a section
    EXPECT_EQ(ini.Text(), "");                                             // nothing half-written
}

TEST(MemIniFile, FileRoundTripAndMissingFile) {
    const std::string path = testing::TempDir() + "kes_mem.ini";
    std::remove(path.c_str());
    {
        TMemIniFile missing(path);
        EXPECT_EQ(missing.Text(), "");
        missing.WriteString("ComPort1", "Port", "COM7");
        missing.WriteInteger("ComPort1", "Buffer.InputSize", 1024);
        missing.UpdateFile();
    }
    TMemIniFile again(path);
    EXPECT_EQ(again.ReadString("ComPort1", "Port", ""), "COM7");
    EXPECT_EQ(again.ReadInteger("ComPort1", "Buffer.InputSize", 0), 1024);
    std::remove(path.c_str());

    TMemIniFile unwritable(testing::TempDir() + "no/such/dir/x.ini");
    unwritable.WriteString("S", "k", "v");
    EXPECT_THROW(unwritable.UpdateFile(), EFOpenError);
}

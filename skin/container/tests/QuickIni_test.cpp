#include "skin/container/QuickIni.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace kes;

namespace {

std::unique_ptr<TQuickIni> Ini(const std::string& text) {
    auto ini = std::make_unique<TQuickIni>();
    ini->LoadFromText(text);
    return ini;
}

}  // namespace

TEST(QuickIni, KeysAndSectionsIgnoreLetterCase) {
    const auto ini = Ini("[Buttons]\r\nframecount=4\r\nTrans = 1\r\n[Form]\r\nframecount=9\r\n");
    EXPECT_EQ(ini->ReadString("buttons", "FrameCount", "x"), "4");
    EXPECT_EQ(ini->ReadString("BUTTONS", "trans", "x"), "1");
    EXPECT_EQ(ini->ReadInteger("form", "FRAMECOUNT", 0), 9);
    EXPECT_EQ(ini->FindSection("FORM"), 3);
    EXPECT_EQ(ini->FindSection("Missing"), -1);
}

TEST(QuickIni, BlanksEqualsSignsAndEmptyValues) {
    const auto ini = Ini("  [S]  \n   key   =   some value  \nempty=\nblank=   \nurl=a=b=c\n=novalue\nplain line\n");
    EXPECT_EQ(ini->ReadString("S", "key", "d"), "some value");
    EXPECT_EQ(ini->ReadString("S", "  key  ", "d"), "d");  // the key asked for is not trimmed
    EXPECT_EQ(ini->ReadString("S", "empty", "d"), "d");
    EXPECT_EQ(ini->ReadString("S", "blank", "d"), "d");
    EXPECT_EQ(ini->ReadString("S", "url", "d"), "a=b=c");
    EXPECT_EQ(ini->ReadString("S", "", "d"), "d");
    EXPECT_EQ(ini->ReadString("S", "plain line", "d"), "d");
}

TEST(QuickIni, FirstOccurrenceOfAKeyDecidesEvenWhenEmpty) {
    const auto ini = Ini("[S]\nk=\nk=later\nj=first\nj=second\n");
    EXPECT_EQ(ini->ReadString("S", "k", "d"), "d");
    EXPECT_EQ(ini->ReadString("S", "j", "d"), "first");
}

TEST(QuickIni, RepeatedSectionIsFoundAtItsFirstOccurrence) {
    const auto ini = Ini("[S]\na=1\n[T]\nb=2\n[s]\na=3\nc=4\n");
    EXPECT_EQ(ini->ReadString("S", "a", "d"), "1");
    EXPECT_EQ(ini->ReadString("S", "c", "d"), "d");
    EXPECT_EQ(ini->ReadString("S", "b", "d"), "d");  // lookups stop at the next header
}

TEST(QuickIni, CommentsAndSemicolons) {
    const auto ini = Ini("; heading comment\n[S]\n;a=1\n  ;b=2\na=x ; not a comment\n");
    EXPECT_EQ(ini->ReadString("S", "a", "d"), "x ; not a comment");
    EXPECT_EQ(ini->ReadString("S", "b", "d"), "d");  // trimmed first, then seen as a comment
    EXPECT_EQ(ini->Lines().Count(), 2);
}

TEST(QuickIni, LineEndsCrOnlyLfOnlyAndMixed) {
    for (const char* eol : {"\r", "\n", "\r\n"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(eol)));
        const std::string e = eol;
        const auto ini = Ini("[A]" + e + "x=1" + e + e + "y=2" + e + "[B]" + e + "x=3");
        EXPECT_EQ(ini->ReadInteger("A", "x", 0), 1);
        EXPECT_EQ(ini->ReadInteger("A", "y", 0), 2);
        EXPECT_EQ(ini->ReadInteger("B", "x", 0), 3);
        EXPECT_EQ(ini->Lines().Count(), 5);
    }
    // LF CR is two line ends; a blank line between them is dropped.
    const auto mixed = Ini("[A]\n\rx=1\r\ny=2\rz=3\n");
    EXPECT_EQ(mixed->ReadString("A", "z", ""), "3");
    EXPECT_EQ(mixed->Lines().Count(), 4);
}

TEST(QuickIni, NulEndsTheText) {
    const auto ini = Ini(std::string("[A]\nx=1\ny=2\0\nz=3\n", 19));
    EXPECT_EQ(ini->ReadString("A", "y", "d"), "2");
    EXPECT_EQ(ini->ReadString("A", "z", "d"), "d");
}

TEST(QuickIni, NoHeaderOrKeyBeforeTheFirstHeader) {
    EXPECT_EQ(Ini("x=1\ny=2\n")->ReadString("", "x", "d"), "d");
    const auto ini = Ini("x=1\n[A]\ny=2\n");
    EXPECT_EQ(ini->ReadString("A", "x", "d"), "d");
    EXPECT_EQ(Ini("")->ReadString("A", "y", "d"), "d");
}

TEST(QuickIni, BlanksInsideBracketsMustBePassed) {
    const auto ini = Ini("[ Spaced Name ]\nk=v\n");
    EXPECT_EQ(ini->ReadString("Spaced Name", "k", "d"), "d");
    EXPECT_EQ(ini->ReadString(" spaced name ", "k", "d"), "v");
    TStringList names;
    ini->ReadSections(names);
    ASSERT_EQ(names.Count(), 1);
    EXPECT_EQ(names[0], "Spaced Name");
}

TEST(QuickIni, Integers) {
    const auto ini =
        Ini("[N]\ndec=-42\nplus=+7\nhex=0x1F\nHEX=0XfF\ndollar=$10\nbare=0x\nmixed=12ab\nbig=2147483648\n"
            "min=-2147483648\nwide=0xFFFFFFFF\ntoowide=0x100000000\nspace=1 2\nbad=0xZZ\n");
    EXPECT_EQ(ini->ReadInteger("N", "dec", 0), -42);
    EXPECT_EQ(ini->ReadInteger("N", "plus", 0), 7);
    EXPECT_EQ(ini->ReadInteger("N", "hex", 0), 31);
    EXPECT_EQ(ini->ReadInteger("N", "dollar", 0), 16);
    EXPECT_EQ(ini->ReadInteger("N", "bare", -1), -1);
    EXPECT_EQ(ini->ReadInteger("N", "mixed", -1), -1);
    EXPECT_EQ(ini->ReadInteger("N", "big", -1), -1);
    EXPECT_EQ(ini->ReadInteger("N", "min", 0), INT32_MIN);
    EXPECT_EQ(ini->ReadInteger("N", "wide", 0), -1);
    EXPECT_EQ(ini->ReadInteger("N", "toowide", 5), 5);
    EXPECT_EQ(ini->ReadInteger("N", "space", 5), 5);
    EXPECT_EQ(ini->ReadInteger("N", "bad", 5), 5);
    EXPECT_EQ(ini->ReadInteger("N", "missing", 77), 77);
    // "HEX" and "hex" are one key: the first line answers.
    EXPECT_EQ(ini->ReadInteger("N", "Hex", 0), 31);
}

TEST(QuickIni, ReadSectionsAndReload) {
    TQuickIni ini;
    ini.LoadFromText("[One]\n[ Two ]\n[Three]x\n[]\n");
    TStringList names;
    names.Add("old");
    ini.ReadSections(names);
    ASSERT_EQ(names.Count(), 3);
    EXPECT_EQ(names[1], "Two");
    EXPECT_EQ(names[2], "");

    ini.LoadFromText("[Other]\n");
    ini.ReadSections(names);
    EXPECT_EQ(names.Count(), 1);
    ini.LoadFromStream(nullptr);  // nothing to read: the last text stays
    EXPECT_EQ(ini.FindSection("Other"), 0);

    const std::string text = "garbage[X]\n[Y]\nk=v\n";
    ini.LoadFromStream(&text, 11);
    EXPECT_EQ(ini.FindSection("X"), -1);
    EXPECT_EQ(ini.ReadString("Y", "k", ""), "v");
}

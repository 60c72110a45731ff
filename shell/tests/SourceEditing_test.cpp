#include "shell/SourceEditing.h"

#include <gtest/gtest.h>

namespace kes {
namespace {

TEST(SourceEditing, PanelTextsAndTheSameFileCondition) {
    EXPECT_EQ(TextLengthsText(1234, 0), "TextSize 1234 / 0");
    EXPECT_EQ(TextLengthsText(0, 0), "TextSize 0 / 0");
    EXPECT_TRUE(SameFileSaveAllowed("C:\\forth\\main.fs"));
    EXPECT_FALSE(SameFileSaveAllowed("main.fs"));          // no drive path
    EXPECT_FALSE(SameFileSaveAllowed("C:\\forth\\main"));  // no extension
    EXPECT_FALSE(SameFileSaveAllowed("Input-filename"));
    EXPECT_FALSE(SameFileSaveAllowed(""));
}

TEST(SourceEditing, SearchStartsAfterTheSelectionAndFoldsOnlyAToZ) {
    const std::string text = "Marker one, marker two, MARKER three";
    // From the caret at the start, ignoring case.
    EXPECT_EQ(SearchText(text, "marker", 0, 0, soIgnoreCase), 0u);
    // "Search again": after the selected hit.
    EXPECT_EQ(SearchText(text, "marker", 0, 6, soIgnoreCase), 12u);
    EXPECT_EQ(SearchText(text, "marker", 12, 6, soIgnoreCase), 24u);
    // After the last hit nothing is found and the search does not wrap.
    EXPECT_EQ(SearchText(text, "marker", 24, 6, soIgnoreCase), std::nullopt);
    EXPECT_EQ(SearchText(text, "marker", 24, 6, soIgnoreCase | soWrap), 0u);
    EXPECT_EQ(SearchText(text, "marker", 24, 6, soIgnoreCase | soFromStart), 0u);
    // Case kept without the option.
    EXPECT_EQ(SearchText(text, "MARKER", 0, 0, 0), 24u);
    // Only A-Z fold: Latin-1 letters stay apart.
    EXPECT_EQ(SearchText("x \xE4rger", "\xC4RGER", 0, 0, soIgnoreCase), std::nullopt);
    EXPECT_EQ(SearchText("x \xE4rger", "\xE4RGER", 0, 0, soIgnoreCase), 2u);
    // Nothing to look for, or longer than the text.
    EXPECT_EQ(SearchText(text, "", 0, 0, soIgnoreCase), std::nullopt);
    EXPECT_EQ(SearchText("ab", "abc", 0, 0, 0), std::nullopt);
    // A selection past the end of the text is clipped.
    EXPECT_EQ(SearchText(text, "three", 500, 10, 0), std::nullopt);
}

TEST(SourceEditing, SearchNeedsMoreThanTwentyCharactersAndAText) {
    EXPECT_FALSE(SearchAllowed(20, "x"));
    EXPECT_TRUE(SearchAllowed(21, "x"));
    EXPECT_FALSE(SearchAllowed(500, ""));
}

TEST(SourceEditing, TheWordUnderADoubleClick) {
    const std::string text = "\\ include \"my lib.fs\"\r\n#include <core.fs>\r\n";
    auto word = [&](size_t pos) {
        const TWordRange r = WordAt(text, pos);
        return text.substr(r.Start, r.Length);
    };
    EXPECT_EQ(word(3), "include");
    EXPECT_EQ(word(2), "include");  // at its first character
    EXPECT_EQ(word(9), "include");  // right after its last one
    EXPECT_EQ(word(12), "\"my");
    EXPECT_EQ(word(35), "<core.fs>");
    EXPECT_EQ(word(30), "#include");
    EXPECT_EQ(WordAt(text, 22).Length, 0u);  // between CR and LF
    EXPECT_EQ(WordAt("", 0).Length, 0u);
    EXPECT_EQ(WordAt("abc", 99).Length, 3u);  // past the end: the last word
}

TEST(SourceEditing, TheViewersFileNameComesOutOfBracketsAndQuotes) {
    EXPECT_EQ(ViewerFileName("<core.fs>"), "core.fs");
    EXPECT_EQ(ViewerFileName("\"lib.fs\""), "lib.fs");
    EXPECT_EQ(ViewerFileName("#include<io\\uart.fs>;"), "io\\uart.fs");
    EXPECT_EQ(ViewerFileName("<\"q.fs\">"), "q.fs");
    EXPECT_EQ(ViewerFileName("\"open.fs"), "open.fs");  // no closing quote: to the end
    EXPECT_EQ(ViewerFileName("plain.fs"), "plain.fs");
    EXPECT_EQ(ViewerFileName(">x<"), "");  // "<" last: nothing after it
}

TEST(SourceEditing, RelativeNamesAreTakenBesideTheSourceFileOrInTheStartFolder) {
    EXPECT_EQ(SourceBaseFolder("C:\\forth\\app\\main.fs", "D:\\start"), "C:\\forth\\app");
    EXPECT_EQ(SourceBaseFolder("", "D:\\start\\"), "D:\\start");
    EXPECT_EQ(SourceBaseFolder("sub\\main.fs", "D:\\start"), "D:\\start\\sub");
    EXPECT_EQ(SourceBaseFolder("C:/forth/./x/../main.fs", "D:\\start"), "C:\\forth");
    EXPECT_EQ(QuotedPath("C:\\my files\\lib.fs"), "\"C:\\my files\\lib.fs\"");
}

TEST(SourceEditing, IncludeLevelMemosAreInsetByTheirDepth) {
    const TLevelBounds one = IncludeLevelBounds(1, 817, 240);
    EXPECT_EQ(one.Left, 20);
    EXPECT_EQ(one.Top, 20);
    EXPECT_EQ(one.Width, 777);
    EXPECT_EQ(one.Height, 200);
    const TLevelBounds deep = IncludeLevelBounds(16, 817, 240);
    EXPECT_EQ(deep.Left, 170);
    EXPECT_EQ(deep.Height, 0);  // never negative
}

TEST(SourceEditing, PrintoutAtSixHundredDpiPutsFortyFiveLinesOnAPage) {
    const TPrintLayout l = LayoutPrintout(60, 600, 600, 8000, -19);
    ASSERT_EQ(l.Lines.size(), 60u);
    EXPECT_EQ(l.Pages, 2);
    EXPECT_EQ(l.Lines[0].X, 500);
    EXPECT_EQ(l.Lines[0].Y, 300);
    EXPECT_EQ(l.Lines[44].Page, 1);
    EXPECT_EQ(l.Lines[44].Y, 6900);
    EXPECT_EQ(l.Lines[45].Page, 2);
    EXPECT_EQ(l.Lines[45].Y, 300);
    EXPECT_EQ(l.Lines[59].Y, 300 + 14 * 150);
    EXPECT_EQ(l.FontHeight, -119);  // 19 screen pixels at 600 dpi
}

TEST(SourceEditing, PrintoutBeginsAPageOnlyForALineThatNeedsIt) {
    EXPECT_EQ(LayoutPrintout(45, 600, 600, 8000, -19).Pages, 1);  // a full page: no empty page after it
    EXPECT_EQ(LayoutPrintout(46, 600, 600, 8000, -19).Pages, 2);
    EXPECT_EQ(LayoutPrintout(0, 600, 600, 8000, -19).Pages, 0);
    EXPECT_EQ(LayoutPrintout(1, 600, 600, 8000, -19).Pages, 1);
}

TEST(SourceEditing, PrintoutScalesToThePrintersResolutionAndStaysOnThePage) {
    const TPrintLayout low = LayoutPrintout(50, 300, 300, 4000, -19);
    EXPECT_EQ(low.Lines[0].X, 250);
    EXPECT_EQ(low.Lines[0].Y, 150);
    EXPECT_EQ(low.Lines[1].Y, 225);
    EXPECT_EQ(low.Lines[44].Y, 3450);
    EXPECT_EQ(low.Lines[45].Page, 2);
    EXPECT_EQ(low.FontHeight, -59);
    // A letter page at 600 dpi prints 6600 device rows: the line at 6450 is the last that fits.
    const TPrintLayout letter = LayoutPrintout(60, 600, 600, 6600, -19);
    EXPECT_EQ(letter.Lines[41].Y, 6450);
    EXPECT_EQ(letter.Lines[41].Page, 1);
    EXPECT_EQ(letter.Lines[42].Page, 2);
    // A page too short for two lines still prints every line, one a page.
    EXPECT_EQ(LayoutPrintout(3, 600, 600, 400, -19).Pages, 3);
    // Unknown resolution: the 600 dpi layout.
    EXPECT_EQ(LayoutPrintout(1, 0, 0, 0, -19).Lines[0].X, 500);
}

TEST(SourceEditing, RegistryValuesWithDefaultsAndUnusablePlaces) {
    TMemIniFile ini;
    TSourceSettings s = ReadSourceSettings(ini);
    EXPECT_EQ(s.Place, (TWindowPlace{350, 350, 500, 950}));
    EXPECT_EQ(s.FileName, "");

    WriteSourcePlace(ini, TWindowPlace{10, 20, 300, 400});
    WriteSourceFileName(ini, "C:\\forth\\main.fs");
    EXPECT_EQ(ini.ReadString("Source", "Top", ""), "10");
    EXPECT_EQ(ini.ReadString("Source", "Width", ""), "400");
    s = ReadSourceSettings(ini);
    EXPECT_EQ(s.Place, (TWindowPlace{10, 20, 300, 400}));
    EXPECT_EQ(s.FileName, "C:\\forth\\main.fs");

    WriteSourcePlace(ini, TWindowPlace{-32000, -32000, 30, 160});  // the place of a minimised window
    EXPECT_EQ(ReadSourceSettings(ini).Place, (TWindowPlace{350, 350, 500, 950}));
    ini.WriteString("Source", "Height", "tall");  // unreadable: its default
    ini.WriteString("Source", "Top", "5");
    ini.WriteString("Source", "Left", "6");
    EXPECT_EQ(ReadSourceSettings(ini).Place, (TWindowPlace{5, 6, 500, 160}));
}

}  // namespace
}  // namespace kes

// Fonts, dialogs' filters and item lists: small value types with rules of their own.
#include "gui/Graphics.h"

#include <gtest/gtest.h>

#include "base/Exception.h"
#include "gui/Dialogs.h"
#include "gui/StdCtrls.h"

using namespace kes;

TEST(Font, SizeAndHeightFollowEachOtherAtNinetySixPixelsPerInch) {
    TFont f;
    int changes = 0;
    f.OnChange = [&](TFont*) { ++changes; };
    f.SetSize(12);
    EXPECT_EQ(f.Height(), -16);
    EXPECT_EQ(f.Size(), 12);
    f.SetHeight(-11);  // "MS Sans Serif" of the setup dialog
    EXPECT_EQ(f.Size(), 8);
    f.SetHeight(-24);  // the terminal's Courier New
    EXPECT_EQ(f.Size(), 18);
    EXPECT_EQ(changes, 3);
    f.SetHeight(-24);
    f.SetName("");  // an empty name is refused
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(f.Name(), "MS Sans Serif");
    TFont g;
    g.SetName("Verdana");
    g.SetStyle(fsBold | fsItalic);
    g.SetColor(clYellow);
    f.Assign(g);
    EXPECT_TRUE(f == g);
    EXPECT_EQ(changes, 4);  // one notice for the whole copy
    TPen pen;
    EXPECT_THROW(f.Assign(pen), EConvertError);
}

TEST(Colors, SystemColoursAreMarkedInTheTopByte) {
    EXPECT_TRUE(IsSystemColor(clBtnFace));
    EXPECT_LT(clBtnFace, 0);  // negative, as the skin engine tells them apart
    EXPECT_EQ(clBtnFace & 0xFF, 15);
    EXPECT_FALSE(IsSystemColor(clFuchsia));
    EXPECT_EQ(RGBColor(255, 0, 255), clFuchsia);
    EXPECT_EQ(RGBColor(0x12, 0x34, 0x56), 0x563412);
}

TEST(OpenDialogFilter, PairsBecomeNulSeparated) {
    const std::string f = TOpenDialog::PlatformFilter("Forth|*.fs;*.4th|All|*.*");
    static const char want[] = "Forth\0*.fs;*.4th\0All\0*.*\0";  // plus the literal's own final NUL
    EXPECT_EQ(f, std::string(want, sizeof want));
    // A description without its pattern gets every file.
    static const char text[] = "Text\0*.*\0";
    EXPECT_EQ(TOpenDialog::PlatformFilter("Text"), std::string(text, sizeof text));
    EXPECT_EQ(TOpenDialog::PlatformFilter(""), std::string("\0\0", 2));
}

TEST(ItemStrings, EditsReachTheHostInOrder) {
    struct Recorder : TItemStrings::Host {
        std::vector<std::string> log;
        void ItemInserted(int i, const std::string& s) override { log.push_back("+" + std::to_string(i) + s); }
        void ItemDeleted(int i) override { log.push_back("-" + std::to_string(i)); }
        void ItemsCleared() override { log.push_back("clear"); }
    } host;
    TItemStrings items(host);
    items.Add("a");
    items.Add("b");
    items.Put(0, "A");
    items.Insert(1, "x");
    items.Delete(2);
    EXPECT_EQ(host.log, (std::vector<std::string>{"+0a", "+1b", "-0", "+0A", "+1x", "-2"}));
    EXPECT_EQ(items.Text(), "A\r\nx\r\n");
    host.log.clear();
    TStringList other;
    other.Add("p");
    other.Add("q");
    items.Assign(other);
    EXPECT_EQ(host.log, (std::vector<std::string>{"clear", "+0p", "+1q"}));
    EXPECT_EQ(items.IndexOf("q"), 1);
    EXPECT_THROW(items.Put(5, "z"), EListError);
}

TEST(MemoLines, ReadOnlyStopsTheUserNotTheProgram) {
    TMemo m(nullptr);
    m.SetReadOnly(true);
    m.Lines().Add("board answer");
    m.AppendText("more");
    EXPECT_EQ(m.Text(), "board answer\r\nmore");
}

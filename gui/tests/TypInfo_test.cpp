// Class names, "is a" tests and published properties by name, as the skin engine uses them on controls.
#include "gui/TypInfo.h"
#include "base/SysUtils.h"

#include <gtest/gtest.h>

#include "base/Exception.h"
#include "gui/ComCtrls.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"

using namespace kes;

TEST(ClassFacts, NamesAndClassChains) {
    TForm form(nullptr);
    struct Case {
        TObject* obj;
        const char* name;
        std::vector<const char*> is;
        std::vector<const char*> isNot;
    };
    auto* memo = new TMemo(&form);
    auto* edit = new TEdit(&form);
    auto* combo = new TComboBox(&form);
    auto* list = new TListBox(&form);
    auto* panel = new TPanel(&form);
    auto* label = new TLabel(&form);
    auto* shape = new TShape(&form);
    auto* button = new TButton(&form);
    auto* check = new TCheckBox(&form);
    auto* radio = new TRadioButton(&form);
    auto* group = new TGroupBox(&form);
    auto* status = new TStatusBar(&form);
    auto* progress = new TProgressBar(&form);
    auto* frame = new TFrame(&form);
    const std::vector<Case> cases{
        {&form,
         "TForm",
         {"TCustomForm", "TScrollingWinControl", "TWinControl", "TControl", "TComponent"},
         {"TCustomFrame"}},
        {memo, "TMemo", {"TCustomMemo", "TCustomEdit", "TWinControl"}, {"TEdit", "TCustomListBox"}},
        {edit, "TEdit", {"TCustomEdit"}, {"TCustomMemo"}},
        {combo, "TComboBox", {"TCustomComboBox", "TWinControl"}, {"TCustomListBox"}},
        {list, "TListBox", {"TCustomListBox"}, {"TCustomComboBox"}},
        {panel, "TPanel", {"TCustomPanel", "TCustomControl", "TWinControl"}, {"TCustomGroupBox"}},
        {label, "TLabel", {"TCustomLabel", "TGraphicControl", "TControl"}, {"TWinControl"}},
        {shape, "TShape", {"TGraphicControl"}, {"TWinControl"}},
        {button, "TButton", {"TButtonControl", "TWinControl"}, {"TCustomCheckBox"}},
        {check, "TCheckBox", {"TCustomCheckBox", "TButtonControl"}, {"TButton"}},
        {radio, "TRadioButton", {"TButtonControl"}, {"TCustomCheckBox"}},
        {group, "TGroupBox", {"TCustomGroupBox", "TCustomControl"}, {"TCustomPanel"}},
        {status, "TStatusBar", {"TCustomStatusBar"}, {"TProgressBar"}},
        {progress, "TProgressBar", {"TWinControl"}, {"TCustomStatusBar"}},
        {frame, "TFrame", {"TCustomFrame", "TScrollingWinControl"}, {"TCustomForm"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.obj->ClassName(), c.name);
        EXPECT_TRUE(c.obj->InheritsFrom(c.name));
        for (const char* base : c.is) EXPECT_TRUE(c.obj->InheritsFrom(base)) << base;
        for (const char* other : c.isNot) EXPECT_FALSE(c.obj->InheritsFrom(other)) << other;
    }
    // Letter case of A-Z does not matter, as in the skin engine's upper-case comparisons.
    EXPECT_TRUE(memo->InheritsFrom("TCUSTOMMEMO"));
    EXPECT_TRUE(memo->InheritsFrom("tcustomedit"));
}

TEST(PropertiesByName, MissingPropertiesAndNilAnswerQuietly) {
    TPanel panel(nullptr);
    EXPECT_EQ(GetIntPropByName(&panel, "NumButtons"), -1);
    EXPECT_EQ(GetIntPropByName(nullptr, "Width"), -1);
    EXPECT_EQ(GetEnumPropByName(&panel, "Kind"), "");
    EXPECT_EQ(GetEnumPropByName(nullptr, "Align"), "");
    EXPECT_EQ(GetStrPropByName(&panel, "PngImage"), "");
    EXPECT_EQ(GetObjectPropByName(&panel, "Glyph"), nullptr);
    EXPECT_FALSE(SetPropByName(&panel, "Transparent", "True"));
    EXPECT_FALSE(SetPropByName(nullptr, "Width", "3"));
    // An integer read of a non-integer property is -1 too; an enumeration read of an integer is empty.
    EXPECT_EQ(GetIntPropByName(&panel, "Align"), -1);
    EXPECT_EQ(GetEnumPropByName(&panel, "Width"), "");
    // A plain object without a property table.
    TStringList list;
    EXPECT_EQ(GetIntPropByName(&list, "Count"), -1);
}

TEST(PropertiesByName, ReadsAndWritesEveryKind) {
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetName("Panel1");
    // Integer.
    panel->SetBounds(5, 6, 70, 30);
    EXPECT_EQ(GetIntPropByName(panel, "width"), 70);
    EXPECT_TRUE(SetPropByName(panel, "Tag", "5555"));
    EXPECT_EQ(panel->Tag, 5555);
    EXPECT_TRUE(SetPropByName(panel, "Left", "$10"));
    EXPECT_EQ(panel->Left(), 16);
    EXPECT_THROW(SetPropByName(panel, "Width", "wide"), EConvertError);
    EXPECT_EQ(panel->Width(), 70);
    // Enumerations by value name, Booleans as "False"/"True".
    EXPECT_EQ(GetEnumPropByName(panel, "BevelOuter"), "bvRaised");
    EXPECT_EQ(GetEnumPropByName(panel, "ParentBackground"), "True");
    EXPECT_TRUE(SetPropByName(panel, "ParentBackground", "False"));
    EXPECT_FALSE(panel->ParentBackground());
    EXPECT_TRUE(SetPropByName(panel, "Align", "alclient"));
    EXPECT_EQ(panel->Align(), alClient);
    EXPECT_FALSE(SetPropByName(panel, "Align", "alMiddle"));
    EXPECT_EQ(panel->Align(), alClient);
    // Strings, and other kinds read as text.
    EXPECT_TRUE(SetPropByName(panel, "Caption", "Header"));
    EXPECT_EQ(panel->Caption(), "Header");
    EXPECT_EQ(GetStrPropByName(panel, "Caption"), "Header");
    EXPECT_EQ(GetStrPropByName(panel, "Tag"), "5555");
    EXPECT_EQ(GetStrPropByName(panel, "Align"), "alClient");
    EXPECT_EQ(GetStrPropByName(panel, "Name"), "Panel1");
    // Objects, with an optional class test.
    EXPECT_EQ(GetObjectPropByName(panel, "Font"), &panel->Font());
    EXPECT_EQ(GetObjectPropByName(panel, "Font", "TFont"), &panel->Font());
    EXPECT_EQ(GetObjectPropByName(panel, "Font", "TBrush"), nullptr);
    EXPECT_FALSE(SetPropByName(panel, "Font", "Arial"));
    // Colour is an integer property ("Color" of a parent is what the skin reads).
    panel->SetColor(clYellow);
    EXPECT_EQ(GetIntPropByName(panel, "Color"), clYellow);
}

TEST(PropertiesByName, NamesChainFromTheBaseClass) {
    TMemo memo(nullptr);
    const auto names = GetPropNames(&memo);
    auto pos = [&](const char* n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
    ASSERT_LT(pos("Width"), static_cast<long>(names.size()));
    ASSERT_LT(pos("WordWrap"), static_cast<long>(names.size()));
    EXPECT_LT(pos("Width"), pos("ReadOnly"));     // TControl before TCustomEdit
    EXPECT_LT(pos("ReadOnly"), pos("WordWrap"));  // TCustomEdit before TCustomMemo
    EXPECT_TRUE(IsPublishedProp(&memo, "scrollbars"));
    EXPECT_FALSE(IsPublishedProp(&memo, "Items"));
    EXPECT_TRUE(SetPropByName(&memo, "ScrollBars", "ssVertical"));
    EXPECT_EQ(memo.ScrollBars(), ssVertical);
}

TEST(PropertiesByName, SetsAsText) {
    const std::vector<std::string> names{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
    EXPECT_EQ(SetToString(names, fsBold | fsUnderline), "[fsBold,fsUnderline]");
    EXPECT_EQ(SetToString(names, 0), "[]");
    unsigned bits = 99;
    EXPECT_TRUE(StringToSet(names, "[ fsitalic , fsStrikeOut ]", bits));
    EXPECT_EQ(bits, static_cast<unsigned>(fsItalic | fsStrikeOut));
    EXPECT_TRUE(StringToSet(names, "[]", bits));
    EXPECT_EQ(bits, 0u);
    bits = 7;
    EXPECT_FALSE(StringToSet(names, "[fsBold,fsWide]", bits));
    EXPECT_EQ(bits, 7u);  // untouched on failure
    EXPECT_FALSE(StringToSet(names, "[fsBold", bits));
}

TEST(PropertiesByName, MenuItemsPublishTheirState) {
    TMenuItem item(nullptr);
    EXPECT_TRUE(SetPropByName(&item, "Caption", "&Open"));
    EXPECT_TRUE(SetPropByName(&item, "Checked", "True"));
    EXPECT_TRUE(item.Checked());
    EXPECT_EQ(GetIntPropByName(&item, "Command"), item.Command());
    EXPECT_EQ(GetEnumPropByName(&item, "RadioItem"), "False");
    EXPECT_EQ(GetIntPropByName(&item, "ImageIndex"), -1);  // no glyph
    EXPECT_TRUE(SetPropByName(&item, "Default", "True"));
    EXPECT_TRUE(item.Default());
    EXPECT_EQ(GetStrPropByName(&item, "Caption"), "&Open");
}

TEST(StrToIntTest, AcceptsTheClassLibraryForms) {
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt(" -17 "), -17);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "12a", "2147483648", "$", "--1", "1 2"}) {
        int v = 0;
        EXPECT_FALSE(TryStrToInt(bad, v)) << bad;
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
    }
    try {
        StrToInt("x1");
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
    }
}

// Which windows the skin manager skins and with which skin, what its hook does with a new window, and which
// popup menus it skins.
#include <gtest/gtest.h>

#include <functional>

#include "skin/data/tests/SkinTestSupport.h"
#include "skin/manager/SkinManageRules.h"

using namespace kes;

namespace {

class SkinRules : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(main_.ReadSkinStream(test::FullSkin()));
        skins_ = {&main_};
    }
    // A shown top-level window of one of the program's forms.
    static SkinWindowFacts Form() {
        SkinWindowFacts w;
        w.window = reinterpret_cast<void*>(0x1234);
        w.hasForm = true;
        w.ownModule = true;
        w.style = 0x16CF0000;  // overlapped window, visible
        w.className = "TKestrup";
        w.width = 300;
        w.height = 200;
        return w;
    }
    SkinRuleState State() { return {true, false, &main_, &skins_}; }

    TSkinData main_;
    std::vector<TSkinData*> skins_;
};

struct RuleCase {
    const char* what;
    std::function<void(SkinWindowFacts&, SkinRuleState&, TSkinData&)> change;
    SkinRefusal expected;
};

TEST_F(SkinRules, EveryRuleInItsOrder) {
    TSkinData unloaded;
    const std::vector<TSkinData*> onlyUnloaded{&unloaded};
    const std::vector<TSkinData*> none;
    const RuleCase cases[] = {
        {"a shown form", [](auto&, auto&, auto&) {}, SkinRefusal::None},
        {"skinning off", [](auto&, SkinRuleState& s, auto&) { s.active = false; }, SkinRefusal::Inactive},
        {"answers SKM_ISSKINNED", [](SkinWindowFacts& w, auto&, auto&) { w.answersSkinned = true; },
         SkinRefusal::AlreadySkinned},
        {"a frame is listed", [](SkinWindowFacts& w, auto&, auto&) { w.listed = true; }, SkinRefusal::AlreadySkinned},
        {"plain child",
         [](SkinWindowFacts& w, auto&, auto&) {
             w.style |= kWsChild;
             w.parentClassName = "TPanel";
         },
         SkinRefusal::PlainChild},
        {"child of an MDI client",
         [](SkinWindowFacts& w, auto&, auto&) {
             w.style |= kWsChild;
             w.parentClassName = "MDICLIENT";
         },
         SkinRefusal::None},
        {"child while every form is skinned",
         [](SkinWindowFacts& w, SkinRuleState& s, auto&) {
             w.style |= kWsChild;
             s.skinAll = true;
         },
         SkinRefusal::None},
        {"MDI child",
         [](SkinWindowFacts& w, auto&, auto&) {
             w.style |= kWsChild;
             w.exStyle |= kWsExMdiChild;
         },
         SkinRefusal::None},
        {"another module's window",
         [](SkinWindowFacts& w, auto&, auto&) {
             w.hasForm = w.ownModule = false;
             w.className = "ForeignFrame";
         },
         SkinRefusal::Foreign},
        {"another module's dialog box",
         [](SkinWindowFacts& w, auto&, auto&) {
             w.hasForm = w.ownModule = false;
             w.className = "#32770";
         },
         SkinRefusal::None},
        {"own window without a form",
         [](SkinWindowFacts& w, auto&, auto&) {
             w.hasForm = false;
             w.className = "KestrupSomething";
         },
         SkinRefusal::None},
        {"empty rectangle", [](SkinWindowFacts& w, auto&, auto&) { w.height = 0; }, SkinRefusal::EmptyRect},
        {"empty MDI child",
         [](SkinWindowFacts& w, auto&, auto&) {
             w.width = 0;
             w.exStyle |= kWsExMdiChild;
         },
         SkinRefusal::None},
        {"form Tag 99", [](SkinWindowFacts& w, auto&, auto&) { w.formTag = 99; }, SkinRefusal::DisabledTag},
        {"form Tag 98", [](SkinWindowFacts& w, auto&, auto&) { w.formTag = 98; }, SkinRefusal::None},
        {"Tag 99 is the literal, not DisableTag",
         [](SkinWindowFacts& w, auto&, TSkinData& s) {
             s.DisableTag = 5;
             w.formTag = 5;
         },
         SkinRefusal::None},
        {"popup edit window", [](SkinWindowFacts& w, auto&, auto&) { w.className = "xTcxPopupEditPopupWindow1"; },
         SkinRefusal::ExcludedClass},
        {"render window", [](SkinWindowFacts& w, auto&, auto&) { w.className = "TTERenderWindow"; },
         SkinRefusal::ExcludedClass},
        {"application window", [](SkinWindowFacts& w, auto&, auto&) { w.className = "TApplication"; },
         SkinRefusal::ExcludedClass},
        {"preview without xoPreview",
         [](SkinWindowFacts& w, auto&, TSkinData& s) {
             w.className = "TPrintPREVIEWForm";
             s.Options = SetWithout(s.Options, xoPreview);
         },
         SkinRefusal::Refused},
        {"preview with xoPreview", [](SkinWindowFacts& w, auto&, auto&) { w.className = "TPrintPreviewForm"; },
         SkinRefusal::None},
        {"dialog box that sets itself foreground",
         [](SkinWindowFacts& w, auto&, auto&) {
             w.className = "#32770";
             w.style |= kDsSetForeground;
         },
         SkinRefusal::Refused},
        {"popup tree view", [](SkinWindowFacts& w, auto&, auto&) { w.className = "TPopupDBTreeView"; },
         SkinRefusal::Refused},
        {"month calendar (DoFormSkin)", [](SkinWindowFacts& w, auto&, auto&) { w.className = "SysMonthCal32"; },
         SkinRefusal::Refused},
        {"OnFormSkin refuses",
         [](auto&, auto&, TSkinData& s) { s.OnFormSkin = [](TObject*, const std::string&, bool& d) { d = false; }; },
         SkinRefusal::Refused},
        {"OnFormSkin overrules the class rules",
         [](SkinWindowFacts& w, auto&, TSkinData& s) {
             w.className = "TPopupDBTreeView";
             s.OnFormSkin = [](TObject*, const std::string&, bool& d) { d = true; };
         },
         SkinRefusal::None},
        {"without a default skin the class rules are skipped",
         [](SkinWindowFacts& w, SkinRuleState& s, auto&) {
             w.className = "TPopupDBTreeView";
             s.defaultSkin = nullptr;
         },
         SkinRefusal::None},
        {"no skin data", [&](auto&, SkinRuleState& s, auto&) { s.skins = &none; }, SkinRefusal::NoSkin},
        {"no loaded skin", [&](auto&, SkinRuleState& s, auto&) { s.skins = &onlyUnloaded; }, SkinRefusal::NoSkin},
    };
    for (const RuleCase& c : cases) {
        TSkinData skin;
        ASSERT_TRUE(skin.ReadSkinStream(test::FullSkin()));
        std::vector<TSkinData*> list{&skin};
        SkinWindowFacts w = Form();
        SkinRuleState s{true, false, &skin, &list};
        c.change(w, s, skin);
        const SkinChoice choice = ChooseWindowSkin(w, s);
        EXPECT_EQ(choice.refusal, c.expected) << c.what;
        EXPECT_EQ(choice.skin != nullptr, c.expected == SkinRefusal::None) << c.what;
    }
}

TEST_F(SkinRules, DoFormSkinIsAskedOnlyWhenEveryEarlierRulePassed) {
    int asked = 0;
    main_.OnFormSkin = [&](TObject*, const std::string&, bool&) { ++asked; };
    SkinWindowFacts w = Form();
    w.formTag = 99;
    ChooseWindowSkin(w, State());
    EXPECT_EQ(asked, 0);
    ChooseWindowSkin(Form(), State());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(main_.LastFormWindow, Form().window);
}

TEST(SkinChoice, TheSkinOfAWindow) {
    TSkinData mainA, mainB, dialog, only, dll;
    mainB.SkinFormtype = mainA.SkinFormtype = sfMainform;
    dialog.SkinFormtype = sfDialog;
    only.SkinFormtype = sfOnlyThisForm;
    dll.SkinFormtype = sfDLL;
    void* const ownForm = reinterpret_cast<void*>(0x10);
    auto owner = [&](const TSkinData* s) -> void* { return s == &only ? ownForm : nullptr; };
    struct Case {
        std::vector<TSkinData*> skins;
        void* window;
        const char* className;
        TSkinData* expected;
    };
    const Case cases[] = {
        {{&mainA, &only}, ownForm, "TForm1", &only},
        {{&mainA, &only}, reinterpret_cast<void*>(0x20), "TForm1", &mainA},
        {{&mainA, &dialog, &mainB}, nullptr, "#32770", &dialog},
        {{&mainA, &dialog}, nullptr, "TMESSAGEFORM", &dialog},
        {{&mainA, &dialog, &mainB}, nullptr, "TForm1", &mainB},  // two main-form skins: the last one
        {{&mainA}, nullptr, "#32770", &mainA},
        {{&dll, &dialog}, nullptr, "TForm1", &dll},
        {{}, nullptr, "TForm1", nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindSkinData(c.skins, c.window, c.className, owner), c.expected) << c.className;
}

TEST(SkinPopupMenus, KindAgainstTheSkinnedControls) {
    const TSkinControlTypes all = TSkinData::kDefaultSkinControls;
    struct Case {
        TSkinControlTypes controls;
        int kind;
        bool wanted;
    } const cases[] = {
        {all, kPopupMenuKind, true},
        {SetWithout(all, xcPopupMenu), kPopupMenuKind, false},
        {SetWithout(all, xcMainMenu), kMainMenuKind, false},  // xcMenuItem is off by default
        {SetWith(SetWithout(all, xcMainMenu), xcMenuItem), kMainMenuKind, true},
        {SetWithout(all, xcPopupMenu), kMainMenuKind, true},
        {all, kSystemMenuKind, true},
        {SetWithout(all, xcSystemMenu), kSystemMenuKind, false},
        {all, 7, false},
    };
    for (const Case& c : cases) EXPECT_EQ(PopupMenuWanted(c.controls, c.kind), c.wanted) << c.kind;
}

TEST(SkinHookCreation, WhatANewWindowGets) {
    struct Case {
        const char* className;
        std::uint32_t style, exStyle;
        bool grip, popup, mdi;
    } const cases[] = {
        {"ScrollBar", kWsChild | kSbsSizeGrip, 0, true, false, false},
        {"ScrollBar", kWsChild, 0, false, false, false},
        {"#32768", 0x80800000, 0, false, true, false},
        {"#32768", kWsChild, 0, false, false, false},
        {"TChild", kWsChild, kWsExMdiChild, false, false, true},
        {"TForm1", 0x16CF0000, 0, false, false, false},
    };
    for (const Case& c : cases) {
        const CreationActions a = ActionsOnCreate(c.className, c.style, c.exStyle);
        EXPECT_EQ(a.sizeGrip, c.grip) << c.className;
        EXPECT_EQ(a.popupMenu, c.popup) << c.className;
        EXPECT_EQ(a.mdiChild, c.mdi) << c.className;
    }
}

}  // namespace

namespace {

TEST(SkinPopupMenus, OnlyAPopupMenuWindowThatGoesResetsTheMenuKind) {
    struct Case {
        bool listed;
        const char* className;
        bool empty, resets;
    } cases[] = {
        {true, "#32768", true, true},       // the last skinned popup
        {true, "#32768", false, false},     // another popup still open
        {false, "#32768", true, true},      // an unskinned popup (its kind was not wanted)
        {false, "TForm", true, false},      // any other window going while no popup is listed
        {false, "Button", true, false},
        {false, "#32770", true, false},
        {false, "#32768", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResetsMenuKind(c.listed, c.className, c.empty), c.resets) << c.className << " " << c.listed;
}

}  // namespace

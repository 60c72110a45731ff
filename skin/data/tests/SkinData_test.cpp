// The skin data component: defaults, properties, the stored skin, reloads and the manager seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "SkinTestSupport.h"
#include "skin/data/SkinManagerLink.h"

using namespace kes;

namespace {

// A manager that records what the components ask of it.
struct FakeManager : SkinManagerLink {
    static inline std::vector<std::string> calls;
    static inline std::vector<TSkinData*> list;
    static inline TSkinData* current = nullptr;
    int state = 0;
    void AddSkinData(TSkinData* s) override {
        calls.push_back("add");
        list.push_back(s);
    }
    void RemoveSkinData(TSkinData* s) override {
        calls.push_back("remove");
        list.erase(std::remove(list.begin(), list.end(), s), list.end());
        if (current == s) current = nullptr;
    }
    void SetCurrentSkin(TSkinData* s) override { current = s; }
    void PostCommand(int command, int delay) override {
        calls.push_back("post " + std::to_string(command) + " " + std::to_string(delay));
    }
    int State() const override { return state; }
    void SetState(int s) override {
        state = s;
        calls.push_back("state " + std::to_string(s));
    }
    void MarkActive() override { calls.push_back("active"); }
    void InstallHook() override { calls.push_back("hook"); }
    void RefreshForms(TSkinData*) override { calls.push_back("refresh forms"); }
    void TrySkinWindow(TComponent*) override { calls.push_back("skin window"); }
};

class WithManager : public ::testing::Test {
protected:
    void SetUp() override {
        FakeManager::calls.clear();
        FakeManager::list.clear();
        FakeManager::current = nullptr;
        SetSkinManagerFactory([] { return std::make_unique<FakeManager>(); });
    }
    void TearDown() override {
        DestroySkinManager();
        SetSkinManagerFactory(nullptr);
    }
    static bool Called(const std::string& what) {
        return std::find(FakeManager::calls.begin(), FakeManager::calls.end(), what) != FakeManager::calls.end();
    }
    static FakeManager* Manager() { return static_cast<FakeManager*>(SkinManager()); }
};

TEST(SkinDataDefaults, PropertiesAfterConstruction) {
    auto platform = std::make_unique<test::FakePlatform>();
    test::FakePlatform* p = platform.get();
    TSkinData sd(nullptr, std::move(platform));
    EXPECT_FALSE(sd.Active());
    EXPECT_EQ(sd.DisableTag, 99);
    EXPECT_EQ(sd.SkinControls, 0x1FFFFBu);
    EXPECT_FALSE(InSet(sd.SkinControls, xcMenuItem));
    EXPECT_FALSE(InSet(sd.SkinControls, xcFastReport));
    EXPECT_TRUE(InSet(sd.SkinControls, xcSystemMenu));
    EXPECT_EQ(sd.Options, 0x448);
    EXPECT_TRUE(InSet(sd.Options, xoPreview));
    EXPECT_TRUE(InSet(sd.Options, xoToolbarBK));
    EXPECT_TRUE(InSet(sd.Options, xoCaptionButtonHint));
    EXPECT_EQ(sd.Skin3rd().Count(), 118);
    EXPECT_EQ(sd.Skin3rd()[0], "TCategoryButtons=scrollbar");
    EXPECT_EQ(sd.Skin3rd()[117], "TOVCDBNUMERICFIELD=Edit");
    EXPECT_EQ(sd.SkinFile(), "");
    EXPECT_EQ(sd.SkinStore(), "(none)");
    EXPECT_EQ(sd.SkinFormtype, sfMainform);
    EXPECT_EQ(sd.Version(), "5.50.10.11");
    EXPECT_TRUE(sd.MenuUpdate);
    EXPECT_FALSE(sd.MenuMerge);
    EXPECT_FALSE(sd.OnFormSkin || sd.OnSkinChanged || sd.OnSkinControl || sd.OnBeforeSkinForm || sd.OnAfterSkinForm);
    EXPECT_TRUE(sd.NoSkin());
    EXPECT_TRUE(sd.FramePainting);
    EXPECT_EQ(sd.HintDelay, 0);
    EXPECT_FALSE(sd.HintShown);
    EXPECT_EQ(sd.MaximizedWidth, 1300);
    EXPECT_EQ(sd.MaximizedHeight, 900);
    EXPECT_EQ(p->menuImageLoads, 1);
    EXPECT_EQ(sd.CaptionFont(), nullptr) << "made when the owner has been read";
    // The objects that always exist, by name; colours at their defaults.
    for (const char* name : {"Title", "Buttons", "Left", "Right", "Top", "Bottom"})
        EXPECT_NE(sd.FindObject(name), nullptr) << name;
    EXPECT_EQ(sd.ObjectCount(), 6);
    EXPECT_EQ(sd.Colour(SkinColour::ButtonFace), static_cast<std::int32_t>(0xFF00000F));
    EXPECT_EQ(sd.Colour(SkinColour::Menubar), static_cast<std::int32_t>(0xFF00000F));
    EXPECT_EQ(sd.Colour(SkinColour::FrameColour), static_cast<std::int32_t>(0xFF00000F));
    EXPECT_EQ(sd.CustomColours[3], 0xFFFFFF);
    EXPECT_EQ(sd.WriteSkinStream(), std::string(4, '\0'));
}

TEST(SkinDataProperties, FixedTextsSkin3rdAndSkinStore) {
    TSkinData sd;
    sd.SetVersion("1.0");
    sd.SetSkinStore("(Good)");
    EXPECT_EQ(sd.Version(), "5.50.10.11");
    ASSERT_TRUE(sd.ReadSkinStream(test::FullSkin()));
    EXPECT_EQ(sd.SkinStore(), "(none)") << "at run time even with a skin held";
    TStringList lines;
    lines.Add("TMyGrid=scrollbar");
    sd.SetSkin3rd(lines);
    lines.Add("changed later");
    ASSERT_EQ(sd.Skin3rd().Count(), 1);
    EXPECT_EQ(sd.Skin3rd()[0], "TMyGrid=scrollbar");
}

TEST(SkinStream, RoundTripAndLengthChecks) {
    TSkinData sd;
    const std::string stream = test::FullSkin();
    ASSERT_TRUE(sd.ReadSkinStream(stream));
    EXPECT_EQ(sd.WriteSkinStream(), stream);
    EXPECT_EQ(sd.Container(), stream.substr(4));

    TSkinData empty;
    EXPECT_FALSE(empty.ReadSkinStream(std::string(4, '\0')));
    EXPECT_FALSE(empty.ReadSkinStream(std::string("\xFF\xFF\xFF\xFF", 4)));
    EXPECT_FALSE(empty.ReadSkinStream("ab"));
    EXPECT_TRUE(empty.NoSkin());
    // A length that promises more than the stream holds is refused, whatever bytes follow.
    std::string truncated = stream.substr(0, stream.size() - 1);
    EXPECT_FALSE(empty.ReadSkinStream(truncated));
    EXPECT_TRUE(empty.NoSkin());
    // Bytes after the stated length are not part of the skin.
    TSkinData longer;
    EXPECT_TRUE(longer.ReadSkinStream(stream + "trailing"));
    EXPECT_EQ(longer.WriteSkinStream(), stream);
}

// The no-skin flag is the only gate: every failed load and every SkinFile naming a missing file set it, and
// only a successful load clears it. The objects of the last good load stay in place meanwhile.
TEST_F(WithManager, NoSkinFlagGatesActiveAfterEveryFailedLoad) {
    auto platform = std::make_unique<test::FakePlatform>();
    test::FakePlatform* p = platform.get();
    TSkinData sd(nullptr, std::move(platform));
    sd.BeginLoading();
    sd.EndLoading();
    struct Case {
        const char* what;
        std::function<bool()> load;  // the load; its answer
        bool loads;                  // a usable skin now
        const char* skinName;        // [TitlebarSkin] SkinName in force afterwards
    };
    const std::string missing = (std::filesystem::temp_directory_path() / "kestrup_no_such_skin.skn").string();
    const Case cases[] = {
        {"unknown format", [&] { return sd.ReadSkinStream(test::Broken("unknownformat")); }, false,
         "Distinct Test Skin"},
        {"failure inside the walk",
         [&] {
             p->throwOnProgramBitmap = true;  // the sparse skin needs the program's grooves
             const bool ok = sd.ReadSkinStream(test::SparseSkin());
             p->throwOnProgramBitmap = false;
             return ok;
         },
         false, "Distinct Test Skin"},
        {"missing skin file",
         [&] {
             sd.SetSkinFile(missing);
             return !sd.NoSkin();
         },
         false, "Distinct Test Skin"},
        {"container without a description: all defaults",
         [&] { return sd.ReadSkinStream(test::Broken("nodescription")); }, true, ""},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(sd.ReadSkinStream(test::FullSkin())) << c.what;
        sd.SetActive(false);
        FakeManager::calls.clear();
        EXPECT_EQ(c.load(), c.loads) << c.what;
        EXPECT_EQ(sd.NoSkin(), !c.loads) << c.what;
        EXPECT_EQ(sd.SkinName, c.skinName) << c.what;
        EXPECT_EQ(sd.Tabs != nullptr, !c.loads) << c.what << ": the last good objects stay, a new skin replaces them";
        sd.SetActive(true);
        EXPECT_EQ(Called("post 1 250"), c.loads) << c.what << ": Active switches the skin on only after a good load";
    }
    EXPECT_EQ(sd.SkinFile(), missing);
    // The held container is what was read last, usable or not.
    EXPECT_EQ(sd.Container(), test::Broken("nodescription").substr(4));
    ASSERT_EQ(p->faceBrushes.size(), 5u) << "the face brush is made once per successful load";
    EXPECT_EQ(p->faceBrushes.back(), static_cast<TColor>(0xFF00000F)) << "the system's button face";
}

TEST(SkinReload, EachLoadReplacesTheObjectsAndTheDerivedOnesLiveOn) {
    TSkinData sd;
    ASSERT_TRUE(sd.ReadSkinStream(test::FullSkin()));
    const TDataSkinButton* buttons = &sd.Buttons;
    const PixelBuffer arrow = sd.ComboxArrow->Image;
    // A skin without a combo button derives no arrow: the last one stays.
    ASSERT_TRUE(sd.ReadSkinStream(test::Broken("uppercasebmp")));
    EXPECT_EQ(&sd.Buttons, buttons);
    EXPECT_EQ(sd.Tabs, nullptr);
    EXPECT_EQ(sd.SkinName, "");
    ASSERT_TRUE(sd.ComboxArrow);
    EXPECT_EQ(sd.ComboxArrow->Image.Width(), arrow.Width());
    EXPECT_EQ(sd.ComboxArrow->Image.GetPixel(8, 8), arrow.GetPixel(8, 8));
    ASSERT_TRUE(sd.Toolbar);
}

TEST(SkinFile, LoadsAnExistingFile) {
    const std::string path = (std::filesystem::temp_directory_path() / "kestrup_skindata_test.skn").string();
    ASSERT_TRUE(WriteFileBytes(path, test::SparseSkin().substr(4)));
    TSkinData sd;
    sd.SetSkinFile(path);
    EXPECT_FALSE(sd.NoSkin());
    EXPECT_TRUE(sd.Headerbar);
    std::remove(path.c_str());
}

TEST_F(WithManager, LoadedRegistersHooksAndSwitchesOnAfterTheDelay) {
    TSkinData sd;
    sd.BeginLoading();
    sd.SetActive(true);  // stored while the owner is read; nothing posted yet
    ASSERT_TRUE(sd.ReadSkinStream(test::FullSkin()));
    EXPECT_TRUE(FakeManager::calls.empty());
    sd.EndLoading();
    ASSERT_NE(Manager(), nullptr);
    EXPECT_EQ(FakeManager::list, std::vector<TSkinData*>{&sd});
    EXPECT_TRUE(Called("hook"));
    EXPECT_TRUE(Called("post 1 250"));
    EXPECT_TRUE(sd.Active());
    ASSERT_NE(sd.CaptionFont(), nullptr);
}

TEST_F(WithManager, LoadedWithoutASkinSwitchesActiveOff) {
    TSkinData sd;
    sd.BeginLoading();
    sd.SetActive(true);
    EXPECT_FALSE(sd.ReadSkinStream(std::string(4, '\0')));
    sd.EndLoading();
    EXPECT_FALSE(sd.Active());
    EXPECT_FALSE(Called("post 1 250"));
}

TEST_F(WithManager, LoadedAdjustsTheSkinnedKinds) {
    auto platform = std::make_unique<test::FakePlatform>();
    platform->scrollBarInfo = false;
    TSkinData sd(nullptr, std::move(platform));
    sd.SkinControls = SetWith(sd.SkinControls, xcMenuItem);
    sd.BeginLoading();
    sd.EndLoading();
    EXPECT_FALSE(InSet(sd.SkinControls, xcMenuItem)) << "with the main menu skinned, items are not";
    EXPECT_TRUE(InSet(sd.SkinControls, xcSystemMenu));
    EXPECT_FALSE(InSet(sd.SkinControls, xcScrollbar)) << "no GetScrollBarInfo, no skinned scroll bars";
    EXPECT_EQ(sd.AppIcon.Width(), 16);
    EXPECT_EQ(sd.AppIcon.GetPixel(0, 0), 0xFF00FF);
    EXPECT_EQ(sd.AppIcon.GetPixel(3, 3), 0x123456);
    EXPECT_EQ(sd.CaptionFont()->Name(), "Caption Sans");

    TSkinData other;
    other.SkinControls = SetWithout(other.SkinControls, xcMainMenu);
    other.BeginLoading();
    other.EndLoading();
    EXPECT_FALSE(InSet(other.SkinControls, xcSystemMenu));
    EXPECT_EQ(FakeManager::list.size(), 2u) << "both register; the manager keeps its first default";
}

TEST_F(WithManager, LoadedForOtherRolesMarksTheManager) {
    TComponent owner;
    TSkinData sd(&owner);
    sd.SkinFormtype = sfOnlyThisForm;
    sd.BeginLoading();
    sd.SetActive(true);
    sd.EndLoading();
    EXPECT_TRUE(Called("active"));
    EXPECT_TRUE(Called("state 1"));
    EXPECT_FALSE(Called("hook"));
    EXPECT_FALSE(Called("skin window")) << "the owner is no form";
}

TEST_F(WithManager, ActivePostsCommandsByRole) {
    TSkinData sd;
    sd.BeginLoading();
    sd.EndLoading();
    FakeManager::calls.clear();
    sd.SetActive(true);  // no skin: stored, nothing posted
    EXPECT_TRUE(sd.Active());
    EXPECT_TRUE(FakeManager::calls.empty());
    sd.SetActive(false);
    EXPECT_TRUE(Called("post 2 250"));
    ASSERT_TRUE(sd.ReadSkinStream(test::FullSkin()));
    FakeManager::calls.clear();
    sd.SetActive(true);
    EXPECT_EQ(FakeManager::calls, (std::vector<std::string>{"post 1 250", "state 1"}));
    EXPECT_EQ(FakeManager::current, &sd);
    FakeManager::calls.clear();
    sd.SetActive(true);
    EXPECT_TRUE(FakeManager::calls.empty()) << "no change, nothing done";

    sd.SkinFormtype = sfDialog;
    sd.SetActive(false);
    EXPECT_TRUE(FakeManager::calls.empty());
    sd.SkinFormtype = sfOnlyThisForm;
    sd.SetActive(true);
    EXPECT_EQ(FakeManager::calls, (std::vector<std::string>{"post 1 250"}));
}

TEST_F(WithManager, RefreshPostsARefreshWhileRunning) {
    TSkinData sd;
    sd.BeginLoading();
    sd.EndLoading();
    FakeManager::calls.clear();
    sd.RefreshSkin();
    EXPECT_TRUE(Called("refresh forms"));
    EXPECT_FALSE(Called("post 3 250"));
    Manager()->state = 1;
    sd.RefreshSkin();
    EXPECT_TRUE(Called("post 3 250"));
}

TEST_F(WithManager, ARemovedComponentLeavesNoPointerInTheManager) {
    auto sd = std::make_unique<TSkinData>();
    sd->BeginLoading();
    sd->EndLoading();
    ASSERT_TRUE(sd->ReadSkinStream(test::FullSkin()));
    sd->SetActive(true);
    ASSERT_EQ(FakeManager::current, sd.get());
    sd.reset();
    EXPECT_TRUE(Called("remove"));
    EXPECT_TRUE(FakeManager::list.empty());
    EXPECT_EQ(FakeManager::current, nullptr);
}

TEST(CaptionButtonHint, ShownOnceUntilHiddenAndOnlyWithTheOption) {
    auto platform = std::make_unique<test::FakePlatform>();
    test::RecordingHint& hint = platform->hint;
    TSkinData sd(nullptr, std::move(platform));
    sd.HideButtonHint();  // nothing shown: nothing to hide
    EXPECT_EQ(hint.hides, 0);
    sd.ShowButtonHint({100, 200, 0, 0}, "Close");
    sd.ShowButtonHint({300, 400, 0, 0}, "Maximize");
    ASSERT_EQ(hint.shown.size(), 1u);
    EXPECT_EQ(hint.shown[0].first, (TRect{100, 200, 150, 220}));
    EXPECT_EQ(hint.shown[0].second, "Close");
    sd.HideButtonHint();
    sd.HideButtonHint();
    EXPECT_EQ(hint.hides, 1);
    sd.Options = SetWithout(sd.Options, xoCaptionButtonHint);
    sd.ShowButtonHint({1, 2, 0, 0}, "Close");
    EXPECT_EQ(hint.shown.size(), 1u);
}

TEST(DoFormSkin, BuiltInRefusalsAndTheHandler) {
    TSkinData sd;
    int window = 0;
    bool doSkin = true;
    sd.DoFormSkin(&window, "SysMonthCal32", doSkin);
    EXPECT_FALSE(doSkin);
    EXPECT_EQ(sd.LastFormWindow, &window);
    doSkin = true;
    sd.DoFormSkin(&window, "TfrPreview", doSkin);
    EXPECT_TRUE(doSkin) << "only with xcFastReport";
    sd.SkinControls = SetWith(sd.SkinControls, xcFastReport);
    sd.DoFormSkin(&window, "TfrPreview", doSkin);
    EXPECT_FALSE(doSkin);
    doSkin = true;
    sd.DoFormSkin(&window, "TFRPreview", doSkin);
    EXPECT_TRUE(doSkin) << "the class-name test is case-sensitive";
    sd.DoFormSkin(&window, "sysmonthcal32", doSkin);
    EXPECT_TRUE(doSkin);
    std::string asked;
    sd.OnFormSkin = [&](TObject*, const std::string& name, bool& skin) {
        asked = name;
        skin = true;
    };
    doSkin = false;
    sd.DoFormSkin(&window, "SysMonthCal32", doSkin);
    EXPECT_TRUE(doSkin) << "the handler's answer stands";
    EXPECT_EQ(asked, "SysMonthCal32");
}

}  // namespace

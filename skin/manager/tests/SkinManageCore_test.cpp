// The skin manager's registered skins and its deferred commands.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "skin/manager/SkinManageCore.h"

using namespace kes;

namespace {

// The manager without windows: records its timer and the commands it runs.
class RecordingManager : public SkinManageCore {
public:
    std::vector<std::string> log;
    std::function<void(int, TSkinData*)> onRun;
    int armedDelay = -1;

    void InstallHook() override {}
    void RefreshForms(TSkinData*) override {}
    void TrySkinWindow(TComponent*) override {}

protected:
    void ArmTimer(int delayMs) override { armedDelay = delayMs; }
    void DisarmTimer() override { armedDelay = -1; }
    void RunCommand(int command, TSkinData* skin) override {
        log.push_back("run " + std::to_string(command) + " " + skin->Name());
        if (onRun) onRun(command, skin);
    }
};

TSkinData* Named(TSkinData& s, const char* name, TSkinFormType type = sfMainform) {
    s.SetName(name);
    s.SkinFormtype = type;
    return &s;
}

TEST(SkinManageCore, TheFirstMainFormSkinIsTheDefaultAndEachSkinIsListedOnce) {
    RecordingManager m;
    TSkinData dialog, first, second;
    m.AddSkinData(Named(dialog, "dialog", sfDialog));
    m.AddSkinData(Named(first, "first"));
    m.AddSkinData(Named(second, "second"));
    m.AddSkinData(&first);
    EXPECT_EQ(m.DefaultSkin(), &first);
    EXPECT_EQ(m.Skins(), (std::vector<TSkinData*>{&dialog, &first, &second}));
}

TEST(SkinManageCore, BeforeAnyWindowWasActivatedCommandsOnlySwitch) {
    RecordingManager m;
    TSkinData s;
    m.SetCurrentSkin(Named(s, "main"));
    m.PostCommand(1, 250);
    EXPECT_TRUE(m.Active());
    m.PostCommand(3, 250);  // a refresh does nothing yet
    EXPECT_TRUE(m.Active());
    m.PostCommand(2, 250);
    EXPECT_FALSE(m.Active());
    EXPECT_EQ(m.armedDelay, -1);
    m.DoCommand();
    EXPECT_EQ(m.log, (std::vector<std::string>{"run 2 main"})) << "the last command runs when the timer fires";
}

TEST(SkinManageCore, ACommandRunsOnceAfterItsDelayThenTellsItsSkin) {
    RecordingManager m;
    TSkinData s;
    int changed = 0;
    s.OnSkinChanged = [&](TObject*) { ++changed; };
    m.SetState(kManagerRunning);
    m.SetCurrentSkin(Named(s, "main"));
    m.PostCommand(3, 250);
    EXPECT_EQ(m.armedDelay, 250);
    m.DoCommand();
    m.DoCommand();
    EXPECT_EQ(m.log, (std::vector<std::string>{"run 3 main"}));
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(m.armedDelay, -1);
    EXPECT_EQ(m.CommandSkin(), nullptr);
}

TEST(SkinManageCore, ACommandPostedWhileOneRunsOrFromOnSkinChangedIsKept) {
    RecordingManager m;
    TSkinData s;
    m.SetState(kManagerRunning);
    Named(s, "main");
    bool again = true;
    s.OnSkinChanged = [&](TObject*) {
        if (!std::exchange(again, false)) return;
        m.SetCurrentSkin(&s);
        m.PostCommand(2, 250);
    };
    m.SetCurrentSkin(&s);
    m.PostCommand(1, 250);
    m.DoCommand();
    EXPECT_EQ(m.CommandSkin(), &s);
    EXPECT_EQ(m.armedDelay, 250);
    m.DoCommand();
    EXPECT_EQ(m.log, (std::vector<std::string>{"run 1 main", "run 2 main"}));
}

TEST(SkinManageCore, ASkinThatGoesAwayLeavesNoPointerAndNoPendingCommand) {
    RecordingManager m;
    m.SetState(kManagerRunning);
    int changed = 0;
    {
        TSkinData s;
        m.AddSkinData(Named(s, "main"));
        m.SetCurrentSkin(&s);
        m.PostCommand(1, 250);
        m.RemoveSkinData(&s);
        EXPECT_EQ(m.armedDelay, -1);
        EXPECT_EQ(m.DefaultSkin(), nullptr);
        EXPECT_TRUE(m.Skins().empty());
    }
    m.DoCommand();
    EXPECT_TRUE(m.log.empty());
    // Removed while its own command runs: no event for a skin that is gone.
    TSkinData t;
    t.OnSkinChanged = [&](TObject*) { ++changed; };
    m.AddSkinData(Named(t, "t"));
    m.onRun = [&](int, TSkinData* s) { m.RemoveSkinData(s); };
    m.SetCurrentSkin(&t);
    m.PostCommand(1, 250);
    m.DoCommand();
    EXPECT_EQ(changed, 0);
}

}  // namespace

namespace {

TEST(SkinManageCore, SkinsThatAreNotTheMainFormsNeverCountUpToShuttingDown) {
    const int states[][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 3}, {4, 4}};
    for (const auto& s : states) EXPECT_EQ(AdvancedManagerState(s[0]), s[1]) << s[0];

    // Six dialog skins start after the main one: the manager goes on running (and purging gone frames).
    SetSkinManagerFactory([] { return std::make_unique<RecordingManager>(); });
    {
        TSkinData main;
        main.BeginLoading();
        main.EndLoading();
        ASSERT_NE(SkinManager(), nullptr);
        SkinManager()->SetState(kManagerRunning);
        std::vector<std::unique_ptr<TSkinData>> dialogs;
        for (int i = 0; i < 6; ++i) {
            dialogs.push_back(std::make_unique<TSkinData>());
            dialogs.back()->SkinFormtype = sfDialog;
            dialogs.back()->BeginLoading();
            dialogs.back()->EndLoading();
            EXPECT_LT(SkinManager()->State(), kManagerShuttingDown) << "after " << i + 1;
            EXPECT_NE(SkinManager()->State(), kManagerIdle);
        }
        DestroySkinManager();
    }
    SetSkinManagerFactory({});
}

}  // namespace

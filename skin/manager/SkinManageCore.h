#pragma once
// The part of the process-wide skin manager that needs no window system: the registered skin data
// components, the default skin, the manager's switches and state, and the deferred skin commands
// (1 skin on, 2 skin off, 3 refresh), which run once after their delay from the manager's timer.
// The Windows manager supplies the timer, the hook and what a command does to the windows.
#include <vector>

#include "skin/manager/SkinManageRules.h"
#include "skin/data/SkinManagerLink.h"

namespace kes {


class SkinManageCore : public SkinManagerLink {
public:
    void AddSkinData(TSkinData* s) override;
    // Forgets s everywhere (list, default skin, the pending command's skin) and cancels its pending command.
    void RemoveSkinData(TSkinData* s) override;
    void SetCurrentSkin(TSkinData* s) override { commandSkin_ = s; }
    // Before the first window was activated no timer runs: command 1 only switches skinning on and 2 off.
    void PostCommand(int command, int delayMs) override;
    int State() const override { return state_; }
    void SetState(int state) override { state_ = state; }
    void MarkActive() override { active_ = true; }

    // The timer's event: runs the pending command once. The command's skin is cleared before the command
    // runs and before its OnSkinChanged fires, so a command posted meanwhile is kept for the next tick.
    void DoCommand();

    bool Active() const { return active_; }
    void SetActive(bool active) { active_ = active; }
    bool SkinAll() const { return skinAll_; }
    void SetSkinAll(bool all) { skinAll_ = all; }
    // Kind of the next popup menu (kPopupMenuKind, kMainMenuKind, kSystemMenuKind).
    int MenuKind = kPopupMenuKind;
    // A menu bar opened the popup that comes next.
    bool MenuBarPopup = false;

    const std::vector<TSkinData*>& Skins() const { return skins_; }
    TSkinData* DefaultSkin() const { return defaultSkin_; }
    TSkinData* CommandSkin() const { return commandSkin_; }
    int Command() const { return command_; }
    bool Listed(const TSkinData* s) const;
    SkinRuleState RuleState() const { return {active_, skinAll_, defaultSkin_, &skins_}; }

protected:
    // Runs DoCommand once after delayMs; a second call restarts the wait.
    virtual void ArmTimer(int delayMs) = 0;
    virtual void DisarmTimer() = 0;
    // What a command does to the windows that use skin.
    virtual void RunCommand(int command, TSkinData* skin) = 0;

private:
    std::vector<TSkinData*> skins_;     // not owned, in the order they were registered
    TSkinData* defaultSkin_ = nullptr;  // decides CanSkin and the MDI options
    TSkinData* commandSkin_ = nullptr;  // the skin of the pending command
    TSkinData* runningSkin_ = nullptr;  // the skin of the command that runs now (cleared when it goes away)
    int command_ = 0;
    int state_ = kManagerIdle;
    bool active_ = false;
    bool skinAll_ = false;
};

}  // namespace kes

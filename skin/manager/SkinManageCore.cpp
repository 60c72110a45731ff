#include "skin/manager/SkinManageCore.h"

#include <algorithm>
#include <utility>

namespace kes {

bool SkinManageCore::Listed(const TSkinData* s) const {
    return std::find(skins_.begin(), skins_.end(), s) != skins_.end();
}

void SkinManageCore::AddSkinData(TSkinData* s) {
    if (!s || Listed(s)) return;
    skins_.push_back(s);
    if (!defaultSkin_ && s->SkinFormtype == sfMainform) defaultSkin_ = s;
}

void SkinManageCore::RemoveSkinData(TSkinData* s) {
    skins_.erase(std::remove(skins_.begin(), skins_.end(), s), skins_.end());
    if (defaultSkin_ == s) defaultSkin_ = nullptr;
    if (runningSkin_ == s) runningSkin_ = nullptr;
    if (commandSkin_ == s) {
        commandSkin_ = nullptr;
        DisarmTimer();
    }
}

void SkinManageCore::PostCommand(int command, int delayMs) {
    command_ = command;
    if (state_ != kManagerIdle) {
        ArmTimer(delayMs);
        return;
    }
    if (command == 1) active_ = true;
    if (command == 2) active_ = false;
}

void SkinManageCore::DoCommand() {
    DisarmTimer();
    runningSkin_ = std::exchange(commandSkin_, nullptr);
    if (!runningSkin_) return;
    RunCommand(command_, runningSkin_);
    if (TSkinData* done = std::exchange(runningSkin_, nullptr)) done->DoSkinChanged();
}

}  // namespace kes

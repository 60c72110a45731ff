#pragma once
// The seam between the skin data components and the process-wide skin manager. The manager (with its
// window-creation hook and deferred commands) implements this interface and installs a factory; until it
// does, the components work without one: they load and hold skins, and nothing is hooked.
#include <functional>
#include <memory>

namespace kes {

class TComponent;
class TSkinData;

// Manager states: idle until the first window was activated, then running; shutting down at the end.
enum : int { kManagerIdle = 0, kManagerRunning = 1, kManagerShuttingDown = 4 };
// The state after one more skin data component that is not the main form's one started: one more, yet never the
// value that means shutting down (the manager would stop dropping the frames of windows that went).
constexpr int AdvancedManagerState(int state) {
    return state + 1 < kManagerShuttingDown ? state + 1 : state;
}

class SkinManagerLink {
public:
    virtual ~SkinManagerLink() = default;
    // Appends s to the manager's list; the first main-form skin registered becomes the default skin.
    virtual void AddSkinData(TSkinData* s) = 0;
    // Forgets s everywhere: the list, the default skin, the current skin. Called by the destructor of s.
    virtual void RemoveSkinData(TSkinData* s) = 0;
    virtual void SetCurrentSkin(TSkinData* s) = 0;
    // Runs command (1 skin on, 2 skin off, 3 refresh) after delayMs milliseconds.
    virtual void PostCommand(int command, int delayMs) = 0;
    virtual int State() const = 0;
    virtual void SetState(int state) = 0;
    virtual void MarkActive() = 0;
    virtual void InstallHook() = 0;
    // Clears the caption buttons of every skinned window that uses s.
    virtual void RefreshForms(TSkinData* s) = 0;
    // Skins the window of form at once.
    virtual void TrySkinWindow(TComponent* form) = 0;
};

using SkinManagerFactory = std::function<std::unique_ptr<SkinManagerLink>()>;

// The manager module installs its factory here (an empty one removes it).
void SetSkinManagerFactory(SkinManagerFactory factory);
// The manager of the process, or nullptr while none has been made.
SkinManagerLink* SkinManager();
// Makes the manager through the factory when there is none yet; nullptr without a factory.
SkinManagerLink* EnsureSkinManager();
// Frees the manager (at program end, and between tests).
void DestroySkinManager();

}  // namespace kes

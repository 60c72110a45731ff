#pragma once
// TSkinManage: the process-wide skin manager of the Windows program. The first skin data component that
// finishes loading makes it; the main-form skin installs its window-creation hook (WH_CBT, GUI thread only).
// From then on every top-level window, dialog box and message box gets a skinned frame (TWinSkinForm) when
// it is first activated, MDI children when they are made, and popup menus a TWinSkinPopMenu when they are
// made. Skin commands (on, off, refresh) run 250 ms after they were posted, from the manager's timer.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/win/Win.h"
#include "skin/manager/SkinManageCore.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

class TBitmap;
class TCustomForm;
class TTimer;
class TWinSkinPopMenu;

class TSkinManage : public SkinManageCore, public SkinFormHost {
public:
    TSkinManage();
    ~TSkinManage() override;

    // Installs the hook for the GUI thread, once per process.
    void InstallHook() override;
    // Forgets s, and takes the skin off every window and popup menu that uses it.
    void RemoveSkinData(TSkinData* s) override;
    // Clears the caption buttons of every skinned window that uses s.
    void RefreshForms(TSkinData* s) override;
    void TrySkinWindow(TComponent* form) override;

    // Attaches a skinned frame to window when the rules allow; true when attached.
    bool TrySkinWindow(HWND window);
    // A visible top-level form is tried; an invisible or child form counts as done (true).
    bool TrySkinForm(TCustomForm* form);
    bool CanSkin(HWND window, const std::string& className);
    TSkinData* FindSkinData(HWND window);
    // The first listed frame of window, or nullptr.
    TWinSkinForm* FindForm(HWND window) const;
    // The program's form (or control) whose window this is, or nullptr.
    TWinControl* FindFormOfWindow(HWND window) const;
    // A frame that goes away drops itself from the list (not while the manager shuts down).
    void RemoveForm(TWinSkinForm* form) override;
    // Frees the frames whose windows were destroyed.
    void Purge();

    // Subclasses a new popup-menu window when the skin wants it; true when done.
    bool SkinPopupMenu(HWND window);
    // Takes the skin off a popup-menu window that goes away; true when it had one.
    bool UnskinPopupMenu(HWND window);
    bool HasPopup(HWND window) const;
    void SetMenusFlag() override;
    // Gives the newest popup without a menu the menu `ownerKey`.
    void AttachMenuOwner(std::uintptr_t ownerKey) override;
    // The composed background of the popup that shows the menu `ownerKey`, or nullptr.
    TBitmap* FindMenuBitmap(std::uintptr_t ownerKey) const override;

    // What the frames tell the manager.
    void SetRunning() override { SetState(kManagerRunning); }
    void SetMenuKind(int kind) override { MenuKind = kind; }
    void SetMenuBarPopup(bool on) override { MenuBarPopup = on; }
    void SetMDIMaximized(bool maximized) override;
    bool MDIMaximized() const override { return mdiMaximized_; }
    void SetMDIClient(HWND client, TControl* frameForm) override {
        MDIClient = client;
        MDIFrameForm = frameForm;
    }
    HWND MDIClient = nullptr;
    TControl* MDIFrameForm = nullptr;
    // Copied into every frame this manager makes (always empty in this program).
    void* ModuleKey = nullptr;

    const std::vector<TWinSkinForm*>& Forms() const { return forms_; }
    std::size_t PopupCount() const { return popups_.size(); }
    const TWinSkinPopMenu* Popup(std::size_t index) const { return popups_.at(index).get(); }

protected:
    void ArmTimer(int delayMs) override;
    void DisarmTimer() override;
    void RunCommand(int command, TSkinData* skin) override;

private:
    static LRESULT CALLBACK SkinHookProc(int code, WPARAM wp, LPARAM lp);
    void OnCreate(HWND window, const CBT_CREATEWNDA& create);
    // Takes the frame off its window and frees it.
    void Unskin(TWinSkinForm* form);
    void RunCommandOnOwnerForm(int command, TSkinData* skin);
    void RunCommandOnAll(int command, TSkinData* skin);

    std::unique_ptr<TTimer> timer_;
    std::vector<TWinSkinForm*> forms_;  // frames of forms are owned by their forms, the others by the manager
    std::vector<std::unique_ptr<TWinSkinPopMenu>> popups_;
    bool mdiMaximized_ = false;
};

// The manager of the process, or nullptr while there is none.
TSkinManage* SkinManage();
// The system version (GetVersion) stored when the hook was installed.
DWORD SkinOSVersion();

}  // namespace kes

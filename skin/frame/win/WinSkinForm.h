#pragma once
// TWinSkinForm: the skin of one top-level window (a form of the class library, a dialog box, a message box or
// any other window of the program). It subclasses the window, takes over the non-client area (borders,
// caption, caption buttons, window region), answers the engine's private messages and keeps the list of the
// controllers of the window's children. The skin manager makes one per window and drives it; the window
// answers SKM_ISSKINNED with 1 from the moment it is hooked.
//
// Life cycle (Stage()): 0 hooked, SKM_START not yet handled (the frame is not painted); 1 skinned;
// 3 re-skinning; 4 WM_NCDESTROY under way; 5 first resize under way; 6 unhooked after WM_NCDESTROY (the
// manager frees such forms when it purges). GUI thread only.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Component.h"
#include "gui/win/Win.h"

namespace kes {

class SkinControlList;
class SkinMenuItems;
class TBitmap;
class TControl;
class TSkinData;
class TWinSkinForm;
class TWinSkinMenu;

// The controllers of one skinned window's children as the frame drives them. The controls library makes them
// (RegisterSkinChildControllers, at its start); a program without it leaves every child its own look.
class SkinChildControllers {
public:
    virtual ~SkinChildControllers() = default;
    // At SKM_START: the window's children get their controllers.
    virtual void SkinChildren() = 0;
    // A raw child window gets its controller.
    virtual void SkinChildWindow(HWND child) = 0;
    // A control made its window anew (wParam of SKM_RECREATED the old window).
    virtual void RewrapControl(HWND oldWindow) = 0;
    // Every controller repaints from the window's new skin.
    virtual void SkinChanged() = 0;
    // Unskins and frees every controller.
    virtual void FreeAll() = 0;
};
using SkinChildControllersMaker = std::unique_ptr<SkinChildControllers> (*)(TWinSkinForm& form);
void RegisterSkinChildControllers(SkinChildControllersMaker make);

// The private window messages of the skin engine.
enum : UINT {
    SKM_RESKIN = 0x3401,
    SKM_NCREPAINT = 0x3502,
    SKM_START = 0x3503,
    SKM_SETACTIVE = 0x3506,
    SKM_BUTTONCLICK = 0x3514,
    SKM_BUTTONVISIBLE = 0x3515,
    SKM_MDIREDRAW = 0x3516,
    SKM_RECREATED = 0x3517,
    SKM_OPENMENUBUTTON = 0x3518,
    SKM_ISSKINNED = 0x3523,
    SKM_PAINTCLIENT = 0xBC4A,
    SKM_PAINTNC = 0xBC4B,
    SKM_QUERYSKIN = 0xBC4D,
    SKM_SKINAPPLIED = 0xBC4E,
};
constexpr LPARAM SKIN_MAGIC = 0x41A2;

// What a skinned window needs of the skin manager. The manager installs itself with SetSkinFormHost; without
// one (a window skinned on its own) the frame keeps these states to itself.
class SkinFormHost {
public:
    virtual ~SkinFormHost() = default;
    // A window was hooked: the manager's state becomes 1 (running).
    virtual void SetRunning() = 0;
    // Kind of the next popup menu: 0 popup menu, 1 menu of a menu bar, 2 system menu.
    virtual void SetMenuKind(int kind) = 0;
    // A menu bar opens the popup that comes next: its popup menus show the skin's menu items.
    virtual void SetMenuBarPopup(bool) {}
    // The skinned MDI children are maximized.
    virtual bool MDIMaximized() const = 0;
    virtual void SetMDIMaximized(bool maximized) = 0;
    // An MDI frame was hooked: its MDIClient child and its form.
    virtual void SetMDIClient(HWND client, TControl* frameForm) = 0;
    // form is being destroyed: drop it from the form list (not freed).
    virtual void RemoveForm(TWinSkinForm* form) = 0;
    // The popup menus open now show owner-drawn items of the skin.
    virtual void SetMenusFlag() {}
    // The newest popup-menu window without a menu shows the menu ownerKey (an HMENU).
    virtual void AttachMenuOwner(std::uintptr_t) {}
    // The background composed for the popup that shows the menu ownerKey, or nullptr.
    virtual TBitmap* FindMenuBitmap(std::uintptr_t) const { return nullptr; }
};
void SetSkinFormHost(SkinFormHost* host);
SkinFormHost* GetSkinFormHost();

class TWinSkinForm : public TComponent {
    KES_CLASS(TWinSkinForm, TComponent)
public:
    // owner: the form of the window, or nullptr for a window without a form (freed by the manager then).
    explicit TWinSkinForm(TComponent* owner);
    ~TWinSkinForm() override;

    // Set by the manager before SkinForm / SkinWindow.
    void SetWindow(HWND window, void* moduleKey, const std::string& className);
    // Skins the window of a form (form may be nullptr: then as SkinWindow).
    void SkinForm(TSkinData* skin, TControl* form);
    // Skins a window without a form.
    void SkinWindow(TSkinData* skin);
    // Re-applies a changed skin (stage 1 -> 3 -> 1).
    void UpdateSkin();
    // Gives the window back its own frame (skin off); the object stays attached to nothing afterwards.
    void UnskinWindow();
    // Takes the skin off a window that is going (WM_NCDESTROY) or at the manager's end.
    void UnhookWindow();
    // Resizes the window so that its client area keeps its size inside the skin's borders.
    void ResizeToSkin(bool keepClient);
    // The caption buttons of the skin: dropped / built with the frame metrics.
    void ClearSysButtons();
    void CreateSysButtons();
    // The window region cut from the skin's borders; ClearRegion drops it.
    void UpdateRegion();
    void ClearRegion();
    // Has the system recompute and repaint the frame (SWP_FRAMECHANGED).
    void FrameChanged();
    // Repaints a window with its frame and children.
    static void RepaintWindow(HWND window);
    // A raw child window gets its controller (the skin manager's size grips).
    void SkinChildWindow(HWND child);
    // The controllers of the window's children (defined by the controls library, which makes them).
    SkinControlList& Controllers();

    HWND Window() const { return window_; }
    TControl* Form() const { return form_; }
    TSkinData* Skin() const { return skin_; }
    void* ModuleKey() const { return moduleKey_; }
    const std::string& ClassNameGiven() const { return classNameGiven_; }
    int Stage() const { return stage_; }
    // 0 plain, 1 MDI frame, 2 MDI child.
    int MDIKind() const { return mdiKind_; }
    // 0 normal, 1 maximized, 2 minimized.
    int WindowState() const { return windowState_; }
    void SetWindowState(int state) { windowState_ = state; }
    bool OwnsRegion() const { return regionOwned_; }
    bool FrameSkinned() const { return frameSkinned_; }
    bool Hooked() const;
    // The menu bar the skin draws (a window with a menu whose frame is skinned), or nullptr.
    TWinSkinMenu* MenuBar() const;
    // The skin's drawing of the window's menu items (nullptr before the window is skinned).
    SkinMenuItems* MenuItems() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    friend struct Impl;
    friend struct MdiClientSubclass;
    std::unique_ptr<SkinChildControllers> controls_;

    HWND window_ = nullptr;
    TControl* form_ = nullptr;
    TSkinData* skin_ = nullptr;
    void* moduleKey_ = nullptr;
    std::string classNameGiven_;
    int stage_ = 0;
    int mdiKind_ = 0;
    int windowState_ = 0;
    bool regionOwned_ = false;
    bool frameSkinned_ = false;
};

}  // namespace kes

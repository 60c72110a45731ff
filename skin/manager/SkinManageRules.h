#pragma once
// The rules of the skin manager that need no window system: which windows get a skinned frame and with
// which skin, what the window-creation hook does with a new window, and which popup menus are skinned.
// The Windows manager gathers the facts about a window and asks these.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "skin/data/SkinData.h"

namespace kes {

// Window style bits the rules look at (the values of the window system).
constexpr std::uint32_t kWsChild = 0x40000000;
constexpr std::uint32_t kWsExMdiChild = 0x40;
constexpr std::uint32_t kDsSetForeground = 0x200;
constexpr std::uint32_t kSbsSizeGrip = 0x10;

// What the manager knows about a window it is asked to skin.
struct SkinWindowFacts {
    void* window = nullptr;
    bool answersSkinned = false;  // answered SKM_ISSKINNED with 1
    bool listed = false;          // a listed frame already has this window
    bool hasForm = false;         // the window belongs to a form of the program
    std::intptr_t formTag = 0;
    std::uint32_t style = 0, exStyle = 0;
    std::string className;
    std::string parentClassName;  // the parent window's class, empty without a parent
    bool ownModule = false;       // made by the program's own module
    int width = 0, height = 0;
};

// Why a window is left alone (None: it gets a frame).
enum class SkinRefusal {
    None,
    Inactive,        // skinning is switched off
    AlreadySkinned,  // it answers SKM_ISSKINNED, or a frame is listed for it
    PlainChild,      // a child window that is no MDI child (unless every form is being skinned)
    Foreign,         // no form, another module's window and no dialog box
    EmptyRect,       // no area yet, and no MDI child
    DisabledTag,     // its form's Tag is 99
    ExcludedClass,   // a class the engine never skins
    Refused,         // the class rules or the default skin's DoFormSkin said no
    NoSkin,          // no skin data, or none with a loaded skin
};

struct SkinChoice {
    SkinRefusal refusal = SkinRefusal::None;
    TSkinData* skin = nullptr;  // the skin to use when refusal is None
};

struct SkinRuleState {
    bool active = false;
    bool skinAll = false;                            // a skin-on command is walking the forms
    TSkinData* defaultSkin = nullptr;                // the first main-form skin registered
    const std::vector<TSkinData*>* skins = nullptr;  // every registered skin, in order
};

// The rules in their order; the first that fails gives the refusal. The default skin's DoFormSkin is asked
// only when every rule before it passed.
SkinChoice ChooseWindowSkin(const SkinWindowFacts& w, const SkinRuleState& state);

// The class rules, then the default skin's DoFormSkin (true at once without a default skin).
bool CanSkin(TSkinData* defaultSkin, void* window, std::uint32_t style, const std::string& className);

// The window of a skin's owner form (nullptr when it has none).
using SkinOwnerWindowFn = std::function<void*(const TSkinData*)>;
void* SkinOwnerWindow(const TSkinData* skin);

// The skin for a window: the last only-this-form skin whose owner is the window; for dialog boxes the last
// dialog skin; else the last main-form skin; else the first one; nullptr without skins.
TSkinData* FindSkinData(const std::vector<TSkinData*>& skins, void* window, const std::string& className,
                        const SkinOwnerWindowFn& ownerWindow = SkinOwnerWindow);

// Menu kinds of the next popup menu.
enum : int { kPopupMenuKind = 0, kMainMenuKind = 1, kSystemMenuKind = 2 };
// Whether a popup menu of this kind is skinned with these control kinds.
bool PopupMenuWanted(TSkinControlTypes controls, int menuKind);

// Whether a window that goes resets the menu kind and the menu-bar flag of the next popup: only a popup-menu
// window (one that had its subclasser, or any window of the popup-menu class) once no popup is listed any more.
bool ResetsMenuKind(bool listedPopup, const std::string& className, bool popupListEmpty);

// What the window-creation hook does with a new window (all that apply, in this order).
struct CreationActions {
    bool sizeGrip = false;   // a size grip: its top-level frame gives it a controller
    bool popupMenu = false;  // a popup menu window: subclass it
    bool mdiChild = false;   // an MDI child: try to skin it now
};
CreationActions ActionsOnCreate(const std::string& className, std::uint32_t style, std::uint32_t exStyle);

}  // namespace kes

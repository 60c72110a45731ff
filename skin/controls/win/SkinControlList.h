#pragma once
// The controllers of one skinned window's children: the list, the walks that give each child control (or raw
// child window) its controller when the window is skinned, and the registry of controller kinds. A kind is
// made by the constructor registered for it, so each family of controllers registers itself
// (RegisterSkinController) and the walks need not know them. GUI thread only.
#include <vector>

#include "gui/win/Win.h"
#include "skin/controls/SkinControlRules.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

class TComponent;
class TControl;
class TSkinControl;
class TWinSkinForm;

// Makes a controller of a kind with its owner; the decision carries the kind's switches (background mode,
// image property, extended combo).
using SkinControllerMaker = TSkinControl* (*)(TComponent* owner, const ControlDecision& decision);
void RegisterSkinController(SkinKind kind, SkinControllerMaker make);
// The registered maker; null when none is (the control keeps the system's look).
SkinControllerMaker FindSkinController(SkinKind kind);

class SkinControlList : public SkinChildControllers {
public:
    explicit SkinControlList(TWinSkinForm& form) : form_(form) {}
    ~SkinControlList() override;
    SkinControlList(const SkinControlList&) = delete;
    SkinControlList& operator=(const SkinControlList&) = delete;

    // True when the controller is listed already; appends it otherwise.
    bool Add(TSkinControl* controller);
    // Drops the last occurrence.
    void Remove(TSkinControl* controller);
    // Frees the controllers whose window is gone.
    void FreeDead();
    // Unskins (unless the window or the control's window is going) and frees every controller.
    void FreeAll() override;
    TSkinControl* FindByWindow(HWND window) const;
    bool Contains(const TSkinControl* controller) const;
    bool IsSkinnedControl(TControl* control) const;
    int Count() const { return static_cast<int>(list_.size()); }
    TSkinControl* At(int index) const { return list_.at(static_cast<size_t>(index)); }

    // At SKM_START: the children of the window's form, or the raw child windows of a window without one.
    void SkinChildren() override;
    void SkinChildControls(TControl* form);
    void SkinComponents(TComponent* container);
    void SkinControlChildren(TControl* parent);
    void SkinChildControl(TControl* control, TControl* container);
    void SkinChildWindows(HWND window);
    void SkinChildWindow(HWND window) override;
    // A control made its window anew (SKM_RECREATED, wParam the old window): its controller is made again, of
    // the kind it had.
    void RewrapControl(HWND oldWindow) override;
    // Every controller repaints from the new skin (a copy of the list: a controller may make or drop others as it
    // does).
    void SkinChanged() override;

private:
    bool NeedsNoController(TWinControl* control) const;
    void Apply(const ControlDecision& d, TControl* control);
    TSkinControl* Make(const ControlDecision& d, TComponent* owner);
    void Attach(TSkinControl* c, const ControlDecision& d, TControl* control);
    SkinGates Gates() const;

    TWinSkinForm& form_;
    std::vector<TSkinControl*> list_;
};

}  // namespace kes

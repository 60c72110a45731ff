// The controller list of a skinned window and the walks that fill it.
#include "skin/controls/win/SkinControlList.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "gui/Forms.h"
#include "base/StringList.h"
#include "gui/TypInfo.h"
#include "skin/controls/win/SkinControl.h"
#include "skin/frame/win/SkinMenuItems.h"
#include "skin/draw/win/SkinText.h"
#include "skin/frame/win/WinSkinForm.h"

namespace kes {

static std::array<SkinControllerMaker, kSkinKinds>& Makers() {
    static std::array<SkinControllerMaker, kSkinKinds> makers{};
    return makers;
}

void RegisterSkinController(SkinKind kind, SkinControllerMaker make) { Makers()[static_cast<size_t>(kind)] = make; }

SkinControllerMaker FindSkinController(SkinKind kind) { return Makers()[static_cast<size_t>(kind)]; }

// The frame makes its list through the maker registered here, when this library is in the program.
[[maybe_unused]] static const bool kRegistered = [] {
    RegisterSkinChildControllers([](TWinSkinForm& form) -> std::unique_ptr<SkinChildControllers> {
        return std::make_unique<SkinControlList>(form);
    });
    return true;
}();

SkinControlList& TWinSkinForm::Controllers() { return static_cast<SkinControlList&>(*controls_); }

SkinControlList::~SkinControlList() { FreeAll(); }

void SkinControlList::SkinChanged() {
    const std::vector<TSkinControl*> controllers = list_;
    for (TSkinControl* c : controllers)
        if (Contains(c)) c->SkinChanged();
}

bool SkinControlList::Add(TSkinControl* c) {
    if (std::find(list_.begin(), list_.end(), c) != list_.end()) return true;
    list_.push_back(c);
    return false;
}

void SkinControlList::Remove(TSkinControl* c) {
    const auto it = std::find(list_.rbegin(), list_.rend(), c);
    if (it != list_.rend()) list_.erase(std::next(it).base());
}

void SkinControlList::FreeDead() {
    for (size_t i = list_.size(); i-- > 0;)
        if (list_[i]->State() == kControlWindowGone) {
            TSkinControl* c = list_[i];
            list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(i));
            c->FormGone();
            delete c;
        }
}

void SkinControlList::FreeAll() {
    while (!list_.empty()) {
        TSkinControl* c = list_.front();
        if (form_.Stage() != 4 && c->State() != kControlWindowGone) c->Unskin();
        // Unskinning may free controllers of its own (a combo box's list bars): c is taken out by itself.
        Remove(c);
        c->FormGone();
        delete c;
    }
}

bool SkinControlList::Contains(const TSkinControl* controller) const {
    return std::find(list_.begin(), list_.end(), controller) != list_.end();
}

TSkinControl* SkinControlList::FindByWindow(HWND window) const {
    for (TSkinControl* c : list_)
        if (c->Window() == window) return c;
    return nullptr;
}

bool SkinControlList::IsSkinnedControl(TControl* control) const {
    if (!control) return false;
    if (auto* w = dynamic_cast<TWinControl*>(control); w && w->HandleAllocated() && w->Perform(SKM_ISSKINNED) == 1)
        return true;
    return std::any_of(list_.begin(), list_.end(), [&](TSkinControl* c) { return c->Control() == control; });
}

bool SkinControlList::NeedsNoController(TWinControl* c) const {
    if (!c->HandleAllocated() || c->Tag == form_.Skin()->DisableTag) return true;
    return c->Perform(SKM_ISSKINNED) == 1 || FindByWindow(static_cast<HWND>(c->WindowHandle()));
}

SkinGates SkinControlList::Gates() const {
    SkinGates g;
    g.Controls = form_.Skin()->SkinControls;
    g.TabsImage = form_.Skin()->Tabs && form_.Skin()->Tabs->HasImage();
    return g;
}

void SkinControlList::SkinChildren() {
    if (!form_.Skin() || form_.Skin()->NoSkin()) return;
    if (form_.Form())
        SkinChildControls(form_.Form());
    else
        SkinChildWindows(form_.Window());
}

void SkinControlList::SkinChildControls(TControl* form) {
    FreeDead();
    SkinComponents(form);
    auto* w = dynamic_cast<TWinControl*>(form);
    if (!w) return;
    std::vector<TWinControl*> order;
    w->GetTabOrderList(order);
    for (TWinControl* c : order)
        if (!NeedsNoController(c)) SkinChildControl(c, form);
}

void SkinControlList::SkinComponents(TComponent* container) {
    auto* parent = dynamic_cast<TControl*>(container);
    // A controller made on the way joins the owned list; walk a copy.
    std::vector<TComponent*> owned;
    for (int i = 0; i < container->ComponentCount(); ++i) owned.push_back(container->Components(i));
    for (TComponent* c : owned)
        if (auto* control = dynamic_cast<TControl*>(c)) SkinChildControl(control, parent);
    if (SkinMenuItems* items = form_.MenuItems(); items && InSet(form_.Skin()->SkinControls, xcPopupMenu))
        items->OwnerDrawPopupMenus(container, true);
}

void SkinControlList::SkinControlChildren(TControl* parent) {
    auto* w = dynamic_cast<TWinControl*>(parent);
    if (!w) return;
    for (int i = 0; i < w->ControlCount(); ++i) SkinChildControl(w->Controls(i), parent);
}

static ControlFacts FactsOf(TControl* control) {
    ControlFacts f;
    f.ClassName = control->ClassName();
    f.InheritsFrom = [control](const std::string& name) { return control->InheritsFrom(name.c_str()); };
    f.IntProp = [control](const std::string& name) { return GetIntPropByName(control, name); };
    f.EnumProp = [control](const std::string& name) { return GetEnumPropByName(control, name); };
    auto* w = dynamic_cast<TWinControl*>(control);
    f.Windowed = w != nullptr;
    if (w && w->HandleAllocated()) {
        const HWND h = static_cast<HWND>(w->WindowHandle());
        f.Style = static_cast<unsigned>(GetWindowLongPtrA(h, GWL_STYLE));
        RECT wr, cr;
        GetWindowRect(h, &wr);
        GetClientRect(h, &cr);
        f.HasBorder = (wr.right - wr.left) != cr.right || (wr.bottom - wr.top) != cr.bottom;
    }
    return f;
}

void SkinControlList::SkinChildControl(TControl* control, TControl* container) {
    TSkinData& skin = *form_.Skin();
    if (control->Tag == skin.DisableTag) {
        if (auto* w = dynamic_cast<TWinControl*>(control); w && PassesDisableTagOn(control->ClassName()))
            for (int i = 0; i < w->ControlCount(); ++i) w->Controls(i)->Tag = skin.DisableTag;
        return;
    }
    if (!control->Parent() || IsSkinnedControl(control)) return;
    if (auto* w = dynamic_cast<TWinControl*>(control); w && !w->HandleAllocated()) {
        try {
            w->HandleNeeded();
        } catch (...) {
            return;
        }
        if (!w->HandleAllocated()) return;
    }
    if (skin.OnSkinControl) {
        TComponent* made = nullptr;
        skin.OnSkinControl(&form_, &skin, container, control, UpperAZ(control->ClassName()), made);
        if (made) {
            if (auto* c = dynamic_cast<TSkinControl*>(made); c && !Add(c)) {
                c->AttachControl(&form_, &skin, c->Recolour());
                if (control->InheritsFrom("TCustomPanel")) SkinControlChildren(control);
            }
            return;
        }
    }
    const ControlFacts facts = FactsOf(control);
    std::string value;
    if (FindSkin3rd(skin.Skin3rd(), facts.ClassName, value)) {
        Apply(DecideBySkin3rd(value, facts, Gates()), control);
        return;
    }
    if (ExcludedClass(facts.ClassName)) return;
    Apply(DecideByRules(facts, Gates()), control);
}

TSkinControl* SkinControlList::Make(const ControlDecision& d, TComponent* owner) {
    const SkinControllerMaker make = FindSkinController(d.Kind);
    if (!make) return nullptr;
    TSkinControl* c = make(owner, d);
    if (c) c->SetKind(d.Kind);
    return c;
}

void SkinControlList::Attach(TSkinControl* c, const ControlDecision& d, TControl* control) {
    TSkinData* skin = form_.Skin();
    switch (d.Attach) {
    case SkinAttach::Control: c->AttachControl(&form_, skin, d.Recolour); break;
    case SkinAttach::Scroll: c->AttachScrollControl(dynamic_cast<TWinControl*>(control), skin, &form_); break;
    case SkinAttach::Windowless: c->AttachGraphicControl(&form_, skin); break;
    case SkinAttach::Window:
        if (auto* w = dynamic_cast<TWinControl*>(control)) c->AttachWindow(static_cast<HWND>(w->Handle()), skin, &form_);
        break;
    }
}

void SkinControlList::Apply(const ControlDecision& d, TControl* control) {
    if (d.ChildrenBefore) SkinControlChildren(control);
    auto* w = dynamic_cast<TWinControl*>(control);
    if (w && (d.Group != GroupChildren::None || d.EmbedScrollbars)) {
        for (int i = 0; i < w->ControlCount(); ++i) {
            TControl* child = w->Controls(i);
            // A child skinned or listed already keeps the one controller it has.
            if (IsSkinnedControl(child)) continue;
            ControlDecision cd;
            if (d.Group != GroupChildren::None)
                cd = DecideGroupChild(d.Group, child->ClassName());
            else if (NeedsScrollbar(FactsOf(child)))
                cd.Kind = SkinKind::Scrollbar, cd.Attach = SkinAttach::Scroll;
            if (TSkinControl* c = Make(cd, child)) Attach(c, cd, child);
        }
    }
    if (d.Kind != SkinKind::None) {
        if (d.SetTransparent) SetPropByName(control, "Transparent", "True");
        // A raw-window attach of a control's window is owned by the skinned window, as raw windows are.
        TComponent* owner = d.Attach == SkinAttach::Window ? static_cast<TComponent*>(&form_) : control;
        if (TSkinControl* c = Make(d, owner)) Attach(c, d, control);
    }
    if (d.ChildrenAfter) SkinControlChildren(control);
    if (d.ComponentsAfter) SkinComponents(control);
}

void SkinControlList::SkinChildWindows(HWND window) {
    for (HWND c = GetTopWindow(window); c; c = GetWindow(c, GW_HWNDNEXT))
        if (GetWindowLongPtrA(c, GWL_STYLE) & WS_CHILD) SkinChildWindow(c);
}

void SkinControlList::SkinChildWindow(HWND window) {
    if (!window || FindByWindow(window) || !form_.Skin()) return;
    char name[101] = {};
    GetClassNameA(window, name, 100);
    const std::string cls = LowerAZ(name);
    const auto style = static_cast<uint32_t>(GetWindowLongPtrA(window, GWL_STYLE));
    const RawWindowDecision d = DecideRawWindow(cls, style, Gates());
    if (d.ChildWindowsFirst) SkinChildWindows(window);
    if (d.RecolourControl)
        if (TWinControl* c = FindControlByHandle(window)) c->SetColor(form_.Skin()->Colour(SkinColour::ButtonFace));
    if (d.Kind == SkinKind::None) return;
    const HWND target = d.FirstChild ? GetTopWindow(window) : window;
    if (!target) return;
    ControlDecision cd;
    cd.Kind = d.Kind;
    cd.Attach = SkinAttach::Window;
    if (TSkinControl* c = Make(cd, &form_)) c->AttachWindow(target, form_.Skin(), &form_);
}

void SkinControlList::RewrapControl(HWND oldWindow) {
    if (!oldWindow) return;
    for (size_t i = list_.size(); i-- > 0;) {
        TSkinControl* old = list_[i];
        // By the time the posted word comes the controller has followed its control to the new window.
        if (old->Window() != oldWindow && old->FormerWindow() != oldWindow) continue;
        auto* control = dynamic_cast<TWinControl*>(old->Control());
        const SkinKind kind = old->Kind();
        list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(i));
        // What the old controller changed (the control's colours, its frame) goes back before the new one starts.
        if (control && !control->Destroying() && old->State() != kControlWindowGone) old->Unskin();
        old->FormGone();
        delete old;
        if (!control) return;
        ControlDecision d;
        d.Kind = kind;
        d.Attach = SkinAttach::Scroll;
        if (TSkinControl* c = Make(d, control)) Attach(c, d, control);
        return;
    }
}

}  // namespace kes

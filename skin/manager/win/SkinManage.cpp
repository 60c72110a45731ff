#include "skin/manager/win/SkinManage.h"

#include <algorithm>
#include <exception>

#include "base/win/Timer.h"
#include "gui/Forms.h"
#include "skin/draw/win/SkinText.h"
#include "skin/manager/win/WinSkinPopMenu.h"

namespace kes {

namespace {

// One hook per process, on the GUI thread; the hook procedure only passes calls on once it is disabled.
HHOOK g_hook = nullptr;
bool g_hookDisabled = false;
DWORD g_osVersion = 0;

std::string ClassNameOf(HWND window) {
    char name[256] = {};
    return GetClassNameA(window, name, sizeof name) > 0 ? std::string(name) : std::string();
}

TSkinManage* g_manage = nullptr;

}  // namespace

TSkinManage* SkinManage() { return g_manage; }
DWORD SkinOSVersion() { return g_osVersion; }

// ---- life cycle ------------------------------------------------------------------------------------------------

TSkinManage::TSkinManage() : timer_(std::make_unique<TTimer>()) {
    timer_->SetEnabled(false);
    timer_->SetInterval(100);
    timer_->OnTimer = [this](TObject*) { DoCommand(); };
    g_hookDisabled = false;
    g_manage = this;
    SetSkinFormHost(this);
}

TSkinManage::~TSkinManage() {
    SetState(kManagerShuttingDown);
    SetActive(false);
    timer_.reset();
    // Frames of other modules stay; ours come off their windows.
    for (auto i = forms_.size(); i-- > 0;) {
        TWinSkinForm* form = forms_[i];
        if (form->ModuleKey() != ModuleKey) continue;
        forms_.erase(forms_.begin() + static_cast<std::ptrdiff_t>(i));
        form->UnhookWindow();
        delete form;
    }
    forms_.clear();
    popups_.clear();  // each takes its subclass off first
    while (!Skins().empty()) SkinManageCore::RemoveSkinData(Skins().back());
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    g_hookDisabled = true;
    g_manage = nullptr;
    if (GetSkinFormHost() == this) SetSkinFormHost(nullptr);
}

void TSkinManage::InstallHook() {
    if (g_hook) return;
    g_osVersion = GetVersion();
    g_hook = SetWindowsHookExA(WH_CBT, &TSkinManage::SkinHookProc, nullptr, GetCurrentThreadId());
}

void TSkinManage::RemoveSkinData(TSkinData* s) {
    SkinManageCore::RemoveSkinData(s);
    if (State() == kManagerShuttingDown) return;
    for (auto i = forms_.size(); i-- > 0;)
        if (forms_[i]->Skin() == s) Unskin(forms_[i]);
    for (auto i = popups_.size(); i-- > 0;)
        if (popups_[i]->Skin() == s) popups_.erase(popups_.begin() + static_cast<std::ptrdiff_t>(i));
}

// ---- the hook --------------------------------------------------------------------------------------------------

LRESULT CALLBACK TSkinManage::SkinHookProc(int code, WPARAM wp, LPARAM lp) {
    TSkinManage* m = g_manage;
    if (!g_hookDisabled && code >= 0 && m) {
        // Nothing may leave a hook procedure; a failing skin leaves the window to the system's drawing.
        try {
            const auto window = reinterpret_cast<HWND>(wp);
            switch (code) {
            case HCBT_CREATEWND: m->OnCreate(window, *reinterpret_cast<CBT_CREATEWNDA*>(lp)); break;
            case HCBT_DESTROYWND: m->UnskinPopupMenu(window); break;
            case HCBT_ACTIVATE:
                if (m->State() == kManagerIdle) m->SetState(kManagerRunning);
                m->TrySkinWindow(window);
                break;
            default: break;
            }
        } catch (const std::exception&) {
        }
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

void TSkinManage::OnCreate(HWND window, const CBT_CREATEWNDA& create) {
    const CREATESTRUCTA* cs = create.lpcs;
    if (!cs) return;
    const std::string className = ClassNameOf(window);
    const CreationActions actions =
        ActionsOnCreate(className, static_cast<std::uint32_t>(cs->style), static_cast<std::uint32_t>(cs->dwExStyle));
    if (actions.sizeGrip)
        if (TWinSkinForm* parent = FindForm(cs->hwndParent)) parent->SkinChildWindow(window);
    if (actions.popupMenu) SkinPopupMenu(window);
    if (actions.mdiChild) TrySkinWindow(window);
}

// ---- frames ----------------------------------------------------------------------------------------------------

void TSkinManage::TrySkinWindow(TComponent* form) {
    auto* control = dynamic_cast<TWinControl*>(form);
    if (control && control->HandleAllocated()) TrySkinWindow(static_cast<HWND>(control->WindowHandle()));
}

bool TSkinManage::TrySkinWindow(HWND window) {
    if (!Active() || !IsWindow(window)) return false;
    Purge();
    SkinWindowFacts facts;
    facts.window = window;
    facts.answersSkinned = SendMessageA(window, SKM_ISSKINNED, 0, 0) == 1;
    facts.listed = FindForm(window) != nullptr;
    TWinControl* form = FindFormOfWindow(window);
    facts.hasForm = form != nullptr;
    facts.formTag = form ? form->Tag : 0;
    facts.style = static_cast<std::uint32_t>(GetWindowLongA(window, GWL_STYLE));
    facts.exStyle = static_cast<std::uint32_t>(GetWindowLongA(window, GWL_EXSTYLE));
    if (HWND parent = GetParent(window)) facts.parentClassName = ClassNameOf(parent);
    facts.className = ClassNameOf(window);
    facts.ownModule =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) == GetModuleHandleA(nullptr);
    RECT r{};
    GetWindowRect(window, &r);
    facts.width = r.right - r.left;
    facts.height = r.bottom - r.top;
    const SkinChoice choice = ChooseWindowSkin(facts, RuleState());
    if (choice.refusal != SkinRefusal::None) return false;

    auto* frame = new TWinSkinForm(form);
    frame->SetWindow(window, ModuleKey, facts.className);
    if (form)
        frame->SkinForm(choice.skin, form);
    else
        frame->SkinWindow(choice.skin);
    forms_.push_back(frame);
    PostMessageA(window, SKM_START, 0, 1000);
    return true;
}

bool TSkinManage::TrySkinForm(TCustomForm* form) {
    if (!form || !form->Visible() || !form->HandleAllocated()) return true;
    const auto window = static_cast<HWND>(form->WindowHandle());
    if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) return true;
    return TrySkinWindow(window);
}

bool TSkinManage::CanSkin(HWND window, const std::string& className) {
    return kes::CanSkin(DefaultSkin(), window, static_cast<std::uint32_t>(GetWindowLongA(window, GWL_STYLE)),
                        className);
}

TSkinData* TSkinManage::FindSkinData(HWND window) { return kes::FindSkinData(Skins(), window, ClassNameOf(window)); }

TWinSkinForm* TSkinManage::FindForm(HWND window) const {
    for (TWinSkinForm* f : forms_)
        if (f->Window() == window) return f;
    return nullptr;
}

TWinControl* TSkinManage::FindFormOfWindow(HWND window) const {
    for (int i = 0; i < Screen().FormCount(); ++i) {
        TCustomForm* f = Screen().Forms(i);
        if (f->HandleAllocated() && f->WindowHandle() == window) return f;
    }
    if (TWinControl* c = FindControlByHandle(window)) return c;
    // A window seen before its first message (an MDI child as it is made) belongs to the control being made, when
    // that control has no window yet and the window is of its class.
    if (TWinControl* c = CreatingControl(); c && !c->HandleAllocated() && ClassNameOf(window) == c->ClassName())
        return c;
    return nullptr;
}

void TSkinManage::RemoveForm(TWinSkinForm* form) {
    if (State() == kManagerShuttingDown) return;
    auto it = std::find(forms_.begin(), forms_.end(), form);
    if (it != forms_.end()) forms_.erase(it);
}

void TSkinManage::Purge() {
    if (State() == kManagerShuttingDown) return;
    for (auto i = forms_.size(); i-- > 0;) {
        if (i >= forms_.size()) continue;  // freeing a frame may drop others
        TWinSkinForm* f = forms_[i];
        if (f->Stage() != 6) continue;
        forms_.erase(forms_.begin() + static_cast<std::ptrdiff_t>(i));
        delete f;
    }
}

void TSkinManage::Unskin(TWinSkinForm* form) {
    const HWND window = form->Window();
    form->UnskinWindow();
    TWinSkinForm::RepaintWindow(window);
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    delete form;
}

void TSkinManage::RefreshForms(TSkinData* s) {
    for (TWinSkinForm* f : forms_)
        if (f->Skin() == s) f->ClearSysButtons();
}

// ---- commands --------------------------------------------------------------------------------------------------

void TSkinManage::ArmTimer(int delayMs) {
    if (!timer_) return;
    timer_->SetInterval(static_cast<unsigned>(delayMs));
    timer_->SetEnabled(true);
}

void TSkinManage::DisarmTimer() {
    if (timer_) timer_->SetEnabled(false);
}

void TSkinManage::RunCommand(int command, TSkinData* skin) {
    if (skin->SkinFormtype == sfOnlyThisForm)
        RunCommandOnOwnerForm(command, skin);
    else
        RunCommandOnAll(command, skin);
}

void TSkinManage::RunCommandOnOwnerForm(int command, TSkinData* skin) {
    switch (command) {
    case 1:
        SetActive(true);
        SetSkinAll(true);
        for (int i = Screen().FormCount(); i-- > 0;)
            if (Screen().Forms(i) == skin->Owner()) {
                TrySkinForm(Screen().Forms(i));
                break;
            }
        SetSkinAll(false);
        break;
    case 2:
        SetActive(false);
        Purge();
        for (auto i = forms_.size(); i-- > 0;)
            if (forms_[i]->Skin() == skin) {
                Unskin(forms_[i]);
                break;
            }
        break;
    case 3:
        Purge();
        for (TWinSkinForm* f : forms_)
            if (f->Skin() == skin) {
                f->ClearSysButtons();
                f->CreateSysButtons();
                f->UpdateSkin();
                break;
            }
        break;
    default: break;
    }
}

void TSkinManage::RunCommandOnAll(int command, TSkinData* skin) {
    switch (command) {
    case 1:
        SetActive(true);
        SetSkinAll(true);
        Purge();
        for (int i = Screen().FormCount(); i-- > 0;) TrySkinForm(Screen().Forms(i));
        SetSkinAll(false);
        break;
    case 2:
        SetActive(false);
        Purge();
        while (!forms_.empty()) Unskin(forms_.front());
        break;
    case 3: {
        Purge();
        const std::vector<TWinSkinForm*> mine = [&] {
            std::vector<TWinSkinForm*> v;
            for (TWinSkinForm* f : forms_)
                if (f->Skin() == skin) v.push_back(f);
            return v;
        }();
        for (TWinSkinForm* f : mine) {
            f->ClearSysButtons();
            f->CreateSysButtons();
        }
        for (TWinSkinForm* f : mine) f->UpdateSkin();
        break;
    }
    default: break;
    }
}

// ---- popup menus -----------------------------------------------------------------------------------------------

bool TSkinManage::SkinPopupMenu(HWND window) {
    if (!Active() || HasPopup(window)) return false;
    if (SendMessageA(window, SKM_ISSKINNED, 0, 0) == 1) return false;
    TSkinData* skin = FindSkinData(window);
    if (!skin || skin->NoSkin() || !PopupMenuWanted(skin->SkinControls, MenuKind)) return false;
    auto popup = std::make_unique<TWinSkinPopMenu>();
    popup->Attach(window, skin, 0);
    if (!popup->Attached()) return false;
    if (MenuBarPopup) popup->MenusFlag = true;
    popups_.push_back(std::move(popup));
    return true;
}

bool TSkinManage::UnskinPopupMenu(HWND window) {
    auto it = std::find_if(popups_.begin(), popups_.end(), [&](const auto& p) { return p->Window() == window; });
    const bool found = it != popups_.end();
    if (found) popups_.erase(it);  // the popup takes its subclass off before it goes
    if (ResetsMenuKind(found, found ? std::string() : ClassNameOf(window), popups_.empty())) {
        MenuBarPopup = false;
        MenuKind = kPopupMenuKind;
    }
    return found;
}

bool TSkinManage::HasPopup(HWND window) const {
    return std::any_of(popups_.begin(), popups_.end(), [&](const auto& p) { return p->Window() == window; });
}

void TSkinManage::SetMenusFlag() {
    for (auto& p : popups_) p->MenusFlag = true;
}

void TSkinManage::AttachMenuOwner(std::uintptr_t ownerKey) {
    for (auto i = popups_.size(); i-- > 0;)
        if (popups_[i]->OwnerKey == 0) {
            popups_[i]->OwnerKey = ownerKey;
            return;
        }
}

TBitmap* TSkinManage::FindMenuBitmap(std::uintptr_t ownerKey) const {
    for (const auto& p : popups_)
        if (p->OwnerKey == ownerKey) return p->Background();
    return nullptr;
}

// ---- MDI -------------------------------------------------------------------------------------------------------

void TSkinManage::SetMDIMaximized(bool maximized) {
    if (maximized == mdiMaximized_) return;
    mdiMaximized_ = maximized;
    if (DefaultSkin() && InSet(DefaultSkin()->Options, xoMDIChildBorder)) return;
    for (TWinSkinForm* f : forms_) {
        if (f->MDIKind() != 2) continue;
        if (maximized) {
            if (f->OwnsRegion()) f->ClearRegion();
        } else if (f->WindowState() != 2) {
            f->SetWindowState(0);
            f->UpdateRegion();
            if (!f->OwnsRegion()) f->FrameChanged();
        }
    }
}

// ---- the manager of the program --------------------------------------------------------------------------------

namespace {

// Programs that link the skin engine get this manager when their first skin data component loads.
const bool g_registered = [] {
    SetSkinManagerFactory([] { return std::make_unique<TSkinManage>(); });
    return true;
}();

}  // namespace

}  // namespace kes

// Referenced from the link options of the skin engine, so that every program linking it keeps the
// registration above.
extern "C" {
int kes_skin_manage_anchor = 1;
}

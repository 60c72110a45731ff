#include "skin/manager/SkinManageRules.h"

#include "base/StringList.h"
#include "gui/Controls.h"

namespace kes {

namespace {

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

bool IsPlainChild(const SkinWindowFacts& w) {
    return (w.style & kWsChild) && !(w.exStyle & kWsExMdiChild) && LowerAZ(w.parentClassName) != "mdiclient";
}

bool IsDialogClass(const std::string& className) {
    const std::string lower = LowerAZ(className);
    return lower == "tmessageform" || lower == "#32770";
}

}  // namespace

void* SkinOwnerWindow(const TSkinData* skin) {
    const auto* owner = dynamic_cast<const TWinControl*>(skin->Owner());
    return owner ? owner->WindowHandle() : nullptr;
}

SkinChoice ChooseWindowSkin(const SkinWindowFacts& w, const SkinRuleState& state) {
    auto refuse = [](SkinRefusal why) { return SkinChoice{why, nullptr}; };
    const bool mdiChild = (w.exStyle & kWsExMdiChild) != 0;
    if (!state.active) return refuse(SkinRefusal::Inactive);
    if (w.answersSkinned || w.listed) return refuse(SkinRefusal::AlreadySkinned);
    if (!state.skinAll && IsPlainChild(w)) return refuse(SkinRefusal::PlainChild);
    if (!w.hasForm && !w.ownModule && w.className != "#32770") return refuse(SkinRefusal::Foreign);
    if (static_cast<long long>(w.width) * w.height == 0 && !mdiChild) return refuse(SkinRefusal::EmptyRect);
    if (w.hasForm && w.formTag == 99) return refuse(SkinRefusal::DisabledTag);
    if (Contains(w.className, "TcxPopupEditPopupWindow") || Contains(w.className, "TTERenderWindow") ||
        w.className == "TApplication")
        return refuse(SkinRefusal::ExcludedClass);
    if (!CanSkin(state.defaultSkin, w.window, w.style, w.className)) return refuse(SkinRefusal::Refused);
    TSkinData* skin = state.skins ? FindSkinData(*state.skins, w.window, w.className) : nullptr;
    if (!skin || skin->NoSkin()) return refuse(SkinRefusal::NoSkin);
    return {SkinRefusal::None, skin};
}

bool CanSkin(TSkinData* defaultSkin, void* window, std::uint32_t style, const std::string& className) {
    if (!defaultSkin) return true;
    const std::string lower = LowerAZ(className);
    bool result = true;
    if (!InSet(defaultSkin->Options, xoPreview) && Contains(lower, "preview")) result = false;
    if (className == "#32770" && (style & kDsSetForeground)) result = false;
    if (lower == "tpopupdbtreeview") result = false;
    defaultSkin->DoFormSkin(window, className, result);
    return result;
}

TSkinData* FindSkinData(const std::vector<TSkinData*>& skins, void* window, const std::string& className,
                        const SkinOwnerWindowFn& ownerWindow) {
    TSkinData* found = nullptr;
    for (TSkinData* s : skins)
        if (s->SkinFormtype == sfOnlyThisForm && window && ownerWindow(s) == window) found = s;
    if (found) return found;
    if (IsDialogClass(className))
        for (TSkinData* s : skins)
            if (s->SkinFormtype == sfDialog) found = s;
    if (found) return found;
    for (TSkinData* s : skins)
        if (s->SkinFormtype == sfMainform) found = s;
    if (found) return found;
    return skins.empty() ? nullptr : skins.front();
}

bool PopupMenuWanted(TSkinControlTypes controls, int menuKind) {
    switch (menuKind) {
    case kPopupMenuKind: return InSet(controls, xcPopupMenu);
    case kMainMenuKind: return InSet(controls, xcMainMenu) || InSet(controls, xcMenuItem);
    case kSystemMenuKind: return InSet(controls, xcSystemMenu);
    }
    return false;
}

bool ResetsMenuKind(bool listedPopup, const std::string& className, bool popupListEmpty) {
    return popupListEmpty && (listedPopup || className == "#32768");
}

CreationActions ActionsOnCreate(const std::string& className, std::uint32_t style, std::uint32_t exStyle) {
    CreationActions a;
    a.sizeGrip = CompareTextAZ(className, "ScrollBar") == 0 && (style & kSbsSizeGrip);
    a.popupMenu = !(style & kWsChild) && className == "#32768";
    a.mdiChild = (exStyle & kWsExMdiChild) != 0;
    return a;
}

}  // namespace kes

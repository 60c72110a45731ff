#pragma once
// Which controller a child control of a skinned window gets: the built-in rules by class, the Skin3rd lines
// ("ClassName=kind") for foreign classes, and the rules for raw child windows (no control object) by window
// class and style. The rules only decide; the skinned window's controller list (win/SkinControlList) acts.
#include <cstdint>
#include <functional>
#include <string>

#include "base/StringList.h"
#include "skin/data/SkinData.h"

namespace kes {

// The kinds of controller; each kind is made by the constructor registered for it (none registered: the
// control keeps the system's look).
enum class SkinKind {
    None,
    Button,
    BitButton,
    MenuButton,
    SpeedButton,
    CheckBox,
    RadioButton,
    ObjImage,
    GroupBox,
    StatusBar,
    Box,
    BoxH,
    Sizer,
    Progress,
    ComBox,
    Edit,
    UpDown,
    MediaPlayer,
    TrackBar,
    DateTime,
    Tab,
    Tab31,
    AdvPage,
    Scrollbar,
    ListView,
    CheckList,
};
constexpr int kSkinKinds = static_cast<int>(SkinKind::CheckList) + 1;

// How a new controller is attached: to the control's handler chain, the scroll-bar family's own attach, a
// windowless control's attach, or to the control's window as a raw window.
enum class SkinAttach { Control, Scroll, Windowless, Window };

// What the rules need to know of a control of the class library.
struct ControlFacts {
    std::string ClassName;                                  // as the class names itself
    std::function<bool(const std::string&)> InheritsFrom;   // class test, descendants included
    std::function<int64_t(const std::string&)> IntProp;     // integer property by name, -1 when absent
    std::function<std::string(const std::string&)> EnumProp;  // enumeration value by name, "" when absent
    bool Windowed = true;
    unsigned Style = 0;     // the window's style
    bool HasBorder = false;  // window and client rectangles differ in width or height
};

// The skin's switches that gate the rules.
struct SkinGates {
    TSkinControlTypes Controls = TSkinData::kDefaultSkinControls;
    bool TabsImage = false;  // the skin has the Tabs image
    bool Has(TSkinControlType t) const { return InSet(Controls, t); }
};

// The children of a "radiogroup" or "checkgroup" line get controllers of their own.
enum class GroupChildren { None, Radio, Check };

// What happens to one control.
struct ControlDecision {
    SkinKind Kind = SkinKind::None;
    SkinAttach Attach = SkinAttach::Control;
    bool Recolour = false;
    bool ChildrenBefore = false;    // the control's children are walked before its own controller
    bool ChildrenAfter = false;     // ... after it
    bool ComponentsAfter = false;   // the components the control owns are walked after it
    bool EmbedScrollbars = false;   // each child that needs scroll bars gets a Scrollbar controller
    GroupChildren Group = GroupChildren::None;
    int BackgroundMode = 0;         // 1: a single scroll bar drawn on the parent's background
    int ObjKind = 0;                // ObjImage: 1 check box, 2 radio button, 3 the third kind
    bool ExtendedCombo = false;
    bool SetTransparent = false;    // the control's "Transparent" property is set to "True" first
    std::string ImageProperty;      // bit and speed buttons whose image is a graphic property
};

// The steps before the rules: a control tagged with DisableTag whose class name says radio or check group
// passes the tag on to its children; these classes are never skinned.
bool PassesDisableTagOn(const std::string& className);
bool ExcludedClass(const std::string& className);

// The value of the first Skin3rd line that starts with className and "=" (letter case ignored), lower-cased
// and cut to 50 characters; false when no line matches.
bool FindSkin3rd(const TStringList& lines, const std::string& className, std::string& value);
// The controller a Skin3rd value gives (a matched line always ends the search, also with no controller).
ControlDecision DecideBySkin3rd(const std::string& value, const ControlFacts& control, const SkinGates& gates);
// A child of a radio or check group named by a Skin3rd line.
ControlDecision DecideGroupChild(GroupChildren group, const std::string& childClassName);
// The built-in rules, in order; the first whose test and gate hold decides.
ControlDecision DecideByRules(const ControlFacts& control, const SkinGates& gates);
// The control needs scroll-bar skinning: a scroll-bar style, or a list box or memo.
bool NeedsScrollbar(const ControlFacts& control);

// What happens to a raw child window.
struct RawWindowDecision {
    SkinKind Kind = SkinKind::None;
    bool FirstChild = false;         // the controller goes to the window's first child
    bool ChildWindowsFirst = false;  // the window's own children are walked first
    bool RecolourControl = false;    // the window's control object takes the skin's background colour
    bool StopSearch = false;         // the caller's search ends here
};
// lowerClass: the window class lower-cased; style: GWL_STYLE.
RawWindowDecision DecideRawWindow(const std::string& lowerClass, uint32_t style, const SkinGates& gates);

}  // namespace kes

// Which controller each control and raw window gets, and the order in which a controller takes part in its
// control's messages.
#include "skin/controls/SkinControlRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "skin/controls/SkinControlCore.h"

namespace kes {
namespace {

// A control of a class with the given ancestry (most derived first).
ControlFacts Control(std::vector<std::string> ancestry, unsigned style = 0, std::map<std::string, int64_t> ints = {}) {
    ControlFacts f;
    f.ClassName = ancestry.front();
    f.InheritsFrom = [ancestry](const std::string& n) {
        return std::any_of(ancestry.begin(), ancestry.end(), [&](const std::string& a) {
            return a.size() == n.size() && std::equal(a.begin(), a.end(), n.begin(), [](char x, char y) {
                       return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
                   });
        });
    };
    f.IntProp = [ints](const std::string& n) {
        const auto it = ints.find(n);
        return it == ints.end() ? int64_t{-1} : it->second;
    };
    f.EnumProp = [](const std::string&) { return std::string(); };
    f.Style = style;
    return f;
}

SkinGates Without(std::initializer_list<TSkinControlType> off, bool tabs = false) {
    SkinGates g;
    for (TSkinControlType t : off) g.Controls = SetWithout(g.Controls, t);
    g.TabsImage = tabs;
    return g;
}

TEST(SkinControlRules, BuiltInRulesGiveTheFirstMatchingControllerUnderItsGate) {
    struct Row {
        std::vector<std::string> ancestry;
        unsigned style;
        SkinGates gates;
        SkinKind kind;
        SkinAttach attach;
        bool recolour, childrenBefore, childrenAfter, components;
    };
    const SkinGates all;
    const std::vector<Row> rows = {
        {{"TButton", "TButtonControl", "TWinControl"}, 0, all, SkinKind::Button, SkinAttach::Control, 0, 0, 0, 0},
        {{"TButton", "TButtonControl"}, 0, Without({xcButton}), SkinKind::None, SkinAttach::Control, 0, 0, 0, 0},
        {{"TCheckBox", "TCustomCheckBox"}, 0, all, SkinKind::CheckBox, SkinAttach::Control, 0, 0, 0, 0},
        // With xcCheckBox off a check box goes on down the table and gets nothing.
        {{"TCheckBox", "TCustomCheckBox"}, 0, Without({xcCheckBox}), SkinKind::None, SkinAttach::Control, 0, 0, 0, 0},
        {{"TGroupBox", "TCustomGroupBox"}, 0, all, SkinKind::GroupBox, SkinAttach::Control, 0, 1, 0, 0},
        {{"TPanel", "TCustomPanel"}, 0, all, SkinKind::Box, SkinAttach::Control, 1, 1, 0, 0},
        {{"TStatusBar", "TCustomStatusBar"}, 0, all, SkinKind::StatusBar, SkinAttach::Control, 0, 0, 0, 0},
        {{"TProgressBar"}, 0, all, SkinKind::Progress, SkinAttach::Control, 0, 0, 0, 0},
        {{"TComboBox", "TCustomComboBox"}, 0, all, SkinKind::ComBox, SkinAttach::Control, 0, 0, 0, 0},
        {{"TMemo", "TCustomMemo", "TCustomEdit"}, 0, all, SkinKind::Scrollbar, SkinAttach::Scroll, 0, 0, 0, 0},
        {{"TMemo", "TCustomMemo", "TCustomEdit"}, 0, Without({xcScrollbar}), SkinKind::Edit, SkinAttach::Control, 0,
         0, 0, 0},
        // A check list box by its name only; a list box through its need of scroll bars.
        {{"TCheckListBox", "TCustomListBox"}, 0, all, SkinKind::CheckList, SkinAttach::Scroll, 0, 0, 0, 0},
        {{"TListBox", "TCustomListBox"}, 0, all, SkinKind::Scrollbar, SkinAttach::Scroll, 0, 0, 0, 0},
        {{"TOddView", "TWinControl"}, 0x200000, all, SkinKind::Scrollbar, SkinAttach::Scroll, 0, 0, 0, 0},
        {{"TEdit", "TCustomEdit"}, 0, all, SkinKind::Edit, SkinAttach::Control, 0, 0, 0, 0},
        {{"TTabSet"}, 0, all, SkinKind::None, SkinAttach::Control, 0, 0, 0, 0},
        {{"TTabSet"}, 0, Without({}, true), SkinKind::Tab31, SkinAttach::Control, 0, 0, 0, 0},
        {{"TMVCPanel", "TCustomPanel"}, 0, all, SkinKind::None, SkinAttach::Control, 0, 0, 1, 0},
        {{"TDBNavigator"}, 0, all, SkinKind::Box, SkinAttach::Control, 1, 0, 1, 0},
        {{"TRzCheckBox"}, 0, all, SkinKind::ObjImage, SkinAttach::Control, 1, 0, 0, 0},
        {{"TFrame", "TCustomFrame"}, 0, all, SkinKind::None, SkinAttach::Control, 0, 0, 0, 1},
        {{"TForm", "TCustomForm"}, 0, all, SkinKind::Box, SkinAttach::Control, 1, 0, 0, 1},
        {{"TDCEdit"}, 0, all, SkinKind::None, SkinAttach::Control, 0, 0, 0, 0},  // no "NumButtons"
        {{"TLabel", "TGraphicControl"}, 0, all, SkinKind::None, SkinAttach::Control, 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        const ControlDecision d = DecideByRules(Control(r.ancestry, r.style), r.gates);
        SCOPED_TRACE(r.ancestry.front());
        EXPECT_EQ(d.Kind, r.kind);
        if (d.Kind != SkinKind::None) {
            EXPECT_EQ(d.Attach, r.attach);
        }
        EXPECT_EQ(d.Recolour, r.recolour);
        EXPECT_EQ(d.ChildrenBefore, r.childrenBefore);
        EXPECT_EQ(d.ChildrenAfter, r.childrenAfter);
        EXPECT_EQ(d.ComponentsAfter, r.components);
    }
    EXPECT_EQ(DecideByRules(Control({"TDCEdit"}, 0, {{"NumButtons", 1}}), all).Kind, SkinKind::ComBox);
    const ControlDecision edit = DecideByRules(Control({"TDCDBEdit"}, 0, {{"NumButtons", 0}}), all);
    EXPECT_EQ(edit.Kind, SkinKind::Edit);
    EXPECT_EQ(edit.Attach, SkinAttach::Window);
}

TEST(SkinControlRules, Skin3rdLinesMatchTheWholeClassNameInAnyCaseAndAlwaysEndTheSearch) {
    TStringList lines;
    for (const char* l : {"TFancyGridEx=button", "TFancyGrid=NIL", "tmybutton=Button", "TMyBox=panel",
                          "TMyRadios=radiogroup", "TMyChecks=checkgroup", "TMyList=embedscrollbar", "TMyOdd=whatever",
                          "TMyOne=singlescrollbar", "TPngBtn=pngbitbtn", "TMyEdit=edit"})
        lines.Add(l);
    struct Row {
        const char* cls;
        bool found;
        SkinKind kind;
        SkinGates gates;
    };
    const SkinGates all;
    const std::vector<Row> rows = {
        {"TFancyGrid", true, SkinKind::None, all},  // "nil": no controller, and no built-in rule either
        {"TFANCYGRIDEX", true, SkinKind::Button, all},
        {"TMyButton", true, SkinKind::Button, all},
        {"TMyButton", true, SkinKind::None, Without({xcButton})},
        {"TMyBox", true, SkinKind::Box, all},
        {"TMyRadios", true, SkinKind::GroupBox, all},
        {"TMyRadios", true, SkinKind::None, Without({xcGroupBox})},
        {"TMyChecks", true, SkinKind::GroupBox, all},
        {"TMyOdd", true, SkinKind::None, all},
        {"TMyOne", true, SkinKind::Scrollbar, all},
        {"TPngBtn", true, SkinKind::BitButton, all},
        {"TMyEdit", true, SkinKind::None, all},  // no border
        {"TFancy", false, SkinKind::None, all},  // only a line for exactly this name matches
        {"TMyButtonX", false, SkinKind::None, all},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cls);
        std::string value;
        ASSERT_EQ(FindSkin3rd(lines, r.cls, value), r.found);
        if (r.found) {
            EXPECT_EQ(DecideBySkin3rd(value, Control({r.cls}), r.gates).Kind, r.kind);
        }
    }
    std::string value;
    ASSERT_TRUE(FindSkin3rd(lines, "TMyBox", value));
    EXPECT_EQ(value, "panel");
    const ControlDecision box = DecideBySkin3rd(value, Control({"TMyBox"}), all);
    EXPECT_TRUE(box.Recolour && box.SetTransparent);
    ASSERT_TRUE(FindSkin3rd(lines, "TMyOne", value));
    EXPECT_EQ(DecideBySkin3rd(value, Control({"TMyOne"}), all).BackgroundMode, 1);
    ASSERT_TRUE(FindSkin3rd(lines, "TMyList", value));
    EXPECT_TRUE(DecideBySkin3rd(value, Control({"TMyList"}), all).EmbedScrollbars);
    ASSERT_TRUE(FindSkin3rd(lines, "TPngBtn", value));
    EXPECT_EQ(DecideBySkin3rd(value, Control({"TPngBtn"}), all).ImageProperty, "PngImage");
    ASSERT_TRUE(FindSkin3rd(lines, "TMyEdit", value));
    ControlFacts bordered = Control({"TMyEdit"});
    bordered.HasBorder = true;
    EXPECT_EQ(DecideBySkin3rd(value, bordered, all).Kind, SkinKind::Edit);

    // The children of the groups: radio buttons or check boxes, the "TRZ" classes as object images.
    EXPECT_EQ(DecideBySkin3rd("radiogroup", Control({"TMyRadios"}), all).Group, GroupChildren::Radio);
    EXPECT_EQ(DecideGroupChild(GroupChildren::Radio, "TRadioButton").Kind, SkinKind::RadioButton);
    EXPECT_EQ(DecideGroupChild(GroupChildren::Check, "TCheckBox").Kind, SkinKind::CheckBox);
    const ControlDecision rz = DecideGroupChild(GroupChildren::Check, "TrzCheck");
    EXPECT_EQ(rz.Kind, SkinKind::ObjImage);
    EXPECT_EQ(rz.ObjKind, 1);

    // DisableTag passes from radio and check groups to their children; a few classes are never skinned.
    EXPECT_TRUE(PassesDisableTagOn("TRadioGroup"));
    EXPECT_TRUE(PassesDisableTagOn("TMyCheckGroupBox"));
    EXPECT_FALSE(PassesDisableTagOn("TGroupBox"));
    EXPECT_TRUE(ExcludedClass("TfrDesignerPage"));
    EXPECT_FALSE(ExcludedClass("TButton"));
}

TEST(SkinControlRules, RawWindowsAreChosenByClassAndStyle) {
    struct Row {
        const char* cls;
        uint32_t style;
        SkinGates gates;
        SkinKind kind;
        bool firstChild, childrenFirst, recolour;
    };
    const SkinGates all;
    const std::vector<Row> rows = {
        {"button", 0x0, all, SkinKind::Button, 0, 0, 0},            // BS_PUSHBUTTON
        {"button", 0x1, all, SkinKind::Button, 0, 0, 0},            // BS_DEFPUSHBUTTON
        {"button", 0x1, Without({xcButton}), SkinKind::None, 0, 0, 0},
        {"button", 0x3, all, SkinKind::CheckBox, 0, 0, 0},          // BS_AUTOCHECKBOX
        {"button", 0xA, all, SkinKind::CheckBox, 0, 0, 0},          // BS_PUSHBOX
        {"button", 0x9, all, SkinKind::RadioButton, 0, 0, 0},       // BS_AUTORADIOBUTTON
        {"button", 0x7, all, SkinKind::None, 0, 0, 0},              // BS_GROUPBOX
        {"button", 0x80, all, SkinKind::None, 0, 0, 0},             // BS_BITMAP
        {"button", 0xB, all, SkinKind::None, 0, 0, 0},              // BS_OWNERDRAW
        {"combobox", 0x2, all, SkinKind::ComBox, 0, 0, 0},
        {"combobox", 0x1, all, SkinKind::None, 0, 0, 0},            // CBS_SIMPLE
        {"comboboxex32", 0, all, SkinKind::ComBox, 1, 0, 0},
        {"scrollbar", 0x10, all, SkinKind::Sizer, 0, 0, 0},         // SBS_SIZEGRIP
        {"scrollbar", 0x1, all, SkinKind::None, 0, 0, 0},           // a real scroll bar
        {"#32770", 0x40000000, all, SkinKind::BoxH, 0, 1, 0},
        {"#32770", 0x40010000, all, SkinKind::None, 0, 0, 0},
        {"tpanel", 0, all, SkinKind::None, 0, 1, 1},
        {"tsilentpaintpanel", 0, all, SkinKind::None, 0, 0, 1},
        {"tbutton", 0, all, SkinKind::Button, 0, 0, 0},
        {"systabcontrol32", 0, all, SkinKind::Tab, 0, 0, 0},
        {"systabcontrol32", 0x2000, all, SkinKind::None, 0, 0, 0},
        {"toolbarwindow32", 0, all, SkinKind::BoxH, 0, 0, 0},
        {"edit", 0, all, SkinKind::Edit, 0, 0, 0},
        {"static", 0, all, SkinKind::None, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.cls) + " " + std::to_string(r.style));
        const RawWindowDecision d = DecideRawWindow(r.cls, r.style, r.gates);
        EXPECT_EQ(d.Kind, r.kind);
        EXPECT_EQ(d.FirstChild, r.firstChild);
        EXPECT_EQ(d.ChildWindowsFirst, r.childrenFirst);
        EXPECT_EQ(d.RecolourControl, r.recolour);
    }
}

// A controller that records what ran.
struct Recorder : SkinControlCore {
    Recorder() : SkinControlCore(nullptr) {}
    std::vector<std::string> log;
    bool before = true;
    bool BeforeMessage(TMessage& m) override {
        log.push_back("before");
        return SkinControlCore::BeforeMessage(m) && before;
    }
    void AfterMessage(TMessage& m) override {
        log.push_back("after");
        SkinControlCore::AfterMessage(m);
    }
    void CallPrevious(TMessage&) override { log.push_back("previous"); }
    void Repaint() override { log.push_back("repaint"); }
    void PaintWindow(uintptr_t dc) override { log.push_back("paint " + std::to_string(dc)); }
    void Unskin() override {
        log.push_back("unskin");
        SkinControlCore::Unskin();
    }
};

TEST(SkinControlDispatch, ControllerRunsBeforePreviousAfterAndSwitchesByMessage) {
    using Log = std::vector<std::string>;
    struct Row {
        const char* name;
        std::vector<TMessage> messages;
        bool before;
        Log expected;
        bool activeAfter;
    };
    const auto M = [](unsigned msg, uintptr_t wp = 0) { return TMessage{nullptr, msg, wp, 0, 0}; };
    const std::vector<Row> rows = {
        {"plain message", {M(0x0200)}, true, {"before", "previous", "after"}, true},
        {"before answers", {M(0x0200)}, false, {"before"}, true},
        {"focus repaints", {M(kWmSetFocus)}, true, {"before", "previous", "after", "repaint"}, true},
        {"paint paints over", {M(kWmPaint, 77)}, true, {"before", "previous", "after", "paint 77"}, true},
        {"off with 0", {M(kSkmSetActive, 0), M(0x0200)}, true, {"previous"}, false},
        {"off with 0x80000000", {M(kSkmSetActive, 0x80000000u), M(0x0200)}, true, {"previous"}, false},
        {"off then on", {M(kSkmSetActive, 0), M(kSkmSetActive, 1), M(0x0200)}, true,
         {"repaint", "before", "previous", "after"}, true},
        {"destroy unskins once", {M(kWmNcDestroy), M(kWmNcDestroy)}, true,
         {"before", "previous", "unskin", "previous"}, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Recorder c;
        c.before = r.before;
        for (TMessage m : r.messages) c.Dispatch(m);
        EXPECT_EQ(c.log, r.expected);
        EXPECT_EQ(c.Active(), r.activeAfter);
    }
    Recorder c;
    TMessage ask = M(kSkmIsSkinned);
    c.Dispatch(ask);
    EXPECT_EQ(ask.Result, 1);
    EXPECT_EQ(c.log, (Log{"before"})) << "SKM_ISSKINNED is answered by the controller alone";
}

}  // namespace
}  // namespace kes

#include "skin/controls/SkinControlRules.h"

#include <algorithm>

namespace kes {

namespace {

bool Is(const ControlFacts& c, const char* className) { return c.InheritsFrom && c.InheritsFrom(className); }

ControlDecision Make(SkinKind kind, SkinAttach attach = SkinAttach::Control, bool recolour = false) {
    ControlDecision d;
    d.Kind = kind;
    d.Attach = attach;
    d.Recolour = recolour;
    return d;
}

// A decision that only walks the control's children.
ControlDecision ChildrenOnly() {
    ControlDecision d;
    d.ChildrenAfter = true;
    return d;
}

}  // namespace

bool PassesDisableTagOn(const std::string& className) {
    const std::string l = LowerAZ(className);
    return l.find("radiogroup") != std::string::npos || l.find("checkgroup") != std::string::npos;
}

bool ExcludedClass(const std::string& className) {
    const std::string u = UpperAZ(className);
    return u == "TDBCOMBOBOXEH" || u == "TFRDESIGNERPAGE" || u == "TFRPBOX";
}

bool FindSkin3rd(const TStringList& lines, const std::string& className, std::string& value) {
    const std::string key = LowerAZ(className) + "=";
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = LowerAZ(lines[i]);
        if (line.compare(0, key.size(), key) != 0) continue;
        value = line.substr(line.find('=') + 1, 50);
        return true;
    }
    return false;
}

bool NeedsScrollbar(const ControlFacts& c) {
    if (!c.Windowed) return false;
    return (c.Style & 0x300000u) != 0 || Is(c, "TListBox") || Is(c, "TMemo") || Is(c, "TCustomListBox");
}

ControlDecision DecideBySkin3rd(const std::string& value, const ControlFacts& c, const SkinGates& g) {
    const std::string key = LowerAZ(c.ClassName);
    const auto gated = [&](TSkinControlType t, ControlDecision d) { return g.Has(t) ? d : ControlDecision{}; };
    if (value == "combobox") return gated(xcCombo, Make(SkinKind::ComBox));
    if (value == "comboboxex") {
        ControlDecision d = Make(SkinKind::ComBox);
        d.ExtendedCombo = true;
        return gated(xcCombo, d);
    }
    if (value == "edit") return c.HasBorder ? gated(xcEdit, Make(SkinKind::Edit)) : ControlDecision{};
    if (value == "radiobutton") return gated(xcRadioButton, Make(SkinKind::RadioButton));
    if (value == "panel" || value == "trackbar") {
        ControlDecision d =
            value == "panel" ? Make(SkinKind::Box, SkinAttach::Control, true) : Make(SkinKind::TrackBar);
        d.SetTransparent = true;
        return gated(value == "panel" ? xcPanel : xcButton, d);
    }
    if (value == "button") return gated(xcButton, Make(SkinKind::Button));
    if (value == "datetimepicker") return gated(xcCombo, Make(SkinKind::DateTime));
    if (value == "mediaplayer") return gated(xcButton, Make(SkinKind::MediaPlayer));
    if (value == "bitbtn") {
        const bool drop = key == "tcxbutton" && c.EnumProp && LowerAZ(c.EnumProp("Kind")) == "cxbkdropdownbutton";
        return gated(xcButton, Make(drop ? SkinKind::MenuButton : SkinKind::BitButton));
    }
    if (value == "pngbitbtn" || value == "pngspeedbutton") {
        ControlDecision d = value == "pngbitbtn" ? Make(SkinKind::BitButton)
                                                 : Make(SkinKind::SpeedButton, SkinAttach::Windowless);
        d.ImageProperty = "PngImage";
        return gated(xcButton, d);
    }
    if (value == "menubtn") return gated(xcButton, Make(SkinKind::MenuButton));
    if (value == "speedbutton") return gated(xcSpeedButton, Make(SkinKind::SpeedButton, SkinAttach::Windowless));
    if (value == "tab") return g.TabsImage ? gated(xcTab, Make(SkinKind::Tab)) : ControlDecision{};
    if (value == "progress") return gated(xcProgress, Make(SkinKind::Progress));
    if (value == "scrollbar") {
        ControlDecision d = Make(SkinKind::Scrollbar, SkinAttach::Scroll);
        d.ChildrenAfter = true;
        return gated(xcScrollbar, d);
    }
    if (value == "singlescrollbar") {
        ControlDecision d = Make(SkinKind::Scrollbar, SkinAttach::Scroll);
        d.BackgroundMode = 1;
        return gated(xcScrollbar, d);
    }
    if (value == "embedscrollbar") {
        ControlDecision d;
        d.EmbedScrollbars = true;
        return gated(xcScrollbar, d);
    }
    if (value == "container") return ChildrenOnly();
    if (value == "groupbox") return gated(xcGroupBox, Make(SkinKind::GroupBox, SkinAttach::Control, true));
    if (value == "advpagecontrol") {
        ControlDecision d = Make(SkinKind::AdvPage, SkinAttach::Control, true);
        d.ObjKind = 4;
        return gated(xcTab, d);
    }
    if (value == "radiogroup") {
        if (!g.Has(xcGroupBox)) return {};
        ControlDecision d = Make(SkinKind::GroupBox, SkinAttach::Control, true);
        if (g.Has(xcRadioButton)) d.Group = GroupChildren::Radio;
        return d;
    }
    if (value == "checkgroup") {
        if (!g.Has(xcPanel)) return {};
        ControlDecision d = g.Has(xcGroupBox) ? Make(SkinKind::GroupBox, SkinAttach::Control, true) : ControlDecision{};
        if (g.Has(xcRadioButton)) d.Group = GroupChildren::Check;
        return d;
    }
    if (value == "checkbox") return gated(xcCheckBox, Make(SkinKind::CheckBox));
    return {};  // "nil" and values of no kind
}

ControlDecision DecideGroupChild(GroupChildren group, const std::string& childClassName) {
    if (group == GroupChildren::None) return {};
    const bool rz = UpperAZ(childClassName).find("TRZ") != std::string::npos;
    if (rz) {
        ControlDecision d = Make(SkinKind::ObjImage, SkinAttach::Control, true);
        d.ObjKind = group == GroupChildren::Radio ? 2 : 1;
        return d;
    }
    return Make(group == GroupChildren::Radio ? SkinKind::RadioButton : SkinKind::CheckBox);
}

ControlDecision DecideByRules(const ControlFacts& c, const SkinGates& g) {
    const std::string n = UpperAZ(c.ClassName);
    const auto name = [&](std::initializer_list<const char*> names) {
        return std::any_of(names.begin(), names.end(), [&](const char* x) { return n == x; });
    };
    const bool tabs = g.Has(xcTab) && g.TabsImage;
    if (name({"TTABSET"}) && tabs) return Make(SkinKind::Tab31);
    if (name({"TTABBEDNOTEBOOK"}) && tabs) return Make(SkinKind::Tab);
    if (name({"TMVCPANEL"})) return ChildrenOnly();
    if (Is(c, "TCustomCheckBox") && g.Has(xcCheckBox)) return Make(SkinKind::CheckBox);
    if (name({"TUPDOWN", "TSPINBUTTON"}) && g.Has(xcSpin)) return Make(SkinKind::UpDown);
    if (name({"TMEDIAPLAYER"}) && g.Has(xcButton)) return Make(SkinKind::MediaPlayer);
    if (name({"TDBNAVIGATOR"}) && g.Has(xcPanel)) {
        ControlDecision d = Make(SkinKind::Box, SkinAttach::Control, true);
        d.ChildrenAfter = true;
        return d;
    }
    const auto obj = [](int kind) {
        ControlDecision d = Make(SkinKind::ObjImage, SkinAttach::Control, true);
        d.ObjKind = kind;
        return d;
    };
    if (name({"TRZDBCHECKBOX", "TRZCHECKBOX"}) && g.Has(xcCheckBox)) return obj(1);
    if (name({"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}) && g.Has(xcRadioButton)) return obj(2);
    if (name({"TCXDBCHECKBOX", "TCXCHECKBOX"}) && g.Has(xcCheckBox)) return obj(3);
    if (Is(c, "TCustomGroupBox") && g.Has(xcPanel)) {
        ControlDecision d = Make(SkinKind::GroupBox);
        d.ChildrenBefore = true;
        return d;
    }
    if (Is(c, "TCustomStatusBar") && g.Has(xcStatusBar)) return Make(SkinKind::StatusBar);
    if (Is(c, "TProgressBar") && g.Has(xcProgress)) return Make(SkinKind::Progress);
    if ((name({"TTNTCOMBOBOX"}) || Is(c, "TCustomComboBox")) && g.Has(xcCombo)) return Make(SkinKind::ComBox);
    const bool scroll = g.Has(xcScrollbar);
    if (name({"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"}) && scroll)
        return Make(SkinKind::Scrollbar, SkinAttach::Scroll);
    if (Is(c, "TCustomPanel") && g.Has(xcPanel)) {
        ControlDecision d = Make(SkinKind::Box, SkinAttach::Control, true);
        d.ChildrenBefore = true;
        return d;
    }
    if (name({"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}) && scroll)
        return Make(SkinKind::Scrollbar, SkinAttach::Scroll);
    if (name({"TCHECKLISTBOX"}) && scroll) return Make(SkinKind::CheckList, SkinAttach::Scroll);
    if ((Is(c, "TCustomMemo") || NeedsScrollbar(c)) && scroll) return Make(SkinKind::Scrollbar, SkinAttach::Scroll);
    if (Is(c, "TButton") && g.Has(xcButton)) return Make(SkinKind::Button);
    if (Is(c, "TCustomEdit") && g.Has(xcEdit)) return Make(SkinKind::Edit);
    if (name({"TDCEDIT", "TDCDBEDIT"})) {
        const int64_t buttons = c.IntProp ? c.IntProp("NumButtons") : -1;
        if (buttons == 1 && g.Has(xcCombo)) return Make(SkinKind::ComBox);
        if (buttons == 0 && g.Has(xcEdit)) return Make(SkinKind::Edit, SkinAttach::Window);
        return {};
    }
    if (Is(c, "TCustomFrame")) {
        ControlDecision d;
        d.ComponentsAfter = true;
        return d;
    }
    if (Is(c, "TCustomForm")) {
        ControlDecision d = Make(SkinKind::Box, SkinAttach::Control, true);
        d.ComponentsAfter = true;
        return d;
    }
    return {};
}

RawWindowDecision DecideRawWindow(const std::string& cls, uint32_t style, const SkinGates& g) {
    RawWindowDecision d;
    const auto kind = [&](SkinKind k) {
        d.Kind = k;
        d.StopSearch = true;
        return d;
    };
    if (cls == "button" && (style & 0xB) != 0xB) {
        if (style & 0x80) return kind(SkinKind::None);  // BS_BITMAP
        switch (style & 0xF) {
        case 0x0:
        case 0x1:
        case 0x8: return kind(g.Has(xcButton) ? SkinKind::Button : SkinKind::None);
        case 0x2:
        case 0x3:
        case 0x5:
        case 0x6:
        case 0xA: return kind(g.Has(xcCheckBox) ? SkinKind::CheckBox : SkinKind::None);
        case 0x4:
        case 0x9: return kind(g.Has(xcRadioButton) ? SkinKind::RadioButton : SkinKind::None);
        default: return kind(SkinKind::None);
        }
    }
    if (cls == "combobox" && g.Has(xcCombo)) return kind((style & 3) == 1 ? SkinKind::None : SkinKind::ComBox);
    if (cls == "comboboxex32" && g.Has(xcCombo)) {
        d.FirstChild = true;
        return kind(SkinKind::ComBox);
    }
    // Only a size grip (SBS_SIZEGRIP) is a size box; a real scroll-bar control keeps its own look here.
    if (cls == "scrollbar" && (style & 0x10)) return kind(SkinKind::Sizer);
    if (cls == "systreeview32") return kind(SkinKind::None);
    if (cls == "#32770" && !(style & 0x10000)) {
        d.ChildWindowsFirst = true;
        return kind(SkinKind::BoxH);
    }
    if (cls == "tpanel" || cls == "ttntpanel.unicodeclass" || cls == "ttntsilentpaintpanel.unicodeclass") {
        d.ChildWindowsFirst = true;
        d.RecolourControl = true;
        return kind(SkinKind::None);
    }
    if (cls == "tcheckbox" && g.Has(xcCheckBox)) return kind(SkinKind::CheckBox);
    if (cls == "tcombobox" && g.Has(xcCombo)) return kind(SkinKind::ComBox);
    if (cls == "tbutton" && g.Has(xcButton)) return kind(SkinKind::Button);
    if (cls == "tprogressbar") return kind(SkinKind::Progress);
    if (cls == "tsilentpaintpanel") {
        d.RecolourControl = true;
        return kind(SkinKind::None);
    }
    if (cls == "systabcontrol32" && g.Has(xcTab) && !(style & 0x2000)) return kind(SkinKind::Tab);
    if (cls == "toolbarwindow32") return kind(SkinKind::BoxH);
    if (cls == "edit" && g.Has(xcEdit)) return kind(SkinKind::Edit);
    return d;
}

}  // namespace kes

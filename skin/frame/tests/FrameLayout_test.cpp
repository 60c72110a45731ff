// The rules of the skinned window frame: one table per decision.
#include <gtest/gtest.h>

#include "skin/data/tests/SkinTestSupport.h"
#include "skin/frame/FrameLayout.h"

using namespace kes;

namespace {

constexpr std::uint32_t kCaption = 0x00C00000, kThick = 0x40000, kModal = 0x80, kSys = 0x80000, kMin = 0x20000,
                        kMax = 0x10000, kChild = 0x40000000;

TEST(FrameLayout, KindsOfAWindow) {
    struct Case {
        const char* what;
        std::uint32_t style, ex;
        const char* cls;
        bool mdiClient, owner;
        int major, minor;
        int mdi, border;
        unsigned boxes;
        bool systemDialog;
    } cases[] = {
        {"sizeable form", kCaption | kThick | kSys | kMin | kMax, 0, "TKestrup", false, false, 10, 0, kMdiPlain,
         kBorderSizeable, kBoxSysMenu | kBoxMin | kBoxMax | kBoxKeepSysMenuStyle, false},
        {"owned fixed form", kCaption | kSys, 0, "TForm3", false, true, 10, 0, kMdiPlain, kBorderCaption, kBoxSysMenu,
         false},
        {"no caption", 0x80000000u | kThick, 0, "TPanel", false, true, 10, 0, kMdiPlain, kBorderNone, 0, false},
        {"modal frame", kCaption | kModal, 0, "TSetup", false, true, 6, 1, kMdiPlain, kBorderDialog, 0, false},
        {"dialog ex style", kCaption | kThick, 1, "TSetup", false, true, 6, 1, kMdiPlain, kBorderDialog, 0, false},
        {"message box", kCaption | kSys, 0, "#32770", false, true, 6, 1, kMdiPlain, kBorderDialog, kBoxSysMenu, true},
        {"help box, app window", kCaption | kSys, 0x400 | 0x40000, "TMessageForm", false, true, 5, 0, kMdiPlain,
         kBorderDialog, kBoxSysMenu | kBoxHelp | kBoxKeepSysMenuStyle, true},
        {"MDI frame", kCaption | kThick, 0, "TMain", true, false, 5, 1, kMdiFrame, kBorderSizeable, 0, false},
        {"MDI child, unowned", kCaption | kThick | kChild, 0x40, "TDoc", false, false, 10, 0, kMdiChild,
         kBorderSizeable, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FrameWindowFacts w;
        w.Style = c.style;
        w.ExStyle = c.ex;
        w.ClassName = c.cls;
        w.HasMdiClient = c.mdiClient;
        w.HasOwner = c.owner;
        w.MajorVersion = c.major;
        w.MinorVersion = c.minor;
        const FrameKinds k = ClassifyFrame(w);
        EXPECT_EQ(k.Mdi, c.mdi);
        EXPECT_EQ(k.Border, c.border);
        EXPECT_EQ(k.Boxes, c.boxes);
        EXPECT_EQ(k.SystemDialog, c.systemDialog);
    }
    EXPECT_EQ(WindowStateOfShowCmd(7), kStateMinimized);
    EXPECT_EQ(WindowStateOfShowCmd(3), kStateMaximized);
    EXPECT_EQ(WindowStateOfShowCmd(9), kStateNormal);
}

TEST(FrameLayout, MetricsAndTheClientRectangleNeverInverted) {
    TSkinData sd(nullptr, std::make_unique<test::FakePlatform>());
    ASSERT_TRUE(sd.ReadSkinStream(test::FullSkin()));
    // The test skin: left 4, right 5 wide (frames side by side); caption 24, bottom 5 high (frames stacked).
    const FrameMetrics m = FrameMetricsOf(sd, kBorderSizeable, 19);
    EXPECT_EQ(m.Left, 4);
    EXPECT_EQ(m.Right, 5);
    EXPECT_EQ(m.Caption, 24);
    EXPECT_EQ(m.Bottom, 5);
    EXPECT_EQ(m.Menu, 19);
    const FrameMetrics none = FrameMetricsOf(sd, kBorderNone, 19);
    EXPECT_EQ(none.Left + none.Right + none.Caption + none.Bottom + none.Menu, 0);

    struct Case {
        int x, y, cx, cy;
        TRect client;
    } cases[] = {
        {100, 50, 300, 200, {104, 93, 395, 245}},
        {0, 0, 9, 48, {4, 43, 4, 43}},      // exactly the borders: empty client area
        {10, 10, 6, 20, {14, 30, 14, 30}},  // smaller than the borders: empty, never inverted, inside the window
        {10, 10, 2, 2, {12, 12, 12, 12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cx << "x" << c.cy);
        const TRect r = FrameClientRect(c.x, c.y, c.cx, c.cy, m);
        EXPECT_EQ(r, c.client);
        EXPECT_LE(r.Left, r.Right);
        EXPECT_LE(r.Top, r.Bottom);
    }
}

TEST(FrameLayout, HitTestAnswers) {
    const FrameMetrics m{4, 5, 24, 5, 19};
    const FrameMetrics noMenu{4, 5, 24, 5, 0};
    struct Case {
        int def, y;
        const FrameMetrics* metrics;
        int expected;
    } cases[] = {
        {0, 2, &m, 0},       {2, 3, &m, 2},    {0, 4, &m, 2},   {0, 23, &m, 2}, {0, 24, &m, 5},
        {2, 42, &m, 5},      {0, 43, &m, 2},   {0, 300, &m, 2},                  // below the menu row: never HTMENU
        {0, 30, &noMenu, 2}, {5, 20, &m, 2},   {5, 2, &m, 0},   {5, 30, &m, 5},  // the system's own menu place is
                                                                                 // decided again
        {1, 30, &m, 1},      {10, 30, &m, 10}, {20, 2, &m, 20},                  // other answers stay
    };
    for (const Case& c : cases) EXPECT_EQ(FrameHitTest(c.def, c.y, *c.metrics), c.expected) << c.def << " at y " << c.y;
}

TEST(FrameLayout, CaptionTextPlace) {
    auto in = [](int align, bool rtl, bool popup, bool dialog) {
        CaptionTextInput i;
        i.StripWidth = 400;
        i.StripHeight = 30;
        i.TextWidth = 100;
        i.TextHeight = 14;
        i.Alignment = align;
        i.TextShift = 30;
        i.TextShiftVert = 4;
        i.TextRightClip = 96;
        i.TxtBackLeft = 2;
        i.TxtBackRight = 3;
        i.WidestRightOffset = 80;
        i.RightToLeft = rtl;
        i.Popup = popup;
        i.Dialog = dialog;
        return i;
    };
    struct Case {
        const char* what;
        CaptionTextInput input;
        TRect expected;
    } cases[] = {
        {"left", in(0, false, false, false), {30, 10, 135, 24}},
        {"centre", in(1, false, false, false), {147, 10, 252, 24}},
        {"right, clipped", in(2, false, false, false), {199, 10, 304, 24}},
        {"dialog left", in(0, false, false, true), {14, 10, 135, 24}},
        {"popup keeps clear of the buttons", in(2, false, true, false), {199, 10, 304, 24}},
        {"rtl left", in(0, true, false, false), {225, 10, 330, 24}},
        {"rtl right", in(2, true, false, false), {40, 10, 145, 24}},
    };
    for (const Case& c : cases) EXPECT_EQ(CaptionTextRect(c.input), c.expected) << c.what;
    // A long caption is cut before the right-aligned buttons.
    CaptionTextInput wide = in(0, false, false, false);
    wide.TextWidth = 500;
    EXPECT_EQ(CaptionTextRect(wide).Right, 400 - 96);
    wide.Popup = true;
    EXPECT_EQ(CaptionTextRect(wide).Right, 400 - 80 - 5);
}

TEST(FrameLayout, CaptionButtonPlaces) {
    const FrameMetrics m{4, 5, 24, 5, 20};
    const TRect text{30, 5, 130, 19};
    struct Case {
        int align, x, y;
        TRect expected;
    } cases[] = {
        {0, 8, 4, {8, 4, 24, 20}},        {1, 28, 5, {372, 5, 388, 21}},
        {2, 3, 4, {11, 4, 27, 20}},       {8, 3, 4, {11, 4, 27, 20}},
        {3, 2, 4, {132, 4, 148, 20}},     {9, 2, 4, {132, 4, 148, 20}},
        {100, 40, 0, {349, 26, 365, 42}}, {5, 10, 10, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CaptionButtonRect(c.align, c.x, c.y, 16, 16, 400, text, m, 6), c.expected) << "align " << c.align;
}

TEST(FrameLayout, WhichCaptionButtonsShow) {
    const unsigned all = kBoxSysMenu | kBoxMin | kBoxMax;
    struct Case {
        int action, visibility, visibility1;
        bool maximized, active;
        unsigned boxes;
        bool dialog;
        bool visible, enabled;
    } cases[] = {
        {0, 0, 0, false, true, all, false, true, true},                       // close
        {0, 0, 0, false, true, kBoxMin, false, false, true},                  // close without a system menu
        {1, 2, 6, false, true, all, false, true, true},                       // maximize while normal
        {1, 2, 6, true, true, all, false, false, true},                       // ... hidden while maximized
        {1, 1, 6, true, true, all, false, true, true},                        // restore while maximized
        {1, 2, 6, false, true, kBoxSysMenu | kBoxMin, false, true, false},    // no max box: shown disabled
        {2, 8, 0, false, true, kBoxSysMenu | kBoxMax, false, true, false},    // no min box: disabled
        {2, 8, 0, false, true, kBoxMax, false, false, false},                 // 8 needs the system menu
        {1, 6, 6, false, true, kBoxSysMenu, false, false, false},             // neither box
        {4, 10, 10, false, true, kBoxSysMenu | kBoxHelp, false, true, true},  // help alone
        {4, 10, 10, false, true, all | kBoxHelp, false, false, true},         // help with min/max boxes
        {5, 3, 0, false, true, all, false, true, true},                       // active only
        {5, 3, 0, false, false, all, false, false, true},
        {5, 4, 4, false, false, all, false, true, true},                    // inactive only
        {5, 7, 7, false, true, kBoxSysMenu, false, true, true},             // no max box
        {5, 9, 9, false, true, kBoxSysMenu | kBoxMin, false, false, true},  // no min box
        {5, 5, 0, false, true, all, false, false, true},                    // never
        {5, -1, 0, false, true, all, false, false, true},
        {5, 42, 0, false, true, all, false, false, true},      // unlisted
        {5, 500, 0, false, true, all, false, true, true},      // 201-999
        {5, 100, 100, false, true, all, false, false, true},   // MDI buttons, no MDI
        {5, 200, 200, false, true, all, true, true, true},     // own dialog
        {3, 0, 0, false, true, all, true, false, true},        // no icon on a dialog
        {5, 1500, 1500, false, true, all, false, true, true},  // asked: answer 1500 - 1000 > 0
        {5, 1000, 0, false, true, all, false, false, true},    // asked: no answer
    };
    for (const Case& c : cases) {
        ButtonContext ctx;
        ctx.Maximized = c.maximized;
        ctx.Active = c.active;
        ctx.Boxes = c.boxes;
        ctx.DialogBorder = c.dialog;
        ctx.DialogNotSystem = c.dialog;
        ctx.Ask = [](int code, int) { return code - 1000; };
        const ButtonShow s = CaptionButtonShow(c.action, c.visibility, c.visibility1, ctx);
        EXPECT_EQ(s.Visible, c.visible) << "action " << c.action << " visibility " << c.visibility;
        EXPECT_EQ(s.Enabled, c.enabled) << "action " << c.action << " visibility " << c.visibility;
    }
}

TEST(FrameLayout, WhatAClickDoes) {
    using C = NcCommand;
    const NcWindowState normal{kStateNormal, true, true, kMdiPlain}, maxed{kStateMaximized, true, true, kMdiPlain},
        mined{kStateMinimized, true, true, kMdiPlain}, noClose{kStateNormal, false, true, kMdiPlain},
        child{kStateNormal, true, true, kMdiChild}, frame{kStateNormal, true, true, kMdiFrame};
    struct Case {
        int action;
        bool enabled;
        NcWindowState w;
        C command;
        int state;
        bool timerOff;
    } cases[] = {
        {0, true, normal, C::Close, -1, true},
        {0, true, noClose, C::None, -1, false},
        {1, true, normal, C::Maximize, 1, false},
        {1, true, maxed, C::Restore, 0, false},
        {22, false, normal, C::None, -1, false},
        {2, true, normal, C::Minimize, 2, false},
        {23, true, mined, C::Restore, 0, false},
        {2, false, normal, C::None, -1, false},
        {3, true, normal, C::SystemMenu, -1, false},
        {12, true, normal, C::SystemMenu, -1, false},
        {4, true, normal, C::ContextHelp, -1, false},
        {7, true, frame, C::MdiChildMinimize, -1, false},
        {61, true, frame, C::MdiChildRestore, -1, false},
        {9, true, frame, C::MdiChildClose, -1, false},
        {9, true, normal, C::None, -1, false},
        {33, true, normal, C::ButtonClick, -1, false},
    };
    for (const Case& c : cases) {
        const NcAction a = CaptionButtonAction(c.action, c.enabled, c.w);
        EXPECT_EQ(a.Command, c.command) << "action " << c.action;
        EXPECT_EQ(a.NewState, c.state) << "action " << c.action;
        EXPECT_EQ(a.TimerOff, c.timerOff) << "action " << c.action;
    }
    EXPECT_TRUE(CaptionButtonAction(1, true, child).SetMdiMaximized);
    EXPECT_TRUE(CaptionButtonAction(1, true, normal).ClearHot);
    EXPECT_TRUE(CaptionButtonAction(2, true, normal).SysMenuStyleBack);

    struct Dbl {
        bool icon, other;
        NcWindowState w;
        C command;
    } dbl[] = {
        {true, false, normal, C::Close},
        {true, false, noClose, C::None},
        {false, true, normal, C::None},
        {false, false, maxed, C::Restore},
        {false, false, mined, C::Restore},
        {false, false, normal, C::Maximize},
        {false, false, {kStateNormal, true, false, kMdiPlain}, C::Default},
    };
    for (const Dbl& d : dbl)
        EXPECT_EQ(CaptionDoubleClick(d.icon, d.other, d.w).Command, d.command) << d.icon << d.other << d.w.State;
}

TEST(FrameLayout, RegionPlan) {
    auto plan = [&](bool l, bool r, bool t, bool b, int border = kBorderSizeable, int w = 200, int h = 100,
                    FrameMetrics mm = {4, 5, 24, 5, 0}) {
        RegionPlanInput in;
        in.Width = w;
        in.Height = h;
        in.Metrics = mm;
        in.Border = border;
        in.Trans[1] = l;
        in.Trans[2] = r;
        in.Trans[3] = t;
        in.Trans[4] = b;
        return RegionPlan(in);
    };
    using P = std::vector<RegionPiece>;
    EXPECT_EQ(plan(false, false, false, false), (P{{0, {0, 0, 200, 100}}}));
    EXPECT_EQ(plan(true, true, false, false), (P{{0, {4, 24, 195, 95}},
                                                 {1, {0, 0, 4, 100}},
                                                 {2, {195, 0, 200, 100}},
                                                 {0, {4, 95, 195, 100}},
                                                 {0, {4, 0, 195, 24}}}));
    EXPECT_EQ(plan(false, false, true, true), (P{{0, {4, 24, 195, 95}},
                                                 {0, {0, 0, 4, 100}},
                                                 {0, {195, 0, 200, 100}},
                                                 {4, {4, 95, 195, 100}},
                                                 {3, {4, 0, 195, 24}}}));
    EXPECT_EQ(plan(true, false, false, false, kBorderNone), (P{{0, {4, 24, 195, 95}}}));
    // A one-row caption and a one-pixel bottom are kept whole.
    EXPECT_EQ(plan(false, false, true, true, kBorderSizeable, 200, 100, {4, 5, 1, 1, 0}), (P{{0, {4, 1, 195, 99}},
                                                                                             {0, {0, 0, 4, 100}},
                                                                                             {0, {195, 0, 200, 100}},
                                                                                             {0, {4, 99, 195, 100}},
                                                                                             {0, {4, 0, 195, 1}}}));
    EXPECT_TRUE(plan(true, true, true, true, kBorderSizeable, 0, 100).empty());
}

// Every sizing code of a window the user sizes, by where the pointer is on the skin's borders.
TEST(FrameLayout, TheSkinsBordersSizeByEdgeAndCorner) {
    constexpr int kNone = 0, kL = 10, kR = 11, kT = 12, kTL = 13, kTR = 14, kB = 15, kBL = 16, kBR = 17;
    const FrameMetrics m{6, 6, 30, 6, 19};
    struct Case {
        const char* what;
        int x, y, code;
    } cases[] = {
        {"the corner pixel itself", 0, 0, kTL},
        {"inside the rounded top-left corner", 3, 3, kTL},
        {"top edge near the left", 15, 1, kTL},
        {"top edge past the corner", 16, 1, kT},
        {"left border near the top", 2, 15, kTL},
        {"left border past the corner", 2, 16, kL},
        {"top-right corner", 296, 3, kTR},
        {"top edge near the right", 284, 2, kTR},
        {"top edge before the right corner", 283, 2, kT},
        {"right border near the top", 297, 15, kTR},
        {"right border past the corner", 297, 16, kR},
        {"bottom-left corner", 3, 196, kBL},
        {"left border near the bottom", 2, 184, kBL},
        {"left border above the bottom corner", 2, 183, kL},
        {"bottom border near the left", 15, 197, kBL},
        {"bottom border past the corner", 16, 197, kB},
        {"bottom-right corner", 296, 196, kBR},
        {"bottom border", 150, 197, kB},
        {"top edge", 150, 2, kT},
        {"caption below the top rows", 150, 15, kNone},
        {"menu row", 150, 40, kNone},
        {"client area", 150, 100, kNone},
        {"first column inside the left border", 6, 100, kNone},
        {"left border's inner column", 5, 100, kL},
        {"right border's inner column", 294, 100, kR},
        {"left of the right border", 293, 100, kNone},
        {"outside the window", -1, 5, kNone},
        {"past the right edge", 300, 5, kNone},
    };
    for (const Case& c : cases) EXPECT_EQ(FrameSizingHitTest({c.x, c.y}, 300, 200, m, 16, 4), c.code) << c.what;
    // A window without borders has only its top rows.
    EXPECT_EQ(FrameSizingHitTest({150, 100}, 300, 200, FrameMetrics{}, 16, 4), kNone);
    EXPECT_EQ(FrameSizingHitTest({150, 1}, 300, 200, FrameMetrics{}, 16, 4), kT);
}

// A caption or bar button acts on the release only when the press began on it.
TEST(FrameLayout, AReleaseRunsTheButtonThePressBeganOn) {
    struct Case {
        const char* what;
        int pressed, over;
        NcRelease result;
    } cases[] = {
        {"pressed and released on the close button", 0, 0, NcRelease::Run},
        {"pressed on maximize, released on close", 1, 0, NcRelease::Nothing},
        {"a sizing or caption drag ends over close", -1, 0, NcRelease::Nothing},
        {"pressed on close, released on the caption", 0, -1, NcRelease::Default},
        {"no button at all", -1, -1, NcRelease::Default},
    };
    for (const Case& c : cases) EXPECT_EQ(NcButtonRelease(c.pressed, c.over), c.result) << c.what;
}

}  // namespace

namespace {

// ---- MDI ----

TEST(FrameLayoutMdi, VisibilityCode100ShowsTheChildButtonsOfAMaximizedChildInTheBar) {
    struct Case {
        int mdiKind;
        bool menuBar, activeMaximized;
        int visibility, visibility1;
        bool visible;
    } cases[] = {
        {kMdiFrame, true, true, 100, 100, true},     // the three buttons of the maximized child
        {kMdiFrame, true, false, 100, 100, false},   // the active child is not maximized
        {kMdiFrame, false, true, 100, 100, false},   // no skinned menu bar to show them in
        {kMdiChild, true, true, 100, 100, false},    // a child shows none itself
        {kMdiPlain, true, true, 100, 100, false},    // no MDI
        {kMdiFrame, true, true, 100, 0, true},       // K1 of 100 is K: 0 keeps it
        {kMdiFrame, true, false, 0, 100, false},     // ... and 100 in K1 hides it as K would
        {kMdiFrame, true, true, 2, 100, true},       // with other codes as usual (not maximized itself)
    };
    for (const Case& c : cases) {
        ButtonContext ctx;
        ctx.Boxes = kBoxSysMenu | kBoxMin | kBoxMax;
        ctx.MdiChildMaximizedWithMenuBar = MdiChildButtonsShow(c.mdiKind, c.menuBar, c.activeMaximized);
        for (int action : {7, 8, 9}) {
            const ButtonShow s = CaptionButtonShow(action, c.visibility, c.visibility1, ctx);
            EXPECT_EQ(s.Visible, c.visible) << "kind " << c.mdiKind << " bar " << c.menuBar << " max "
                                            << c.activeMaximized << " action " << action;
            EXPECT_TRUE(s.Enabled);
        }
    }
    // Actions 7-9 act on the active child only from the frame.
    for (int kind : {kMdiPlain, kMdiFrame, kMdiChild}) {
        NcWindowState w;
        w.Mdi = kind;
        const NcCommand want[] = {NcCommand::MdiChildMinimize, NcCommand::MdiChildRestore, NcCommand::MdiChildClose};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(CaptionButtonAction(7 + i, true, w).Command, kind == kMdiFrame ? want[i] : NcCommand::None);
    }
}

TEST(FrameLayoutMdi, StageRulesOfMdiChildren) {
    struct Case {
        int mdiKind, state;
        bool child;
        int border;
        bool systemDialog;
        bool mdiRedraw, resize, keepPlace, region, frameChanged;
    } cases[] = {
        {kMdiChild, kStateMaximized, true, kBorderSizeable, false, true, false, false, false, false},
        {kMdiChild, kStateMinimized, true, kBorderSizeable, false, false, false, false, false, false},
        {kMdiChild, kStateNormal, true, kBorderSizeable, false, false, true, false, true, false},
        {kMdiChild, kStateNormal, true, kBorderNone, false, false, true, false, true, false},  // MDI child even so
        {kMdiFrame, kStateNormal, false, kBorderSizeable, false, false, true, true, true, false},
        {kMdiFrame, kStateMaximized, false, kBorderSizeable, false, false, true, true, false, true},
        {kMdiPlain, kStateNormal, false, kBorderDialog, true, false, true, false, true, false},
        {kMdiPlain, kStateNormal, false, kBorderSizeable, true, false, true, false, true, false},  // dialog box
        {kMdiPlain, kStateMinimized, false, kBorderSizeable, false, false, false, false, false, false},
        {kMdiPlain, kStateNormal, true, kBorderSizeable, false, false, false, false, false, false},   // plain child
        {kMdiPlain, kStateNormal, false, kBorderNone, false, false, false, false, false, false},     // no caption
    };
    for (const Case& c : cases) {
        const FrameStartPlan p = StartPlanOf(c.mdiKind, c.state, c.child, c.border, c.systemDialog);
        EXPECT_EQ(p.MdiRedraw, c.mdiRedraw) << c.mdiKind << " " << c.state;
        EXPECT_EQ(p.Resize, c.resize) << c.mdiKind << " " << c.state;
        EXPECT_EQ(p.KeepPlace, c.keepPlace) << c.mdiKind << " " << c.state;
        EXPECT_EQ(p.Region, c.region) << c.mdiKind << " " << c.state;
        EXPECT_EQ(p.FrameChanged, c.frameChanged) << c.mdiKind << " " << c.state;
    }
    // Before the skin starts nothing of the frame runs, and only an MDI child passes WM_NCACTIVATE on; a maximized
    // MDI child keeps the system's frame all the time.
    struct Msg {
        int stage, mdiKind, state;
        bool runs, holdActivate;
    } msgs[] = {
        {0, kMdiPlain, kStateNormal, false, true},     {0, kMdiChild, kStateNormal, false, false},
        {0, kMdiFrame, kStateNormal, false, true},     {1, kMdiChild, kStateNormal, true, false},
        {1, kMdiChild, kStateMaximized, false, false}, {3, kMdiChild, kStateMaximized, false, false},
        {1, kMdiChild, kStateMinimized, true, false},  {1, kMdiPlain, kStateMaximized, true, false},
        {3, kMdiFrame, kStateNormal, true, false},     {6, kMdiPlain, kStateNormal, true, false},
    };
    for (const Msg& m : msgs) {
        EXPECT_EQ(FrameMessagesRun(m.stage, m.mdiKind, m.state), m.runs) << m.stage << " " << m.mdiKind;
        EXPECT_EQ(HoldNcActivate(m.stage, m.mdiKind), m.holdActivate) << m.stage << " " << m.mdiKind;
    }
}

TEST(FrameLayoutMdi, CaptionShortfallOfAnMdiChildBecomesItsMenuRow) {
    struct Case {
        int caption, systemCaption, systemFrame, menu;
    } cases[] = {
        {24, 19, 4, 0},   // higher than the system's
        {23, 19, 4, 0},   // exactly as high
        {18, 19, 4, 5},   // five short
        {0, 19, 4, 23},   // no caption image at all
        {30, 0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MdiChildMenuHeight(c.caption, c.systemCaption, c.systemFrame), c.menu) << c.caption;
        // The row counts in the child's client area like a menu bar.
        FrameMetrics m{4, 5, c.caption, 5, MdiChildMenuHeight(c.caption, c.systemCaption, c.systemFrame)};
        EXPECT_EQ(FrameClientRect(0, 0, 300, 200, m).Top, c.caption + c.menu);
    }
}

TEST(FrameLayoutMdi, ScreenPointsBecomeWindowPoints) {
    const FrameMetrics m{4, 5, 24, 5, 19};
    struct Case {
        TPoint client;
        bool minimizedMdiChild;
        TPoint window;
    } cases[] = {
        {{0, 0}, false, {4, 43}},
        {{10, -30}, false, {14, 13}},   // in the caption, above the client area
        {{-4, -43}, false, {0, 0}},     // the window's corner
        {{0, 0}, true, {0, 0}},         // a minimized MDI child: its client area is the window
        {{30, 12}, true, {30, 12}},
    };
    for (const Case& c : cases) {
        const TPoint p = FrameWindowPoint(c.client, m, c.minimizedMdiChild);
        EXPECT_EQ(p.X, c.window.X) << c.client.X << "," << c.client.Y << " " << c.minimizedMdiChild;
        EXPECT_EQ(p.Y, c.window.Y) << c.client.X << "," << c.client.Y << " " << c.minimizedMdiChild;
    }
}

}  // namespace

// The rules of the skinned menu bar: one table per decision.
#include <gtest/gtest.h>

#include "skin/frame/MenuBarLayout.h"

using namespace kes;

namespace {

constexpr unsigned kLeft = 0x25, kRight = 0x27, kDown = 0x28;

MenuBarItem Item(const char* caption, bool sub = true, bool visible = true, bool enabled = true) {
    MenuBarItem i;
    i.Caption = caption;
    i.HasSubmenu = sub;
    i.Visible = visible;
    i.Enabled = enabled;
    return i;
}

TEST(MenuBarLayout, ButtonsFollowOneAnotherFromTheMargin) {
    const std::vector<MenuBarItem> items{Item("&File"), Item("Hidden", true, false), Item(""), Item("Log", false)};
    const std::vector<int> widths{20, 30, 0, 15};
    struct Case {
        const char* what;
        bool object, rtl;
        int left, right, barWidth;
        int margin;
        TRect file, log;
        int mdiButtonsLeft = -1;
    } cases[] = {
        {"no menuBar image", false, false, 9, 9, 400, 6, {14, 20, 44, 37}, {44, 20, 69, 37}},
        {"menuBar image", true, false, 9, 3, 400, 13, {21, 20, 51, 37}, {51, 20, 76, 37}},
        {"right to left", true, true, 9, 3, 400, 11, {367, 20, 397, 37}, {342, 20, 367, 37}},
        {"bar narrower than the margin", true, false, 40, 0, 30, 12, {20, 20, 50, 37}, {50, 20, 75, 37}},
        // A maximized MDI child's buttons in the bar: right to left, the buttons start 5 pixels left of them;
        // left to right they change nothing.
        {"right to left, MDI buttons", true, true, 9, 3, 400, 11, {305, 20, 335, 37}, {280, 20, 305, 37}, 340},
        {"left to right, MDI buttons", true, false, 9, 3, 400, 13, {21, 20, 51, 37}, {51, 20, 76, 37}, 340},
    };
    for (const Case& c : cases) {
        MenuBarGeometry g;
        g.Bar = {8, 20, 8 + c.barWidth, 38};
        g.HasMenuBarObject = c.object;
        g.MenuBarLeftWidth = c.left;
        g.MenuBarRightWidth = c.right;
        g.RightToLeft = c.rtl;
        g.MdiButtonsLeft = c.mdiButtonsLeft;
        EXPECT_EQ(MenuBarMargin(g), c.margin) << c.what;
        const auto r = LayoutMenuBar(g, items, widths);
        ASSERT_EQ(r.size(), items.size());
        EXPECT_EQ(r[0], c.file) << c.what;
        EXPECT_TRUE(r[1].IsEmpty() && r[2].IsEmpty()) << c.what << ": hidden and empty buttons take no room";
        EXPECT_EQ(r[3], c.log) << c.what;
        // The hit test: inside a button, past the last one, and never an empty caption.
        EXPECT_EQ(MenuBarButtonAt(items, r, {c.file.Left, 25}), 0) << c.what;
        EXPECT_EQ(MenuBarButtonAt(items, r, {c.log.Right - 1, c.log.Bottom - 1}), 3) << c.what;
        EXPECT_EQ(MenuBarButtonAt(items, r, {c.file.Left, c.file.Bottom}), -1) << c.what;
    }
}

TEST(MenuBarLayout, SwitchingWrapsAndSkipsWhatCannotOpen) {
    // 0 hidden, 1 File, 2 command, 3 disabled, 4 empty caption, 5 Type.
    const std::vector<MenuBarItem> items{Item("Hidden", true, false), Item("File"),  Item("Connect", false),
                                         Item("Off", true, true, false), Item(""),  Item("Type")};
    struct Case {
        int from, step, to;
    } cases[] = {{1, 1, 5}, {5, 1, 1}, {1, -1, 5}, {5, -1, 1}, {-1, 1, 1}};
    for (const Case& c : cases) EXPECT_EQ(NextMenuBarButton(items, c.from, c.step), c.to) << c.from << " " << c.step;
    EXPECT_EQ(NextMenuBarButton({Item("Only")}, 0, 1), -1) << "nothing else to switch to";
    EXPECT_EQ(NextMenuBarButton({}, 0, 1), -1);
}

TEST(MenuBarLayout, KeysInsideAPopup) {
    struct Case {
        const char* what;
        unsigned key;
        bool rtl, keyMessage;
        MenuSelection sel;
        MenuBarMove move;
    } cases[] = {
        {"right, nothing highlighted", kRight, false, true, {}, MenuBarMove::Next},
        {"right on a plain item", kRight, false, true, {true, false, true}, MenuBarMove::Next},
        {"right on a cascade opens it", kRight, false, true, {true, true, true}, MenuBarMove::None},
        {"right inside a cascade", kRight, false, true, {true, false, false}, MenuBarMove::Next},
        {"left in the bar's popup", kLeft, false, true, {true, false, true}, MenuBarMove::Previous},
        {"left inside a cascade closes it", kLeft, false, true, {true, false, false}, MenuBarMove::None},
        {"left, nothing highlighted", kLeft, false, true, {}, MenuBarMove::Previous},
        {"right to left: right acts as left", kRight, true, true, {true, false, false}, MenuBarMove::None},
        {"right to left: left acts as right", kLeft, true, true, {true, false, true}, MenuBarMove::Next},
        {"a character message is never mirrored", kLeft, true, false, {true, false, true}, MenuBarMove::Previous},
        {"down", kDown, false, true, {}, MenuBarMove::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MenuBarKeyMove(MirroredMenuKey(c.keyMessage, c.key, c.rtl), c.sel), c.move) << c.what;
}

TEST(MenuBarLayout, AltF10AndAltLetter) {
    const std::vector<MenuBarItem> items{Item("", false), Item("&File"), Item("Se&arch", false),
                                         Item("&Help", true, true, false), Item("&Log", true, false), Item("A&&B")};
    struct Case {
        const char* what;
        unsigned ch;
        bool tracking, captured;
        bool handled, sysMenu;
        int button;
    } cases[] = {
        {"Alt alone: the first button with a caption", 0, false, false, true, false, 1},
        {"Alt+f (either case)", 'f', false, false, true, false, 1},
        {"Alt+A: the accelerator, not the first letter", 'A', false, false, true, false, 2},
        {"Alt+h: a disabled button is no accelerator", 'h', false, false, false, false, -1},
        {"Alt+l: nor a hidden one", 'l', false, false, false, false, -1},
        {"Alt+b: \"&&\" is a plain ampersand", 'b', false, false, false, false, -1},
        {"Alt+Space: the system menu", ' ', false, false, false, true, -1},
        {"Alt+-: an MDI child's system menu goes on", '-', false, false, false, false, -1},
        {"a popup is open", 0, true, false, false, false, -1},
        {"the mouse is captured", 'f', false, true, false, false, -1},
    };
    for (const Case& c : cases) {
        const KeyMenuAnswer a = DecideKeyMenu(c.ch, c.tracking, c.captured, items);
        EXPECT_EQ(a.Handled, c.handled) << c.what;
        EXPECT_EQ(a.ShowSysMenu, c.sysMenu) << c.what;
        EXPECT_EQ(a.Button, c.button) << c.what;
    }
    EXPECT_TRUE(DecideKeyMenu(0, false, false, {}).Handled) << "Alt alone never goes on to the system's bar";
}

// The keys reach every button that shows: command buttons and disabled ones too, hidden ones and empty captions not.
TEST(MenuBarLayout, TheKeysReachEveryButtonThatShows) {
    // 0 hidden, 1 File, 2 command, 3 disabled, 4 empty caption, 5 Type.
    const std::vector<MenuBarItem> items{Item("Hidden", true, false), Item("File"),  Item("Connect", false),
                                         Item("Off", true, true, false), Item(""),  Item("Type")};
    struct Case {
        int from, step, to;
    } cases[] = {{1, 1, 2}, {2, 1, 3}, {3, 1, 5}, {5, 1, 1}, {1, -1, 5}, {2, -1, 1}, {5, -1, 3}, {-1, 1, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(NextMenuBarButton(items, c.from, c.step, MenuBarReach::Keys), c.to) << c.from << " " << c.step;
    EXPECT_TRUE(MenuBarReachable(items[2]));
    EXPECT_TRUE(MenuBarReachable(items[3]));
    EXPECT_FALSE(MenuBarReachable(items[0]));
    EXPECT_FALSE(MenuBarReachable(items[4]));
    EXPECT_EQ(NextMenuBarButton({Item("Only", false)}, 0, 1, MenuBarReach::Keys), -1);
}

// Keys while a button without a popup is held.
TEST(MenuBarLayout, KeysOnAHeldButton) {
    constexpr unsigned kReturn = 0x0D, kMenu = 0x12, kEscape = 0x1B, kF10 = 0x79, kA = 'A';
    struct Case {
        const char* what;
        unsigned key;
        bool up, rtl;
        HeldKey result;
    } cases[] = {
        {"right", kRight, false, false, HeldKey::Next},
        {"left", kLeft, false, false, HeldKey::Previous},
        {"right to left: right goes back", kRight, false, true, HeldKey::Previous},
        {"right to left: left goes on", kLeft, false, true, HeldKey::Next},
        {"enter runs", kReturn, false, false, HeldKey::Run},
        {"escape leaves", kEscape, false, false, HeldKey::Leave},
        {"alt pressed", kMenu, false, false, HeldKey::Stay},
        {"alt released", kMenu, true, false, HeldKey::Leave},
        {"f10 pressed", kF10, false, false, HeldKey::Stay},
        {"f10 released", kF10, true, false, HeldKey::Leave},
        {"down", kDown, false, false, HeldKey::Stay},
        {"a letter", kA, false, false, HeldKey::Stay},
        {"enter's release", kReturn, true, false, HeldKey::Stay},
    };
    for (const Case& c : cases) EXPECT_EQ(MenuBarHeldKey(c.key, c.up, c.rtl), c.result) << c.what;
}

// A character typed in a popup of owner-drawn items picks as the system picks among plain ones.
TEST(MenuBarLayout, ACharacterPicksAnOwnerDrawnItem) {
    const std::vector<std::string> captions{"SourceFile Window", "-", "E&xit", "Save", "&Help", "Sure? (Clear)", "off",
                                            "Hide"};
    const std::vector<bool> choosable{true, false, true, true, true, true, false, true};
    struct Case {
        const char* what;
        char c;
        int current;
        int item;
        bool run;
    } cases[] = {
        {"an accelerator runs its item", 'x', -1, 2, true},
        {"an accelerator in upper case", 'X', -1, 2, true},
        {"the accelerator wins over another item's first letter", 'h', -1, 4, true},
        {"a first letter where no item has that accelerator", 'e', -1, 2, true},
        {"three first letters: the first is highlighted", 's', -1, 0, false},
        {"three first letters: then the next", 's', 0, 3, false},
        {"three first letters: then the last", 's', 3, 5, false},
        {"three first letters: past the last back to the first", 's', 5, 0, false},
        {"no item of that letter", 'q', -1, -1, false},
        {"a disabled item does not answer", 'o', -1, -1, false},
        {"a separator does not answer", '-', -1, -1, false},
    };
    for (const Case& c : cases) {
        const MenuCharPick p = MenuCharItem(captions, choosable, c.c, c.current);
        EXPECT_EQ(p.Item, c.item) << c.what;
        EXPECT_EQ(p.Run, c.run) << c.what;
    }
}

}  // namespace

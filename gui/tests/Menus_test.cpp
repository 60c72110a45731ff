// Menu items: radio groups, command ids, shortcuts and change notifications.
#include "gui/Menus.h"

#include <gtest/gtest.h>

#include "gui/Controls.h"
#include "gui/Keys.h"

using namespace kes;

TEST(MenuItems, RadioItemsOfOneGroupExcludeEachOther) {
    TComponent owner(nullptr);
    auto* menu = new TMainMenu(&owner);
    TMenuItem* type = NewMenuItem(&owner, menu->Items(), "", "Processor-Type");
    TMenuItem* r[4];
    for (int i = 0; i < 4; ++i) {
        r[i] = NewMenuItem(&owner, type, "", ("Mode " + std::to_string(i)).c_str());
        r[i]->SetRadioItem(true);
        r[i]->SetGroupIndex(1);
    }
    TMenuItem* other = NewMenuItem(&owner, type, "", "Separate");
    other->SetRadioItem(true);
    other->SetGroupIndex(2);
    other->SetChecked(true);
    r[0]->SetChecked(true);
    r[3]->SetChecked(true);  // the last one wins
    EXPECT_FALSE(r[0]->Checked());
    EXPECT_TRUE(r[3]->Checked());
    EXPECT_TRUE(other->Checked());  // another group
    r[3]->SetChecked(false);
    for (auto* x : r) EXPECT_FALSE(x->Checked());
    // AutoCheck on a radio item checks it (never unchecks).
    r[1]->AutoCheck = true;
    r[1]->Click();
    r[1]->Click();
    EXPECT_TRUE(r[1]->Checked());
}

TEST(MenuItems, CommandsAreUniqueAndFreedWithTheItem) {
    TComponent owner(nullptr);
    auto* menu = new TPopupMenu(&owner);
    TMenuItem* a = NewMenuItem(&owner, menu->Items(), "", "a");
    TMenuItem* b = NewMenuItem(&owner, a, "", "b");
    EXPECT_NE(a->Command(), b->Command());
    EXPECT_EQ(TMenuItem::FindByCommand(b->Command()), b);
    EXPECT_EQ(menu->FindItem(b->Command()), b);
    EXPECT_EQ(b->GetParentMenu(), menu);
    const int cb = b->Command();
    delete a;  // frees b too
    EXPECT_EQ(TMenuItem::FindByCommand(cb), nullptr);
    EXPECT_EQ(menu->Items()->Count(), 0);
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(MenuItems, ChangesReachTheMenu) {
    TComponent owner(nullptr);
    auto* menu = new TMainMenu(&owner);
    std::vector<std::pair<TMenuItem*, bool>> seen;
    menu->OnChange = [&](TObject*, TMenuItem* src, bool rebuild) { seen.emplace_back(src, rebuild); };
    TMenuItem* file = NewMenuItem(&owner, menu->Items(), "", "&File");
    TMenuItem* open = NewMenuItem(&owner, file, "", "&Open");
    seen.clear();
    open->SetEnabled(false);
    open->SetCaption("&Open...");
    open->SetVisible(false);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], std::make_pair(open, false));
    EXPECT_EQ(seen[2], std::make_pair(open, true));  // hiding changes the item set
    seen.clear();
    open->SetEnabled(false);  // no change, no notice
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(file->Find("open..."), open);
    EXPECT_EQ(menu->Items()->Find("FILE"), file);

    // Further listeners are told after the program's own, and one may leave while it is told.
    std::vector<int> order;
    int second = 0;
    const int first = menu->AddChangeListener([&](TObject*, TMenuItem*, bool) {
        order.push_back(1);
        menu->RemoveChangeListener(second);
    });
    second = menu->AddChangeListener([&](TObject*, TMenuItem*, bool) { order.push_back(2); });
    seen.clear();
    open->SetEnabled(true);
    EXPECT_EQ(seen.size(), 1u) << "the program's handler stays";
    EXPECT_EQ(order, std::vector<int>{1});
    menu->RemoveChangeListener(first);
    open->SetEnabled(false);
    EXPECT_EQ(order, std::vector<int>{1});
    EXPECT_EQ(seen.size(), 2u);
}

TEST(ShortCuts, TextBothWays) {
    EXPECT_EQ(ShortCutToText(ShortCut('S', ssCtrl)), "Ctrl+S");
    EXPECT_EQ(ShortCutToText(ShortCut(vkF1 + 4, 0)), "F5");
    EXPECT_EQ(ShortCutToText(ShortCut(vkDelete, ssShift | ssCtrl)), "Shift+Ctrl+Del");
    EXPECT_EQ(ShortCutToText(ShortCut(0xFF, 0)), "");
    for (TShortCut s : {ShortCut('A', ssAlt), ShortCut(vkF12, ssShift), ShortCut(vkReturn, ssCtrl)})
        EXPECT_EQ(TextToShortCut(ShortCutToText(s)), s);
    EXPECT_EQ(TextToShortCut("ctrl+o"), ShortCut('O', ssCtrl));
    EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), 0);
}

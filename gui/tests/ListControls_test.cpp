// The check list's marks and the scroll-bar control's position without windows.
#include <gtest/gtest.h>

#include "gui/CheckLst.h"
#include "gui/ScrollBar.h"
#include "gui/TypInfo.h"

using namespace kes;

TEST(CheckList, AClickMovesTheBoxOnAndGrayedOnlyWhenAllowed) {
    struct Case {
        TCheckBoxState from;
        bool allowGrayed;
        TCheckBoxState to;
    } cases[] = {
        {cbUnchecked, false, cbChecked}, {cbChecked, false, cbUnchecked}, {cbGrayed, false, cbUnchecked},
        {cbUnchecked, true, cbChecked},  {cbChecked, true, cbGrayed},     {cbGrayed, true, cbUnchecked},
    };
    for (const Case& c : cases) EXPECT_EQ(NextCheckState(c.from, c.allowGrayed), c.to) << c.from << c.allowGrayed;
}

TEST(CheckList, MarksFollowTheirItemsAndHeadersAndDisabledItemsKeepTheirBox) {
    TCheckListBox list(nullptr);
    for (const char* s : {"a", "b", "c"}) list.Items().Add(s);
    list.SetChecked(1, true);
    list.SetHeader(0, true);
    list.SetItemEnabled(2, false);
    list.Items().Insert(1, "new");
    EXPECT_TRUE(list.Header(0));
    EXPECT_EQ(list.State(1), cbUnchecked) << "a new item starts unchecked";
    EXPECT_TRUE(list.Checked(2)) << "b moved down with its mark";
    EXPECT_FALSE(list.ItemEnabled(3));
    int clicks = 0;
    list.OnClickCheck = [&](TObject*) { ++clicks; };
    list.ToggleClickCheck(0);
    list.ToggleClickCheck(3);
    EXPECT_EQ(clicks, 0) << "a header and a disabled item have no box to click";
    EXPECT_EQ(list.State(3), cbUnchecked);
    list.ToggleClickCheck(2);
    EXPECT_EQ(list.State(2), cbUnchecked);
    EXPECT_EQ(clicks, 1);
    list.Items().Delete(0);
    EXPECT_FALSE(list.Header(0)) << "the header went with its item";
    EXPECT_EQ(list.State(7), cbUnchecked) << "out of range reads as a plain item";
    list.SetState(7, cbChecked);
    list.Items().Clear();
    EXPECT_FALSE(list.Checked(0));
    EXPECT_EQ(GetEnumPropByName(&list, "AllowGrayed"), "False");
}

TEST(ScrollBar, ScrollCodesMoveThePositionWithinTheRangeAndPage) {
    TScrollBar bar(nullptr);
    bar.SetParams(10, 0, 100);
    bar.SmallChange = 2;
    bar.LargeChange = 15;
    bar.SetPageSize(21);
    EXPECT_EQ(bar.LastPosition(), 80);
    struct Case {
        TScrollCode code;
        int thumb, expected;
    } cases[] = {
        {scLineDown, 0, 12}, {scLineUp, 0, 8},      {scPageDown, 0, 25},  {scPageUp, 0, -5},
        {scTrack, 33, 33},   {scPosition, 40, 40},  {scTop, 0, 0},        {scBottom, 0, 80},
        {scEndScroll, 0, 10},
    };
    for (const Case& c : cases) EXPECT_EQ(bar.ScrolledPosition(c.code, c.thumb), c.expected) << c.code;
    int changes = 0;
    bar.OnChange = [&](TObject*) { ++changes; };
    bar.SetPosition(500);
    EXPECT_EQ(bar.Position(), 80) << "kept to the last position a page allows";
    bar.SetPosition(80);
    EXPECT_EQ(changes, 1) << "no change, no event";
    bar.SetParams(5, 10, 4);
    EXPECT_EQ(bar.Min(), 10);
    EXPECT_EQ(bar.Max(), 10) << "a maximum below the minimum is raised to it";
    EXPECT_EQ(bar.Position(), 10);
    EXPECT_EQ(GetEnumPropByName(&bar, "Kind"), "sbHorizontal");
    EXPECT_TRUE(SetPropByName(&bar, "Kind", "sbVertical"));
    EXPECT_EQ(bar.Kind(), sbVertical);
    EXPECT_EQ(GetIntPropByName(&bar, "Position"), 10);
}

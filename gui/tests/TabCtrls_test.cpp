// Tab sets, page controls and list views without windows: the tab set's fitting of its tabs, its hit test and
// scroll buttons, the page control's sheets, and the properties the skin reads by name.
#include "gui/TabCtrls.h"

#include <gtest/gtest.h>

#include "gui/Forms.h"
#include "gui/ListView.h"

using namespace kes;

namespace {

TEST(TabSetLayout, TabsThatCrossTheEndAreLeftOutAndNarrowerOnesAfterThemStillShow) {
    using Rects = std::vector<TRect>;
    const TRect out43 = Rect(43, 0, 43, 0), out102 = Rect(102, 0, 102, 0);
    struct Case {
        const char* what;
        std::vector<int> widths;
        int start, limit;
        bool scroller;
        Rects expected;
    } cases[] = {
        {"all fit", {30, 50}, 4, 120, false, {Rect(4, 0, 43, 20), Rect(43, 0, 102, 20)}},
        {"a tab ending on the limit fits", {30, 68}, 4, 120, false, {Rect(4, 0, 43, 20), Rect(43, 0, 120, 20)}},
        {"the third crosses the end, the narrow fourth still shows",
         {30, 50, 40, 1},
         4,
         120,
         false,
         {Rect(4, 0, 43, 20), Rect(43, 0, 102, 20), out102, Rect(102, 0, 112, 20)}},
        {"a wide first tab is left out, the next starts at the margin",
         {200, 20},
         4,
         120,
         false,
         {Rect(4, 0, 4, 0), Rect(4, 0, 33, 20)}},
        {"12 pixels stay free while the scroll buttons show",
         {30, 56},
         4,
         120,
         true,
         {Rect(4, 0, 43, 20), Rect(43, 0, 108, 20)}},
        {"one more pixel and it is out", {30, 57}, 4, 120, true, {Rect(4, 0, 43, 20), out43}},
        {"the start past the limit", {30}, 130, 120, false, {Rect(130, 0, 130, 0)}},
        {"no tabs", {}, 4, 120, false, {}},
        {"a negative width counts as none", {-5}, 0, 120, false, {Rect(0, 0, 9, 20)}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TabSetLayout(c.widths, c.start, c.limit, 20, c.scroller), c.expected) << c.what;
}

// Captions are 6 pixels a character here; a tab is that plus 9.
TEST(TabSet, AClickPicksTheTabUnderItAndTheScrollButtonsShowWhileTabsAreHidden) {
    TForm form(nullptr);
    auto* set = new TTabSet(&form);
    set->SetParent(&form);
    set->SetBounds(0, 0, 200, 21);
    EXPECT_EQ(form.ComponentCount(), 1);
    ASSERT_GE(set->ComponentCount(), 1);
    EXPECT_EQ(set->Components(0), set->Scroller()) << "the scroll buttons are its first component";
    int changes = 0;
    set->OnChange = [&](TObject*) { ++changes; };
    set->SetTabs({"Port", "Flow", "Parity"});  // 33 pixels each from 5
    EXPECT_FALSE(set->ScrollerShows());
    EXPECT_EQ(set->TabIndex(), -1);
    set->MouseDown(mbLeft, 0, 40, 10);
    EXPECT_EQ(set->TabIndex(), 1);
    EXPECT_EQ(changes, 1);
    set->MouseDown(mbLeft, 0, 150, 10);  // past the last tab
    EXPECT_EQ(set->TabIndex(), 1);
    set->MouseDown(mbRight, 0, 10, 10);
    EXPECT_EQ(set->TabIndex(), 1) << "only the left button picks";

    // More tabs than fit: the scroll buttons show and the first shown tab moves with them.
    // The tabs end at 200 - 32 - 12: "Stop bits" (63 wide from 116) is left out, "Baud" after it shows.
    set->SetTabs({"Port", "Flow", "Parity", "Stop bits", "Baud"});
    EXPECT_TRUE(set->ScrollerShows());
    const std::vector<TRect> rects = set->TabRects();
    ASSERT_EQ(rects.size(), 5u);
    EXPECT_TRUE(rects[3].IsEmpty());
    EXPECT_EQ(rects[4], Rect(116, 0, 149, 21));
    EXPECT_EQ(set->ItemAtPos({120, 5}), 4);
    set->Scroller()->ArrowPressed(1);
    EXPECT_EQ(set->FirstIndex(), 1);
    EXPECT_EQ(set->ItemAtPos({6, 5}), 1);
    set->Scroller()->ArrowPressed(-5);
    EXPECT_EQ(set->FirstIndex(), 0);

    // The properties the skin reads by name.
    EXPECT_EQ(GetIntPropByName(set, "TabIndex"), 1);
    EXPECT_EQ(GetIntPropByName(set, "StartMargin"), 5);
    EXPECT_EQ(GetIntPropByName(set, "EndMargin"), 32);
    EXPECT_TRUE(SetPropByName(set, "FirstIndex", "2"));
    EXPECT_EQ(set->FirstIndex(), 2);
    EXPECT_TRUE(SetPropByName(set, "TabIndex", "9"));
    EXPECT_EQ(set->TabIndex(), 1) << "an index past the tabs is refused";
}

TEST(PageControl, SheetsShowOneAtATimeInTheDisplayArea) {
    TForm form(nullptr);
    auto* pages = new TPageControl(&form);
    pages->SetParent(&form);
    pages->SetBounds(0, 0, 300, 200);
    TTabSheet* sheets[3];
    const char* captions[] = {"Port", "Flow", "Log"};
    for (int i = 0; i < 3; ++i) {
        sheets[i] = new TTabSheet(&form);
        sheets[i]->SetCaption(captions[i]);
        sheets[i]->SetPageControl(pages);
    }
    ASSERT_EQ(pages->PageCount(), 3);
    ASSERT_EQ(pages->TabCount(), 3);
    EXPECT_EQ(pages->Tab(2), "Log");
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    EXPECT_TRUE(sheets[0]->Visible());
    EXPECT_FALSE(sheets[1]->Visible());
    EXPECT_EQ(sheets[1]->BoundsRect(), pages->DisplayRect());
    EXPECT_EQ(sheets[2]->PageIndex(), 2);

    pages->SetActivePageIndex(2);
    EXPECT_EQ(GetIntPropByName(pages, "ActivePageIndex"), 2);
    EXPECT_TRUE(sheets[2]->Visible());
    EXPECT_FALSE(sheets[0]->Visible());
    sheets[1]->SetCaption("Lines");
    EXPECT_EQ(pages->Tab(1), "Lines");
    // A sheet that goes takes its tab with it.
    delete sheets[1];
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->Tab(1), "Log");
    EXPECT_EQ(sheets[2]->PageIndex(), 1);
    EXPECT_EQ(GetEnumPropByName(pages, "Style"), "tsTabs");
    EXPECT_TRUE(SetPropByName(pages, "Style", "tsButtons"));
    EXPECT_EQ(pages->Style(), tsButtons);
}

TEST(ListView, ColumnsItemsAndTheReportStyleByName) {
    TForm form(nullptr);
    auto* list = new TListView(&form);
    list->SetParent(&form);
    list->AddColumn("Time", 80);
    list->AddColumn("Line", 200);
    list->AddItem("12:00", {"1 2 + ."});
    EXPECT_EQ(list->ColumnCount(), 2);
    EXPECT_EQ(list->Item(0).SubItems.at(0), "1 2 + .");
    EXPECT_EQ(GetEnumPropByName(list, "ViewStyle"), "vsReport");
    EXPECT_EQ(GetEnumPropByName(list, "BorderStyle"), "bsSingle");
    list->ClearItems();
    EXPECT_EQ(list->ItemCount(), 0);
}

}  // namespace

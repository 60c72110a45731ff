// MDI forms of the class library, without a skin: a gallery frame holds its MDIClient, children are made inside
// it, the frame knows its active child, tiles and cascades them, and its menu bar shows the active child's menu.
#include <algorithm>

#include "gui/tests/win/GalleryForm.h"

using namespace kes;
using namespace kes::gallery;

namespace {

TMenuItem* MenuItem(TComponent* owner, const char* caption, TMenuItem* parent) {
    auto* i = new TMenuItem(owner);
    i->SetCaption(caption);
    parent->Add(i);
    return i;
}

}  // namespace

TEST_F(Gallery, AnMdiFrameHoldsItsChildrenAndShowsTheActiveChildsMenu) {
    auto* frame = new TForm(nullptr);
    frame->SetFormStyle(fsMDIForm);
    frame->SetCaption("MDI gallery");
    frame->SetBounds(60, 60, 600, 420);
    auto* menu = new TMainMenu(frame);
    MenuItem(frame, "&Open", MenuItem(frame, "&File", menu->Items()));
    frame->SetMenu(menu);
    frame->ShowForm();
    Pump();
    const auto client = static_cast<HWND>(frame->ClientHandle());
    ASSERT_NE(client, nullptr);
    char cls[32] = {};
    GetClassNameA(client, cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, "MDIClient");
    RECT fc, cc;
    GetClientRect(H(frame), &fc);
    GetClientRect(client, &cc);
    EXPECT_GT(cc.right, fc.right - 10) << "the client fills the frame";

    std::vector<TForm*> children;
    for (int i = 0; i < 3; ++i) {
        auto* c = new TForm(frame);
        c->SetFormStyle(fsMDIChild);
        c->SetCaption("Child " + std::to_string(i));
        c->SetBounds(10 + 30 * i, 10 + 30 * i, 240, 160);
        if (i == 0) {
            auto* own = new TMainMenu(c);
            MenuItem(c, "&Go", MenuItem(c, "&Child", own->Items()));
            c->SetMenu(own);
        }
        c->Show();
        Pump();
        children.push_back(c);
        EXPECT_EQ(GetParent(H(c)), client);
        EXPECT_TRUE(GetWindowLongA(H(c), GWL_EXSTYLE) & WS_EX_MDICHILD);
        EXPECT_EQ(frame->ActiveMDIChild(), c) << "a child shown is the active one";
    }
    EXPECT_EQ(frame->MDIChildCount(), 3);
    EXPECT_EQ(frame->MDIChildren(2), children[2]);
    EXPECT_EQ(frame->MDIChildren(3), nullptr);

    // The frame's bar shows the menu of the active child that has one, and its own otherwise.
    EXPECT_EQ(GetMenu(H(frame)), static_cast<HMENU>(menu->Handle()));
    SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(H(children[0])), 0);
    Pump();
    EXPECT_EQ(frame->ActiveMDIChild(), children[0]);
    EXPECT_EQ(GetMenu(H(frame)), static_cast<HMENU>(children[0]->Menu()->Handle()));
    SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(H(children[1])), 0);
    Pump();
    EXPECT_EQ(GetMenu(H(frame)), static_cast<HMENU>(menu->Handle()));

    // Tile vertically: side by side; cascade: one below and right of the other. A child's place is in the client.
    frame->TileMode = tbVertical;
    frame->Tile();
    Pump();
    std::vector<int> lefts;
    for (TForm* c : children) lefts.push_back(c->Left());
    std::sort(lefts.begin(), lefts.end());
    EXPECT_LT(lefts[0], lefts[1]);
    EXPECT_LT(lefts[1], lefts[2]);
    EXPECT_EQ(children[0]->Top(), children[1]->Top());
    frame->Cascade();
    Pump();
    RECT r;
    GetWindowRect(H(children[2]), &r);
    MapWindowPoints(HWND_DESKTOP, client, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(children[2]->Left(), r.left);
    EXPECT_EQ(children[2]->Top(), r.top);

    // Closing a child frees it; the frame's own menu is back when the child with the menu goes.
    SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(H(children[0])), 0);
    Pump();
    children[0]->Close();
    test::PumpUntil([&] { return frame->MDIChildCount() != 3; }, 2000);  // the child is freed from the queue
    EXPECT_EQ(frame->MDIChildCount(), 2);
    EXPECT_EQ(GetMenu(H(frame)), static_cast<HMENU>(menu->Handle()));
    delete frame;
    Pump();
}

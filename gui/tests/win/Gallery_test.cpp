// The gallery form driven by synthesized messages: texts and states, events, handlers, form events, hints.
#include "gui/tests/win/GalleryForm.h"

using namespace kes;
using namespace kes::gallery;

TEST_F(Gallery, TextsAndStatesReadBackFromTheWindows) {
    TGalleryForm& f = *form_;
    EXPECT_TRUE(IsWindowVisible(H(&f)));
    EXPECT_EQ(WindowText(H(&f)), f.Caption());
    EXPECT_EQ(FindControl(H(f.Memo1)), f.Memo1);
    EXPECT_EQ(FindTopWindow(f.Caption()), H(&f));
    // Docking: header on top, status bar at the bottom, the bottom panel above it, the memo in between.
    const TRect c = f.ClientRect();
    EXPECT_EQ(f.Panel1->BoundsRect(), Rect(0, 0, c.Right, 41));
    EXPECT_EQ(f.StatusBar1->Top() + f.StatusBar1->Height(), c.Bottom);
    EXPECT_EQ(f.Panel2->Top() + f.Panel2->Height(), f.StatusBar1->Top());
    EXPECT_EQ(f.Memo1->BoundsRect(), Rect(0, 41, c.Right, f.Panel2->Top()));
    RECT wr;
    GetWindowRect(H(f.Memo1), &wr);
    MapWindowPoints(HWND_DESKTOP, H(&f), reinterpret_cast<POINT*>(&wr), 2);
    EXPECT_EQ(ToTRect(wr), f.Memo1->BoundsRect());

    f.Memo1->Lines().Add("first line");
    f.Memo1->Lines().Add("second line");
    EXPECT_EQ(WindowText(H(f.Memo1)), "first line\r\nsecond line\r\n");
    EXPECT_EQ(f.Memo1->Lines().Count(), 2);
    f.Edit1->SetText("words");
    EXPECT_EQ(WindowText(H(f.Edit1)), "words");
    EXPECT_EQ(SendMessageA(H(f.CheckBox1), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(H(f.Radio1), BM_GETCHECK, 0, 0), BST_CHECKED);
    f.Radio2->SetChecked(true);
    EXPECT_EQ(SendMessageA(H(f.Radio1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(H(f.ListBox1), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(H(f.ComboBox1), CB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(f.ComboBox1->Text(), "None");
    EXPECT_EQ(SendMessageA(H(f.ProgressBar1), PBM_GETPOS, 0, 0), 4);
    char sb[64] = "";
    SendMessageA(H(f.StatusBar1), SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(sb));
    EXPECT_STREQ(sb, "COM Port CLOSED");
    EXPECT_EQ(SendMessageA(H(f.StatusBar1), SB_GETPARTS, 0, 0), 4);
    f.StatusBar1->Panels()[2].SetText("COM Port Open");
    SendMessageA(H(f.StatusBar1), SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(sb));
    EXPECT_STREQ(sb, "COM Port Open");
    EXPECT_EQ(WindowText(H(f.Panel1)), "Header");
    EXPECT_EQ(WindowText(H(f.Button1)), "Show window");
    EXPECT_EQ(FindControl(H(f.FrameMemo)), f.FrameMemo);
    EXPECT_EQ(GetParent(H(f.FrameMemo)), H(f.Frame1));

    // The menu bar: radio group with one check, a submenu, shortcut text.
    HMENU bar = GetMenu(H(&f));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetMenuItemCount(bar), 3);
    HMENU mode = GetSubMenu(bar, 1);
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoA(mode, 0, TRUE, &mii);
    EXPECT_TRUE(mii.fType & MFT_RADIOCHECK);
    EXPECT_TRUE(mii.fState & MFS_CHECKED);
    char text[64] = "";
    GetMenuStringA(GetSubMenu(bar, 0), 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Open...\tCtrl+O");
    f.Modes[2]->SetChecked(true);
    EXPECT_EQ(GetMenuState(mode, 0, MF_BYPOSITION) & MF_CHECKED, 0u);
    EXPECT_NE(GetMenuState(mode, 2, MF_BYPOSITION) & MF_CHECKED, 0u);
    f.Exit1->SetEnabled(false);
    EXPECT_NE(GetMenuState(GetSubMenu(bar, 0), 2, MF_BYPOSITION) & MF_GRAYED, 0u);
    f.Open1->SetVisible(false);  // rebuilds: the item leaves the native menu
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(H(&f)), 0)), 2);
    // A new frame style makes a new window with the same menu, children and place, still shown.
    const TRect place = f.BoundsRect();
    f.SetBorderStyle(bsSingle);
    EXPECT_TRUE(IsWindowVisible(H(&f)));
    EXPECT_FALSE(GetWindowLongA(H(&f), GWL_STYLE) & WS_THICKFRAME);
    EXPECT_EQ(GetMenuItemCount(GetMenu(H(&f))), 3);
    EXPECT_EQ(GetParent(H(f.Memo1)), H(&f));
    EXPECT_EQ(f.Memo1->Lines()[0], "first line");
    EXPECT_EQ(f.BoundsRect(), place);
}

TEST_F(Gallery, EventsFireFromSynthesizedMessages) {
    TGalleryForm& f = *form_;
    std::vector<std::string> log;
    f.Memo1->OnKeyPress = [&](TObject*, char& k) {
        log.push_back(std::string("press ") + k);
        if (k == 'z') k = 0;  // dropped: never reaches the memo
        if (k == 'a') k = 'A';
    };
    f.Memo1->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { log.push_back("down " + std::to_string(k)); };
    SendMessageA(H(f.Memo1), WM_CHAR, 'a', 1);
    SendMessageA(H(f.Memo1), WM_CHAR, 'z', 1);
    SendMessageA(H(f.Memo1), WM_CHAR, 'b', 1);
    SendMessageA(H(f.Memo1), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(f.Memo1->Text(), "Ab");
    EXPECT_EQ(log, (std::vector<std::string>{"press a", "press z", "press b", "down 27"}));
    // Enter and Tab stay in the memo (it wants both); the edit gives Tab to the form.
    SendMessageA(H(f.Memo1), WM_CHAR, '\r', 1);
    SendMessageA(H(f.Memo1), WM_CHAR, 'c', 1);
    EXPECT_EQ(f.Memo1->Lines().Count(), 2);
    EXPECT_EQ(f.Memo1->CaretLine(), 1);

    std::string editText;
    int editChanges = 0;
    f.Edit1->OnChange = [&](TObject*) { ++editChanges; };
    f.Edit1->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) {
        if (k == VK_UP) {
            editText = "up";
            k = 0;
        }
    };
    for (char ch : std::string("cmd")) SendMessageA(H(f.Edit1), WM_CHAR, static_cast<unsigned char>(ch), 1);
    SendMessageA(H(f.Edit1), WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(f.Edit1->Text(), "cmd");
    EXPECT_EQ(editChanges, 3);
    EXPECT_EQ(editText, "up");
    // Tab moves the focus on. Other test programs on the same display may take the activation away at
    // any moment, so the step is tried again when the focus was not ours to begin with.
    bool tabbed = false;
    for (int attempt = 0; attempt < 10 && !tabbed; ++attempt) {
        if (!TakeFocus(f.Edit1)) continue;
        SendMessageA(H(f.Edit1), WM_KEYDOWN, VK_TAB, 1);
        tabbed = f.CheckBox1->Focused() && f.ActiveControl() == f.CheckBox1;
    }
    EXPECT_TRUE(tabbed);

    // Menu commands, also from a submenu; the opening of a drop-down runs the item's OnClick.
    int menuClicks = 0, sure = 0;
    f.Modes[1]->OnClick = [&](TObject* s) {
        ++menuClicks;
        static_cast<TMenuItem*>(s)->SetChecked(true);
    };
    f.Sure1->OnClick = [&](TObject*) { ++sure; };
    SendMessageA(H(&f), WM_COMMAND, MAKEWPARAM(f.Modes[1]->Command(), 0), 0);
    SendMessageA(H(&f), WM_COMMAND, MAKEWPARAM(f.Sure1->Command(), 0), 0);
    EXPECT_EQ(menuClicks, 1);
    EXPECT_EQ(sure, 1);
    EXPECT_TRUE(f.Modes[1]->Checked());
    EXPECT_FALSE(f.Modes[0]->Checked());
    int opened = 0;
    f.File1->OnClick = [&](TObject*) { ++opened; };
    SendMessageA(H(&f), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(f.File1->Handle()), MAKELPARAM(0, FALSE));
    EXPECT_EQ(opened, 1);
    // A menu shortcut pressed in a control.
    int opens = 0;
    f.Open1->OnClick = [&](TObject*) { ++opens; };
    BYTE keys[256];  // Ctrl comes from the keyboard state of this thread

    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(H(f.Edit1), WM_KEYDOWN, 'O', 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(opens, 1);

    // Buttons: BM_CLICK comes back as a click.
    int clicks = 0, checks = 0;
    f.Button1->OnClick = [&](TObject*) { ++clicks; };
    f.CheckBox1->OnClick = [&](TObject*) { ++checks; };
    SendMessageA(H(f.Button1), BM_CLICK, 0, 0);
    SendMessageA(H(f.CheckBox1), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(checks, 1);
    EXPECT_FALSE(f.CheckBox1->Checked());
    int radioClicks = 0;
    f.Radio2->OnClick = [&](TObject*) { ++radioClicks; };
    SendMessageA(H(f.Radio2), BM_CLICK, 0, 0);
    EXPECT_TRUE(f.Radio2->Checked());
    EXPECT_FALSE(f.Radio1->Checked());
    EXPECT_EQ(SendMessageA(H(f.Radio1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(H(f.Radio2), BM_CLICK, 0, 0);  // already checked: no click
    EXPECT_EQ(radioClicks, 1);

    // List and combo selection by keyboard, as the user makes it.
    int listClicks = 0, comboChanges = 0;
    f.ListBox1->OnClick = [&](TObject*) { ++listClicks; };
    f.ComboBox1->OnChange = [&](TObject*) { ++comboChanges; };
    f.ListBox1->SetFocus();
    SendMessageA(H(f.ListBox1), WM_KEYDOWN, VK_DOWN, 1);
    SendMessageA(H(f.ListBox1), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(f.ListBox1->ItemIndex(), 1);
    EXPECT_EQ(listClicks, 2);
    f.ComboBox1->SetFocus();
    SendMessageA(H(f.ComboBox1), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(f.ComboBox1->ItemIndex(), 1);
    EXPECT_EQ(f.ComboBox1->Text(), "Odd");
    EXPECT_EQ(comboChanges, 1);

    // A mouse press on the windowless shape reaches the shape, in its own coordinates.
    TMouseButton button = mbMiddle;
    int sx = -1, sy = -1;
    f.Shape1->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
        button = b;
        sx = x;
        sy = y;
    };
    SendMessageA(H(f.Panel1), WM_RBUTTONDOWN, 0, MAKELPARAM(f.Shape1->Left() + 3, f.Shape1->Top() + 4));
    EXPECT_EQ(button, mbRight);
    EXPECT_EQ(sx, 3);
    EXPECT_EQ(sy, 4);
    SendMessageA(H(f.Panel1), WM_RBUTTONUP, 0, MAKELPARAM(f.Shape1->Left() + 3, f.Shape1->Top() + 4));
    int moves = 0, panelMoves = 0;
    f.Shape1->OnMouseMove = [&](TObject*, TShiftState, int x, int y) { moves += (x == 1 && y == 2); };
    f.Panel1->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++panelMoves; };
    SendMessageA(H(f.Panel1), WM_MOUSEMOVE, 0, MAKELPARAM(f.Shape1->Left() + 1, f.Shape1->Top() + 2));
    SendMessageA(H(f.Panel1), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(panelMoves, 1);
    int dbl = 0;
    f.Memo1->OnDblClick = [&](TObject*) { ++dbl; };
    SendMessageA(H(f.Memo1), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(H(f.Memo1), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(dbl, 1);
}

TEST_F(Gallery, HandlerChainRunsNewestFirstAndCanBeRemoved) {
    TMemo& memo = *form_->Memo1;
    memo.SetText("12345");
    std::vector<int> order;
    int ncDestroys = 0;
    const int a = memo.AddMessageHandler([&](TMessage& m) {
        if (m.Msg == WM_NCDESTROY) {
            ++ncDestroys;
            return true;  // even an answered WM_NCDESTROY goes on down, so the window is let go
        }
        if (m.Msg != WM_GETTEXTLENGTH) return false;
        order.push_back(1);
        CallNextHandler(m);
        m.Result += 1000;  // works on the result of the control's own handling
        return true;
    });
    const int b = memo.AddMessageHandler([&](TMessage& m) {
        if (m.Msg == 0x3523) {  // a private "are you skinned" question
            m.Result = 1;
            return true;
        }
        if (m.Msg == WM_GETTEXTLENGTH) order.push_back(2);
        return false;
    });
    EXPECT_EQ(SendMessageA(H(&memo), WM_GETTEXTLENGTH, 0, 0), 1005);
    EXPECT_EQ(order, (std::vector<int>{2, 1}));
    EXPECT_EQ(SendMessageA(H(&memo), 0x3523, 0, 0), 1);
    // Handlers survive a new window (word wrap changes the style), and so do the text and the selection.
    memo.SetSelStart(2);
    memo.SetWordWrap(false);
    EXPECT_EQ(memo.Text(), "12345");
    EXPECT_EQ(memo.SelStart(), 2);
    EXPECT_EQ(ncDestroys, 1);
    EXPECT_EQ(FindControl(H(&memo)), &memo);
    EXPECT_EQ(SendMessageA(H(&memo), 0x3523, 0, 0), 1);
    EXPECT_TRUE(GetWindowLongA(H(&memo), GWL_STYLE) & WS_VSCROLL);
    memo.RemoveMessageHandler(a);
    memo.RemoveMessageHandler(b);
    EXPECT_EQ(SendMessageA(H(&memo), WM_GETTEXTLENGTH, 0, 0), 5);
    EXPECT_EQ(SendMessageA(H(&memo), 0x3523, 0, 0), 0);
    // A form handles a message of its own choice, as the terminal does with WM_COPYDATA.
    std::string got;
    form_->AddMessageHandler([&](TMessage& m) {
        if (m.Msg != WM_COPYDATA) return false;
        auto* cds = reinterpret_cast<COPYDATASTRUCT*>(m.LParam);
        got.assign(static_cast<const char*>(cds->lpData), cds->cbData - 1);
        m.Result = 0;
        return true;
    });
    char line[] = "words\n";
    COPYDATASTRUCT cds{0, sizeof line, line};
    SendMessageA(H(form_), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    EXPECT_EQ(got, "words\n");
}

TEST_F(Gallery, ExceptionsInHandlersStayInsideTheWindowProcedure) {
    form_->Button1->OnClick = [](TObject*) { throw Exception("Port is gone"); };
    SendMessageA(H(form_->Button1), BM_CLICK, 0, 0);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0], "Port is gone");
    errors_.clear();
}

TEST_F(Gallery, MemoTakesLongTextsAndCountsLogicalLines) {
    TMemo& memo = *form_->Memo1;
    memo.SetWordWrap(true);
    std::string chunk(1000, 'x');
    for (int i = 0; i < 100; ++i) memo.AppendText(chunk);
    EXPECT_EQ(memo.GetTextLen(), 100000);
    memo.AppendText("\r\nlast");
    EXPECT_EQ(memo.Lines().Count(), 2);  // one long wrapped line and "last"
    EXPECT_EQ(memo.Lines()[1], "last");
    EXPECT_EQ(memo.CaretLine(), 1);
    memo.Lines().Delete(0);
    EXPECT_EQ(memo.Text(), "last");
    memo.SetReadOnly(true);
    EXPECT_TRUE(GetWindowLongA(H(&memo), GWL_STYLE) & ES_READONLY);
}

TEST_F(Gallery, FormEventsShowActivateCloseDestroy) {
    std::vector<std::string> log;
    auto* second = new TForm(nullptr);
    second->SetCaption("LOG");
    second->SetBounds(100, 100, 300, 200);
    second->OnCreate = [&](TObject*) { log.push_back("create"); };
    second->OnShow = [&](TObject*) { log.push_back("show"); };
    second->OnHide = [&](TObject*) { log.push_back("hide"); };
    second->OnActivate = [&](TObject*) { log.push_back("activate"); };
    second->OnClose = [&](TObject*, TCloseAction& a) {
        log.push_back("close");
        a = caHide;
    };
    second->OnDestroy = [&](TObject*) { log.push_back("destroy"); };
    second->DoCreate();
    second->Show();
    Pump();
    EXPECT_TRUE(IsWindowVisible(H(second)));
    SendMessageA(H(second), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(H(second)));
    EXPECT_FALSE(second->Visible());
    delete second;
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log.front(), "create");
    EXPECT_EQ(log[1], "show");
    EXPECT_NE(std::find(log.begin(), log.end(), "activate"), log.end());
    EXPECT_EQ(log[log.size() - 3], "close");
    EXPECT_EQ(log[log.size() - 2], "hide");
    EXPECT_EQ(log.back(), "destroy");
    // Closing the main form ends the program's loop.
    form_->Close();
    Pump();
    EXPECT_TRUE(app_->Terminated());
}

TEST_F(Gallery, HintsShowAfterThePauseAndGoOnAKey) {
    app_->HintPause = 30;
    app_->HintHidePause = 5000;
    form_->ShowHint = true;
    form_->Edit1->Hint = "Use Up and Down arrow|long part";
    PostMessageA(H(form_->Edit1), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    const UINT_PTR tick = SetTimer(nullptr, 0, 10, nullptr);  // keeps the loop from waiting for ever
    const DWORD start = GetTickCount();
    while (!ShowingHintWindow() && GetTickCount() - start < 3000) app_->HandleMessage();
    KillTimer(nullptr, tick);
    THintWindow* hint = ShowingHintWindow();
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->Caption(), "Use Up and Down arrow");
    EXPECT_TRUE(IsWindowVisible(static_cast<HWND>(hint->WindowHandle())));
    PostMessageA(H(form_->Edit1), WM_KEYDOWN, VK_SHIFT, 1);
    Pump();
    EXPECT_EQ(ShowingHintWindow(), nullptr);
    // No hint for a control whose chain has ShowHint off.
    form_->ShowHint = false;
    EXPECT_EQ(EffectiveHint(form_->Edit1), "");
}

TEST_F(Gallery, OwnerDrawnMenuItemsAskTheirEvents) {
    TGalleryForm& f = *form_;
    f.MainMenu1->SetOwnerDraw(true);
    HMENU file = GetSubMenu(GetMenu(H(&f)), 0);
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(file, static_cast<UINT>(f.Exit1->Command()), FALSE, &mii);
    EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
    GetMenuItemInfoA(file, 1, TRUE, &mii);
    EXPECT_EQ(mii.fType, static_cast<UINT>(MFT_SEPARATOR | MFT_OWNERDRAW)) << "the separator is owner-drawn too";
    {
        // Without handlers the item measures and draws itself, like the system's items.
        MEASUREITEMSTRUCT own{ODT_MENU, 0, static_cast<UINT>(f.Exit1->Command()), 0, 0, 0};
        EXPECT_EQ(SendMessageA(H(&f), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&own)), TRUE);
        EXPECT_GT(own.itemWidth, 20u);
        EXPECT_GT(own.itemHeight, 10u);
        TBitmap target(60, 30);
        DRAWITEMSTRUCT ds{ODT_MENU, 0, static_cast<UINT>(f.Exit1->Command()), ODA_DRAWENTIRE, ODS_SELECTED, nullptr,
                          target.Canvas().Handle(), RECT{0, 0, 60, 20}, 0};
        EXPECT_EQ(SendMessageA(H(&f), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&ds)), TRUE);
        EXPECT_EQ(target.Canvas().Pixel(2, 2), static_cast<TColor>(ColorToRGB(clHighlight)));
    }
    f.Exit1->OnMeasureItem = [](TObject*, TCanvas&, int& w, int& h) {
        w = 120;
        h = 22;
    };
    bool drawnSelected = false;
    TRect drawnRect;
    f.Exit1->OnDrawItem = [&](TObject*, TCanvas& c, const TRect& r, bool selected) {
        drawnSelected = selected;
        drawnRect = r;
        c.Brush().Color = clRed;
        c.FillRect(r);
    };
    MEASUREITEMSTRUCT ms{};
    ms.CtlType = ODT_MENU;
    ms.itemID = static_cast<UINT>(f.Exit1->Command());
    EXPECT_EQ(SendMessageA(H(&f), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&ms)), TRUE);
    EXPECT_EQ(ms.itemWidth, 120u);
    EXPECT_EQ(ms.itemHeight, 22u);
    TBitmap target(50, 30);
    DRAWITEMSTRUCT ds{};
    ds.CtlType = ODT_MENU;
    ds.itemID = static_cast<UINT>(f.Exit1->Command());
    ds.itemState = ODS_SELECTED;
    ds.hDC = target.Canvas().Handle();
    ds.rcItem = RECT{2, 3, 40, 20};
    EXPECT_EQ(SendMessageA(H(&f), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&ds)), TRUE);
    EXPECT_TRUE(drawnSelected);
    EXPECT_EQ(drawnRect, Rect(2, 3, 40, 20));
    EXPECT_EQ(target.Canvas().Pixel(10, 10), clRed);
    // A popup menu runs OnPopup and comes back when the menu is closed without a choice.
    TPopupMenu popup(&f);
    auto* item = new TMenuItem(&f);
    item->SetCaption("Copy");
    popup.Items()->Add(item);
    int popups = 0, copies = 0;
    popup.OnPopup = [&](TObject*) { ++popups; };
    item->OnClick = [&](TObject*) { ++copies; };
    ActionWhen close(
        [] {
            HWND menu = FindWindowA("#32768", nullptr);
            return menu && IsWindowVisible(menu);
        },
        [] { EndMenu(); });
    popup.Popup(100, 100);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(copies, 0);
}

TEST_F(Gallery, ControlsFollowTheirStateOnScreen) {
    TGalleryForm& f = *form_;
    f.Edit1->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(H(f.Edit1)));
    f.Edit1->SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(H(f.Edit1)));
    f.ListBox1->Hide();
    EXPECT_FALSE(IsWindowVisible(H(f.ListBox1)));
    f.ListBox1->Show();
    EXPECT_TRUE(IsWindowVisible(H(f.ListBox1)));
    // Colours: the memo's background follows Color; a lowered bevel starts with the shadow colour.
    f.Memo1->SetColor(clNavy);
    f.Label1->Font().SetColor(clBlue);
    Redraw();
    EXPECT_EQ(ColorAt(f.Memo1, 30, 30), clNavy);
    EXPECT_EQ(ColorAt(f.Panel2, 0, 5), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(ColorAt(f.Panel2, 5, 0), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
    // A transparent label shows the panel's yellow around its letters, and its letters in the font colour.
    int blue = 0, yellow = 0;
    for (int x = f.Label1->Left(); x < f.Label1->Left() + f.Label1->Width(); ++x)
        for (int y = f.Label1->Top(); y < f.Label1->Top() + f.Label1->Height(); y += 2) {
            const TColor c = ColorAt(f.Panel1, x, y);
            blue += c == clBlue;
            yellow += c == clYellow;
        }
    EXPECT_GT(blue, 10);
    EXPECT_GT(yellow, blue);
    EXPECT_GT(f.Label1->Width(), 40);  // sized to its caption
    // Fonts reach the window.
    f.Edit1->Font().SetName("Courier New");
    f.Edit1->Font().SetHeight(-21);
    auto font = reinterpret_cast<HFONT>(SendMessageA(H(f.Edit1), WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    GetObjectA(font, sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "Courier New");
    EXPECT_EQ(lf.lfHeight, -21);
    // Controls on a group box are painted by it and placed inside it.
    EXPECT_EQ(GetParent(H(f.Radio1)), H(f.GroupBox1));
    EXPECT_GT(f.GroupBox1->ClientRect().Top, 0);
}

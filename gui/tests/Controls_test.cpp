// The control tree without windows: parents, docking, tab order, fonts, memo lines, item lists, forms.
#include "gui/Controls.h"

#include <gtest/gtest.h>

#include "base/Exception.h"
#include "gui/ComCtrls.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/HintWindow.h"
#include "gui/Keys.h"
#include "gui/StdCtrls.h"

using namespace kes;

namespace {

struct TerminalLikeForm : TForm {
    KES_CLASS(TerminalLikeForm, TForm)
public:
    explicit TerminalLikeForm(TComponent* owner) : TForm(owner) {
        SetBounds(0, 0, 800, 500);
        Panel1 = Make<TPanel>("Panel1", alTop, 41);
        StatusBar1 = Make<TStatusBar>("StatusBar1", alBottom, 19);
        Panel2 = Make<TPanel>("Panel2", alBottom, 41);
        Memo1 = Make<TMemo>("Memo1", alClient, 10);
        Edit1 = new TEdit(this);
        Edit1->SetName("Edit1");
        Edit1->SetParent(Panel2);
        Ok = new TButton(this);
        Ok->SetParent(Panel2);
        Ok->SetDefault(true);
        Ok->ModalResult = mrOk;
        Cancel = new TButton(this);
        Cancel->SetParent(Panel2);
        Cancel->Cancel = true;
        Cancel->ModalResult = mrCancel;
    }
    template <typename T>
    T* Make(const char* name, TAlign align, int height) {
        auto* c = new T(this);
        c->SetName(name);
        c->SetHeight(height);
        c->SetAlign(align);
        c->SetParent(this);
        return c;
    }
    TPanel *Panel1, *Panel2;
    TStatusBar* StatusBar1;
    TMemo* Memo1;
    TEdit* Edit1;
    TButton *Ok, *Cancel;
};

}  // namespace

TEST(ControlTree, DockingFollowsTheParentsSize) {
    TerminalLikeForm f(nullptr);
    EXPECT_EQ(f.Panel1->BoundsRect(), Rect(0, 0, 800, 41));
    EXPECT_EQ(f.StatusBar1->BoundsRect(), Rect(0, 481, 800, 500));
    EXPECT_EQ(f.Panel2->BoundsRect(), Rect(0, 440, 800, 481));
    EXPECT_EQ(f.Memo1->BoundsRect(), Rect(0, 41, 800, 440));
    f.SetBounds(0, 0, 600, 300);
    EXPECT_EQ(f.Memo1->BoundsRect(), Rect(0, 41, 600, 240));
    f.Panel2->Hide();
    EXPECT_EQ(f.Memo1->BoundsRect(), Rect(0, 41, 600, 281));
    // A bevelled panel docks its own children inside the bevel.
    auto* inner = new TPanel(&f);
    inner->SetParent(f.Panel1);
    inner->SetAlign(alClient);
    EXPECT_EQ(inner->BoundsRect(), Rect(1, 1, 599, 40));
}

TEST(ControlTree, OwnersAndParentsFreeTogether) {
    auto* f = new TerminalLikeForm(nullptr);
    EXPECT_EQ(f->FindComponent("memo1"), f->Memo1);
    EXPECT_EQ(f->Panel2->ControlCount(), 3);
    delete f->Panel2;  // takes its children with it, and they leave the owner's list
    EXPECT_EQ(f->FindComponent("Edit1"), nullptr);
    EXPECT_EQ(f->ControlCount(), 3);
    delete f;
}

TEST(ControlTree, FontsAndColoursComeFromTheParentUntilSet) {
    TForm f(nullptr);
    f.Font().SetName("Verdana");
    auto* panel = new TPanel(&f);
    panel->SetParent(&f);
    auto* label = new TLabel(&f);
    label->SetParent(panel);
    EXPECT_EQ(label->Font().Name(), "Verdana");
    f.Font().SetHeight(-16);
    EXPECT_EQ(label->Font().Height(), -16);
    label->Font().SetStyle(fsBold);
    EXPECT_FALSE(label->ParentFont());
    f.Font().SetHeight(-20);
    EXPECT_EQ(label->Font().Height(), -16);
    // Labels take the parent's colour.
    panel->SetColor(clYellow);
    EXPECT_EQ(label->Color(), clYellow);
    EXPECT_TRUE(label->ParentColor());
}

TEST(ControlTree, TabOrderAndNavigation) {
    TerminalLikeForm f(nullptr);
    auto* e2 = new TEdit(&f);
    e2->SetParent(f.Panel1);
    std::vector<TWinControl*> order;
    f.GetTabOrderList(order);
    ASSERT_FALSE(order.empty());
    // Panels are not tab stops; the memo, the edits and the buttons are.
    EXPECT_EQ(f.FindNextControl(nullptr, true, true), e2);
    EXPECT_EQ(f.FindNextControl(e2, true, true), f.Edit1);
    EXPECT_EQ(f.FindNextControl(f.Edit1, true, true), f.Ok);
    f.Ok->SetEnabled(false);
    EXPECT_EQ(f.FindNextControl(f.Edit1, true, true), f.Cancel);
    EXPECT_EQ(f.FindNextControl(f.Cancel, true, true), f.Memo1);
    EXPECT_EQ(f.FindNextControl(f.Memo1, true, true), e2);  // wraps around
    EXPECT_EQ(f.FindNextControl(e2, false, true), f.Memo1);
    // SetTabOrder moves among the windowed siblings.
    f.Cancel->SetTabOrder(0);
    EXPECT_EQ(f.Cancel->TabOrder(), 0);
    EXPECT_EQ(f.Edit1->TabOrder(), 1);
}

TEST(Forms, DialogKeysPressDefaultAndCancelButtons) {
    TerminalLikeForm f(nullptr);
    int clicks = 0;
    f.Ok->OnClick = [&](TObject*) { ++clicks; };
    f.Edit1->SetFocus();
    EXPECT_TRUE(f.DialogKey(vkReturn, 0));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(f.ModalResult(), mrOk);
    EXPECT_TRUE(f.DialogKey(vkEscape, 0));
    EXPECT_EQ(f.ModalResult(), mrCancel);
    EXPECT_TRUE(f.DialogKey(vkTab, 0));
    EXPECT_EQ(f.ActiveControl(), f.Ok);
    EXPECT_FALSE(f.DialogKey(vkReturn, ssCtrl));
    // Without a default button Enter stays with the control.
    f.Ok->SetDefault(false);
    f.Memo1->SetFocus();
    EXPECT_FALSE(f.DialogKey(vkReturn, 0));
}

TEST(Forms, CloseAskAndAct) {
    TForm main(nullptr);
    Screen().MainForm = &main;
    TForm other(nullptr);
    other.Show();
    bool allow = false;
    other.OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
    other.Close();
    EXPECT_TRUE(other.Visible());
    allow = true;
    TCloseAction chosen = caNone;
    other.OnClose = [&](TObject*, TCloseAction& a) { a = chosen; };
    other.Close();
    EXPECT_TRUE(other.Visible());  // caNone keeps it
    chosen = caHide;
    other.Close();
    EXPECT_FALSE(other.Visible());
    int terminated = 0;
    Screen().OnTerminate = [&] { ++terminated; };
    main.Close();
    EXPECT_EQ(terminated, 1);
    Screen().OnTerminate = nullptr;
    Screen().MainForm = nullptr;
}

TEST(Forms, ScreenListsFormsAndCentres) {
    const int before = Screen().FormCount();
    {
        TForm f(nullptr);
        EXPECT_EQ(Screen().FormCount(), before + 1);
        f.SetBounds(0, 0, 231, 216);
        f.SetPosition(poScreenCenter);
        f.Show();
        EXPECT_EQ(f.Left(), (1280 - 231) / 2);
        EXPECT_EQ(f.Top(), (1024 - 216) / 2);
    }
    EXPECT_EQ(Screen().FormCount(), before);
}

TEST(Memo, LinesAreLogicalLines) {
    TMemo m(nullptr);
    EXPECT_EQ(m.Lines().Count(), 0);
    m.Lines().Add("first");
    EXPECT_EQ(m.Text(), "first\r\n");
    m.SetText("a\r\nb");
    m.Lines().Add("c");
    EXPECT_EQ(m.Text(), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(m.Lines().Count(), 3);  // no empty line after the final line end
    m.Lines().Insert(1, "x");
    m.Lines().Put(0, "A");
    EXPECT_EQ(m.Lines().Text(), "A\r\nx\r\nb\r\nc\r\n");
    m.Lines().Delete(3);
    m.Lines().Delete(0);
    EXPECT_EQ(m.Text(), "x\r\nb\r\n");
    EXPECT_EQ(m.Lines().IndexOf("b"), 1);
    EXPECT_EQ(m.Lines().IndexOf("x\r\nb"), -1);
    EXPECT_THROW(m.Lines().Strings(2), EListError);
    EXPECT_THROW(m.Lines().Delete(-1), EListError);
    // A lone CR or LF is not a line end of the text window.
    m.SetText("one\rtwo\nthree");
    EXPECT_EQ(m.Lines().Count(), 1);
    m.Lines().SetText("one\rtwo\nthree");
    EXPECT_EQ(m.Lines().Count(), 3);
    EXPECT_EQ(m.Text(), "one\r\ntwo\r\nthree\r\n");
}

TEST(Memo, SelectionCaretLineAndAppend) {
    TMemo m(nullptr);
    int changes = 0;
    m.OnChange = [&](TObject*) { ++changes; };
    m.SetText("line0\r\nline1\r\nline2");
    m.SetSelStart(9);
    EXPECT_EQ(m.CaretLine(), 1);
    EXPECT_EQ(m.CaretColumn(), 2);
    m.SetSelStart(7);  // just after a line end
    EXPECT_EQ(m.CaretLine(), 1);
    EXPECT_EQ(m.CaretColumn(), 0);
    m.SetSelStart(6);  // between CR and LF counts as the line before
    EXPECT_EQ(m.CaretLine(), 0);
    m.SetSelStart(7);
    m.SetSelLength(5);
    EXPECT_EQ(m.SelText(), "line1");
    m.SetSelText("LINE");
    EXPECT_EQ(m.Lines()[1], "LINE");
    m.SetSelLength(-3);
    EXPECT_EQ(m.SelLength(), 0);
    changes = 0;
    m.AppendText(" end");
    EXPECT_EQ(m.Lines()[2], "line2 end");
    EXPECT_EQ(m.SelStart(), m.GetTextLen());
    EXPECT_EQ(changes, 1);
    m.SetSelStart(1000);  // beyond the end: the end
    EXPECT_EQ(m.SelStart(), m.GetTextLen());
    // Long texts have no 30000-character ceiling.
    m.AppendText(std::string(40000, 'x'));
    EXPECT_EQ(m.GetTextLen(), 18 + 4 + 40000);
}

TEST(ItemLists, ListBoxKeepsItsSelectionInStep) {
    TListBox lb(nullptr);
    for (int i = 0; i < 5; ++i) lb.Items().Add("cmd" + std::to_string(i));
    lb.SetItemIndex(4);
    lb.Items().Delete(0);
    EXPECT_EQ(lb.ItemIndex(), 3);
    EXPECT_EQ(lb.Items()[lb.ItemIndex()], "cmd4");
    lb.Items().Delete(3);
    EXPECT_EQ(lb.ItemIndex(), -1);
    lb.SetItemIndex(99);
    EXPECT_EQ(lb.ItemIndex(), -1);
    lb.Items().Clear();
    EXPECT_EQ(lb.Items().Count(), 0);
    EXPECT_THROW(lb.Items().Delete(0), EListError);
}

TEST(ItemLists, DropDownListComboTextFollowsTheSelection) {
    TComboBox cb(nullptr);
    cb.SetStyle(csDropDownList);
    cb.Items().SetText("None\r\nOdd\r\nEven");
    EXPECT_EQ(cb.Text(), "");
    cb.SetText("Odd");
    EXPECT_EQ(cb.ItemIndex(), 1);
    cb.SetText("Space");  // not listed: no change
    EXPECT_EQ(cb.ItemIndex(), 1);
    EXPECT_EQ(cb.Text(), "Odd");
    cb.Items().Insert(0, "Mark");
    EXPECT_EQ(cb.Text(), "Odd");
}

TEST(Buttons, ChecksRadiosAndModalResults) {
    TForm f(nullptr);
    auto* cb = new TCheckBox(&f);
    cb->SetParent(&f);
    int clicks = 0;
    cb->OnClick = [&](TObject*) { ++clicks; };
    cb->SetChecked(true);
    cb->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    TRadioButton* r[3];
    for (auto*& x : r) {
        x = new TRadioButton(&f);
        x->SetParent(&f);
    }
    r[0]->SetChecked(true);
    r[2]->SetChecked(true);
    EXPECT_FALSE(r[0]->Checked());
    EXPECT_TRUE(r[2]->Checked());
    auto* b = new TButton(&f);
    b->SetParent(&f);
    b->ModalResult = mrYes;
    b->Click();
    EXPECT_EQ(f.ModalResult(), mrYes);
}

TEST(Keys, KeyPressZeroDropsTheKey) {
    TEdit e(nullptr);
    e.OnKeyPress = [](TObject*, char& k) {
        if (k == 'x')
            k = 0;
        else if (k == '\r')
            k = '\n';
    };
    char k = 'x';
    EXPECT_FALSE(e.KeyPress(k));
    k = '\r';
    EXPECT_TRUE(e.KeyPress(k));
    EXPECT_EQ(k, '\n');
    e.OnKeyDown = [](TObject*, uint16_t& key, TShiftState s) {
        if (key == vkEscape && !(s & ssShift)) key = 0;
    };
    uint16_t key = vkEscape;
    EXPECT_FALSE(e.KeyDown(key, 0));
    key = vkEscape;
    EXPECT_TRUE(e.KeyDown(key, ssShift));
}

TEST(Bars, StatusPanelsAndProgressLimits) {
    TStatusBar sb(nullptr);
    for (int w : {100, 100, 150, 50}) sb.Panels().Add().SetWidth(w);
    EXPECT_EQ(sb.PanelEdges(), (std::vector<int>{100, 200, 350, -1}));
    sb.Panels()[2].SetText("COM Port CLOSED");
    EXPECT_EQ(sb.Panels()[2].Text(), "COM Port CLOSED");
    EXPECT_THROW(sb.Panels()[4], EListError);
    EXPECT_EQ(sb.Align(), alBottom);
    TProgressBar pb(nullptr);
    pb.SetRange(0, 9);
    pb.SetPosition(12);
    EXPECT_EQ(pb.Position(), 9);
    pb.SetMax(5);
    EXPECT_EQ(pb.Position(), 5);
    pb.SetPosition(-3);
    EXPECT_EQ(pb.Position(), 0);
}

TEST(Shapes, FigureRectsKeepSquaresSquare) {
    TShape s(nullptr);
    s.SetBounds(0, 0, 40, 20);
    s.SetShape(stRoundSquare);
    EXPECT_EQ(s.FigureRect(), Bounds(10, 0, 20, 20));
    s.SetPenWidth(12);
    s.SetShape(stCircle);
    const TRect r = s.FigureRect();
    EXPECT_EQ(r.Width(), r.Height());
    EXPECT_EQ(r.Left, 6 + (40 - 12 + 1 - (20 - 12 + 1)) / 2);
}

TEST(Hints, ShortHintAndTheShowHintChain) {
    EXPECT_EQ(GetShortHint("Save|Saves the file"), "Save");
    EXPECT_EQ(GetShortHint("Plain"), "Plain");
    EXPECT_EQ(GetShortHint("|long only"), "");
    TForm f(nullptr);
    auto* panel = new TPanel(&f);
    panel->SetParent(&f);
    auto* led = new TShape(&f);
    led->SetParent(panel);
    led->Hint = "Connected to MCU";
    EXPECT_EQ(EffectiveHint(led), "");  // nobody up the chain shows hints
    f.ShowHint = true;                  // the terminal's main form shows hints
    EXPECT_EQ(EffectiveHint(led), "Connected to MCU");
    led->Hint = "|only a long part";
    EXPECT_EQ(EffectiveHint(led), "");
    EXPECT_EQ(EffectiveHint(nullptr), "");
}

TEST(ControlTree, ShowingNeedsEveryParentVisible) {
    TForm f(nullptr);
    auto* panel = new TPanel(&f);
    panel->SetParent(&f);
    auto* edit = new TEdit(&f);
    edit->SetParent(panel);
    EXPECT_FALSE(edit->Showing());  // forms start hidden
    f.Show();
    EXPECT_TRUE(edit->Showing());
    panel->Hide();
    EXPECT_FALSE(edit->Showing());
    EXPECT_FALSE(edit->CanFocus());
    panel->Show();
    edit->SetEnabled(false);
    EXPECT_FALSE(edit->CanFocus());
}

TEST(ControlTree, PanelEdgesShrinkTheDockingArea) {
    TPanel p(nullptr);
    p.SetBounds(0, 0, 100, 50);
    EXPECT_EQ(p.ClientRect(), Rect(1, 1, 99, 49));  // raised outer bevel
    p.SetBevelInner(bvLowered);
    p.SetBevelWidth(2);
    p.SetBorderWidth(3);
    EXPECT_EQ(p.EdgeWidth(), 7);
    p.SetBevelOuter(bvNone);
    p.SetBevelInner(bvNone);
    p.SetBorderStyle(bsSingle);
    EXPECT_EQ(p.EdgeWidth(), 4);
    p.SetBounds(0, 0, 5, 5);  // never inside out
    EXPECT_GE(p.ClientRect().Width(), 0);
}

TEST(ControlTree, FramesOwnWhatIsMadeOnThemAtRunTime) {
    TForm f(nullptr);
    auto* frame = new TFrame(&f);
    frame->SetParent(&f);
    for (int depth = 1; depth <= 3; ++depth) {
        auto* m = new TMemo(frame);
        m->SetName("MemoLevel" + std::to_string(depth));
        m->SetParent(frame);
        m->SetBounds(depth * 10 + 10, depth * 10 + 10, 817 - 2 * (depth * 10 + 10), 240 - 2 * (depth * 10 + 10));
    }
    EXPECT_EQ(frame->ComponentCount(), 3);
    EXPECT_EQ(frame->ControlCount(), 3);
    delete frame->FindComponent("MemoLevel3");
    EXPECT_EQ(frame->ControlCount(), 2);
    EXPECT_EQ(frame->ComponentCount(), 2);
    EXPECT_EQ(frame->Controls(1)->Name(), "MemoLevel2");
}

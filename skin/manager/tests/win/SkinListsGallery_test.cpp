// A gallery form of check lists, scroll-bar controls and popup menus, skinned by the skin manager as the program's
// forms are. In the distinct-colour test skin (every frame of every strip one solid colour) a pixel tells which
// frame a part shows. The controls are driven by the real pointer (SendInput): the press lands on the skin's
// overlay and still scrolls the bar; a click on an item's box toggles it. Skin off gives every control its
// system look back and the engine's counters of what it made return.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win/Application.h"
#include "gui/CheckLst.h"
#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/ScrollBar.h"
#include "skin/controls/lists/CheckListGeometry.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/controls/lists/win/SkinCheckList.h"
#include "skin/controls/inputs/win/SkinCombo.h"
#include "gui/StdCtrls.h"
#include "skin/controls/win/SkinControlList.h"
#include "skin/data/win/SkinDataWin.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/manager/win/SkinManage.h"
#include "skin/controls/lists/win/SkinScControl.h"
#include "skin/draw/win/SkinText.h"
#include "skin/frame/win/WinSkinForm.h"
#include "skin/manager/tests/win/SkinManageSettle.h"
#include "testsupport/FrameTestSkin.h"
#include "testsupport/Wait.h"
#include "testsupport/WindowPicture.h"

using namespace kes;

namespace {

// Waits until the windows came to rest and the skin manager ran its pending command.
void Pump() { test::SettleSkins(); }

LRESULT Skinned(HWND w) { return SendMessageA(w, SKM_ISSKINNED, 0, 0); }
HWND H(TWinControl* c) { return static_cast<HWND>(c->Handle()); }

std::int32_t FrameColour(const PixelBuffer& image, int frames, int frame) {
    const int fw = image.Width() / frames;
    return image.GetPixel((frame - 1) * fw + fw / 2, image.Height() / 2);
}
std::int32_t FrameColour(const TDataSkinObject& o, int frame) { return FrameColour(o.Image, o.Frame, frame); }

// A real click of the left button at a screen point: the pointer moves there, goes down and up.
void RealClick(POINT p) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in[3] = {};
    for (INPUT& i : in) i.type = INPUT_MOUSE;
    in[0].mi.dx = static_cast<LONG>((p.x * 65535LL + w / 2) / (w - 1));
    in[0].mi.dy = static_cast<LONG>((p.y * 65535LL + h / 2) / (h - 1));
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, in, sizeof(INPUT));
}

// The share of a picture's pixels (inside r) that have the colour.
double ShareOf(const test::WindowPixels& p, std::int32_t colour, RECT r) {
    long n = 0, all = 0;
    for (int y = r.top; y < r.bottom && y < p.H; ++y)
        for (int x = r.left; x < r.right && x < p.W; ++x, ++all) n += p.At(x, y) == colour;
    return all ? static_cast<double>(n) / all : 0;
}

std::vector<long> Live() {
    std::vector<long> v;
    for (int k = 0; k < kSkinGdiKinds; ++k) v.push_back(SkinGdiLive(static_cast<SkinGdiKind>(k)));
    return v;
}

// A form of a class that draws its menus itself.
class TwwRichEditForm : public TForm {
    KES_CLASS(TwwRichEditForm, TForm)
public:
    using TForm::TForm;
};

enum Item { kHeader, kChecked, kGrayed, kDisabled, kUnchecked, kItems };

class ListsGallery : public ::testing::Test {
protected:
    void Build(bool testSkin) {
        app_ = std::make_unique<TApplication>();
        form_ = new TForm(nullptr);
        form_->SetCaption("Lists gallery");
        form_->SetBounds(80, 80, 540, 330);
        skin_ = new TSkinData(form_);
        skin_->BeginLoading();
        skin_->SetActive(true);
        ASSERT_TRUE(testSkin ? skin_->ReadSkinStream(test::TestSkinStream()) : LoadStoredSkin(*skin_));
        // The program chooses the controller of its scroll-bar controls.
        skin_->OnSkinControl = [](TComponent*, TSkinData*, TControl*, TControl* control, const std::string& cls,
                                  TComponent*& made) {
            if (cls == "TSCROLLBAR") made = new TSkinScControl(control);
        };
        skin_->EndLoading();

        hbar_ = new TScrollBar(form_);
        hbar_->SetParent(form_);
        hbar_->SetBounds(10, 10, 300, 17);
        hbar_->SetParams(0, 0, 100);
        hbar_->SetPageSize(10);
        hbar_->LargeChange = 10;
        vbar_ = new TScrollBar(form_);
        vbar_->SetParent(form_);
        vbar_->SetKind(sbVertical);
        vbar_->SetBounds(330, 10, 17, 240);
        vbar_->SetParams(0, 0, 50);
        vbar_->LargeChange = 5;
        check_ = new TCheckListBox(form_);
        check_->SetParent(form_);
        check_->SetBounds(10, 40, 300, 210);
        check_->AllowGrayed = true;
        for (const char* s : {"Port settings", "Echo on", "Local flow", "Hardware lines", "Log to file"})
            check_->Items().Add(s);
        for (int i = 5; i < 25; ++i) check_->Items().Add("Option " + std::to_string(i));
        check_->SetHeader(kHeader, true);
        check_->SetState(kChecked, cbChecked);
        check_->SetState(kGrayed, cbGrayed);
        check_->SetItemEnabled(kDisabled, false);
        check_->OnClickCheck = [this](TObject*) { ++clickChecks_; };

        popup_ = new TPopupMenu(form_);
        NewMenuItem(form_, popup_->Items(), "", "Copy");
        NewMenuItem(form_, popup_->Items(), "", "Paste");
        ownDraw_ = NewMenuItem(form_, popup_->Items(), "", "Drawn by the program");
        ownDraw_->OnDrawItem = [](TObject*, TCanvas&, const TRect&, bool) {};
        frame_ = new TFrame(form_);
        frame_->SetParent(form_);
        frame_->SetBounds(370, 10, 140, 80);
        frame_->SetVisible(false);  // it only holds a popup menu
        framePopup_ = new TPopupMenu(frame_);
        NewMenuItem(frame_, framePopup_->Items(), "", "In the frame");
        plainPopup_ = new TPopupMenu(form_);
        plainPopup_->Tag = skin_->DisableTag;
        NewMenuItem(form_, plainPopup_->Items(), "", "System drawn");
    }
    void TearDown() override {
        delete form_;
        DestroySkinManager();
        app_.reset();
    }
    void Show() {
        form_->ShowForm();
        // Above other programs' windows, so that the real pointer's clicks come to it.
        SetWindowPos(H(form_), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_TRUE(test::PumpUntil([&] { return Skinned(H(form_)) == 1 && Skinned(H(check_)) == 1; }, 5000));
        Pump();
    }
    TWinSkinForm* Frame() const { return SkinManage()->FindForm(static_cast<HWND>(form_->WindowHandle())); }
    TSkinControl* Controller(TWinControl* c) const {
        TWinSkinForm* f = Frame();
        return f ? f->Controllers().FindByWindow(static_cast<HWND>(c->WindowHandle())) : nullptr;
    }
    TWScrollbar* Overlay(TScrollBar* bar) const {
        auto* c = dynamic_cast<TSkinScControl*>(Controller(bar));
        return c ? c->Overlay() : nullptr;
    }
    RECT ItemRect(int index) const {
        RECT r{};
        SendMessageA(static_cast<HWND>(check_->WindowHandle()), LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&r));
        return r;
    }
    // The pixel in the middle of an item's box (or `x` pixels in), from the list's own picture.
    std::int32_t BoxPixel(int index, int x = -1) {
        RedrawWindow(H(check_), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        const test::WindowPixels p = test::CaptureWindow(H(check_));
        const RECT r = ItemRect(index);
        RECT wr;
        GetWindowRect(H(check_), &wr);
        POINT o{0, 0};
        ClientToScreen(H(check_), &o);
        const int dx = o.x - wr.left, dy = o.y - wr.top;
        const int gw = std::max(1, skin_->Buttons.CheckImage.Width() / std::max(1, skin_->Buttons.CheckButtonFrame));
        return p.At(dx + (x >= 0 ? x : r.left + 2 + gw / 2), dy + (r.top + r.bottom) / 2);
    }
    int CheckFrames() const { return std::max(1, skin_->Buttons.CheckButtonFrame); }
    std::int32_t CheckFrame(CheckListState s) const {
        return FrameColour(skin_->Buttons.CheckImage, CheckFrames(), CheckListFrame(s, CheckFrames()));
    }
    // A screen point of the overlay of a bar, `along` pixels from its start (negative: from its end).
    POINT OnOverlay(TScrollBar* bar, int along) {
        RECT r;
        GetWindowRect(static_cast<HWND>(Overlay(bar)->WindowHandle()), &r);
        const bool v = bar->Kind() == sbVertical;
        const int len = v ? r.bottom - r.top : r.right - r.left;
        const int at = along >= 0 ? along : len + along;
        return v ? POINT{(r.left + r.right) / 2, r.top + at} : POINT{r.left + at, (r.top + r.bottom) / 2};
    }
    // A real click whose effect shows in `done`.
    bool ClickUntil(POINT p, const std::function<bool()>& done, DWORD timeoutMs = 3000) {
        SetForegroundWindow(H(form_));
        Pump();
        RealClick(p);
        return test::PumpUntil(done, timeoutMs);
    }

    std::unique_ptr<TApplication> app_;
    TForm* form_ = nullptr;
    TSkinData* skin_ = nullptr;
    TScrollBar *hbar_ = nullptr, *vbar_ = nullptr;
    TCheckListBox* check_ = nullptr;
    TPopupMenu *popup_ = nullptr, *framePopup_ = nullptr, *plainPopup_ = nullptr;
    TMenuItem* ownDraw_ = nullptr;
    TFrame* frame_ = nullptr;
    int clickChecks_ = 0;
};

TEST_F(ListsGallery, EveryControlIsSkinnedAndShowsTheSkinsFrames) {
    Build(true);
    Show();
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    for (TScrollBar* bar : {hbar_, vbar_}) {
        EXPECT_EQ(Skinned(H(bar)), 1);
        TWScrollbar* o = Overlay(bar);
        ASSERT_NE(o, nullptr);
        EXPECT_TRUE(o->Shown());
        RECT over{}, under{};
        GetWindowRect(static_cast<HWND>(o->WindowHandle()), &over);
        GetWindowRect(H(bar), &under);
        EXPECT_TRUE(EqualRect(&over, &under)) << "the overlay covers the whole control";
        EXPECT_EQ(GetWindow(H(bar), GW_HWNDPREV), static_cast<HWND>(o->WindowHandle()));
        // At rest: both arrows, the thumb at the start, the track after it.
        const test::WindowPixels p = test::CaptureWindow(static_cast<HWND>(o->WindowHandle()));
        const bool v = bar == vbar_;
        const int len = v ? p.H : p.W;
        auto at = [&](int along) { return v ? p.At(p.W / 2, along) : p.At(along, p.H / 2); };
        EXPECT_EQ(at(a / 2), FrameColour(*skin_->Scrollbar, v ? 9 : 1)) << v;
        EXPECT_EQ(at(len - a / 2), FrameColour(*skin_->Scrollbar, v ? 13 : 5)) << v;
        EXPECT_EQ(at(a + 1), FrameColour(v ? *skin_->VertScrollThumb : *skin_->HorzScrollThumb, 1)) << v;
        EXPECT_EQ(at(len - a - 3), FrameColour(v ? *skin_->VertScroll : *skin_->HorzScroll, 1)) << v;
    }
    // The thumb of a bar whose position moves follows the control's range.
    hbar_->SetPosition(hbar_->LastPosition());
    Pump();
    {
        const test::WindowPixels p = test::CaptureWindow(static_cast<HWND>(Overlay(hbar_)->WindowHandle()));
        EXPECT_EQ(p.At(p.W - a - 2, p.H / 2), FrameColour(*skin_->HorzScrollThumb, 1)) << "thumb at the end";
        EXPECT_EQ(p.At(a + 2, p.H / 2), FrameColour(*skin_->HorzScroll, 1)) << "track at the start";
    }

    // The check list: its own window bar and its items from the skin's check glyphs.
    EXPECT_EQ(Skinned(H(check_)), 1);
    auto* list = dynamic_cast<TSkinCheckList*>(Controller(check_));
    ASSERT_NE(list, nullptr) << "a check list gets the check-list controller";
    ASSERT_NE(list->Vertical(), nullptr);
    EXPECT_TRUE(list->Vertical()->Shown()) << "25 items scroll";
    EXPECT_EQ(BoxPixel(kChecked), CheckFrame(CheckListState::Checked));
    EXPECT_EQ(BoxPixel(kGrayed), CheckFrame(CheckListState::Grayed));
    EXPECT_EQ(BoxPixel(kUnchecked), CheckFrame(CheckListState::Unchecked));
    EXPECT_EQ(BoxPixel(kDisabled), CheckFrame(CheckListState::Unchecked));
    EXPECT_EQ(BoxPixel(kHeader, ItemRect(kHeader).right - 4), 0x808080) << "a header is a grey band";
    EXPECT_NE(BoxPixel(kHeader), CheckFrame(CheckListState::Unchecked)) << "without a box";

    // Popup menus of the form and of its frame are drawn by the skin, every item of them; a DisableTag menu is not.
    EXPECT_TRUE(popup_->OwnerDraw());
    EXPECT_TRUE(framePopup_->OwnerDraw()) << "the frame's menus are walked too";
    EXPECT_FALSE(plainPopup_->OwnerDraw());
    EXPECT_TRUE(popup_->Items()->Items(0)->OnDrawItem);
    EXPECT_TRUE(popup_->Items()->Items(0)->OnMeasureItem);
}

TEST_F(ListsGallery, RealClicksOnTheSkinScrollTheBarsAndToggleTheItems) {
    Build(true);
    Show();
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    // The second arrow moves a line, the first back; the track after the thumb a page.
    EXPECT_TRUE(ClickUntil(OnOverlay(hbar_, -a / 2), [&] { return hbar_->Position() == 1; })) << hbar_->Position();
    EXPECT_TRUE(ClickUntil(OnOverlay(hbar_, a / 2), [&] { return hbar_->Position() == 0; })) << hbar_->Position();
    EXPECT_TRUE(ClickUntil(OnOverlay(hbar_, -a - 4), [&] { return hbar_->Position() == 10; })) << hbar_->Position();
    EXPECT_TRUE(ClickUntil(OnOverlay(vbar_, -a / 2), [&] { return vbar_->Position() == 1; })) << vbar_->Position();
    EXPECT_FALSE(Overlay(hbar_)->Pressed());
    // What the overlay shows follows: the thumb left the start of the track.
    Pump();
    {
        const test::WindowPixels p = test::CaptureWindow(static_cast<HWND>(Overlay(hbar_)->WindowHandle()));
        EXPECT_EQ(p.At(a + 2, p.H / 2), FrameColour(*skin_->HorzScroll, 1));
    }

    // A click on an item's box moves it on; a disabled item and a header keep theirs.
    auto box = [&](int index) {
        const RECT r = ItemRect(index);
        POINT p{r.left + 6, (r.top + r.bottom) / 2};
        ClientToScreen(H(check_), &p);
        return p;
    };
    EXPECT_TRUE(ClickUntil(box(kUnchecked), [&] { return check_->Checked(kUnchecked); }));
    EXPECT_EQ(clickChecks_, 1);
    EXPECT_EQ(BoxPixel(kUnchecked), CheckFrame(CheckListState::Checked)) << "the skin shows the new state";
    EXPECT_TRUE(ClickUntil(box(kChecked), [&] { return check_->State(kChecked) == cbGrayed; }));
    ClickUntil(box(kDisabled), [] { return false; }, 400);
    ClickUntil(box(kHeader), [] { return false; }, 400);
    EXPECT_EQ(check_->State(kDisabled), cbUnchecked);
    EXPECT_EQ(clickChecks_, 2);
    // The list's own bar, skinned, scrolls it.
    auto* list = dynamic_cast<TSkinCheckList*>(Controller(check_));
    ASSERT_NE(list, nullptr);
    RECT vr;
    GetWindowRect(static_cast<HWND>(list->Vertical()->WindowHandle()), &vr);
    EXPECT_TRUE(ClickUntil({(vr.left + vr.right) / 2, vr.bottom - a / 2}, [&] { return check_->TopIndex() == 1; }));
}

TEST_F(ListsGallery, PopupMenusOfTheFormAreDrawnWithTheSkinsItems) {
    Build(true);
    Show();
    const std::int32_t item = FrameColour(*skin_->MenuItem, 1);
    auto opened = [&](TPopupMenu* menu) {
        double share = -1;
        const int id = form_->AddMessageHandler([&](TMessage& m) {
            if (m.Msg != WM_ENTERIDLE || m.WParam != MSGF_MENU || share >= 0) return false;
            const auto w = reinterpret_cast<HWND>(m.LParam);
            const test::WindowPixels p = test::CaptureWindow(w);
            share = ShareOf(p, item, {3, 3, p.W - 3, p.H - 3});
            EndMenu();
            return true;
        });
        SetForegroundWindow(H(form_));
        menu->PopupComponent = form_;
        menu->Popup(200, 200);
        form_->RemoveMessageHandler(id);
        return share;
    };
    EXPECT_GT(opened(popup_), 0.3) << "the items show the MenuItem image";
    EXPECT_LT(opened(plainPopup_), 0.05) << "a DisableTag menu keeps the system's items";
}

TEST_F(ListsGallery, AFormThatDrawsItsMenusItselfKeepsThem) {
    Build(true);
    Show();
    auto own = std::make_unique<TwwRichEditForm>(nullptr);
    own->SetBounds(150, 150, 200, 120);
    auto* menu = new TPopupMenu(own.get());
    NewMenuItem(own.get(), menu->Items(), "", "Its own");
    own->ShowForm();
    ASSERT_TRUE(test::PumpUntil([&] { return Skinned(H(own.get())) == 1; }, 3000));
    Pump();
    EXPECT_FALSE(menu->OwnerDraw()) << "its popup menus are not the skin's";
    EXPECT_FALSE(menu->Items()->Items(0)->OnDrawItem);
    EXPECT_TRUE(popup_->OwnerDraw()) << "while the other form's are";
}

TEST_F(ListsGallery, SkinOffGivesBackTheSystemLookAndWhatTheSkinMade) {
    Build(true);
    Show();
    // A first round fills the engine's caches of images; from here every round gives back what it made.
    skin_->SetActive(false);
    ASSERT_TRUE(test::PumpUntil([&] { return Skinned(H(form_)) == 0; }, 3000));
    Pump();
    SkinManage()->Purge();
    const std::vector<long> start = Live();
    skin_->SetActive(true);
    ASSERT_TRUE(test::PumpUntil([&] { return Skinned(H(form_)) == 1 && Skinned(H(hbar_)) == 1; }, 3000));
    Pump();
    ASSERT_NE(Overlay(hbar_), nullptr);
    EXPECT_EQ(BoxPixel(kChecked), CheckFrame(CheckListState::Checked));
    EXPECT_TRUE(popup_->OwnerDraw());

    skin_->SetActive(false);
    ASSERT_TRUE(test::PumpUntil([&] { return Skinned(H(form_)) == 0; }, 3000));
    Pump();
    for (TWinControl* c : std::initializer_list<TWinControl*>{hbar_, vbar_, check_})
        EXPECT_EQ(Skinned(H(c)), 0) << c->ClassName();
    // No overlay is left over a bar: the control under a point of its arrow is the bar itself.
    for (TScrollBar* bar : {hbar_, vbar_}) {
        RECT r;
        GetWindowRect(H(bar), &r);
        EXPECT_EQ(WindowFromPoint({r.left + 4, r.top + 4}), H(bar)) << bar->Kind();
    }
    // The system's check boxes: an unchecked box is white inside, no skin frame anywhere.
    EXPECT_EQ(BoxPixel(kUnchecked), static_cast<std::int32_t>(GetSysColor(COLOR_WINDOW)));
    EXPECT_NE(BoxPixel(kChecked), CheckFrame(CheckListState::Checked));
    // The menus are the program's again, its own item handler back.
    EXPECT_FALSE(popup_->OwnerDraw());
    EXPECT_FALSE(framePopup_->OwnerDraw());
    EXPECT_FALSE(popup_->Items()->Items(0)->OnDrawItem);
    EXPECT_TRUE(ownDraw_->OnDrawItem) << "the program's own handler is given back";
    SkinManage()->Purge();
    EXPECT_EQ(Live(), start) << "regions, bitmaps, DCs, icons";
}

TEST_F(ListsGallery, ARecreatedWindowKeepsItsSkinnedLook) {
    Build(true);
    Show();
    TWinSkinForm* frame = Frame();
    ASSERT_NE(frame, nullptr);
    const int count = frame->Controllers().Count();
    // The check list makes its window anew: its controller is made again for the new window, bars and all.
    const HWND before = H(check_);
    const HWND firstBar = static_cast<HWND>(dynamic_cast<TSkinCheckList*>(Controller(check_))->Vertical()->WindowHandle());
    check_->RecreateWnd();
    const HWND after = H(check_);
    ASSERT_NE(before, after);
    EXPECT_TRUE(test::PumpUntil([&] { return !IsWindow(firstBar); }, 3000))
        << "the controller was made anew, with bars of its own";
    ASSERT_TRUE(test::PumpUntil([&] {
        auto* c = dynamic_cast<TSkinCheckList*>(Controller(check_));
        return c && c->Vertical() && c->Vertical()->Target() == after;
    }, 3000)) << "the new window's bars are the skin's";
    EXPECT_EQ(Skinned(after), 1);
    EXPECT_EQ(frame->Controllers().Count(), count) << "the old controller went";
    Pump();
    TWScrollbar* v = dynamic_cast<TSkinCheckList*>(Controller(check_))->Vertical();
    EXPECT_TRUE(v->Shown());
    EXPECT_EQ(BoxPixel(kChecked), CheckFrame(CheckListState::Checked));
    // On the screen the skin's bar stays on top when the list paints its frame again.
    RedrawWindow(after, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    RECT vr;
    GetWindowRect(static_cast<HWND>(v->WindowHandle()), &vr);
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    const test::WindowPixels screen = test::CaptureScreen(vr);
    EXPECT_EQ(screen.At(screen.W / 2, screen.H - arrow / 2), FrameColour(*skin_->Scrollbar, 13)) << "a down arrow";

    // A scroll-bar control turned across makes its window anew too: the overlay follows it and lies across.
    hbar_->SetKind(sbVertical);
    const HWND bar = H(hbar_);
    ASSERT_TRUE(test::PumpUntil([&] { return Overlay(hbar_) && Overlay(hbar_)->Target() == bar; }, 3000));
    Pump();
    RECT over{}, under{};
    GetWindowRect(static_cast<HWND>(Overlay(hbar_)->WindowHandle()), &over);
    GetWindowRect(bar, &under);
    EXPECT_TRUE(EqualRect(&over, &under));
    const test::WindowPixels p = test::CaptureWindow(static_cast<HWND>(Overlay(hbar_)->WindowHandle()));
    EXPECT_EQ(p.At(p.W / 2, GetSystemMetrics(SM_CXHSCROLL) / 2), FrameColour(*skin_->Scrollbar, 9)) << "an up arrow";
}

TEST_F(ListsGallery, UnskinningAComboBoxTakesTheSkinOffItsListsToo) {
    Build(true);
    auto* drop = new TComboBox(form_);
    drop->SetParent(form_);
    drop->SetBounds(370, 100, 140, 24);
    auto* simple = new TComboBox(form_);
    simple->SetParent(form_);
    simple->SetStyle(csSimple);
    simple->SetBounds(370, 130, 140, 120);
    for (int i = 0; i < 30; ++i) {
        drop->Items().Add("choice " + std::to_string(i));
        simple->Items().Add("choice " + std::to_string(i));
    }
    Show();
    auto lists = [](TComboBox* c) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(H(c), &info);
        return info.hwndList;
    };
    auto* dc = dynamic_cast<TSkinComBox*>(Controller(drop));
    auto* sc = dynamic_cast<TSkinComBox*>(Controller(simple));
    ASSERT_NE(dc, nullptr);
    ASSERT_NE(sc, nullptr);
    ASSERT_NE(dc->DropDownBar(), nullptr);
    ASSERT_NE(sc->ListBars(), nullptr);
    EXPECT_EQ(Skinned(lists(drop)), 1);
    EXPECT_EQ(Skinned(lists(simple)), 1);
    const int count = Frame()->Controllers().Count();
    dc->Unskin();
    sc->Unskin();
    EXPECT_EQ(dc->DropDownBar(), nullptr);
    EXPECT_EQ(sc->ListBars(), nullptr);
    EXPECT_EQ(Skinned(lists(drop)), 0) << "the drop-down list is the system's again";
    EXPECT_EQ(Skinned(lists(simple)), 0);
    EXPECT_EQ(Frame()->Controllers().Count(), count - 2) << "and its controllers are gone from the list";
    // The window's own unskinning goes through the same, once.
    skin_->SetActive(false);
    ASSERT_TRUE(test::PumpUntil([&] { return Skinned(H(form_)) == 0; }, 3000));
    EXPECT_EQ(Skinned(H(drop)), 0);
}

// The gallery in the program's default skin, saved for a look (build/win/.../lists-gallery.bmp).
TEST_F(ListsGallery, InTheDefaultSkin) {
    Build(false);
    Show();
    check_->SetItemIndex(kUnchecked);
    hbar_->SetPosition(30);
    vbar_->SetPosition(20);
    Pump();
    RedrawWindow(H(form_), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Pump();
    RECT r;
    GetWindowRect(H(form_), &r);
    const test::WindowPixels shot = test::CaptureScreen(r);
    EXPECT_TRUE(shot.Save("lists-gallery.bmp"));
    EXPECT_EQ(Skinned(H(check_)), 1);
    EXPECT_EQ(Skinned(H(hbar_)), 1);
}

}  // namespace

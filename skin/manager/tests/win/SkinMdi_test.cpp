// An MDI frame with three children, and a new skin while windows are open, in a program with the skin manager:
// the children are skinned as they are made, a maximized child's buttons show in the frame's skinned bar and work
// with the real mouse, tiling and cascading, a child's menu in the frame's bar; a second skin of other colours
// reaches frames, menus and controls, and switching back and forth leaves no object of the engine behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "base/win/Application.h"
#include "gui/ComCtrls.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "gui/win/Win.h"
#include "skin/frame/FrameLayout.h"
#include "skin/data/win/SkinDataWin.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/manager/win/SkinManage.h"
#include "skin/frame/win/WinSkinMenu.h"
#include "skin/manager/win/WinSkinPopMenu.h"
#include "skin/manager/tests/win/SkinManageSettle.h"
#include "testsupport/FrameTestSkin.h"
#include "testsupport/Wait.h"
#include "testsupport/WindowPicture.h"

using namespace kes;

namespace {

// Waits until the windows came to rest and the skin manager ran its pending command.
void Pump() { test::SettleSkins(); }
HWND H(TWinControl* c) { return static_cast<HWND>(c->Handle()); }
LRESULT Skinned(HWND w) { return SendMessageA(w, SKM_ISSKINNED, 0, 0); }

// A real click of the left button at a screen point: the pointer moves there, then the button goes down and up,
// through the system's input queue.
void RealClick(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT in[3] = {};
    in[0].type = INPUT_MOUSE;
    in[0].mi.dx = static_cast<LONG>(p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    in[0].mi.dy = static_cast<LONG>(p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in[0], sizeof(INPUT));
    Pump();
    in[1].type = INPUT_MOUSE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &in[1], sizeof(INPUT));
    Pump();
    in[2].type = INPUT_MOUSE;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &in[2], sizeof(INPUT));
    Pump();
}

// The colour in the middle of frame `frame` of an image whose frames lie side by side (or stacked).
std::int32_t FrameColour(const PixelBuffer& img, int frames, int frame, bool stacked = false) {
    frames = std::max(1, frames);
    if (stacked) {
        const int fh = img.Height() / frames;
        return img.GetPixel(img.Width() / 2, (frame - 1) * fh + fh / 2);
    }
    const int fw = img.Width() / frames;
    return img.GetPixel((frame - 1) * fw + fw / 2, img.Height() / 2);
}

// The colours of an image, the transparent key left out.
std::set<std::int32_t> ColoursOf(const PixelBuffer& img) {
    std::set<std::int32_t> out;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x)
            if (img.GetPixel(x, y) != 0xFF00FF) out.insert(img.GetPixel(x, y));
    return out;
}

// How many pixels of the window's picture have a colour of `colours`.
int PixelsIn(HWND w, const std::set<std::int32_t>& colours) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    const test::WindowPixels p = test::CaptureWindow(w);
    int n = 0;
    for (std::uint32_t px : p.Px) n += colours.count(static_cast<std::int32_t>(px)) ? 1 : 0;
    return n;
}

TMenuItem* Item(TComponent* owner, const char* caption, TMenuItem* parent) {
    auto* i = new TMenuItem(owner);
    i->SetCaption(caption);
    parent->Add(i);
    return i;
}

class Mdi : public ::testing::Test {
protected:
    void SetUp() override { app_ = std::make_unique<TApplication>(); }
    void TearDown() override {
        delete frame_;
        frame_ = nullptr;
        Pump();
        DestroySkinManager();
        app_.reset();
    }
    // The frame with its menu, skinned by its skin data (the test skin, or the program's default skin).
    void MakeFrame(bool defaultSkin = false) {
        frame_ = new TForm(nullptr);
        frame_->SetFormStyle(fsMDIForm);
        frame_->SetCaption("MDI frame");
        frame_->SetBounds(40, 40, 640, 480);
        auto* menu = new TMainMenu(frame_);
        TMenuItem* file = Item(frame_, "&File", menu->Items());
        Item(frame_, "&New", file);
        TMenuItem* window = Item(frame_, "&Window", menu->Items());
        Item(frame_, "&Tile", window);
        frame_->SetMenu(menu);
        skin_ = new TSkinData(frame_);
        skin_->BeginLoading();
        skin_->SetActive(true);
        if (defaultSkin)
            ASSERT_TRUE(LoadStoredSkin(*skin_));
        else
            ASSERT_TRUE(skin_->ReadSkinStream(test::TestSkinStream()));
        skin_->EndLoading();
        ASSERT_NE(SkinManage(), nullptr);
        frame_->ShowForm();
        ASSERT_TRUE(test::PumpUntil([&] { return Frame() && Frame()->Stage() == 1; }));
        Pump();
    }
    TForm* MakeChild(int i, bool withMenu) {
        auto* c = new TForm(frame_);
        c->SetFormStyle(fsMDIChild);
        c->SetCaption("Child " + std::to_string(i));
        c->SetBounds(10 + 40 * i, 10 + 30 * i, 260, 180);
        if (withMenu) {
            auto* menu = new TMainMenu(c);
            TMenuItem* own = Item(c, "&Child", menu->Items());
            Item(c, "&Action", own);
            c->SetMenu(menu);
        }
        c->Show();
        return c;
    }
    void Activate(TForm* child) {
        SendMessageA(static_cast<HWND>(frame_->ClientHandle()), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(H(child)), 0);
        Pump();
    }
    TWinSkinForm* Frame() const { return SkinManage()->FindForm(static_cast<HWND>(frame_->WindowHandle())); }
    std::string FirstBarCaption() const {
        const TWinSkinMenu* bar = Frame()->MenuBar();
        return bar && !bar->Items().empty() ? bar->Items()[0].Caption : std::string();
    }
    // The three buttons of a maximized child (Actions 7, 8, 9) in the frame's bar, in window coordinates.
    std::vector<std::pair<const TDataSkinSysButton*, TRect>> MdiButtons() const {
        RECT wr;
        GetWindowRect(static_cast<HWND>(frame_->WindowHandle()), &wr);
        const FrameMetrics m = FrameMetricsOf(*skin_, kBorderSizeable, GetSystemMetrics(SM_CYMENU));
        std::vector<std::pair<const TDataSkinSysButton*, TRect>> out;
        for (const TDataSkinSysButton& b : skin_->SysButtons)
            if (b.Visibility == 100 && b.HasImage()) {
                const int bw = b.Image.Width() / std::max(1, b.Frame);
                out.push_back({&b, CaptionButtonRect(100, b.Xcoord, b.Ycoord, bw, b.Image.Height(), wr.right - wr.left,
                                                     {}, m, skin_->MenuBar ? skin_->MenuBar->LeftWidth : 0)});
            }
        return out;
    }
    POINT ScreenOf(const TRect& r) const {
        RECT wr;
        GetWindowRect(static_cast<HWND>(frame_->WindowHandle()), &wr);
        return {wr.left + (r.Left + r.Right) / 2, wr.top + (r.Top + r.Bottom) / 2};
    }
    bool Gone(TForm* f) const {
        for (int i = 0; i < Screen().FormCount(); ++i)
            if (Screen().Forms(i) == f) return false;
        return true;
    }

    std::unique_ptr<TApplication> app_;
    TForm* frame_ = nullptr;
    TSkinData* skin_ = nullptr;
};

TEST_F(Mdi, ChildrenAreSkinnedAsTheyAreMadeTileCascadeAndBringTheirMenu) {
    MakeFrame();
    TWinSkinForm* frame = Frame();
    EXPECT_EQ(frame->MDIKind(), kMdiFrame);
    TForm* a = MakeChild(0, true);
    // Skinned while it was made: it answers at once, before any message loop ran.
    EXPECT_EQ(Skinned(H(a)), 1);
    TForm* b = MakeChild(1, false);
    TForm* c = MakeChild(2, false);
    Pump();
    ASSERT_EQ(frame_->MDIChildCount(), 3);
    for (TForm* f : {a, b, c}) {
        EXPECT_EQ(Skinned(H(f)), 1);
        TWinSkinForm* sf = SkinManage()->FindForm(H(f));
        ASSERT_NE(sf, nullptr);
        EXPECT_EQ(sf->MDIKind(), kMdiChild);
        EXPECT_EQ(sf->Form(), f) << "the child's form was found as it was made";
        EXPECT_EQ(sf->Stage(), 1);
        // Its frame is the skin's: the left border and the caption.
        const test::WindowPixels p = test::CaptureWindow(H(f));
        const bool active = frame_->ActiveMDIChild() == f;
        EXPECT_EQ(p.At(1, p.H / 2), FrameColour(skin_->Left.Image, skin_->Left.Frame, active ? 1 : 2));
        EXPECT_EQ(p.At(p.W / 2, 1), FrameColour(skin_->Top.Image, skin_->Top.Frame, active ? 1 : 2, true));
    }
    EXPECT_FALSE(skin_->MenuUpdate) << "while children live the bar keeps the client's menu";
    EXPECT_FALSE(GetWindowLongA(static_cast<HWND>(frame_->ClientHandle()), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL))
        << "the client shows no scroll bars of its own without the skin's MDI scroll bar option";

    // The active child's menu shows in the frame's bar; a child without one brings the frame's back.
    Activate(a);
    EXPECT_EQ(frame_->ActiveMDIChild(), a);
    EXPECT_EQ(FirstBarCaption(), "&Child");
    EXPECT_EQ(GetMenu(H(frame_)), nullptr) << "the skin draws the bar; the system's bar is gone";
    Activate(b);
    EXPECT_EQ(FirstBarCaption(), "&File");

    // Tile: side by side, none over another, still skinned; cascade: each a step lower and further right.
    auto rects = [&] {
        std::vector<RECT> out;
        for (TForm* f : {a, b, c}) {
            RECT r;
            GetWindowRect(H(f), &r);
            out.push_back(r);
            EXPECT_EQ(Skinned(H(f)), 1);
        }
        return out;
    };
    frame_->Tile();
    Pump();
    const std::vector<RECT> rs = rects();
    for (size_t i = 0; i < rs.size(); ++i)
        for (size_t j = i + 1; j < rs.size(); ++j) {
            RECT x;
            EXPECT_FALSE(IntersectRect(&x, &rs[i], &rs[j])) << i << " overlaps " << j;
        }
    frame_->Cascade();
    Pump();
    std::vector<RECT> cs = rects();
    std::sort(cs.begin(), cs.end(), [](const RECT& l, const RECT& r) { return l.top < r.top; });
    EXPECT_LT(cs[0].left, cs[1].left);
    EXPECT_LT(cs[1].left, cs[2].left);
    EXPECT_LT(cs[0].top, cs[1].top);
}

TEST_F(Mdi, AMaximizedChildsButtonsShowInTheFramesBarAndWorkWithTheMouse) {
    MakeFrame();
    TForm* a = MakeChild(0, false);
    TForm* b = MakeChild(1, false);
    TForm* c = MakeChild(2, false);
    Pump();
    const auto buttons = MdiButtons();
    ASSERT_EQ(buttons.size(), 3u);
    const HWND fw = H(frame_);
    auto shows = [&](int frameOf) {
        const test::WindowPixels p = test::CaptureWindow(fw);
        int n = 0;
        for (const auto& [rec, r] : buttons) {
            const TPoint mid{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
            if (p.At(mid.X, mid.Y) == FrameColour(rec->Image, rec->Frame, frameOf)) ++n;
        }
        return n;
    };
    EXPECT_EQ(shows(1), 0) << "no child is maximized";

    // The child's own maximize button, clicked with the mouse.
    auto maximize = [&](TForm* f) {
        Activate(f);
        RECT r;
        GetWindowRect(H(f), &r);
        const TDataSkinSysButton* max = nullptr;
        for (const TDataSkinSysButton& s : skin_->SysButtons)
            if (s.Action == 1) max = &s;
        ASSERT_NE(max, nullptr);
        RealClick({r.right - max->Xcoord + 8, r.top + max->Ycoord + 8});
        EXPECT_TRUE(test::PumpUntil([&] { return IsZoomed(H(f)) != 0; }, 3000)) << "maximized by its button";
        Pump();
    };
    maximize(b);
    EXPECT_EQ(shows(1), 3) << "the three buttons of the maximized child in the frame's bar";
    EXPECT_TRUE(SkinManage()->MDIMaximized());
    test::CaptureWindow(fw).Save("mdi-maximized-test-skin.bmp");
    // The maximized child's caption shows in the frame's: a new one keeps the frame's skinned caption.
    b->SetCaption("Renamed child");
    Pump();
    {
        const test::WindowPixels p = test::CaptureWindow(fw);
        EXPECT_EQ(p.At(p.W / 3, 1), FrameColour(skin_->Top.Image, skin_->Top.Frame, 1, true));
        wchar_t text[80] = {};
        GetWindowTextW(fw, text, 80);
        EXPECT_NE(std::wstring(text).find(L"Renamed child"), std::wstring::npos);
    }

    // Restore (Action 8), with the mouse.
    RealClick(ScreenOf(buttons[1].second));
    EXPECT_TRUE(test::PumpUntil([&] { return !IsZoomed(H(b)); }, 3000)) << "restored";
    Pump();
    EXPECT_EQ(shows(1), 0);
    EXPECT_FALSE(SkinManage()->MDIMaximized());

    // Minimize (Action 7).
    maximize(b);
    RealClick(ScreenOf(buttons[0].second));
    EXPECT_TRUE(test::PumpUntil([&] { return IsIconic(H(b)) != 0; }, 3000)) << "minimized";
    Pump();

    // Close (Action 9): the maximized child goes. (The client keeps its children maximized: the child it activated
    // in place of the minimized one is.)
    Activate(c);
    if (!IsZoomed(H(c))) ShowWindow(H(c), SW_MAXIMIZE);
    ASSERT_TRUE(test::PumpUntil([&] { return IsZoomed(H(c)) != 0; }, 3000));
    Pump();
    EXPECT_EQ(shows(1), 3);
    RealClick(ScreenOf(buttons[2].second));
    EXPECT_TRUE(test::PumpUntil([&] { return Gone(c); }, 3000)) << "closed";
    Pump();
    EXPECT_EQ(frame_->MDIChildCount(), 2);

    // The last child goes: the bar shows the frame's menu, without the children's buttons.
    a->Close();
    b->Close();
    EXPECT_TRUE(test::PumpUntil([&] { return Gone(a) && Gone(b); }, 3000));
    Pump();
    EXPECT_EQ(frame_->MDIChildCount(), 0);
    EXPECT_TRUE(skin_->MenuUpdate) << "the bar follows the frame's menu again";
    EXPECT_EQ(FirstBarCaption(), "&File");
    EXPECT_EQ(shows(1), 0);
    EXPECT_FALSE(SkinManage()->MDIMaximized());
}

TEST_F(Mdi, WithTheSkinsMdiChildBorderChildrenKeepTheSystemsFrame) {
    MakeFrame();
    skin_->Options = SetWith(skin_->Options, xoMDIChildBorder);
    TForm* a = MakeChild(0, false);
    Pump();
    EXPECT_EQ(Skinned(H(a)), 1) << "hooked all the same";
    TWinSkinForm* sf = SkinManage()->FindForm(H(a));
    ASSERT_NE(sf, nullptr);
    EXPECT_FALSE(sf->FrameSkinned());
    EXPECT_FALSE(sf->OwnsRegion());
    // The system's frame: the caption is not the skin's.
    const test::WindowPixels p = test::CaptureWindow(H(a));
    EXPECT_NE(p.At(p.W / 2, 1), FrameColour(skin_->Top.Image, skin_->Top.Frame, 1, true));
    EXPECT_NE(p.At(p.W / 2, 1), FrameColour(skin_->Top.Image, skin_->Top.Frame, 2, true));
    skin_->Options = SetWithout(skin_->Options, xoMDIChildBorder);
}

TEST_F(Mdi, ScreenshotOfAMaximizedChildInTheDefaultSkin) {
    MakeFrame(true);
    MakeChild(0, false);
    TForm* b = MakeChild(1, true);
    Pump();
    b->SetWindowState(wsMaximized);
    ASSERT_TRUE(test::PumpUntil([&] { return IsZoomed(H(b)) != 0; }, 3000));
    Pump();
    EXPECT_TRUE(test::CaptureWindow(H(frame_)).Save("mdi-maximized-default.bmp"));
    EXPECT_EQ(FirstBarCaption(), "&Child");
}

// ---- a new skin while windows are open ----

// A form with the program's controls that the skin draws (a radio button on its own keeps the system's look: the
// skin draws radio buttons in radio groups).
struct ControlsForm {
    TForm* form;
    TButton* button;
    TCheckBox* check;
    TProgressBar* progress;
    TStatusBar* status;
    TMemo* memo;
    TFrame* sub;
    explicit ControlsForm(TComponent* owner) {
        form = new TForm(owner);
        form->SetCaption("Controls");
        form->SetBounds(80, 80, 460, 340);
        auto* menu = new TMainMenu(form);
        Item(form, "&Port", Item(form, "&Port", menu->Items()));
        form->SetMenu(menu);
        button = new TButton(form);
        button->SetParent(form);
        button->SetBounds(10, 10, 120, 30);
        button->SetCaption("Press");
        check = new TCheckBox(form);
        check->SetParent(form);
        check->SetBounds(150, 10, 120, 24);
        check->SetCaption("Check");
        progress = new TProgressBar(form);
        progress->SetParent(form);
        progress->SetBounds(10, 50, 300, 20);
        progress->SetPosition(60);
        memo = new TMemo(form);
        memo->SetParent(form);
        memo->SetBounds(10, 80, 300, 120);
        memo->SetScrollBars(ssVertical);
        for (int i = 0; i < 40; ++i) memo->Lines().Add("line " + std::to_string(i));
        sub = new TFrame(form);  // a frame the form owns takes a new skin's face colour with it
        sub->SetParent(form);
        sub->SetBounds(320, 80, 120, 120);
        status = new TStatusBar(form);
        status->SetParent(form);
        status->Panels().Add().SetWidth(120);
        status->Panels().Add().SetText("second");
    }
};

// The container of a test skin in a file, as SkinFile reads it.
std::string SkinFileOf(const char* resource, const char* name) {
    const std::string stream = test::TestSkinStream(resource);
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return {};
    std::fwrite(stream.data() + 4, 1, stream.size() - 4, f);
    std::fclose(f);
    return path;
}

TEST_F(Mdi, ANewSkinReachesFramesMenusAndControlsAndLeavesNothingBehind) {
    MakeFrame();
    ControlsForm cf(frame_);
    cf.form->ShowForm();
    const HWND form = H(cf.form);
    ASSERT_TRUE(test::PumpUntil([&] { return Skinned(form) == 1; }));
    Pump();
    int changed = 0;
    skin_->OnSkinChanged = [&](TObject*) { ++changed; };
    const std::string first = SkinFileOf("FRAMETESTSKIN", "kes-first.skn"), second = SkinFileOf("FRAMETESTSKIN2", "kes-second.skn");
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    auto load = [&](const std::string& path) {
        const int before = changed;
        skin_->SetSkinFile(path);
        EXPECT_TRUE(test::PumpUntil([&] { return changed > before; }, 5000)) << "the refresh ran";
        Pump();
    };

    // What each part shows, by the images of the skin in force.
    struct Look {
        std::set<std::int32_t> left, menuBar, button, check, progress, status, scroll, menu;
        TColor face;
    };
    auto look = [&] {
        Look l;
        l.left = ColoursOf(skin_->Left.Image);
        l.menuBar = ColoursOf(skin_->MenuBar->Image);
        l.button = ColoursOf(skin_->Buttons.Image);
        l.check = ColoursOf(skin_->Buttons.CheckImage);
        l.progress = ColoursOf(skin_->Progress->Image);
        l.status = ColoursOf(skin_->StatusBarEdges->Image);
        l.scroll = ColoursOf(skin_->Scrollbar->Image);
        l.menu = ColoursOf(skin_->MenuBackground->Image);
        for (std::int32_t c : ColoursOf(skin_->MenuItem->Image)) l.menu.insert(c);
        l.face = skin_->Colour(SkinColour::ButtonFace);
        return l;
    };
    // Each part with the window it is drawn in; the memo's scroll bar only where it is shown (its colours are
    // nearly alike in both skins).
    auto parts = [&](const Look& l, bool withScroll) {
        std::vector<std::tuple<HWND, const std::set<std::int32_t>*, const char*>> out{
            {form, &l.left, "frame"},
            {form, &l.menuBar, "menu bar"},
            {H(cf.button), &l.button, "button"},
            {H(cf.check), &l.check, "check box"},
            {H(cf.progress), &l.progress, "progress bar"},
            {H(cf.status), &l.status, "status bar"}};
        if (withScroll) out.push_back({form, &l.scroll, "the memo's scroll bar"});
        return out;
    };
    auto expectShows = [&](const Look& l, const char* which) {
        for (const auto& [w, colours, name] : parts(l, true)) EXPECT_GT(PixelsIn(w, *colours), 0) << which << ": " << name;
        EXPECT_EQ(cf.form->Color(), l.face) << which << ": the form's face";
    };
    auto expectNot = [&](const Look& l, const char* which) {
        for (const auto& [w, colours, name] : parts(l, false)) EXPECT_EQ(PixelsIn(w, *colours), 0) << which << ": " << name;
    };

    const Look a = look();
    expectShows(a, "first skin");
    load(second);
    const Look b = look();
    ASSERT_NE(*a.left.begin(), *b.left.begin()) << "the second skin has other colours";
    expectShows(b, "second skin");
    EXPECT_EQ(cf.sub->Color(), b.face) << "a new skin reaches the frame the form owns";
    expectNot(a, "second skin, none of the first's");
    // The bar's popup is drawn in the new skin too.
    auto popupPixels = [&](const Look& l) {
        TWinSkinMenu* bar = SkinManage()->FindForm(form)->MenuBar();
        int n = -1;
        const int id = cf.form->AddMessageHandler([&](TMessage& m) {
            if (m.Msg == WM_ENTERIDLE && m.WParam == MSGF_MENU && n < 0) {
                n = PixelsIn(reinterpret_cast<HWND>(m.LParam), l.menu);
                EndMenu();
            }
            return false;
        });
        if (bar) bar->TrackMenuButton(0);
        cf.form->RemoveMessageHandler(id);
        Pump();
        return n;
    };
    EXPECT_GT(popupPixels(b), 0) << "popup menu in the second skin";
    EXPECT_EQ(popupPixels(a), 0) << "popup menu, none of the first skin";

    // Skin off and on again.
    skin_->SetActive(false);
    EXPECT_TRUE(test::PumpUntil([&] { return Skinned(form) != 1; }, 5000));
    Pump();
    expectNot(b, "skin off");
    skin_->SetActive(true);
    EXPECT_TRUE(test::PumpUntil([&] { return Skinned(form) == 1; }, 5000));
    Pump();
    expectShows(b, "skin on again");

    // Back and forth: the engine's objects stay where they were after the first round.
    load(first);
    load(second);
    long start[kSkinGdiKinds];
    for (int k = 0; k < kSkinGdiKinds; ++k) start[k] = SkinGdiLive(static_cast<SkinGdiKind>(k));
    for (int i = 0; i < 50; ++i) {
        load(i % 2 ? second : first);
        if (i % 10 == 9) {
            skin_->SetActive(false);
            EXPECT_TRUE(test::PumpUntil([&] { return Skinned(form) != 1; }, 5000));
            skin_->SetActive(true);
            EXPECT_TRUE(test::PumpUntil([&] { return Skinned(form) == 1; }, 5000));
            Pump();
        }
    }
    expectShows(b, "after 50 rounds");
    for (int k = 0; k < kSkinGdiKinds; ++k)
        EXPECT_EQ(SkinGdiLive(static_cast<SkinGdiKind>(k)), start[k]) << "kind " << k;
    std::remove(first.c_str());
    std::remove(second.c_str());
}

TEST_F(Mdi, APopupOfTheBarIsSkinnedAsTheBarsAndTheNextPlainPopupByItsOwnKind) {
    MakeFrame();
    TWinSkinMenu* bar = Frame()->MenuBar();
    ASSERT_NE(bar, nullptr);
    bool flagged = false;
    bool listedAtOpen = false;
    const int id = frame_->AddMessageHandler([&](TMessage& m) {
        if (m.Msg == WM_ENTERIDLE && m.WParam == MSGF_MENU && !listedAtOpen) {
            listedAtOpen = SkinManage()->PopupCount() > 0;
            flagged = listedAtOpen && SkinManage()->Popup(0)->MenusFlag;
            EndMenu();
        }
        return false;
    });
    bar->TrackMenuButton(0);
    frame_->RemoveMessageHandler(id);
    Pump();
    EXPECT_TRUE(listedAtOpen);
    EXPECT_TRUE(flagged) << "a popup opened from the bar gets its menus flag";
    EXPECT_EQ(SkinManage()->PopupCount(), 0u);
    EXPECT_FALSE(SkinManage()->MenuBarPopup);
    EXPECT_EQ(SkinManage()->MenuKind, kPopupMenuKind);
    // A window that goes while no popup is listed leaves a menu kind set for the next popup alone.
    SkinManage()->MenuKind = kSystemMenuKind;
    auto* other = new TForm(nullptr);
    other->SetBounds(10, 10, 100, 80);
    other->ShowForm();
    Pump();
    delete other;
    Pump();
    EXPECT_EQ(SkinManage()->MenuKind, kSystemMenuKind);
    SkinManage()->MenuKind = kPopupMenuKind;
}

}  // namespace

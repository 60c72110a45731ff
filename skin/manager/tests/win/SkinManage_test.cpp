// The skin manager in a program of its own: the hook picks the windows (forms, a Tag-99 form, message boxes),
// popup menus get their skin when they are made and lose it when they go, commands switch the skin, and a
// skin data component that goes away takes its skin off every window.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win/Application.h"
#include "gui/Forms.h"
#include "gui/win/Win.h"
#include "skin/data/win/SkinDataWin.h"
#include "skin/draw/win/SkinGdi.h"
#include "skin/manager/win/SkinManage.h"
#include "skin/manager/win/WinSkinPopMenu.h"
#include "skin/manager/tests/win/SkinManageSettle.h"
#include "testsupport/DeferredAction.h"

using namespace kes;

namespace {

// Waits until the windows came to rest and the skin manager ran its pending command.
void Pump() { test::SettleSkins(); }

HWND ThreadWindowOfClass(const char* className) {
    struct Find {
        const char* cls;
        HWND found;
    } find{className, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            auto* f = reinterpret_cast<Find*>(lp);
            char cls[64] = "";
            GetClassNameA(h, cls, sizeof cls);
            if (std::string(cls) == f->cls && IsWindowVisible(h)) {
                f->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&find));
    if (!find.found) find.found = FindWindowA(className, nullptr);  // popup menus are not thread windows in Wine
    return find.found;
}

LRESULT Skinned(HWND w) { return SendMessageA(w, SKM_ISSKINNED, 0, 0); }

class SkinManageTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        main_ = new TForm(nullptr);
        main_->SetCaption("Skinned main");
        main_->SetBounds(100, 100, 320, 200);
        skin_ = new TSkinData(main_);
        skin_->BeginLoading();
        skin_->SetActive(true);
        ASSERT_TRUE(LoadStoredSkin(*skin_));
        skin_->EndLoading();
        ASSERT_NE(SkinManage(), nullptr) << "a program linking the manager gets it with its first skin";
    }
    void TearDown() override {
        delete main_;
        DestroySkinManager();
        app_.reset();
    }
    // Shows a form and lets the hook and SKM_START run.
    static void Show(TForm* f) {
        f->ShowForm();
        Pump();
    }
    // Opens a popup menu over the main window; inMenu runs once the menu shows and waits for input, then the
    // menu is closed. A menu that another program's window cancelled before it showed is opened again; false
    // when it never showed.
    bool WithPopup(const std::function<void(HWND menuWindow)>& inMenu) {
        for (int attempt = 0; attempt < 5; ++attempt)
            if (OpenPopup(inMenu)) return true;
        return false;
    }
    bool OpenPopup(const std::function<void(HWND menuWindow)>& inMenu) {
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 1, "First");
        AppendMenuA(menu, MF_STRING, 2, "Second");
        const auto owner = static_cast<HWND>(main_->Handle());
        bool shown = false;
        const int id = main_->AddMessageHandler([&](TMessage& msg) {
            if (msg.Msg != WM_ENTERIDLE || msg.WParam != MSGF_MENU || shown) return false;
            shown = true;
            inMenu(reinterpret_cast<HWND>(msg.LParam));
            EndMenu();
            return true;
        });
        SetForegroundWindow(owner);
        TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr);
        main_->RemoveMessageHandler(id);
        DestroyMenu(menu);
        return shown;
    }

    std::unique_ptr<TApplication> app_;
    TForm* main_ = nullptr;
    TSkinData* skin_ = nullptr;
};

TEST_F(SkinManageTest, ShownFormsAreSkinnedOnceExceptATag99Form) {
    TSkinManage& m = *SkinManage();
    EXPECT_TRUE(m.Active());
    Show(main_);
    EXPECT_EQ(m.State(), kManagerRunning);
    ASSERT_NE(m.FindForm(static_cast<HWND>(main_->Handle())), nullptr);
    EXPECT_EQ(Skinned(static_cast<HWND>(main_->Handle())), 1);
    main_->Hide();
    Show(main_);  // activated again: still one frame
    EXPECT_EQ(m.Forms().size(), 1u);

    TForm tagged(nullptr), plain(nullptr);
    tagged.Tag = 99;
    plain.Tag = 98;
    for (TForm* f : {&tagged, &plain}) {
        f->SetBounds(200, 200, 200, 120);
        Show(f);
    }
    EXPECT_EQ(m.FindForm(static_cast<HWND>(tagged.Handle())), nullptr);
    EXPECT_EQ(Skinned(static_cast<HWND>(tagged.Handle())), 0);
    EXPECT_NE(m.FindForm(static_cast<HWND>(plain.Handle())), nullptr);
}

TEST_F(SkinManageTest, AMessageBoxIsSkinnedAndItsTextStaysReadable) {
    Show(main_);
    LRESULT skinned = -1;
    std::wstring text;
    ActionWhen answer(
        [] { return ThreadWindowOfClass("#32770") != nullptr; },
        [&] {
            HWND box = ThreadWindowOfClass("#32770");
            skinned = Skinned(box);
            wchar_t buf[64] = L"";
            GetDlgItemTextW(box, 0xFFFF, buf, 64);
            text = buf;
            SendMessageA(box, WM_COMMAND, IDOK, 0);
        });
    MessageBoxW(static_cast<HWND>(main_->Handle()), L"Gr\u00fc\u00dfe \u263A", L"Info", MB_OK);
    EXPECT_EQ(skinned, 1);
    EXPECT_EQ(text, L"Gr\u00fc\u00dfe \u263A");
    Pump();
    SkinManage()->Purge();
    EXPECT_EQ(SkinManage()->Forms().size(), 1u) << "the box's frame went with it";
}

TEST_F(SkinManageTest, PopupMenusAreSkinnedWhileTheyAreOpen) {
    TSkinManage& m = *SkinManage();
    Show(main_);
    LRESULT skinned = 0;
    std::size_t open = 0;
    bool painted = false;
    COLORREF shown = 0, composed = 1;
    m.MenuKind = kMainMenuKind;  // xcMainMenu is on: skinned
    EXPECT_TRUE(WithPopup([&](HWND w) {
        skinned = Skinned(w);
        open = m.PopupCount();
        UpdateWindow(w);
        if (TBitmap* background = m.FindMenuBitmap(0)) {
            painted = true;
            HDC dc = GetWindowDC(w);
            shown = GetPixel(dc, 1, 1);
            ReleaseDC(w, dc);
            composed = GetPixel(background->Canvas().Handle(), 1, 1);
        }
    }));
    EXPECT_EQ(skinned, 1);
    EXPECT_EQ(open, 1u);
    EXPECT_TRUE(painted) << "the frame is painted from the skin's menu background";
    EXPECT_EQ(shown, composed);
    EXPECT_EQ(m.PopupCount(), 0u);
    EXPECT_EQ(m.MenuKind, kPopupMenuKind) << "the next menu is a plain popup again";

    skin_->SkinControls = SetWithout(skin_->SkinControls, xcPopupMenu);
    EXPECT_TRUE(WithPopup([&](HWND w) { skinned = Skinned(w); }));
    EXPECT_EQ(skinned, 0);
}

TEST_F(SkinManageTest, SkinOffTakesEveryFrameOffAndLeavesPopupMenusAlone) {
    TSkinManage& m = *SkinManage();
    Show(main_);
    ASSERT_EQ(m.Forms().size(), 1u);
    int changed = 0;
    skin_->OnSkinChanged = [&](TObject*) { ++changed; };
    skin_->SetActive(false);
    Pump();
    EXPECT_EQ(changed, 1);
    EXPECT_FALSE(m.Active());
    EXPECT_TRUE(m.Forms().empty());
    EXPECT_EQ(Skinned(static_cast<HWND>(main_->Handle())), 0);
    LRESULT skinned = -1;
    EXPECT_TRUE(WithPopup([&](HWND w) { skinned = Skinned(w); }));
    EXPECT_EQ(skinned, 0);

    skin_->SetActive(true);
    Pump();
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(Skinned(static_cast<HWND>(main_->Handle())), 1) << "skin on walks the shown forms";
}

TEST_F(SkinManageTest, ASkinThatGoesAwayTakesItsSkinOffEverything) {
    TSkinManage& m = *SkinManage();
    Show(main_);
    skin_->SetActive(false);  // a pending command for the skin
    delete skin_;
    skin_ = nullptr;
    EXPECT_TRUE(m.Skins().empty());
    EXPECT_EQ(m.CommandSkin(), nullptr);
    EXPECT_TRUE(m.Forms().empty());
    // The cancelled command does not run: a thing that must not happen gives nothing to wait for, so the
    // manager's timer gets several of its ticks.
    test::PumpFor(400);
    TForm later(nullptr);
    Show(&later);
    EXPECT_EQ(m.FindForm(static_cast<HWND>(later.Handle())), nullptr);
    LRESULT skinned = -1;
    EXPECT_TRUE(WithPopup([&](HWND w) { skinned = Skinned(w); }));
    EXPECT_EQ(skinned, 0);
}

TEST_F(SkinManageTest, TwoHundredMessageBoxesAndPopupMenusLeaveNothingBehind) {
    TSkinManage& m = *SkinManage();
    Show(main_);
    const auto owner = static_cast<HWND>(main_->Handle());
    auto live = [] {
        std::vector<long> v;
        for (int k = 0; k < kSkinGdiKinds; ++k) v.push_back(SkinGdiLive(static_cast<SkinGdiKind>(k)));
        return v;
    };
    const std::vector<long> start = live();
    int boxesSkinned = 0, menusSkinned = 0;
    for (int i = 0; i < 200; ++i) {
        DeferredAction answer(
            [&] {
                HWND box = ThreadWindowOfClass("#32770");
                boxesSkinned += Skinned(box) == 1;
                SendMessageA(box, WM_COMMAND, IDOK, 0);
            },
            1);
        MessageBoxA(owner, "Again", "Info", MB_OK);
        Pump();  // what the closed box left behind would end the next menu at once
        EXPECT_TRUE(WithPopup([&](HWND w) { menusSkinned += Skinned(w) == 1; })) << i;
    }
    Pump();
    m.Purge();
    EXPECT_EQ(boxesSkinned, 200);
    EXPECT_EQ(menusSkinned, 200);
    EXPECT_EQ(live(), start) << "regions, bitmaps, DCs, icons";
    EXPECT_EQ(m.Forms().size(), 1u);
    EXPECT_EQ(m.PopupCount(), 0u);
}

}  // namespace

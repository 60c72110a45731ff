// The port controls on real windows under Wine: the lamp's glyph follows a real open and close of the virtual
// port, the ring timer, a drop-down list that lists and applies, and the setup dialog driven as a user would.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "base/win/Application.h"
#include "base/win/Timer.h"
#include "gui/Forms.h"
#include "gui/win/Canvas.h"
#include "serial/CPortCtl.h"
#include "serial/CPortSetup.h"
#include "serial/win/LedGlyph.h"
#include "testsupport/BoardTest.h"
#include "testsupport/Wait.h"
#include "testsupport/WindowPicture.h"

using namespace kes;

namespace {

using kes::test::PumpFor;
using kes::test::PumpUntil;

// The form's client area as it paints itself (WM_PRINTCLIENT), independent of what covers it on screen.
std::unique_ptr<TBitmap> PrintClient(TForm& form) {
    auto shot = std::make_unique<TBitmap>(form.ClientWidth(), form.ClientHeight());
    SendMessageA(Hwnd(form), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot->Canvas().Handle()), PRF_CLIENT);
    GdiFlush();
    return shot;
}

// The centre pixel of a glyph resource.
TColor ResourceCentre(const char* name) {
    TBitmap b;
    if (!b.LoadFromResourceName(name)) return clNone;
    return b.Canvas().Pixel(7, 7);
}

// Counts the port's apply calls: setters inside the settings bracket reach ApplyLineSettings, but the device is
// written only by the one ApplyAllSettings that ends the bracket.
class CountingPort : public TComPort {
public:
    using TComPort::TComPort;
    bool ApplyAllSettings() override {
        ++all;
        linesAtAll = lines;
        return TComPort::ApplyAllSettings();
    }
    bool ApplyLineSettings() override {
        ++lines;
        return TComPort::ApplyLineSettings();
    }
    int all = 0, lines = 0, linesAtAll = -1;
};

class PortCtlWine : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetCaption("Port controls");
        form_->SetBounds(40, 40, 240, 160);
        comName_ = kes::test::BoardComPort();
    }
    void TearDown() override {
        form_.reset();
        app_.reset();
    }
    bool NeedBoard() {
        if (comName_.empty()) return false;
        if (!board_.Connect() || !board_.Reset()) return false;
        return true;
    }

    std::unique_ptr<TApplication> app_;
    std::unique_ptr<TForm> form_;
    std::string comName_;
    kes::test::BoardControl board_;
};

// Runs `act` on the setup dialog once it is up (from a timer inside its modal loop).
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(TComSetupFrm&)> act) : act_(std::move(act)) {
        timer_.SetInterval(30);
        timer_.OnTimer = [this](TObject*) {
            for (int i = 0; i < Screen().FormCount(); ++i)
                if (auto* f = dynamic_cast<TComSetupFrm*>(Screen().Forms(i)); f && f->Modal() && f->Showing()) {
                    timer_.SetEnabled(false);
                    ran = true;
                    act_(*f);
                    return;
                }
        };
        timer_.SetEnabled(true);
    }
    bool ran = false;

private:
    std::function<void(TComSetupFrm&)> act_;
    TTimer timer_{nullptr};
};

// What a user's pick does: the list's selection moves and the list tells its parent.
void UserPicks(TComComboBox* combo, const std::string& text) {
    HWND h = Hwnd(combo);
    const LRESULT i =
        SendMessageA(h, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    ASSERT_GE(i, 0) << text;
    SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    SendMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
}

}  // namespace

TEST_F(PortCtlWine, GlyphResourcesArePartOfTheProgram) {
    for (TLedKind k : {lkRedLight, lkGreenLight, lkBlueLight, lkYellowLight, lkPurpleLight, lkBulb})
        for (TLedState s : {lsOn, lsOff}) {
            TBitmap b;
            const std::string name = LedResourceName(k, s);
            ASSERT_TRUE(b.LoadFromResourceName(name)) << name;
            EXPECT_EQ(b.Width(), 15);
            EXPECT_EQ(b.Height(), 15);
            EXPECT_EQ(b.Canvas().Pixel(0, 14), clFuchsia) << name;  // the transparent corner
        }
    EXPECT_NE(ResourceCentre("LEDBULBON"), ResourceCentre("LEDBULBOFF"));
}

TEST_F(PortCtlWine, LampFollowsARealOpenAndCloseWithoutRunningTheMessageLoop) {
    if (!NeedBoard()) GTEST_SKIP() << "KESTRUP_COM is not set: run under scripts/test.sh";
    TComPort port;
    port.SetPort(comName_);
    port.SetBaudRate(br115200);
    auto* led = new TComLed(form_.get());
    led->SetParent(form_.get());
    led->SetLeft(20);
    led->SetTop(30);
    led->SetKind(lkBulb);
    led->SetComPort(&port);
    form_->ShowForm();
    PumpUntil(kes::test::PaintingDone, 3000);

    const TColor on = ResourceCentre("LEDBULBON"), off = ResourceCentre("LEDBULBOFF");
    auto probe = [&] {
        const TPoint g = led->GlyphPlace();
        return PrintClient(*form_)->Canvas().Pixel(led->Left() + g.X + 7, led->Top() + g.Y + 7);
    };
    auto corner = [&] { return PrintClient(*form_)->Canvas().Pixel(led->Left() + 5, led->Top() + 19); };
    EXPECT_EQ(probe(), off);
    EXPECT_NE(corner(), clFuchsia);  // drawn transparently: the form shows through

    // A message that waits while the port opens is not handled inside the lamp's state change.
    bool handled = false;
    HWND helper = AllocateHWnd([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_APP) handled = true;
        return DefWindowProcA(w, msg, wp, lp);
    });
    std::vector<TLedState> changes;
    led->OnChange = [&](TObject*, TLedState s) { changes.push_back(s); };
    PostMessageA(helper, WM_APP, 0, 0);
    port.OpenPort();
    EXPECT_FALSE(handled);
    EXPECT_EQ(led->State(), lsOn);
    EXPECT_EQ(probe(), on);
    PrintClient(*form_)->SaveToFile("portctl-lamp-on.bmp");  // a picture to look at
    // The screen was brought up to date at once (invalidate and update), before any message ran.
    {
        WindowDc dc(Hwnd(*form_));
        const TPoint g = led->GlyphPlace();
        const COLORREF shown = GetPixel(dc.Get(), led->Left() + g.X + 7, led->Top() + g.Y + 7);
        if (GetForegroundWindow() == Hwnd(*form_)) {
            EXPECT_EQ(static_cast<TColor>(shown), on);
        }
    }
    port.ClosePort();
    EXPECT_FALSE(handled);
    EXPECT_EQ(probe(), off);
    EXPECT_EQ(changes, (std::vector<TLedState>{lsOn, lsOff}));
    PumpUntil([&] { return handled; }, 2000);
    EXPECT_TRUE(handled);
    DeallocateHWnd(helper);

    // A disabled lamp shows "off" even while on.
    port.OpenPort();
    led->SetEnabled(false);
    EXPECT_EQ(probe(), off);
    led->SetEnabled(true);
    EXPECT_EQ(probe(), on);

    // Freed while the port is open and the form shown: no event, and the port no longer reaches it.
    changes.clear();
    delete led;
    EXPECT_TRUE(changes.empty());
    port.ClosePort();
    EXPECT_TRUE(PumpUntil([] { return !kes::test::SynchronizeWaiting() && HIWORD(GetQueueStatus(QS_ALLPOSTMESSAGE)) == 0; }, 3000))
        << "the closed port's last hand-overs";
}

TEST_F(PortCtlWine, RingLightsTheLampForTheRingDuration) {
    auto* led = new TComLed(form_.get());
    led->SetParent(form_.get());
    led->SetLedSignal(lsRing);
    led->SetRingDuration(200);
    form_->ShowForm();
    std::vector<std::pair<TLedState, ULONGLONG>> changes;
    led->OnChange = [&](TObject*, TLedState s) { changes.push_back({s, GetTickCount64()}); };
    led->Link().OnRing(nullptr);  // as the port's dispatch reports a ring
    EXPECT_EQ(led->State(), lsOn);
    ASSERT_TRUE(PumpUntil([&] { return led->State() == lsOff; }, 3000));
    ASSERT_EQ(changes.size(), 2u);
    const ULONGLONG lit = changes[1].second - changes[0].second;
    EXPECT_GE(lit, 180u);
    EXPECT_LT(lit, 1500u);
    EXPECT_FALSE(led->RingTimer().Enabled());
    PumpUntil([] { return false; }, 400);  // that no more change comes: no event to wait for
    EXPECT_EQ(changes.size(), 2u);  // the timer stopped itself
}

TEST_F(PortCtlWine, DropDownListsAndApplies) {
    TComPort port;
    port.SetBaudRate(br38400);
    auto* combo = new TComComboBox(form_.get());
    combo->SetParent(form_.get());
    combo->SetBounds(10, 10, 129, 21);
    combo->SetComProperty(cpBaudRate);
    combo->SetComPort(&port);
    form_->ShowForm();
    HWND h = Hwnd(combo);
    EXPECT_EQ(SendMessageA(h, CB_GETCOUNT, 0, 0), 16);
    char text[32] = {};
    SendMessageA(h, CB_GETLBTEXT, 13, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "115200");
    EXPECT_EQ(SendMessageA(h, CB_GETCURSEL, 0, 0), 10);  // "38400", read from the port

    UserPicks(combo, "57600");
    EXPECT_EQ(combo->Text(), "57600");
    EXPECT_EQ(port.BaudRate(), br38400);  // no AutoApply: only the list's value changed
    combo->ApplyToPort();
    EXPECT_EQ(port.BaudRate(), br57600);
    combo->SetAutoApply(true);
    UserPicks(combo, "300");
    EXPECT_EQ(port.BaudRate(), br300);

    // The port list holds the devices present.
    auto* ports = new TComComboBox(form_.get());
    ports->SetParent(form_.get());
    ports->SetComProperty(cpPort);
    EXPECT_EQ(SendMessageA(Hwnd(ports), CB_GETCOUNT, 0, 0), ports->Items().Count());
    if (!comName_.empty()) {
        EXPECT_GE(ports->Items().IndexOf(comName_), 0) << comName_;
    }
}

TEST_F(PortCtlWine, SetupDialogCancelChangesNothing) {
    if (!NeedBoard()) GTEST_SKIP() << "KESTRUP_COM is not set: run under scripts/test.sh";
    CountingPort port;
    port.SetPort(comName_);
    port.SetBaudRate(br19200);
    port.OpenPort();
    port.all = port.lines = 0;
    DialogDriver driver([](TComSetupFrm& f) {
        UserPicks(f.Combo2, "110");
        UserPicks(f.Combo3, "6");
        UserPicks(f.Combo4, "2");
        UserPicks(f.Combo5, "Space");
        UserPicks(f.Combo6, "Software");
        SendMessageA(Hwnd(f.Button2), BM_CLICK, 0, 0);
    });
    port.RunSetupDialog();
    EXPECT_TRUE(driver.ran);
    EXPECT_EQ(port.BaudRate(), br19200);
    EXPECT_EQ(port.DataBits(), dbEight);
    EXPECT_EQ(port.StopBits(), sbOneStopBit);
    EXPECT_EQ(port.Parity().Bits(), prNone);
    EXPECT_EQ(port.FlowControl().FlowControl(), fcNone);
    EXPECT_EQ(port.Port(), comName_);
    EXPECT_EQ(port.all, 0);
    EXPECT_EQ(port.lines, 0);
    EXPECT_TRUE(port.Connected());
}

TEST_F(PortCtlWine, SetupDialogOkAppliesOnceInOneBracket) {
    if (!NeedBoard()) GTEST_SKIP() << "KESTRUP_COM is not set: run under scripts/test.sh";
    CountingPort port;
    port.SetPort(comName_);
    port.SetBaudRate(br19200);
    port.OpenPort();
    port.all = port.lines = 0;
    std::string shown[TComSetupFrm::ComboCount];
    bool pictured = false;
    DialogDriver driver([&](TComSetupFrm& f) {
        for (int i = 0; i < TComSetupFrm::ComboCount; ++i) shown[i] = f.Combos(i)->Text();
        PumpUntil(kes::test::PaintingDone, 3000);  // let it paint
        pictured = kes::test::SaveWindowPicture(Hwnd(f), "portsetup-dialog.bmp");
        UserPicks(f.Combo2, "115200");
        UserPicks(f.Combo3, "7");
        UserPicks(f.Combo5, "Odd");
        UserPicks(f.Combo6, "Hardware");
        EXPECT_EQ(port.lines, 0);  // choosing touches nothing
        SendMessageA(Hwnd(f.Button1), BM_CLICK, 0, 0);
    });
    port.RunSetupDialog();
    ASSERT_TRUE(driver.ran);
    EXPECT_TRUE(pictured);
    EXPECT_EQ(shown[0], comName_);
    EXPECT_EQ(shown[1], "19200");
    EXPECT_EQ(shown[2], "8");
    EXPECT_EQ(shown[5], "None");
    EXPECT_EQ(port.BaudRate(), br115200);
    EXPECT_EQ(port.DataBits(), dbSeven);
    EXPECT_EQ(port.Parity().Bits(), prOdd);
    EXPECT_EQ(port.FlowControl().FlowControl(), fcHardware);
    EXPECT_EQ(port.Port(), comName_);
    // One bracket: the setters only collected, then one ApplyAllSettings wrote the device.
    EXPECT_EQ(port.all, 1);
    EXPECT_EQ(port.linesAtAll, port.lines - 1);
    EXPECT_TRUE(port.Connected());
    // The port still talks to the board with the new settings.
    EXPECT_EQ(port.SendText("1 2 +\r"), 6);
}

TEST_F(PortCtlWine, SetupDialogOkWithoutAPortChoiceKeepsTheName) {
    TComPort port;
    port.SetPort("COM99");  // not among the devices present
    DialogDriver driver([](TComSetupFrm& f) {
        EXPECT_EQ(SendMessageA(Hwnd(f.Combo1), CB_GETCURSEL, 0, 0), CB_ERR);
        SendMessageA(Hwnd(f.Button1), BM_CLICK, 0, 0);
    });
    port.RunSetupDialog();
    EXPECT_TRUE(driver.ran);
    EXPECT_EQ(port.Port(), "COM99");
}

// The event thread waits for the end of a write only while someone hears it: a Tx lamp set up while the port is
// open must still go out once each write was sent, also after it was switched to another signal and back.
TEST_F(PortCtlWine, ATxLampSetUpOnAnOpenPortGoesOutAfterEachWrite) {
    if (!NeedBoard()) GTEST_SKIP() << "KESTRUP_COM is not set: run under scripts/test.sh";
    TComPort port;
    port.SetPort(comName_);
    port.SetBaudRate(br115200);
    port.OpenPort();
    auto* led = new TComLed(form_.get());
    led->SetParent(form_.get());
    led->SetComPort(&port);  // a connection lamp: nobody hears the end of a write yet
    for (TComLedSignal signal : {lsTx, lsConn, lsTx}) led->SetLedSignal(signal);
    PumpFor(100);  // the event thread takes the new listener at its next wait, which it tells nobody
    for (int i = 0; i < 3; ++i) {
        std::vector<TLedState> changes;
        led->OnChange = [&](TObject*, TLedState s) { changes.push_back(s); };
        ASSERT_EQ(port.SendText("words\r"), 6);
        EXPECT_TRUE(PumpUntil([&] { return changes.size() >= 2; }, 3000)) << "write " << i;
        EXPECT_EQ(changes, (std::vector<TLedState>{lsOn, lsOff})) << "write " << i;
        led->OnChange = nullptr;
    }
    port.ClosePort();
}

// The port controls without windows: the selection object's lists, parsing, applying and reading back; the
// drop-down list following its port; the lamp's state model over a port on the recording fake device.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/Forms.h"
#include "serial/CPortCtl.h"
#include "serial/LedGlyphHeadless.h"
#include "serial/LineSettings.h"
#include "serial/tests/PortFixture.h"

using namespace kes;
using kes::test::PortTest;

namespace {

std::vector<std::string> ItemsOf(const TItemStrings& items) {
    std::vector<std::string> out;
    for (int i = 0; i < items.Count(); ++i) out.push_back(items[i]);
    return out;
}

// A selection object over the items of a plain combo box, with a port on the fake device.
class Selector : public PortTest {
protected:
    Selector() : form(nullptr), combo(new TComboBox(&form)), select(combo->Items()) { select.ComPort = port.get(); }
    TForm form;
    TComboBox* combo;
    TComSelect select;
};

}  // namespace

TEST_F(Selector, ListsPerPropertyClearedBeforeEachFill) {
    using L = std::vector<std::string>;
    select.SetComProperty(cpBaudRate);
    EXPECT_EQ(ItemsOf(select.Items()), (L{"Custom", "110", "300", "600", "1200", "2400", "4800", "9600", "14400",
                                          "19200", "38400", "56000", "57600", "115200", "128000", "256000"}));
    select.SetComProperty(cpDataBits);
    EXPECT_EQ(ItemsOf(select.Items()), (L{"5", "6", "7", "8"}));
    select.SetComProperty(cpStopBits);
    EXPECT_EQ(ItemsOf(select.Items()), (L{"1", "1.5", "2"}));
    select.SetComProperty(cpParity);
    EXPECT_EQ(ItemsOf(select.Items()), (L{"None", "Odd", "Even", "Mark", "Space"}));
    select.SetComProperty(cpFlowControl);
    EXPECT_EQ(ItemsOf(select.Items()), (L{"Hardware", "Software", "None", "Custom"}));
    // No devices here: the port list is empty, and nothing of the previous list stays.
    select.SetComProperty(cpPort);
    EXPECT_EQ(select.Items().Count(), 0);
    select.SetComProperty(cpBaudRate);
    select.SetComProperty(cpNone);
    EXPECT_EQ(select.Items().Count(), 0);
    EXPECT_EQ(select.ComProperty(), cpNone);
}

TEST_F(Selector, ValueFromTextPerKindWithDefaultsForUnknownNames) {
    select.SetComProperty(cpBaudRate);
    select.SetValueFromText("115200");
    EXPECT_EQ(select.BaudRate, br115200);
    select.SetValueFromText("115201");
    EXPECT_EQ(select.BaudRate, br9600);
    select.SetComProperty(cpDataBits);
    select.SetValueFromText("7");
    EXPECT_EQ(select.DataBits, dbSeven);
    select.SetComProperty(cpStopBits);
    select.SetValueFromText("1.5");
    EXPECT_EQ(select.StopBits, sbOne5StopBits);
    select.SetComProperty(cpParity);
    select.SetValueFromText("mark");  // names compare without case
    EXPECT_EQ(select.Parity, prMark);
    select.SetComProperty(cpFlowControl);
    select.SetValueFromText("Software");
    EXPECT_EQ(select.FlowControl, fcSoftware);
    select.SetValueFromText("nonsense");
    EXPECT_EQ(select.FlowControl, fcCustom);
    select.SetComProperty(cpPort);
    select.SetValueFromText("COM9");
    EXPECT_EQ(select.Port, "COM9");
    // Without AutoApply nothing reached the port.
    EXPECT_EQ(port->Port(), "COM1");
    EXPECT_EQ(port->BaudRate(), br9600);
    EXPECT_EQ(port->FlowControl().FlowControl(), fcNone);
}

TEST_F(Selector, AutoApplyWritesAtOnceAndApplyWritesOnlyTheCurrentKind) {
    select.AutoApply = true;
    select.SetComProperty(cpParity);
    select.SetValueFromText("Even");
    EXPECT_EQ(port->Parity().Bits(), prEven);

    select.AutoApply = false;
    select.SetComProperty(cpDataBits);
    select.SetValueFromText("6");
    select.BaudRate = br57600;  // not the current kind
    EXPECT_EQ(port->DataBits(), dbEight);
    select.ApplyToPort();
    EXPECT_EQ(port->DataBits(), dbSix);
    EXPECT_EQ(port->BaudRate(), br9600);

    select.SetComProperty(cpStopBits);
    select.StopBits = sbTwoStopBits;
    select.ApplyToPort();
    EXPECT_EQ(port->StopBits(), sbTwoStopBits);
    select.SetComProperty(cpFlowControl);
    select.FlowControl = fcHardware;
    select.ApplyToPort();
    EXPECT_EQ(port->FlowControl().FlowControl(), fcHardware);
    select.SetComProperty(cpBaudRate);
    select.ApplyToPort();
    EXPECT_EQ(port->BaudRate(), br57600);

    select.SetComProperty(cpNone);
    select.BaudRate = br110;
    select.ApplyToPort();  // writes nothing
    EXPECT_EQ(port->BaudRate(), br57600);
    select.ComPort = nullptr;
    select.SetComProperty(cpBaudRate);
    select.ApplyToPort();  // no port: nothing, no failure
}

TEST_F(Selector, NoPortNameChosenNeverWritesAnEmptyName) {
    select.SetComProperty(cpPort);
    EXPECT_EQ(select.ReadFromPort(), -1);  // "COM1" is not among the (no) devices
    EXPECT_EQ(select.Port, "");
    select.ApplyToPort();
    EXPECT_EQ(port->Port(), "COM1");
    select.SetValueFromText("COM3");
    select.ApplyToPort();
    EXPECT_EQ(port->Port(), "COM3");
}

TEST_F(Selector, ReadBackGivesTheIndexAndStoresTheListedValue) {
    port->SetBaudRate(br38400);
    port->SetDataBits(dbSeven);
    port->Parity().SetBits(prSpace);
    port->FlowControl().SetFlowControl(fcSoftware);
    port->SetStopBits(sbTwoStopBits);

    select.SetComProperty(cpBaudRate);
    EXPECT_EQ(select.ReadFromPort(), 10);
    EXPECT_EQ(select.BaudRate, br38400);
    select.SetComProperty(cpDataBits);
    EXPECT_EQ(select.ReadFromPort(), 2);
    EXPECT_EQ(select.DataBits, dbSeven);
    select.SetComProperty(cpParity);
    EXPECT_EQ(select.ReadFromPort(), 4);
    EXPECT_EQ(select.Parity, prSpace);
    select.SetComProperty(cpFlowControl);
    EXPECT_EQ(select.ReadFromPort(), 1);
    EXPECT_EQ(select.FlowControl, fcSoftware);
    select.SetComProperty(cpStopBits);
    EXPECT_EQ(select.ReadFromPort(), 2);
    EXPECT_EQ(select.StopBits, sbTwoStopBits);

    // A custom speed shows as "Custom".
    port->SetBaudRate(brCustom);
    port->SetCustomBaudRate(31250);
    select.SetComProperty(cpBaudRate);
    EXPECT_EQ(select.ReadFromPort(), 0);
    EXPECT_EQ(select.BaudRate, brCustom);

    // Reading back never writes, even with AutoApply.
    select.AutoApply = true;
    EXPECT_EQ(select.ReadFromPort(), 0);
    EXPECT_EQ(port->CustomBaudRate(), 31250);

    // A value missing from the list: -1 and the stored value stays.
    select.SetComProperty(cpParity);
    select.Items().Delete(4);  // "Space"
    select.Parity = prOdd;
    EXPECT_EQ(select.ReadFromPort(), -1);
    EXPECT_EQ(select.Parity, prOdd);

    select.SetComProperty(cpNone);
    EXPECT_EQ(select.ReadFromPort(), -1);
    select.SetComProperty(cpBaudRate);
    select.ComPort = nullptr;
    EXPECT_EQ(select.ReadFromPort(), -1);
}

// ---- the drop-down list ----

class ComCombo : public PortTest {
protected:
    ComCombo() : form(nullptr), combo(new TComComboBox(&form)) {}
    TForm form;
    TComComboBox* combo;
};

TEST_F(ComCombo, WithoutPortListsAndSelectsTheFirstItem) {
    EXPECT_EQ(combo->Style(), csDropDownList);
    EXPECT_EQ(combo->ComProperty(), cpNone);
    EXPECT_FALSE(combo->AutoApply());
    combo->SetComProperty(cpBaudRate);
    EXPECT_EQ(combo->Items().Count(), 16);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), "Custom");
    combo->SetText("57600");
    EXPECT_EQ(combo->ItemIndex(), 12);
    combo->SetText("57601");  // not listed: nothing changes
    EXPECT_EQ(combo->Text(), "57600");
    EXPECT_EQ(GetEnumPropByName(combo, "ComProperty"), "cpBaudRate");
}

TEST_F(ComCombo, FollowsItsPortAndShowsNothingForAnUnlistedValue) {
    combo->SetComProperty(cpDataBits);
    port->SetDataBits(dbSix);
    combo->SetComPort(port.get());
    EXPECT_EQ(combo->Text(), "6");
    // Setting the property with a port reads the port's value.
    port->Parity().SetBits(prOdd);
    combo->SetComProperty(cpParity);
    EXPECT_EQ(combo->Text(), "Odd");
    // A port name not among the devices leaves no selection.
    combo->SetComProperty(cpPort);
    combo->Items().Add("COM2");
    combo->ReadFromPort();
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    // Clearing the port changes neither items nor selection.
    combo->SetItemIndex(0);
    combo->SetComPort(nullptr);
    EXPECT_EQ(combo->Text(), "COM2");
    EXPECT_EQ(combo->ComPort(), nullptr);
}

TEST_F(ComCombo, ChoosingWithoutAutoApplyStoresOnlyUntilApplied) {
    combo->SetComPort(port.get());
    combo->SetComProperty(cpBaudRate);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->SetItemIndex(combo->Items().IndexOf("19200"));
    combo->Change();  // what the list runs when the user picks an item
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->Select().BaudRate, br19200);
    EXPECT_EQ(port->BaudRate(), br9600);
    combo->ApplyToPort();
    EXPECT_EQ(port->BaudRate(), br19200);

    combo->SetAutoApply(true);
    combo->SetItemIndex(combo->Items().IndexOf("2400"));
    combo->Change();
    EXPECT_EQ(port->BaudRate(), br2400);
}

TEST_F(ComCombo, DestroyedPortIsForgottenAndTheFirstItemSelected) {
    combo->SetComProperty(cpStopBits);
    port->SetStopBits(sbTwoStopBits);
    combo->SetComPort(port.get());
    EXPECT_EQ(combo->ItemIndex(), 2);
    port.reset();
    EXPECT_EQ(combo->ComPort(), nullptr);
    EXPECT_EQ(combo->ItemIndex(), 0);
    combo->ApplyToPort();  // nothing to write to, no failure
}

TEST_F(ComCombo, DestroyedListIsNoLongerToldOfThePortAndTheOthersStillAre) {
    combo->SetComProperty(cpParity);
    combo->SetComPort(port.get());
    auto* other = new TComComboBox(&form);
    other->SetComProperty(cpStopBits);
    port->SetStopBits(sbTwoStopBits);
    other->SetComPort(port.get());
    ASSERT_EQ(other->ItemIndex(), 2);
    delete combo;
    port.reset();  // would reach the freed list if it were still registered
    EXPECT_EQ(other->ComPort(), nullptr);
    EXPECT_EQ(other->ItemIndex(), 0);
}

// ---- the lamp ----

namespace {

class Lamp : public PortTest {
protected:
    Lamp() : form(nullptr), led(new TComLed(&form)) {
        led->OnChange = [this](TObject* sender, TLedState s) {
            EXPECT_EQ(sender, led);
            changes.push_back(s);
        };
    }
    // The link slots that are set, by name.
    std::vector<std::string> SetSlots() {
        std::vector<std::string> out;
        TComLink& l = led->Link();
        if (l.OnConnChange) out.push_back("Conn");
        if (l.OnCTSChange) out.push_back("CTS");
        if (l.OnDSRChange) out.push_back("DSR");
        if (l.OnRLSDChange) out.push_back("RLSD");
        if (l.OnRing) out.push_back("Ring");
        if (l.OnRxActivity) out.push_back("Rx");
        if (l.OnTxActivity) out.push_back("Tx");
        return out;
    }
    TForm form;
    TComLed* led;
    std::vector<TLedState> changes;
};

}  // namespace

TEST_F(Lamp, NewLampIsARedConnectionLampOfTwentyFivePixels) {
    EXPECT_EQ(led->Width(), 25);
    EXPECT_EQ(led->Height(), 25);
    EXPECT_EQ(led->Caption(), "");
    EXPECT_EQ(led->LedSignal(), lsConn);
    EXPECT_EQ(led->Kind(), lkRedLight);
    EXPECT_EQ(led->State(), lsOff);
    EXPECT_EQ(led->RingDuration(), 1000);
    EXPECT_FALSE(led->RingTimer().Enabled());
    EXPECT_TRUE(LedGlyphEmpty(led->GlyphOn()));
    EXPECT_EQ(SetSlots(), std::vector<std::string>{"Conn"});
    EXPECT_EQ(GetEnumPropByName(led, "Kind"), "lkRedLight");
}

TEST_F(Lamp, EachSignalSetsExactlyItsLinkSlot) {
    const std::vector<std::pair<TComLedSignal, std::string>> table{{lsCTS, "CTS"},   {lsDSR, "DSR"}, {lsRLSD, "RLSD"},
                                                                   {lsRing, "Ring"}, {lsRx, "Rx"},   {lsTx, "Tx"},
                                                                   {lsConn, "Conn"}};
    for (const auto& [signal, slot] : table) {
        led->SetLedSignal(signal);
        EXPECT_EQ(SetSlots(), std::vector<std::string>{slot}) << slot;
    }
}

TEST_F(Lamp, ConnectionLampFollowsOpenAndClose) {
    led->SetComPort(port.get());
    EXPECT_EQ(changes, std::vector<TLedState>{});  // an unconnected port leaves the state alone
    port->OpenPort();
    EXPECT_EQ(led->State(), lsOn);
    port->ClosePort();
    EXPECT_EQ(led->State(), lsOff);
    EXPECT_EQ(changes, (std::vector<TLedState>{lsOn, lsOff}));
}

TEST_F(Lamp, AttachingTakesTheStateFromAConnectedPort) {
    dev->modemStatus = comm::MsCtsOn | comm::MsRlsdOn;
    port->OpenPort();
    led->SetLedSignal(lsCTS);
    led->SetComPort(port.get());
    EXPECT_EQ(led->State(), lsOn);
    led->SetComPort(nullptr);  // no port: off
    EXPECT_EQ(led->State(), lsOff);
    led->SetLedSignal(lsDSR);
    led->SetComPort(port.get());
    EXPECT_EQ(led->State(), lsOff);
    led->SetComPort(nullptr);
    led->SetLedSignal(lsRx);  // activity lamps start off
    led->SetComPort(port.get());
    EXPECT_EQ(led->State(), lsOff);
    led->SetComPort(nullptr);
    led->SetLedSignal(lsConn);
    led->BeginLoading();  // while read from a form the state stays
    led->SetComPort(port.get());
    EXPECT_EQ(led->State(), lsOff);
    led->EndLoading();
    EXPECT_EQ(changes, (std::vector<TLedState>{lsOn, lsOff, lsOff, lsOff, lsOff, lsOff}));
}

TEST_F(Lamp, ModemLineLampFollowsTheLine) {
    led->SetLedSignal(lsCTS);
    led->SetComPort(port.get());
    port->OpenPort();
    changes.clear();
    dev->modemStatus = comm::MsCtsOn;
    port->HandleEvents(TComEvents{evCTS});
    EXPECT_EQ(led->State(), lsOn);
    dev->modemStatus = 0;
    port->HandleEvents(TComEvents{evCTS, evDSR});
    EXPECT_EQ(changes, (std::vector<TLedState>{lsOn, lsOff}));
}

TEST_F(Lamp, RingLightsUntilTheTimerTicks) {
    led->SetLedSignal(lsRing);
    led->SetRingDuration(250);
    EXPECT_EQ(led->RingTimer().Interval(), 250u);
    led->SetComPort(port.get());
    port->OpenPort();
    changes.clear();
    port->HandleEvents(TComEvents{evRing});
    EXPECT_EQ(led->State(), lsOn);
    EXPECT_TRUE(led->RingTimer().Enabled());
    led->RingTimer().OnTick();
    EXPECT_EQ(led->State(), lsOff);
    EXPECT_FALSE(led->RingTimer().Enabled());
    EXPECT_EQ(changes, (std::vector<TLedState>{lsOn, lsOff}));
}

TEST_F(Lamp, StateCannotBeSetWhileAPortIsSet) {
    led->SetComPort(port.get());
    try {
        led->SetState(lsOn);
        FAIL() << "no error";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 19);
        EXPECT_EQ(e.OsErrorCode, -1);
        EXPECT_STREQ(e.what(), "Cannot change led state if ComPort is selected");
    }
    EXPECT_EQ(led->State(), lsOff);
    EXPECT_TRUE(changes.empty());
}

TEST_F(Lamp, StateWithoutPortFiresEveryTimeButNotWhileLoading) {
    led->SetState(lsOff);
    led->SetState(lsOn);
    led->SetState(lsOn);
    EXPECT_EQ(changes, (std::vector<TLedState>{lsOff, lsOn, lsOn}));
    led->BeginLoading();
    led->SetState(lsOff);
    led->EndLoading();
    EXPECT_EQ(led->State(), lsOff);
    EXPECT_EQ(changes.size(), 3u);
}

TEST_F(Lamp, KindLoadsItsGlyphsAndCustomGlyphsAreTakenOnlyForTheCustomKind) {
    led->SetKind(lkBulb);
    EXPECT_EQ(led->GlyphOn().Source, "LEDBULBON");
    EXPECT_EQ(led->GlyphOff().Source, "LEDBULBOFF");
    TLedGlyph mine;
    mine.Source = "mine";
    mine.Width = mine.Height = 9;
    led->SetGlyphOn(mine);  // ignored for a built-in kind
    EXPECT_EQ(led->GlyphOn().Source, "LEDBULBON");
    EXPECT_FALSE(mine.Transparent);

    led->SetKind(lkCustom);  // keeps the glyphs there are
    EXPECT_EQ(led->GlyphOn().Source, "LEDBULBON");
    led->SetGlyphOn(mine);
    EXPECT_EQ(led->GlyphOn().Source, "mine");
    EXPECT_TRUE(mine.Transparent && mine.AutoTransparent);  // the given bitmap was made transparent
    EXPECT_TRUE(led->GlyphOn().Transparent);
    EXPECT_EQ(led->GlyphOff().Source, "LEDBULBOFF");
    led->SetState(lsOn);
    EXPECT_EQ(led->GlyphPlace(), (TPoint{8, 8}));  // (25 - 9) / 2

    led->SetKind(lkPurpleLight);
    EXPECT_EQ(led->GlyphOn().Source, "LEDPURPLEON");
    EXPECT_EQ(led->GlyphPlace(), (TPoint{5, 5}));  // (25 - 15) / 2
    led->SetBounds(0, 0, 10, 30);
    EXPECT_EQ(led->GlyphPlace(), (TPoint{0, 7}));  // never left of or above the client area
}

TEST_F(Lamp, ResourceNamesOfTheBuiltInKinds) {
    EXPECT_EQ(LedResourceName(lkRedLight, lsOn), "LEDREDON");
    EXPECT_EQ(LedResourceName(lkGreenLight, lsOff), "LEDGREENOFF");
    EXPECT_EQ(LedResourceName(lkBlueLight, lsOn), "LEDBLUEON");
    EXPECT_EQ(LedResourceName(lkYellowLight, lsOff), "LEDYELLOWOFF");
    EXPECT_EQ(LedResourceName(lkBulb, lsOff), "LEDBULBOFF");
    EXPECT_EQ(LedResourceName(lkCustom, lsOn), "");
}

TEST_F(Lamp, DestroyedPortIsForgottenWithoutChangingTheState) {
    dev->modemStatus = comm::MsCtsOn;
    led->SetLedSignal(lsCTS);
    port->OpenPort();
    led->SetComPort(port.get());
    EXPECT_EQ(led->State(), lsOn);
    changes.clear();
    port->OnBeforeClose = nullptr;
    led->SetLedSignal(lsRing);  // the closing port's line changes no longer reach the lamp
    port.reset();
    EXPECT_EQ(led->ComPort(), nullptr);
    EXPECT_EQ(led->State(), lsOn);
    EXPECT_TRUE(changes.empty());
}

TEST_F(Lamp, DestroyedLampFiresNothingAndLeavesThePort) {
    led->SetComPort(port.get());
    port->OpenPort();
    changes.clear();
    delete led;  // detaches from the port on its way out
    EXPECT_TRUE(changes.empty());
    auto* other = new TComLed(&form);  // a lamp attached after it is still told
    std::vector<TLedState> otherChanges;
    other->OnChange = [&](TObject*, TLedState s) { otherChanges.push_back(s); };
    other->SetLedSignal(lsCTS);
    other->SetComPort(port.get());
    port->ClosePort();  // would reach the freed lamp through its link
    port->OpenPort();
    otherChanges.clear();
    dev->modemStatus = comm::MsCtsOn;
    port->HandleEvents(TComEvents{evRing, evCTS});
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(other->State(), lsOn);
    EXPECT_EQ(otherChanges, std::vector<TLedState>{lsOn});
}

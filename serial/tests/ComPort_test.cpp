#include <gtest/gtest.h>

#include "serial/ComPlatform.h"
#include "serial/tests/PortFixture.h"

using namespace kes;
using namespace kes::test;

using ComPort = PortTest;

TEST_F(ComPort, NewPortDefaults) {
    EXPECT_EQ(port->Port(), "COM1");
    EXPECT_EQ(port->BaudRate(), br9600);
    EXPECT_EQ(port->CustomBaudRate(), 9600);
    EXPECT_EQ(port->DataBits(), dbEight);
    EXPECT_EQ(port->StopBits(), sbOneStopBit);
    EXPECT_EQ(port->Parity().Bits(), prNone);
    EXPECT_EQ(port->Events, AllComEvents);
    EXPECT_EQ(port->StoredProps, TStoredProps{spBasic});
    EXPECT_TRUE(port->TriggersOnRxChar());
    EXPECT_EQ(port->SyncMethod(), smThreadSync);
    EXPECT_EQ(port->Buffer().InputSize(), 1024);
    EXPECT_EQ(port->Buffer().OutputSize(), 1024);
    const TComTimeouts& t = port->Timeouts();
    EXPECT_EQ(t.ReadInterval(), -1);
    EXPECT_EQ(t.ReadTotalMultiplier(), 0);
    EXPECT_EQ(t.ReadTotalConstant(), 0);
    EXPECT_EQ(t.WriteTotalMultiplier(), 100);
    EXPECT_EQ(t.WriteTotalConstant(), 1000);
    EXPECT_EQ(port->FlowControl().XonChar(), 17);
    EXPECT_EQ(port->FlowControl().XoffChar(), 19);
    EXPECT_EQ(port->FlowControl().FlowControl(), fcNone);
    EXPECT_FALSE(port->Connected());
    EXPECT_EQ(port->Parity().ComPort(), port.get());
    EXPECT_EQ(port->CodePage, 0u);
}

TEST_F(ComPort, SettersOfAClosedPortOnlyStore) {
    port->SetBaudRate(br115200);
    port->FlowControl().SetFlowControl(fcHardware);
    port->Timeouts().SetReadInterval(5);
    port->Buffer().SetInputSize(4096);
    port->Parity().SetBits(prEven);
    EXPECT_TRUE(dev->log.empty());
    port->OpenPort();
    EXPECT_EQ(dev->lastDcb.BaudRate, 115200u);
    EXPECT_EQ(dev->lastDcb.Parity, 2);
    EXPECT_EQ(dev->lastTimeouts.ReadIntervalTimeout, 5u);
    EXPECT_EQ(dev->Calls({"SetupComm"}), Lines{"SetupComm 4096 1024"});
}

TEST_F(ComPort, OpenAppliesAllGroupsThenStartsEvents) {
    port->OpenPort();
    EXPECT_TRUE(port->Connected());
    EXPECT_EQ(dev->lastFileName, "\\\\.\\COM1");
    EXPECT_EQ(
        dev->Calls({"Open", "SetupComm", "SetCommState", "SetCommTimeouts", "StartEvents"}),
        (Lines{"Open \\\\.\\COM1", "SetupComm 1024 1024", "SetCommState 9600", "SetCommTimeouts", "StartEvents 0"}));
    EXPECT_EQ(dev->pumps, 1);
    dev->log.clear();
    port->OpenPort();  // already open: nothing
    EXPECT_TRUE(dev->log.empty());
    port->ClosePort();
    EXPECT_EQ(dev->Calls({"Purge", "StopEvents", "Close"}), (Lines{"Purge 3", "StopEvents", "Close"}));
    EXPECT_EQ(dev->pumps, 0);
    dev->log.clear();
    port->ClosePort();  // already closed: nothing
    EXPECT_TRUE(dev->log.empty());
}

TEST_F(ComPort, SettersOfAnOpenPortApplyTheirGroup) {
    port->OpenPort();
    dev->log.clear();
    port->SetBaudRate(br57600);
    port->SetBaudRate(br57600);  // unchanged: nothing
    port->Timeouts().SetWriteTotalConstant(10);
    port->Buffer().SetOutputSize(2048);
    port->FlowControl().SetFlowControl(fcCustom);  // changes nothing but still re-applies
    EXPECT_EQ(dev->Calls({"SetupComm", "SetCommState", "SetCommTimeouts"}),
              (Lines{"SetCommState 57600", "SetCommTimeouts", "SetupComm 1024 2048", "SetCommState 57600"}));
}

TEST_F(ComPort, SettingsBracketAppliesOncePerOuterEnd) {
    port->OpenPort();
    dev->log.clear();
    port->BeginSettingsUpdate();
    port->BeginSettingsUpdate();
    port->SetBaudRate(br19200);
    port->Parity().SetBits(prOdd);
    port->Timeouts().SetReadInterval(1);
    port->EndSettingsUpdate();
    EXPECT_TRUE(dev->log.empty());
    port->EndSettingsUpdate();
    EXPECT_EQ(dev->log, (Lines{"SetupComm 1024 1024", "SetCommState 19200", "SetCommTimeouts"}));
    dev->log.clear();
    port->EndSettingsUpdate();  // without a matching begin: nothing
    EXPECT_TRUE(dev->log.empty());
    port->BeginSettingsUpdate();
    port->EndSettingsUpdate();  // nothing changed, still applies all three
    EXPECT_EQ(dev->log.size(), 3u);
}

TEST_F(ComPort, BufferSizesAndFlowControlSummary) {
    TComBuffer& b = port->Buffer();
    b.SetInputSize(1025);
    EXPECT_EQ(b.InputSize(), 1024);
    b.SetOutputSize(4097);
    EXPECT_EQ(b.OutputSize(), 4096);
    b.SetInputSize(-3);
    EXPECT_EQ(b.InputSize(), -3);

    TComFlowControl& f = port->FlowControl();
    f.SetXonXoffIn(true);
    EXPECT_EQ(f.FlowControl(), fcCustom);
    f.SetFlowControl(fcHardware);
    EXPECT_EQ(f.ControlRTS(), rtsHandshake);
    EXPECT_TRUE(f.OutCTSFlow());
    EXPECT_FALSE(f.XonXoffIn());
    EXPECT_FALSE(f.XonXoffOut());
    EXPECT_EQ(f.FlowControl(), fcHardware);
    f.SetOutDSRFlow(true);  // takes no part in the summary
    f.SetControlDTR(dtrEnable);
    EXPECT_EQ(f.FlowControl(), fcHardware);
    f.SetFlowControl(fcSoftware);
    EXPECT_EQ(f.ControlRTS(), rtsDisable);
    EXPECT_FALSE(f.OutCTSFlow());
    EXPECT_TRUE(f.XonXoffIn() && f.XonXoffOut());
    EXPECT_EQ(f.FlowControl(), fcSoftware);
    f.SetFlowControl(fcCustom);
    EXPECT_EQ(f.FlowControl(), fcSoftware);
    f.SetFlowControl(fcNone);
    EXPECT_EQ(f.FlowControl(), fcNone);
    f.SetControlRTS(rtsEnable);
    EXPECT_EQ(f.FlowControl(), fcCustom);
}

TEST_F(ComPort, OptionAssignCopiesFromItsOwnClassOnly) {
    TComParity p;
    p.SetBits(prMark);
    p.SetCheck(true);
    p.SetReplaceChar('x');
    port->SetParity(p);
    EXPECT_EQ(port->Parity().Bits(), prMark);
    EXPECT_TRUE(port->Parity().Check());
    EXPECT_EQ(port->Parity().ReplaceChar(), 'x');
    EXPECT_EQ(port->Parity().ComPort(), port.get());
    TComBuffer b;
    EXPECT_THROW(port->Parity().Assign(b), EConvertError);
    TComTimeouts t;
    t.SetWriteTotalMultiplier(7);
    port->SetTimeouts(t);
    EXPECT_EQ(port->Timeouts().WriteTotalMultiplier(), 7);
}

TEST_F(ComPort, SyncMethodCannotChangeWhileConnected) {
    port->SetSyncMethod(smNone);
    EXPECT_EQ(port->SyncMethod(), smNone);
    port->OpenPort();
    EXPECT_EQ(dev->Calls({"StartEvents"}), Lines{"StartEvents 2"});
    try {
        port->SetSyncMethod(smWindowSync);
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 14);
        EXPECT_STREQ(e.what(), "Cannot set property while connected");
    }
    EXPECT_EQ(port->SyncMethod(), smNone);
    port->SetSyncMethod(smNone);  // the same value is no change
}

TEST_F(ComPort, ChangingThePortNameReopens) {
    RecordEvents();
    port->OpenPort();
    events.clear();
    port->SetPort("COM1");
    EXPECT_TRUE(events.empty());
    port->SetPort("com1");  // another letter case is another name
    EXPECT_EQ(events, (Lines{"CTS 0", "DSR 0", "RLSD 0", "BeforeClose", "AfterClose", "BeforeOpen", "AfterOpen",
                             "CTS 0", "DSR 0", "RLSD 0"}));
    EXPECT_EQ(dev->lastFileName, "\\\\.\\com1");
    EXPECT_TRUE(port->Connected());
}

TEST_F(ComPort, OpenFailureCarriesTheSystemsCode) {
    RecordEvents();
    dev->failures["Open"] = 2;
    try {
        port->OpenPort();
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 1);
        EXPECT_EQ(e.OsErrorCode, 2);
        EXPECT_STREQ(e.what(), "Unable to open com port (Error: 2)");
    }
    EXPECT_FALSE(port->Connected());
    EXPECT_EQ(events, Lines{"BeforeOpen"});
}

TEST_F(ComPort, FailureWhileApplyingClosesTheDeviceAgain) {
    RecordEvents();
    dev->failures["SetCommState"] = 87;
    try {
        port->OpenPort();
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 7);
        EXPECT_STREQ(e.what(), "SetCommState function failed (Error: 87)");
    }
    EXPECT_FALSE(port->Connected());
    EXPECT_FALSE(dev->open);
    EXPECT_EQ(dev->Calls({"SetCommTimeouts", "StartEvents"}), Lines{});  // the remaining group is skipped
    EXPECT_EQ(events, Lines{"BeforeOpen"});
}

TEST_F(ComPort, OnExceptionStopsTheOperationRightAfterTheReport) {
    std::vector<std::string> reports;
    port->OnException = [&](TObject* sender, TComExceptions kind, const std::string& msg, int64_t win,
                            const std::string& winMsg) {
        EXPECT_EQ(sender, port.get());
        reports.push_back(std::to_string(int(kind)) + " " + msg + " " + std::to_string(win) + " " + winMsg);
    };
    RecordEvents();
    dev->failures["Open"] = 5;
    port->OpenPort();
    EXPECT_EQ(reports, Lines{"0 Unable to open com port 5 system error 5"});
    EXPECT_FALSE(port->Connected());  // never connected on an invalid handle
    EXPECT_EQ(dev->Calls({"SetupComm", "StartEvents"}), Lines{});
    EXPECT_EQ(events, Lines{"BeforeOpen"});

    reports.clear();
    EXPECT_EQ(port->SendText("ab"), 0);  // closed: reported, nothing started, no wait
    EXPECT_EQ(reports, Lines{"23 Port Not Open -24 "});
    EXPECT_EQ(dev->Calls({"StartWrite", "Wait"}), Lines{});

    reports.clear();
    EXPECT_EQ(port->WaitForRequest(nullptr), 0);
    EXPECT_EQ(reports, Lines{"3 Invalid Async parameter 0 "});

    reports.clear();
    dev->failures.clear();
    dev->failures["SetupComm"] = 31;
    port->OpenPort();
    EXPECT_EQ(reports, Lines{"8 SetupComm function failed 31 system error 31"});
    EXPECT_FALSE(port->Connected());
    EXPECT_FALSE(dev->open);
}

TEST_F(ComPort, EmptyEventsStartNoThread) {
    port->Events = {};
    port->OpenPort();
    EXPECT_EQ(dev->pumps, 0);
    EXPECT_EQ(dev->Calls({"StartEvents"}), Lines{});
    port->ClosePort();
    EXPECT_EQ(dev->Calls({"StopEvents"}), Lines{});
    EXPECT_FALSE(port->Connected());
}

TEST_F(ComPort, FailedPurgeStillClosesThePort) {
    RecordEvents();
    port->OpenPort();
    events.clear();
    dev->failures["Purge"] = 6;
    try {
        port->ClosePort();
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 5);
    }
    EXPECT_FALSE(port->Connected());
    EXPECT_FALSE(dev->open);
    EXPECT_EQ(dev->pumps, 0);
    EXPECT_EQ(events.back(), "AfterClose");
    dev->failures.clear();
    port->OpenPort();  // and it can be opened again
    EXPECT_TRUE(port->Connected());
}

TEST_F(ComPort, FailedCloseHandleStillForgetsTheHandle) {
    port->OpenPort();
    dev->failures["Close"] = 6;
    port->ClosePort();
    EXPECT_FALSE(port->Connected());
    EXPECT_FALSE(dev->open);
    dev->failures.clear();
    port->OpenPort();
    EXPECT_TRUE(port->Connected());
}

TEST_F(ComPort, DestructorClosesAndNeverThrows) {
    port->OpenPort();
    port->OnBeforeClose = [](TObject*) { throw Exception("handler failed"); };
    dev->failures["Purge"] = 1;
    EXPECT_NO_THROW(port.reset());
    EXPECT_FALSE(dev->open);
    EXPECT_EQ(dev->pumps, 0);
}

TEST_F(ComPort, SendAndReceive) {
    TComLink& link = la;
    RecordLink(link, "L");
    port->AttachLink(&link);
    port->OpenPort();
    events.clear();
    EXPECT_EQ(port->SendText(std::string("a\0\xFF", 3)), 3);
    EXPECT_EQ(dev->written, std::string("a\0\xFF", 3));
    EXPECT_EQ(events, (Lines{"L.Tx 1", std::string("L.TxDone a\0\xFF", 12)}));

    events.clear();
    dev->input = "xyz";
    std::string got;
    EXPECT_EQ(port->ReceiveText(got, 5), 3);
    EXPECT_EQ(got, "xyz");
    EXPECT_EQ(events, Lines{"L.Rx 0"});  // the queue is empty now

    events.clear();
    dev->input = "12345";
    EXPECT_EQ(port->ReceiveText(got, 2), 2);
    EXPECT_EQ(got, "12");
    EXPECT_TRUE(events.empty());  // bytes still waiting
    char buf[8] = {};
    EXPECT_EQ(port->ReceiveBuffer(buf, 8), 3);
    EXPECT_EQ(std::string(buf, 3), "345");
}

TEST_F(ComPort, CountsOfZeroOrLessTransferNothing) {
    port->OpenPort();
    dev->input = "abc";
    dev->log.clear();
    std::string got = "old";
    EXPECT_EQ(port->ReceiveText(got, 0), 0);
    EXPECT_EQ(got, "");
    EXPECT_EQ(port->ReceiveText(got, -5), 0);
    char buf[4];
    EXPECT_EQ(port->ReceiveBuffer(buf, -1), 0);
    auto request = port->InitComIoRequest();
    EXPECT_EQ(port->StartWrite("abc", -3, request.get()), 0);
    EXPECT_EQ(port->StartRead(buf, 0, request.get()), 0);
    EXPECT_EQ(dev->Calls({"StartRead", "StartWrite"}), Lines{});
    EXPECT_EQ(dev->input, "abc");
    EXPECT_EQ(port->SendText(""), 0);
}

TEST_F(ComPort, LinksHearTheBytesActuallyWritten) {
    TComLink& link = la;
    RecordLink(link, "L");
    port->AttachLink(&link);
    port->OpenPort();
    events.clear();
    dev->writeLimit = 2;  // the write times out after two bytes
    EXPECT_EQ(port->SendText("hello"), 2);
    EXPECT_EQ(events, (Lines{"L.Tx 1", "L.TxDone he"}));
}

TEST_F(ComPort, ClosedPortRefusesIo) {
    try {
        port->SendText("x");
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 24);
        EXPECT_EQ(e.OsErrorCode, -1);
        EXPECT_STREQ(e.what(), "Port Not Open");
    }
    std::string s;
    EXPECT_THROW(port->ReceiveText(s, 3), EComPort);
    EXPECT_EQ(port->SendText(""), 0);  // an empty text on a closed port is no failure
}

TEST_F(ComPort, WriteAndReadFailuresCarryTheirCodes) {
    port->OpenPort();
    dev->failures["StartWrite"] = 22;
    try {
        port->SendText("x");
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 2);
        EXPECT_EQ(e.OsErrorCode, 22);
    }
    dev->failures = {{"Wait", 23}};
    dev->input = "q";
    std::string s;
    try {
        port->ReceiveText(s, 1);
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 3);
    }
}

TEST_F(ComPort, DeviceStateQueries) {
    port->OpenPort();
    dev->input = "1234";
    EXPECT_EQ(port->PendingInputCount(), 4);
    dev->modemStatus = comm::MsCtsOn | comm::MsRingOn;
    EXPECT_EQ(port->ModemLines(), (TModemLines{mlCTS, mlRing}));
    dev->lineErrors = comm::CeFrame | comm::CeRxParity;
    EXPECT_EQ(port->LineErrors(), TComErrors{ceFrame});
    dev->failures["GetModemStatus"] = 1;
    try {
        port->ModemLines();
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 11);
    }
    dev->failures = {{"ClearCommError", 1}};
    EXPECT_THROW(port->PendingInputCount(), EComPort);
}

TEST_F(ComPort, ConnectedWhileLoadingOpensInLoaded) {
    std::vector<std::string> shown;
    auto previous = SetComExceptionDisplay([&](const std::exception& e) { shown.push_back(e.what()); });
    port->BeginLoading();
    port->SetConnected(true);
    EXPECT_TRUE(dev->log.empty());
    port->SetBaudRate(br4800);
    port->EndLoading();
    EXPECT_TRUE(port->Connected());
    EXPECT_EQ(dev->lastDcb.BaudRate, 4800u);

    auto other = std::make_unique<TComPort>(nullptr, std::make_unique<FakeComDevice>(dev));
    dev->failures["Open"] = 2;
    other->BeginLoading();
    other->SetConnected(true);
    EXPECT_NO_THROW(other->EndLoading());
    EXPECT_FALSE(other->Connected());
    EXPECT_EQ(shown, Lines{"Unable to open com port (Error: 2)"});
    SetComExceptionDisplay(previous);
}

TEST_F(ComPort, ConnectedPropertyOpensAndCloses) {
    port->SetConnected(true);
    EXPECT_TRUE(port->Connected());
    port->SetConnected(false);
    EXPECT_FALSE(port->Connected());
    EXPECT_FALSE(dev->open);
}

TEST_F(ComPort, SetupDialogSeam) {
    port->RunSetupDialog();  // nothing installed: nothing happens
    TCustomComPort* seen = nullptr;
    SetComSetupDialog([&](TCustomComPort& p) { seen = &p; });
    port->RunSetupDialog();
    EXPECT_EQ(seen, port.get());
    SetComSetupDialog(nullptr);
}

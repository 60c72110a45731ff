#include <gtest/gtest.h>

#include "serial/tests/PortFixture.h"

using namespace kes;
using namespace kes::test;

using Dispatch = PortTest;

TEST_F(Dispatch, BatchIsHandledInTheFixedOrder) {
    RecordEvents();
    port->OpenPort();
    events.clear();
    dev->input = "ab";
    dev->lineErrors = comm::CeOverrun;
    dev->modemStatus = comm::MsCtsOn | comm::MsRlsdOn;
    port->HandleEvents(AllComEvents);
    EXPECT_EQ(events, (Lines{"Error 4", "RxChar 2", "TxEmpty", "Break", "Ring", "CTS 1", "DSR 0", "RxFlag", "RLSD 1",
                             "Rx80Full"}));
    events.clear();
    port->HandleEvents(TComEvents{evCTS, evRxChar});  // received data before the CTS handling
    EXPECT_EQ(events, (Lines{"RxChar 2", "CTS 1"}));
}

TEST_F(Dispatch, ErrorAndRxCharWithNothingPendingCallNothing) {
    RecordEvents();
    TComLink& link = la;
    RecordLink(link, "L");
    port->AttachLink(&link);
    port->OpenPort();
    events.clear();
    port->HandleEvents(TComEvents{evError, evRxChar});
    EXPECT_TRUE(events.empty());
}

TEST_F(Dispatch, LinksComeBeforeThePublishedHandler) {
    RecordEvents();
    TComLink &a = la, &b = lb;
    RecordLink(a, "A");
    RecordLink(b, "B");
    port->AttachLink(&a);
    port->AttachLink(&b);
    port->OpenPort();
    events.clear();
    port->HandleEvent(evTxEmpty);
    EXPECT_EQ(events, (Lines{"A.Tx 0", "B.Tx 0", "A.TxEmpty", "B.TxEmpty", "TxEmpty"}));
    events.clear();
    dev->modemStatus = comm::MsDsrOn;
    port->HandleEvent(evDSR);
    port->HandleEvent(evRing);
    port->HandleEvent(evRxFlag);
    EXPECT_EQ(events,
              (Lines{"A.DSR 1", "B.DSR 1", "DSR 1", "A.Ring", "B.Ring", "Ring", "A.RxFlag", "B.RxFlag", "RxFlag"}));
    events.clear();
    dev->input = "z";
    port->HandleEvent(evRxChar);
    EXPECT_EQ(events, (Lines{"A.Rx 1", "B.Rx 1", "RxChar 1"}));
    EXPECT_EQ(dev->input, "z");  // the port read nothing: the handler of OnRxChar does
}

TEST_F(Dispatch, WithoutTriggersOnRxCharThePortReadsForOnRxBuf) {
    RecordEvents();
    port->SetTriggersOnRxChar(false);
    port->OpenPort();
    events.clear();
    dev->input = std::string("\0q", 2);
    port->HandleEvent(evRxChar);
    EXPECT_EQ(events, Lines{std::string("RxBuf \0q", 8)});
    EXPECT_TRUE(dev->input.empty());
}

TEST_F(Dispatch, RxBufLinksShareOneRead) {
    RecordEvents();
    TComLink &plain = la, &a = lb, &b = lc;
    std::vector<std::string> got;
    a.OnRxBuf = [&](TObject*, const char* buf, int n) { got.push_back("A " + std::string(buf, n)); };
    b.OnRxBuf = [&](TObject*, const char* buf, int n) { got.push_back("B " + std::string(buf, n)); };
    port->AttachLink(&plain);
    port->AttachLink(&a);
    port->AttachLink(&b);
    EXPECT_FALSE(port->TriggersOnRxChar());  // a link takes the bytes
    try {
        port->SetTriggersOnRxChar(true);
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 22);
    }
    port->OpenPort();
    events.clear();
    dev->input = "data";
    port->HandleEvent(evRxChar);
    EXPECT_EQ(got, (Lines{"A data", "B data"}));
    EXPECT_EQ(events, Lines{"RxBuf data"});  // the port's OnRxBuf first, and no OnRxChar
    EXPECT_EQ(dev->Calls({"StartRead"}), Lines{"StartRead 4"});

    port->DetachLink(&a);
    port->DetachLink(&b);
    EXPECT_TRUE(port->TriggersOnRxChar());
    port->DetachLink(&plain);
}

TEST_F(Dispatch, LinkRegistrationErrors) {
    TComLink& link = la;
    port->AttachLink(&link);
    try {
        port->AttachLink(&link);
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 18);
        EXPECT_STREQ(e.what(), "Link (un)registration failed");
    }
    port->DetachLink(&link);
    EXPECT_THROW(port->DetachLink(&link), EComPort);
    EXPECT_THROW(port->AttachLink(nullptr), EComPort);
}

TEST_F(Dispatch, OpenAndCloseNotificationOrder) {
    RecordEvents();
    TComLink &a = la, &b = lb;
    RecordLink(a, "A");
    RecordLink(b, "B");
    port->AttachLink(&a);
    port->AttachLink(&b);
    dev->modemStatus = comm::MsCtsOn | comm::MsDsrOn | comm::MsRlsdOn;
    port->OpenPort();
    EXPECT_EQ(events, (Lines{"BeforeOpen", "A.Conn 1", "B.Conn 1", "AfterOpen", "A.CTS 1", "B.CTS 1", "CTS 1",
                             "A.DSR 1", "B.DSR 1", "DSR 1", "A.RLSD 1", "B.RLSD 1", "RLSD 1"}));
    events.clear();
    port->ClosePort();
    EXPECT_EQ(events, (Lines{"A.CTS 0", "B.CTS 0", "A.DSR 0", "B.DSR 0", "A.RLSD 0", "B.RLSD 0", "CTS 0", "DSR 0",
                             "RLSD 0", "BeforeClose", "A.Conn 0", "B.Conn 0", "AfterClose"}));
}

TEST_F(Dispatch, EmptyEventsStillTellTheLinks) {
    TComLink& a = la;
    RecordLink(a, "A");
    port->AttachLink(&a);
    port->Events = {};
    port->OpenPort();
    EXPECT_EQ(events, (Lines{"A.Conn 1", "A.CTS 0", "A.DSR 0", "A.RLSD 0"}));
}

TEST_F(Dispatch, FailedModemReadAtOpenCountsAsLinesOff) {
    RecordEvents();
    dev->failures["GetModemStatus"] = 1;
    EXPECT_NO_THROW(port->OpenPort());
    EXPECT_TRUE(port->Connected());
    EXPECT_EQ(events, (Lines{"BeforeOpen", "AfterOpen", "CTS 0", "DSR 0", "RLSD 0"}));
    events.clear();
    try {  // a reported change still reads the lines and reports the failure
        port->HandleEvent(evCTS);
        FAIL();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 11);
    }
    EXPECT_TRUE(events.empty());
}

TEST_F(Dispatch, HandlerMayDetachLinksDuringAPass) {
    TComLink &a = la, &b = lb;
    bool bCalled = false;
    a.OnRing = [&](TObject*) { port->DetachLink(&b); };
    b.OnRing = [&](TObject*) { bCalled = true; };
    port->AttachLink(&a);
    port->AttachLink(&b);
    port->OpenPort();
    port->HandleEvent(evRing);
    EXPECT_FALSE(bCalled);  // detached before its turn
    a.OnRing = nullptr;
}

TEST_F(Dispatch, LinkMayDetachAfterThePortIsGone) {
    auto link = std::make_unique<TComLink>();
    TCustomComPort* raw = port.get();
    port->AttachLink(link.get());
    // A follower that hears of the port's end from the component base detaches then (see TComLed).
    class Follower : public TComponent {
    public:
        Follower(TCustomComPort* p, TComLink* l) : port_(p), link_(l) { p->FreeNotification(this); }
        bool detached = false;

    protected:
        void Notification(TComponent* c, TOperation op) override {
            TComponent::Notification(c, op);
            if (op == TOperation::opRemove && c == port_) {
                port_->DetachLink(link_);
                detached = true;
            }
        }

    private:
        TCustomComPort* port_;
        TComLink* link_;
    } follower(raw, link.get());
    port.reset();
    EXPECT_TRUE(follower.detached);
}

TEST_F(Dispatch, HandlerMayCloseThePortInsideAPass) {
    RecordEvents();
    port->OnRxChar = [this](TObject*, int) { port->ClosePort(); };
    port->OpenPort();
    dev->input = "x";
    dev->log.clear();
    events.clear();
    port->HandleEvents(TComEvents{evRxChar, evRing, evCTS});
    // The thread that waits for this pass is only asked to stop; the rest of the pass is skipped.
    EXPECT_EQ(dev->Calls({"RequestStop", "StopEvents", "Close"}), (Lines{"RequestStop", "Close"}));
    EXPECT_FALSE(port->Connected());
    EXPECT_EQ(events.back(), "AfterClose");
    EXPECT_EQ(dev->pumps, 1);
    dev->log.clear();
    port->OpenPort();  // the stopped thread is freed before a new one starts
    EXPECT_EQ(dev->Calls({"StopEvents", "StartEvents"}), (Lines{"StopEvents", "StartEvents 0"}));
    EXPECT_EQ(dev->pumps, 1);
}

TEST_F(Dispatch, PassThatRunsDuringCloseCannotCloseAgain) {
    int closes = 0;
    port->OnAfterClose = [&](TObject*) { ++closes; };
    // A pass waiting for the GUI thread runs while ClosePort waits for the thread: here, from BeforeClose.
    port->OnBeforeClose = [this](TObject*) { port->HandleEvent(evBreak); };
    port->OnBreak = [this](TObject*) { port->ClosePort(); };
    port->OpenPort();
    port->ClosePort();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(port->Connected());
    port->OnBeforeClose = nullptr;
    port->OpenPort();
    EXPECT_TRUE(port->Connected());
}

TEST_F(Dispatch, ALostDeviceIsReportedThroughThePortsErrorPathAndItsHandlerMayClose) {
    port->OpenPort();
    // Without OnException: EComPort 21 with the system's error, the port still open.
    try {
        port->HandleDeviceLost(22);
        ADD_FAILURE() << "nothing raised";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 21);
        EXPECT_EQ(e.OsErrorCode, 22);
        EXPECT_EQ(e.Message(), "WaitForEvent method failed (Error: 22)");
    }
    EXPECT_TRUE(port->Connected());

    // With a handler that closes the port, as the terminal's does: closed from inside the pass.
    std::vector<std::string> seen;
    port->OnException = [&](TObject*, TComExceptions kind, const std::string& text, int64_t winError,
                            const std::string&) {
        seen.push_back(std::to_string(kind) + " " + text + " " + std::to_string(winError));
        port->ClosePort();
    };
    dev->log.clear();
    port->HandleDeviceLost(1167);
    EXPECT_EQ(seen, (Lines{std::to_string(CE_WaitFailed) + " WaitForEvent method failed 1167"}));
    EXPECT_FALSE(port->Connected());
    EXPECT_EQ(dev->Calls({"RequestStop", "Close"}), (Lines{"RequestStop", "Close"}));
    port->HandleDeviceLost(1167);  // closed: nothing more
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_THROW(TCustomComPort::ThrowPortError(24, -24), EComPort);
}

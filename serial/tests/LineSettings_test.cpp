#include "serial/LineSettings.h"

#include <gtest/gtest.h>

#include "serial/CPort.h"
#include "serial/tests/FakeComDevice.h"

using namespace kes;
using namespace kes::test;

namespace {
std::unique_ptr<TComPort> ClosedPort() {
    return std::make_unique<TComPort>(nullptr, std::make_unique<FakeComDevice>(std::make_shared<FakeDeviceState>()));
}
}  // namespace

TEST(LineSettings, DcbOfANewPort) {
    auto port = ClosedPort();
    ComDcb d = BuildDcb(*port);
    EXPECT_EQ(d.DCBlength, 28u);
    EXPECT_EQ(d.BaudRate, 9600u);
    EXPECT_EQ(d.FlagWord(), 1u);  // fBinary only
    EXPECT_EQ(d.XonLim, 256);
    EXPECT_EQ(d.XoffLim, 256);
    EXPECT_EQ(d.ByteSize, 8);
    EXPECT_EQ(d.Parity, 0);
    EXPECT_EQ(d.StopBits, 0);
    EXPECT_EQ(d.XonChar, 17);
    EXPECT_EQ(d.XoffChar, 19);
    EXPECT_EQ(d.ErrorChar, 0);
    EXPECT_EQ(d.EofChar, 0);
    EXPECT_EQ(d.EvtChar, 0);
}

TEST(LineSettings, DcbFlagBitsAndFields) {
    auto port = ClosedPort();
    TComFlowControl& f = port->FlowControl();
    f.SetOutCTSFlow(true);
    f.SetOutDSRFlow(true);
    f.SetControlDTR(dtrHandshake);
    f.SetDSRSensitivity(true);
    f.SetTxContinueOnXoff(true);
    f.SetXonXoffOut(true);
    f.SetXonXoffIn(true);
    f.SetControlRTS(rtsToggle);
    port->Parity().SetCheck(true);
    port->Parity().SetReplace(true);
    port->Parity().SetReplaceChar('?');
    port->Parity().SetBits(prSpace);
    port->SetDiscardNull(true);
    port->SetDataBits(dbFive);
    port->SetStopBits(sbTwoStopBits);
    port->SetEventChar('\n');
    ComDcb d = BuildDcb(*port);
    // bits 0..13 all set: binary, parity, cts, dsr, dtr=2, dsrsens, txcont, outx, inx, errorchar, null, rts=3
    EXPECT_EQ(d.FlagWord(), 0x3FEFu);
    EXPECT_EQ(d.fDtrControl, 2);
    EXPECT_EQ(d.fRtsControl, 3);
    EXPECT_FALSE(d.fAbortOnError);
    EXPECT_EQ(d.ErrorChar, '?');
    EXPECT_EQ(d.Parity, 4);
    EXPECT_EQ(d.ByteSize, 5);
    EXPECT_EQ(d.StopBits, 2);
    EXPECT_EQ(d.EvtChar, '\n');
}

TEST(LineSettings, ReplaceWithoutCheckSetsNoErrorChar) {
    auto port = ClosedPort();
    port->Parity().SetReplace(true);
    port->Parity().SetReplaceChar('?');
    ComDcb d = BuildDcb(*port);
    EXPECT_FALSE(d.fErrorChar);
    EXPECT_FALSE(d.fParity);
    EXPECT_EQ(d.ErrorChar, 0);
}

TEST(LineSettings, SpeedOfEveryMemberAndOfCustom) {
    auto port = ClosedPort();
    port->SetCustomBaudRate(250000);
    for (int i = 1; i < BaudRateCount; ++i) {
        port->SetBaudRate(TBaudRate(i));
        EXPECT_EQ(BuildDcb(*port).BaudRate, static_cast<uint32_t>(BaudRateSpeed(TBaudRate(i))));
    }
    port->SetBaudRate(brCustom);
    EXPECT_EQ(BuildDcb(*port).BaudRate, 250000u);
}

TEST(LineSettings, FlowLimitsAreAQuarterOfTheInputQueueAndNeverWrap) {
    EXPECT_EQ(FlowLimitForInputSize(1024), 256);
    EXPECT_EQ(FlowLimitForInputSize(2048), 512);
    EXPECT_EQ(FlowLimitForInputSize(7), 1);
    EXPECT_EQ(FlowLimitForInputSize(262140), 65535);
    EXPECT_EQ(FlowLimitForInputSize(262144), 65535);  // would wrap to 0 in 16 bits
    EXPECT_EQ(FlowLimitForInputSize(1 << 30), 65535);
    EXPECT_EQ(FlowLimitForInputSize(-1024), 0);
    auto port = ClosedPort();
    port->Buffer().SetInputSize(2048);
    EXPECT_EQ(BuildDcb(*port).XonLim, 512);
    port->Buffer().SetInputSize(1 << 20);
    EXPECT_EQ(BuildDcb(*port).XoffLim, 65535);
}

TEST(LineSettings, TimeoutsKeepTheirBits) {
    TComTimeouts t;
    ComTimeoutsRecord r = BuildTimeouts(t);
    EXPECT_EQ(r.ReadIntervalTimeout, 0xFFFFFFFFu);
    EXPECT_EQ(r.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(r.ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(r.WriteTotalTimeoutMultiplier, 100u);
    EXPECT_EQ(r.WriteTotalTimeoutConstant, 1000u);
    t.SetReadTotalConstant(-2);
    EXPECT_EQ(BuildTimeouts(t).ReadTotalTimeoutConstant, 0xFFFFFFFEu);
}

TEST(LineSettings, EventMaskBothWays) {
    const std::pair<TComEvent, uint32_t> table[] = {
        {evRxChar, 0x1}, {evTxEmpty, 0x4}, {evRxFlag, 0x2}, {evRing, 0x100}, {evBreak, 0x40},
        {evCTS, 0x8},    {evDSR, 0x10},    {evError, 0x80}, {evRLSD, 0x20},  {evRx80Full, 0x400}};
    for (auto [event, bit] : table) {
        EXPECT_EQ(EventsToCommMask(TComEvents{event}), bit);
        EXPECT_EQ(CommMaskToEvents(bit), TComEvents{event});
        EXPECT_EQ(EventMaskBit(event), bit);
        TComEvent back{};
        EXPECT_TRUE(EventFromMaskBit(bit, back));
        EXPECT_EQ(back, event);
    }
    EXPECT_EQ(EventsToCommMask(AllComEvents), 0x5FFu);
    EXPECT_EQ(CommMaskToEvents(0xFFFF), AllComEvents);  // EV_PERR and unknown bits dropped
    EXPECT_TRUE(CommMaskToEvents(comm::EvPerr).Empty());
    TComEvent unused{};
    EXPECT_FALSE(EventFromMaskBit(comm::EvPerr, unused));
}

TEST(LineSettings, ModemStatusAndLineErrors) {
    EXPECT_EQ(ModemStatusToLines(0xF0), (TModemLines{mlCTS, mlDSR, mlRing, mlRLSD}));
    EXPECT_EQ(ModemStatusToLines(comm::MsDsrOn), TModemLines{mlDSR});
    EXPECT_TRUE(ModemStatusToLines(0x0F).Empty());
    const uint32_t all = comm::CeRxOver | comm::CeOverrun | comm::CeRxParity | comm::CeFrame | comm::CeBreak |
                         comm::CeTxFull | comm::CeIoe | comm::CeMode;
    EXPECT_EQ(CommErrorsToSet(all, true),
              (TComErrors{ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull}));
    EXPECT_FALSE(CommErrorsToSet(comm::CeRxParity, false).Contains(ceRxParity));
    EXPECT_EQ(CommErrorsToSet(comm::CeFrame, false), TComErrors{ceFrame});
}

#include "serial/LineSettings.h"

#include <algorithm>

#include "serial/CPort.h"

namespace kes {

namespace {

struct EventBit {
    TComEvent event;
    uint32_t bit;
};
// Member order is not bit order.
constexpr EventBit kEventBits[] = {
    {evRxChar, comm::EvRxChar}, {evTxEmpty, comm::EvTxEmpty},   {evRxFlag, comm::EvRxFlag}, {evRing, comm::EvRing},
    {evBreak, comm::EvBreak},   {evCTS, comm::EvCts},           {evDSR, comm::EvDsr},       {evError, comm::EvErr},
    {evRLSD, comm::EvRlsd},     {evRx80Full, comm::EvRx80Full},
};

}  // namespace

uint32_t ComDcb::FlagWord() const {
    uint32_t w = 0;
    w |= uint32_t(fBinary) << 0;
    w |= uint32_t(fParity) << 1;
    w |= uint32_t(fOutxCtsFlow) << 2;
    w |= uint32_t(fOutxDsrFlow) << 3;
    w |= uint32_t(fDtrControl & 3u) << 4;
    w |= uint32_t(fDsrSensitivity) << 6;
    w |= uint32_t(fTXContinueOnXoff) << 7;
    w |= uint32_t(fOutX) << 8;
    w |= uint32_t(fInX) << 9;
    w |= uint32_t(fErrorChar) << 10;
    w |= uint32_t(fNull) << 11;
    w |= uint32_t(fRtsControl & 3u) << 12;
    w |= uint32_t(fAbortOnError) << 14;
    return w;
}

uint16_t FlowLimitForInputSize(int inputSize) { return static_cast<uint16_t>(std::clamp(inputSize / 4, 0, 65535)); }

ComDcb BuildDcb(const TCustomComPort& port) {
    const TComParity& parity = port.Parity();
    const TComFlowControl& flow = port.FlowControl();
    ComDcb d;
    d.DCBlength = 28;
    d.BaudRate = port.BaudRate() == brCustom ? static_cast<uint32_t>(port.CustomBaudRate())
                                             : static_cast<uint32_t>(BaudRateSpeed(port.BaudRate()));
    d.fBinary = true;
    d.fParity = parity.Check();
    d.fOutxCtsFlow = flow.OutCTSFlow();
    d.fOutxDsrFlow = flow.OutDSRFlow();
    d.fDtrControl = static_cast<uint8_t>(flow.ControlDTR());
    d.fDsrSensitivity = flow.DSRSensitivity();
    d.fTXContinueOnXoff = flow.TxContinueOnXoff();
    d.fOutX = flow.XonXoffOut();
    d.fInX = flow.XonXoffIn();
    d.fErrorChar = parity.Check() && parity.Replace();
    d.fNull = port.DiscardNull();
    d.fRtsControl = static_cast<uint8_t>(flow.ControlRTS());
    d.XonLim = d.XoffLim = FlowLimitForInputSize(port.Buffer().InputSize());
    d.ByteSize = static_cast<uint8_t>(5 + port.DataBits());
    d.Parity = static_cast<uint8_t>(parity.Bits());
    d.StopBits = static_cast<uint8_t>(port.StopBits());
    d.XonChar = flow.XonChar();
    d.XoffChar = flow.XoffChar();
    d.ErrorChar = d.fErrorChar ? parity.ReplaceChar() : '\0';
    d.EvtChar = port.EventChar();
    return d;
}

ComTimeoutsRecord BuildTimeouts(const TComTimeouts& t) {
    ComTimeoutsRecord r;
    r.ReadIntervalTimeout = static_cast<uint32_t>(t.ReadInterval());
    r.ReadTotalTimeoutMultiplier = static_cast<uint32_t>(t.ReadTotalMultiplier());
    r.ReadTotalTimeoutConstant = static_cast<uint32_t>(t.ReadTotalConstant());
    r.WriteTotalTimeoutMultiplier = static_cast<uint32_t>(t.WriteTotalMultiplier());
    r.WriteTotalTimeoutConstant = static_cast<uint32_t>(t.WriteTotalConstant());
    return r;
}

uint32_t EventsToCommMask(TComEvents events) {
    uint32_t mask = 0;
    for (const EventBit& e : kEventBits)
        if (events.Contains(e.event)) mask |= e.bit;
    return mask;
}

TComEvents CommMaskToEvents(uint32_t mask) {
    TComEvents events;
    for (const EventBit& e : kEventBits)
        if (mask & e.bit) events.Include(e.event);
    return events;
}

uint32_t EventMaskBit(TComEvent event) {
    for (const EventBit& e : kEventBits)
        if (e.event == event) return e.bit;
    return 0;
}

bool EventFromMaskBit(uint32_t bit, TComEvent& event) {
    for (const EventBit& e : kEventBits)
        if (e.bit == bit) {
            event = e.event;
            return true;
        }
    return false;
}

TModemLines ModemStatusToLines(uint32_t status) {
    TModemLines lines;
    if (status & comm::MsCtsOn) lines.Include(mlCTS);
    if (status & comm::MsDsrOn) lines.Include(mlDSR);
    if (status & comm::MsRingOn) lines.Include(mlRing);
    if (status & comm::MsRlsdOn) lines.Include(mlRLSD);
    return lines;
}

TComErrors CommErrorsToSet(uint32_t errors, bool parityCheck) {
    TComErrors set;
    if (errors & comm::CeFrame) set.Include(ceFrame);
    if ((errors & comm::CeRxParity) && parityCheck) set.Include(ceRxParity);
    if (errors & comm::CeOverrun) set.Include(ceOverrun);
    if (errors & comm::CeRxOver) set.Include(ceRxOver);
    if (errors & comm::CeTxFull) set.Include(ceTxFull);
    if (errors & comm::CeBreak) set.Include(ceBreak);
    if (errors & comm::CeIoe) set.Include(ceIO);
    if (errors & comm::CeMode) set.Include(ceMode);
    return set;
}

}  // namespace kes

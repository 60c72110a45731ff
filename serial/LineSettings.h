#pragma once
// The records the port hands to the device, computed without the system's headers: the device control block,
// the time-outs, the event mask, and the decoding of modem status and line error words.
#include <cstdint>

#include "serial/ComTypes.h"

namespace kes {

class TCustomComPort;
class TComTimeouts;

// Event-mask bits, modem-status bits, line-error bits and purge flags, with the system's values.
namespace comm {
inline constexpr uint32_t EvRxChar = 0x0001, EvRxFlag = 0x0002, EvTxEmpty = 0x0004, EvCts = 0x0008, EvDsr = 0x0010,
                          EvRlsd = 0x0020, EvBreak = 0x0040, EvErr = 0x0080, EvRing = 0x0100, EvPerr = 0x0200,
                          EvRx80Full = 0x0400;
inline constexpr uint32_t MsCtsOn = 0x10, MsDsrOn = 0x20, MsRingOn = 0x40, MsRlsdOn = 0x80;
inline constexpr uint32_t CeRxOver = 0x0001, CeOverrun = 0x0002, CeRxParity = 0x0004, CeFrame = 0x0008,
                          CeBreak = 0x0010, CeTxFull = 0x0100, CeIoe = 0x0400, CeMode = 0x8000;
inline constexpr uint32_t PurgeTxAbort = 0x0001, PurgeRxAbort = 0x0002, PurgeTxClear = 0x0004, PurgeRxClear = 0x0008;
}  // namespace comm

// The device control block, field by field as the system defines it (28 bytes when packed).
struct ComDcb {
    uint32_t DCBlength = 28;
    uint32_t BaudRate = 0;
    bool fBinary = false;
    bool fParity = false;
    bool fOutxCtsFlow = false;
    bool fOutxDsrFlow = false;
    uint8_t fDtrControl = 0;  // 2 bits
    bool fDsrSensitivity = false;
    bool fTXContinueOnXoff = false;
    bool fOutX = false;
    bool fInX = false;
    bool fErrorChar = false;
    bool fNull = false;
    uint8_t fRtsControl = 0;  // 2 bits
    bool fAbortOnError = false;
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t ByteSize = 0;
    uint8_t Parity = 0;
    uint8_t StopBits = 0;
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;

    // The flag word as the system packs the bit fields (fBinary is bit 0).
    uint32_t FlagWord() const;
};

struct ComTimeoutsRecord {
    uint32_t ReadIntervalTimeout = 0;
    uint32_t ReadTotalTimeoutMultiplier = 0;
    uint32_t ReadTotalTimeoutConstant = 0;
    uint32_t WriteTotalTimeoutMultiplier = 0;
    uint32_t WriteTotalTimeoutConstant = 0;
};

// The line settings of a port as the device control block carries them.
ComDcb BuildDcb(const TCustomComPort& port);
// The time-outs, each value's 32 bits unchanged (-1 becomes the largest unsigned value).
ComTimeoutsRecord BuildTimeouts(const TComTimeouts& timeouts);
// The flow-control thresholds for an input queue size: a quarter of it, kept within 0 .. 65535.
uint16_t FlowLimitForInputSize(int inputSize);

uint32_t EventsToCommMask(TComEvents events);
// Bits without a member (EV_PERR and unknown ones) are dropped.
TComEvents CommMaskToEvents(uint32_t mask);
// The mask bit of one event.
uint32_t EventMaskBit(TComEvent event);
// The event of one mask bit; false for bits without a member.
bool EventFromMaskBit(uint32_t bit, TComEvent& event);

// The order in which a batch of reported events is handled.
inline constexpr TComEvent EventPassOrder[] = {evError, evRxChar, evTxEmpty, evBreak, evRing,
                                               evCTS,   evDSR,    evRxFlag,  evRLSD,  evRx80Full};

TModemLines ModemStatusToLines(uint32_t status);
// CE_RXPARITY counts only when the port checks parity.
TComErrors CommErrorsToSet(uint32_t errors, bool parityCheck);

}  // namespace kes

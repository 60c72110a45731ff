#pragma once
// Setting types of the serial port: enumerations, sets, event signatures.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

namespace kes {

class TObject;

// A set of enumeration members; member n is bit n of the storage word.
template <typename E, typename Bits>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members) {
        for (E m : members) bits_ |= Bit(m);
    }
    static constexpr TSet FromBits(Bits bits) {
        TSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr Bits ToBits() const { return bits_; }
    constexpr bool Contains(E m) const { return (bits_ & Bit(m)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& Include(E m) {
        bits_ |= Bit(m);
        return *this;
    }
    constexpr TSet& Exclude(E m) {
        bits_ &= static_cast<Bits>(~Bit(m));
        return *this;
    }
    friend constexpr bool operator==(TSet a, TSet b) { return a.bits_ == b.bits_; }

private:
    static constexpr Bits Bit(E m) { return static_cast<Bits>(Bits(1) << static_cast<unsigned>(m)); }
    Bits bits_ = 0;
};

enum TBaudRate : uint8_t {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TStopBits : uint8_t { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits : uint8_t { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits : uint8_t { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl : uint8_t { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl : uint8_t { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TFlowControl : uint8_t { fcHardware, fcSoftware, fcNone, fcCustom };

enum TComEvent : uint8_t { evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, evRx80Full };
using TComEvents = TSet<TComEvent, uint16_t>;
inline constexpr TComEvents AllComEvents{evRxChar, evTxEmpty, evRxFlag, evRing, evBreak,
                                         evCTS,    evDSR,     evError,  evRLSD, evRx80Full};

enum TComError : uint8_t { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
using TComErrors = TSet<TComError, uint8_t>;

enum TSyncMethod : uint8_t { smThreadSync, smWindowSync, smNone };

enum TStoredProp : uint8_t { spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers };
using TStoredProps = TSet<TStoredProp, uint8_t>;

enum TModemLine : uint8_t { mlCTS, mlDSR, mlRing, mlRLSD };
using TModemLines = TSet<TModemLine, uint8_t>;

// Error kinds; the error code is the ordinal + 1.
enum TComExceptions : uint8_t {
    CE_OpenFailed,
    CE_WriteFailed,
    CE_ReadFailed,
    CE_InvalidAsync,
    CE_PurgeFailed,
    CE_AsyncCheck,
    CE_SetStateFailed,
    CE_TimeoutsFailed,
    CE_SetupComFailed,
    CE_ClearComFailed,
    CE_ModemStatFailed,
    CE_EscapeComFailed,
    CE_TransmitFailed,
    CE_ConnChangeProp,
    CE_EnumPortsFailed,
    CE_StoreFailed,
    CE_LoadFailed,
    CE_RegFailed,
    CE_LedStateFailed,
    CE_ThreadCreated,
    CE_WaitFailed,
    CE_HasLink,
    CE_RegError,
    CEPortNotOpen
};

using TRxCharEvent = std::function<void(TObject* sender, int count)>;
using TRxBufEvent = std::function<void(TObject* sender, const char* buffer, int count)>;
using TComErrorEvent = std::function<void(TObject* sender, TComErrors errors)>;
using TComSignalEvent = std::function<void(TObject* sender, bool onOff)>;
using TComExceptionEvent = std::function<void(TObject* sender, TComExceptions kind, const std::string& comportMessage,
                                              int64_t winError, const std::string& winMessage)>;

}  // namespace kes

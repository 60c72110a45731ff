// The port's handling of line events, its open and close notifications, and its event firers.
#include <string>

#include "serial/CPort.h"
#include "serial/LineSettings.h"

namespace kes {

namespace {
struct PassCounter {
    std::atomic<int>& count;
    PassCounter(std::atomic<int>& c, std::atomic<std::thread::id>& thread) : count(c) {
        thread = std::this_thread::get_id();
        ++count;
    }
    ~PassCounter() { --count; }
};
}  // namespace

void TCustomComPort::HandleEvents(TComEvents events) {
    PassCounter pass(inEventPass_, passThread_);
    for (TComEvent event : EventPassOrder) {
        if (!connected_) break;  // a handler closed the port
        if (events.Contains(event)) HandleEvent(event);
    }
}

void TCustomComPort::HandleDeviceLost(uint32_t winError) {
    PassCounter pass(inEventPass_, passThread_);
    if (connected_ && !closing_) RaisePortError(static_cast<int>(CE_WaitFailed) + 1, winError);
}

void TCustomComPort::HandleEvent(TComEvent event) {
    PassCounter pass(inEventPass_, passThread_);
    switch (event) {
    case evError: {
        TComErrors errors;
        if (ReadLineErrors(errors) && !errors.Empty()) FireError(errors);
        break;
    }
    case evRxChar: ReadReceivedData(); break;
    case evTxEmpty:
        ForEachLink([this](TComLink* l) { Fire(l->OnTxActivity, this, false); });
        ForEachLink([this](TComLink* l) { Fire(l->OnTxEmpty, this); });
        FireTxEmpty();
        break;
    case evBreak: FireBreak(); break;
    case evRing:
        ForEachLink([this](TComLink* l) { Fire(l->OnRing, this); });
        FireRing();
        break;
    case evCTS:
    case evDSR:
    case evRLSD: {
        TModemLines lines;
        if (ReadModemLines(lines)) HandleModemLine(event, lines);
        break;
    }
    case evRxFlag:
        ForEachLink([this](TComLink* l) { Fire(l->OnRxFlag, this); });
        FireRxFlag();
        break;
    case evRx80Full: FireRx80Full(); break;
    }
}

void TCustomComPort::HandleModemLine(TComEvent event, TModemLines lines) {
    switch (event) {
    case evCTS: {
        const bool on = lines.Contains(mlCTS);
        ForEachLink([&](TComLink* l) { Fire(l->OnCTSChange, this, on); });
        FireCTSChange(on);
        break;
    }
    case evDSR: {
        const bool on = lines.Contains(mlDSR);
        ForEachLink([&](TComLink* l) { Fire(l->OnDSRChange, this, on); });
        FireDSRChange(on);
        break;
    }
    case evRLSD: {
        const bool on = lines.Contains(mlRLSD);
        ForEachLink([&](TComLink* l) { Fire(l->OnRLSDChange, this, on); });
        FireRLSDChange(on);
        break;
    }
    default: break;
    }
}

// Received bytes: with the default TriggersOnRxChar the handler of OnRxChar reads them; otherwise the port reads
// them itself once and hands them to the RxBuf links and OnRxBuf, and OnRxChar is not called.
void TCustomComPort::ReadReceivedData() {
    int count = 0;
    if (!ReadInputCount(count)) return;
    if (count > 0) ForEachLink([this](TComLink* l) { Fire(l->OnRxActivity, this, true); });
    if (count > 0 && !TriggersOnRxChar()) {
        std::string data;
        bool read = false, failed = false;
        int n = 0;
        auto readOnce = [&] {
            if (read) return;
            read = true;
            data.assign(static_cast<size_t>(count), '\0');
            if (!ReceiveChecked(data.data(), count, n)) {
                failed = true;
                return;
            }
            FireRxBuf(data.data(), n);
        };
        ForEachLink([&](TComLink* l) {
            if (failed || !l->OnRxBuf) return;
            readOnce();
            if (!failed) l->OnRxBuf(this, data.data(), n);
        });
        if (!read && !triggersOnRxChar_) readOnce();
        if (read) count = 0;
    }
    if (count > 0) FireRxChar(count);
}

void TCustomComPort::AfterOpenNotifications() {
    ForEachLink([this](TComLink* l) { Fire(l->OnConnChange, this, true); });
    FireAfterOpen();
    for (TComEvent event : {evCTS, evDSR, evRLSD}) HandleModemLine(event, ModemLinesOrNone());
}

void TCustomComPort::BeforeCloseNotifications() {
    ForEachLink([this](TComLink* l) { Fire(l->OnCTSChange, this, false); });
    ForEachLink([this](TComLink* l) { Fire(l->OnDSRChange, this, false); });
    ForEachLink([this](TComLink* l) { Fire(l->OnRLSDChange, this, false); });
    FireCTSChange(false);
    FireDSRChange(false);
    FireRLSDChange(false);
    FireBeforeClose();
}

void TCustomComPort::FireAfterClose() { Fire(OnAfterClose, this); }
void TCustomComPort::FireAfterOpen() { Fire(OnAfterOpen, this); }
void TCustomComPort::FireBeforeClose() { Fire(OnBeforeClose, this); }
void TCustomComPort::FireBeforeOpen() { Fire(OnBeforeOpen, this); }
void TCustomComPort::FireRxChar(int count) { Fire(OnRxChar, this, count); }
void TCustomComPort::FireRxBuf(const char* buffer, int count) { Fire(OnRxBuf, this, buffer, count); }
void TCustomComPort::FireTxEmpty() { Fire(OnTxEmpty, this); }
void TCustomComPort::FireBreak() { Fire(OnBreak, this); }
void TCustomComPort::FireRing() { Fire(OnRing, this); }
void TCustomComPort::FireRxFlag() { Fire(OnRxFlag, this); }
void TCustomComPort::FireCTSChange(bool onOff) { Fire(OnCTSChange, this, onOff); }
void TCustomComPort::FireDSRChange(bool onOff) { Fire(OnDSRChange, this, onOff); }
void TCustomComPort::FireError(TComErrors errors) { Fire(OnError, this, errors); }
void TCustomComPort::FireRLSDChange(bool onOff) { Fire(OnRLSDChange, this, onOff); }
void TCustomComPort::FireRx80Full() { Fire(OnRx80Full, this); }

}  // namespace kes

#pragma once
// The serial port component: TCustomComPort (all behaviour), TComPort (the published form), TComLink.
//
// Threads: the port is made, set up, opened, closed and used on the GUI thread. While it is open, one event
// thread (started by the device's StartEvents) waits for line events and has HandleEvents run by the SyncMethod:
// on the GUI thread for smThreadSync and smWindowSync, on the event thread itself for smNone. The event thread
// reads only the device, Events and SyncMethod, which do not change while the port is open.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/Component.h"
#include "base/Events.h"
#include "base/IniFile.h"
#include "base/StringList.h"
#include "serial/ComDevice.h"
#include "serial/ComError.h"
#include "serial/ComOptions.h"
#include "serial/ComSettingsRegistry.h"
#include "serial/ComTypes.h"
#include "serial/PortNames.h"

namespace kes {

class TCustomComPort;

// A notification link through which another component follows a port. The port calls only the slots that are
// set; Sender is always the port.
class TComLink : public TObject {
    KES_CLASS(TComLink, TObject)
public:
    TComSignalEvent OnConnChange;  // true after open, false after close
    TRxBufEvent OnRxBuf;           // bytes the port read itself on evRxChar
    TRxBufEvent OnTxDone;          // the bytes of a completed write
    TNotifyEvent OnTxEmpty;
    TNotifyEvent OnRxFlag;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TNotifyEvent OnRing;
    TComSignalEvent OnTxActivity;  // true when a write starts, false on evTxEmpty
    TComSignalEvent OnRxActivity;  // true when evRxChar finds bytes, false when a read empties the input queue
};

namespace detail {
// The port's link list. It lives in a base that is destroyed after the component base, so that a link owner that
// hears of the port's destruction from the component base may still detach.
struct ComLinkList {
    std::vector<TComLink*> links;  // not owned; changed on the GUI thread only
    bool portGone = false;         // the port's own destructor has finished: DetachLink only forgets
};
}  // namespace detail

class TCustomComPort : private detail::ComLinkList, public TComponent {
    KES_CLASS(TCustomComPort, TComponent)
public:
    explicit TCustomComPort(TComponent* owner = nullptr);
    // With a given device (tests, other platforms).
    TCustomComPort(TComponent* owner, std::unique_ptr<TComDevice> device);
    ~TCustomComPort() override;

    // ---- settings (setters of an open port apply their group at once, unless a settings update is pending)
    bool Connected() const { return connected_; }
    void SetConnected(bool value);
    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudRate value);
    // The speed used with brCustom.
    int CustomBaudRate() const { return customBaudRate_; }
    void SetCustomBaudRate(int value);
    const std::string& Port() const { return port_; }
    // A changed name (compared exactly) reopens an open port.
    void SetPort(const std::string& value);
    TStopBits StopBits() const { return stopBits_; }
    void SetStopBits(TStopBits value);
    TDataBits DataBits() const { return dataBits_; }
    void SetDataBits(TDataBits value);
    bool DiscardNull() const { return discardNull_; }
    void SetDiscardNull(bool value);
    char EventChar() const { return eventChar_; }
    void SetEventChar(char value);

    TComParity& Parity() { return *parity_; }
    const TComParity& Parity() const { return *parity_; }
    void SetParity(const TComParity& value);
    TComFlowControl& FlowControl() { return *flowControl_; }
    const TComFlowControl& FlowControl() const { return *flowControl_; }
    void SetFlowControl(const TComFlowControl& value);
    TComTimeouts& Timeouts() { return *timeouts_; }
    const TComTimeouts& Timeouts() const { return *timeouts_; }
    void SetTimeouts(const TComTimeouts& value);
    TComBuffer& Buffer() { return *buffer_; }
    const TComBuffer& Buffer() const { return *buffer_; }
    void SetBuffer(const TComBuffer& value);

    TSyncMethod SyncMethod() const { return syncMethod_; }
    // Refused while connected (code 14).
    void SetSyncMethod(TSyncMethod value);
    // True only when set and no link takes the received bytes (OnRxBuf).
    bool TriggersOnRxChar() const { return triggersOnRxChar_ && !hasRxBufLink_; }
    // Refused while a link takes the received bytes (code 22).
    void SetTriggersOnRxChar(bool value);

    TComEvents Events = AllComEvents;  // takes effect at the next open
    TStoredProps StoredProps{spBasic};
    uint32_t CodePage = 0;  // kept for the window description; nothing reads it

    // ---- settings-update bracket: setters inside it apply nothing; the outermost end applies all groups
    void BeginSettingsUpdate();
    void EndSettingsUpdate();

    // ---- device state
    int PendingInputCount();
    TModemLines ModemLines();
    // Reads and clears the device's error state.
    TComErrors LineErrors();

    // ---- open, close, I/O
    void OpenPort();
    void ClosePort();
    // Writes the bytes and waits; the number of bytes the device took.
    int SendText(const std::string& text);
    // Reads up to `count` bytes and waits; `text` gets exactly the bytes read.
    int ReceiveText(std::string& text, int count);
    int ReceiveBuffer(char* buffer, int count);
    // Overlapped requests: start a transfer (the count known at once), then wait for it.
    // A new request (its event signalled, no data); FreeComIoRequest frees it and clears the reference.
    std::unique_ptr<TComIoRequest> InitComIoRequest() { return device_->NewRequest(); }
    static void FreeComIoRequest(std::unique_ptr<TComIoRequest>& request) { request.reset(); }
    int StartWrite(const char* buffer, int count, TComIoRequest* request);
    int StartRead(char* buffer, int count, TComIoRequest* request);
    int WaitForRequest(TComIoRequest* request);
    // Writes the bytes from any thread (a receive watch that answers at once) and waits until the device took them.
    // No link hears of it and nothing is raised: false with the reason when the port is closed or the device refused.
    bool WriteFromAnyThread(const std::string& bytes, std::string& error);
    // The watch of the received bytes (see TComReceiveWatch); nullptr removes it. Kept across closing and opening.
    void SetReceiveWatch(TComReceiveWatch* watch) { device_->SetReceiveWatch(watch); }
    // Aborts pending reads and writes of the device (code 5 on failure).
    void AbortPendingIo();

    // The one way the port reports a failure: EComPort, or OnException when that is set (then it returns and
    // the failing operation stops).
    void RaisePortError(int code, int64_t winError);
    // The EComPort that RaisePortError raises without OnException (a handler raises it for what it leaves alone).
    [[noreturn]] static void ThrowPortError(int code, int64_t winError);

    // ---- links
    void AttachLink(TComLink* link);
    void DetachLink(TComLink* link);
    // True when evTxEmpty has a listener: OnTxEmpty, or a link's OnTxEmpty or OnTxActivity.
    bool TxEmptyHeard() const;
    // A link's slots changed while attached (the event thread may now need other events).
    void LinksChanged();

    // ---- settings storage: to an ini file named by `path`, or to the registry key derived from `path` and Name
    void StoreSettings(bool useIniFile, const std::string& path);
    void LoadSettings(bool useIniFile, const std::string& path);

    // Runs the installed setup dialog on this port (nothing when none is installed).
    void RunSetupDialog();

    // ---- event handling, called by the event thread's dispatch
    // One batch: each reported event in the fixed pass order.
    void HandleEvents(TComEvents events);
    // One event's handling (links, then the published handler).
    void HandleEvent(TComEvent event);
    // The event thread found the device gone (a USB adapter pulled out): code 21 ("WaitForEvent method
    // failed") with the system's error, through RaisePortError. The port stays open until its owner closes it;
    // the event thread has ended. Nothing when the port is closed already.
    void HandleDeviceLost(uint32_t winError);

    // The apply operations: each does nothing unless connected, not loading and no update is pending.
    virtual bool ApplyAllSettings();
    virtual bool ApplyLineSettings();
    virtual bool ApplyTimeoutSettings();
    virtual bool ApplyBufferSizes();

    TComDevice& Device() { return *device_; }

    // ---- published handlers
    TNotifyEvent OnAfterOpen, OnAfterClose, OnBeforeOpen, OnBeforeClose;
    TRxCharEvent OnRxChar;
    TRxBufEvent OnRxBuf;
    TNotifyEvent OnTxEmpty, OnBreak, OnRing, OnRxFlag, OnRx80Full;
    TComSignalEvent OnCTSChange, OnDSRChange, OnRLSDChange;
    TComErrorEvent OnError;
    TComExceptionEvent OnException;

protected:
    void Loaded() override;

    // Device handle; each reports its failure and returns false.
    virtual bool OpenDeviceHandle();
    virtual void CloseDeviceHandle();

    virtual void StoreToRegistry(TComSettingsRegistry& registry);
    virtual void StoreToIniFile(TCustomIniFile& ini);
    virtual void LoadFromRegistry(TComSettingsRegistry& registry);
    virtual void LoadFromIniFile(TCustomIniFile& ini);
    virtual void OpenSettingsKey(TComSettingsRegistry& registry, const std::string& path, const std::string& name);
    // The storage objects (tests give fakes).
    virtual std::unique_ptr<TComSettingsRegistry> NewSettingsRegistry();
    virtual std::unique_ptr<TCustomIniFile> NewSettingsIniFile(const std::string& path);

    // Event firers: each calls its published handler when set.
    virtual void FireAfterClose();
    virtual void FireAfterOpen();
    virtual void FireBeforeClose();
    virtual void FireBeforeOpen();
    virtual void FireRxChar(int count);
    virtual void FireRxBuf(const char* buffer, int count);
    virtual void FireTxEmpty();
    virtual void FireBreak();
    virtual void FireRing();
    virtual void FireRxFlag();
    virtual void FireCTSChange(bool onOff);
    virtual void FireDSRChange(bool onOff);
    virtual void FireError(TComErrors errors);
    virtual void FireRLSDChange(bool onOff);
    virtual void FireRx80Full();

private:
    class SettingsTarget;
    class RegistryTarget;
    class IniTarget;

    bool CanApply() const;
    void StopEvents() noexcept;
    void FreeRetiredEvents() noexcept;
    // True on the thread of a running handler pass, which the event thread may be waiting for.
    bool InsideEventPass() const;
    void ReadReceivedData();
    // Checked reads: false after a failure was reported (and absorbed by OnException).
    bool ReadInputCount(int& count);
    bool ReadModemLines(TModemLines& lines);
    bool ReadLineErrors(TComErrors& errors);
    bool StartWriteChecked(const char* buffer, int count, TComIoRequest* request, int& doneNow);
    bool StartReadChecked(char* buffer, int count, TComIoRequest* request, int& doneNow);
    bool WaitChecked(TComIoRequest* request, int& transferred);
    bool ReceiveChecked(char* buffer, int count, int& received);
    void HandleModemLine(TComEvent event, TModemLines lines);
    void AfterOpenNotifications();
    void BeforeCloseNotifications();
    // The modem lines for the open sweep: a failed read counts as all lines off.
    TModemLines ModemLinesOrNone();
    void RecomputeRxBufLinkFlag();
    // Calls `fn` for each link in list order; a link detached meanwhile by a handler is skipped.
    template <typename F>
    void ForEachLink(F&& fn);
    void StoreTo(SettingsTarget& target);
    void LoadFrom(SettingsTarget& target);

    std::unique_ptr<TComDevice> device_;
    std::unique_ptr<TComEventPump> events_;  // the event thread while one runs
    // Event threads stopped from inside their own event pass; freed once that pass is over.
    std::vector<std::unique_ptr<TComEventPump>> retired_;
    // Handler passes running now, and the thread they run on (the event thread itself under smNone).
    std::atomic<int> inEventPass_{0};
    std::atomic<std::thread::id> passThread_{};
    bool closing_ = false;
    bool hasEventThread_ = false;
    int updateCount_ = 0;
    bool triggersOnRxChar_ = true;
    bool hasRxBufLink_ = false;
    bool connected_ = false;
    TBaudRate baudRate_ = br9600;
    int customBaudRate_ = 9600;
    std::string port_ = "COM1";
    TStopBits stopBits_ = sbOneStopBit;
    TDataBits dataBits_ = dbEight;
    bool discardNull_ = false;
    char eventChar_ = 0;
    std::unique_ptr<TComParity> parity_;
    std::unique_ptr<TComFlowControl> flowControl_;
    std::unique_ptr<TComTimeouts> timeouts_;
    std::unique_ptr<TComBuffer> buffer_;
    TSyncMethod syncMethod_ = smThreadSync;
};

template <typename F>
void TCustomComPort::ForEachLink(F&& fn) {
    const std::vector<TComLink*> snapshot = links;
    for (TComLink* link : snapshot)
        if (std::find(links.begin(), links.end(), link) != links.end()) fn(link);
}

// Replaces the list with the names of the serial devices present ("COM1" ...), sorted as text; an unreadable
// device list leaves it as it was.
void ListSerialPorts(TStringList& list);

// The port as the window description stores it; every property of TCustomComPort is published.
class TComPort : public TCustomComPort {
    KES_CLASS(TComPort, TCustomComPort)
public:
    using TCustomComPort::TCustomComPort;
};

}  // namespace kes

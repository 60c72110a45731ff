#include "serial/CPort.h"

#include <algorithm>
#include <exception>

#include "serial/ComPlatform.h"
#include "serial/LineSettings.h"

namespace kes {

namespace {
constexpr int Code(TComExceptions kind) { return static_cast<int>(kind) + 1; }
}  // namespace

TCustomComPort::TCustomComPort(TComponent* owner) : TCustomComPort(owner, NewComDevice()) {}

TCustomComPort::TCustomComPort(TComponent* owner, std::unique_ptr<TComDevice> device)
    : TComponent(owner), device_(std::move(device)) {
    parity_ = std::make_unique<TComParity>(this);
    flowControl_ = std::make_unique<TComFlowControl>(this);
    timeouts_ = std::make_unique<TComTimeouts>(this);
    buffer_ = std::make_unique<TComBuffer>(this);
}

TCustomComPort::~TCustomComPort() {
    BeginDestroy();
    try {
        ClosePort();
    } catch (...) {
        // A destructor never throws; the port is shut below whatever the handlers did.
    }
    StopEvents();
    retired_.clear();
    if (device_->IsOpen()) device_->Close();
    connected_ = false;
    buffer_.reset();
    flowControl_.reset();
    timeouts_.reset();
    parity_.reset();
    portGone = true;
}

// ---- settings

void TCustomComPort::SetConnected(bool value) {
    if (Designing() || Loading()) {
        connected_ = value;
        return;
    }
    if (value == connected_) return;
    if (value)
        OpenPort();
    else
        ClosePort();
}

void TCustomComPort::SetBaudRate(TBaudRate value) {
    if (value == baudRate_) return;
    baudRate_ = value;
    ApplyLineSettings();
}

void TCustomComPort::SetCustomBaudRate(int value) {
    if (value == customBaudRate_) return;
    customBaudRate_ = value;
    ApplyLineSettings();
}

void TCustomComPort::SetPort(const std::string& value) {
    if (value == port_) return;
    port_ = value;
    if (connected_ && !Designing() && !Loading()) {
        ClosePort();
        OpenPort();
    }
}

void TCustomComPort::SetStopBits(TStopBits value) {
    if (value == stopBits_) return;
    stopBits_ = value;
    ApplyLineSettings();
}

void TCustomComPort::SetDataBits(TDataBits value) {
    if (value == dataBits_) return;
    dataBits_ = value;
    ApplyLineSettings();
}

void TCustomComPort::SetDiscardNull(bool value) {
    if (value == discardNull_) return;
    discardNull_ = value;
    ApplyLineSettings();
}

void TCustomComPort::SetEventChar(char value) {
    if (value == eventChar_) return;
    eventChar_ = value;
    ApplyLineSettings();
}

void TCustomComPort::SetParity(const TComParity& value) {
    parity_->Assign(value);
    ApplyLineSettings();
}

void TCustomComPort::SetFlowControl(const TComFlowControl& value) {
    flowControl_->Assign(value);
    ApplyLineSettings();
}

void TCustomComPort::SetTimeouts(const TComTimeouts& value) {
    timeouts_->Assign(value);
    ApplyTimeoutSettings();
}

void TCustomComPort::SetBuffer(const TComBuffer& value) {
    buffer_->Assign(value);
    ApplyBufferSizes();
}

void TCustomComPort::SetSyncMethod(TSyncMethod value) {
    if (value == syncMethod_) return;
    if (connected_ && !Designing() && !Loading()) {
        RaisePortError(Code(CE_ConnChangeProp), 0);
        return;
    }
    syncMethod_ = value;
}

void TCustomComPort::SetTriggersOnRxChar(bool value) {
    if (hasRxBufLink_) RaisePortError(Code(CE_HasLink), 0);
    triggersOnRxChar_ = value;
}

void TCustomComPort::BeginSettingsUpdate() { ++updateCount_; }

void TCustomComPort::EndSettingsUpdate() {
    if (updateCount_ <= 0) return;
    if (--updateCount_ == 0) ApplyAllSettings();
}

// ---- applying settings to the open device

bool TCustomComPort::CanApply() const { return connected_ && updateCount_ == 0 && !Designing() && !Loading(); }

bool TCustomComPort::ApplyAllSettings() { return ApplyBufferSizes() && ApplyLineSettings() && ApplyTimeoutSettings(); }

bool TCustomComPort::ApplyBufferSizes() {
    if (!CanApply()) return true;
    ComStatus s = device_->SetupComm(buffer_->InputSize(), buffer_->OutputSize());
    if (s.ok) return true;
    RaisePortError(Code(CE_SetupComFailed), s.error);
    return false;
}

bool TCustomComPort::ApplyLineSettings() {
    if (!CanApply()) return true;
    ComStatus s = device_->SetCommState(BuildDcb(*this));
    if (s.ok) return true;
    RaisePortError(Code(CE_SetStateFailed), s.error);
    return false;
}

bool TCustomComPort::ApplyTimeoutSettings() {
    if (!CanApply()) return true;
    ComStatus s = device_->SetCommTimeouts(BuildTimeouts(*timeouts_));
    if (s.ok) return true;
    RaisePortError(Code(CE_TimeoutsFailed), s.error);
    return false;
}

// ---- device state

bool TCustomComPort::ReadInputCount(int& count) {
    uint32_t errors = 0, inQueue = 0;
    ComStatus s = device_->ClearCommError(errors, inQueue);
    count = 0;
    if (!s.ok) {
        RaisePortError(Code(CE_ClearComFailed), s.error);
        return false;
    }
    count = static_cast<int>(std::min<uint32_t>(inQueue, 0x7FFFFFFF));
    return true;
}

bool TCustomComPort::ReadModemLines(TModemLines& lines) {
    uint32_t status = 0;
    ComStatus s = device_->GetModemStatus(status);
    lines = {};
    if (!s.ok) {
        RaisePortError(Code(CE_ModemStatFailed), s.error);
        return false;
    }
    lines = ModemStatusToLines(status);
    return true;
}

bool TCustomComPort::ReadLineErrors(TComErrors& result) {
    uint32_t errors = 0, inQueue = 0;
    ComStatus s = device_->ClearCommError(errors, inQueue);
    result = {};
    if (!s.ok) {
        RaisePortError(Code(CE_ClearComFailed), s.error);
        return false;
    }
    result = CommErrorsToSet(errors, parity_->Check());
    return true;
}

int TCustomComPort::PendingInputCount() {
    int count = 0;
    ReadInputCount(count);
    return count;
}

TModemLines TCustomComPort::ModemLines() {
    TModemLines lines;
    ReadModemLines(lines);
    return lines;
}

TComErrors TCustomComPort::LineErrors() {
    TComErrors errors;
    ReadLineErrors(errors);
    return errors;
}

TModemLines TCustomComPort::ModemLinesOrNone() {
    uint32_t status = 0;
    return device_->GetModemStatus(status).ok ? ModemStatusToLines(status) : TModemLines{};
}

// ---- open and close

bool TCustomComPort::OpenDeviceHandle() {
    ComStatus s = device_->Open("\\\\.\\" + port_);
    if (s.ok) return true;
    RaisePortError(Code(CE_OpenFailed), s.error);
    return false;
}

void TCustomComPort::CloseDeviceHandle() {
    if (device_->IsOpen()) device_->Close();  // the device forgets its handle even when the system refuses
}

void TCustomComPort::StopEvents() noexcept {
    hasEventThread_ = false;
    if (!events_) return;
    if (InsideEventPass()) {
        // The thread waits for this very pass: it cannot be waited for here. It stops once the pass is over.
        events_->RequestStop();
        retired_.push_back(std::move(events_));
        return;
    }
    events_.reset();  // stops the event thread and waits for its end
}

void TCustomComPort::FreeRetiredEvents() noexcept {
    if (!InsideEventPass()) retired_.clear();
}

bool TCustomComPort::InsideEventPass() const {
    return inEventPass_ > 0 && passThread_.load() == std::this_thread::get_id();
}

void TCustomComPort::OpenPort() {
    if (connected_ || closing_ || Designing()) return;
    FreeRetiredEvents();
    FireBeforeOpen();
    if (!OpenDeviceHandle()) return;
    connected_ = true;
    try {
        if (!ApplyAllSettings()) {
            CloseDeviceHandle();
            connected_ = false;
            return;
        }
        if (Events.Empty()) {
            hasEventThread_ = false;
        } else {
            events_ = device_->StartEvents(*this);
            hasEventThread_ = true;
        }
    } catch (...) {
        StopEvents();
        CloseDeviceHandle();
        connected_ = false;
        throw;
    }
    AfterOpenNotifications();
}

void TCustomComPort::ClosePort() {
    if (!connected_ || closing_ || Designing()) return;
    // While the port waits for its event thread, a handler pass that still runs cannot close it a second time.
    closing_ = true;
    try {
        BeforeCloseNotifications();
    } catch (...) {
        closing_ = false;
        throw;
    }
    // A failed purge is reported only after the port is closed, so that it can always be closed.
    std::exception_ptr purgeFailure;
    try {
        AbortPendingIo();
    } catch (...) {
        purgeFailure = std::current_exception();
    }
    StopEvents();
    FreeRetiredEvents();
    CloseDeviceHandle();
    connected_ = false;
    closing_ = false;
    ForEachLink([this](TComLink* l) { Fire(l->OnConnChange, this, false); });
    FireAfterClose();
    if (purgeFailure) std::rethrow_exception(purgeFailure);
}

void TCustomComPort::Loaded() {
    const bool wanted = connected_;
    TComponent::Loaded();
    if (!wanted || Designing()) return;
    connected_ = false;
    try {
        OpenPort();
    } catch (const std::exception& e) {
        ShowComException(e);
    }
}

// ---- reading and writing

bool TCustomComPort::StartWriteChecked(const char* buffer, int count, TComIoRequest* request, int& doneNow) {
    doneNow = 0;
    if (!request) {
        RaisePortError(Code(CE_InvalidAsync), 0);
        return false;
    }
    if (!device_->IsOpen()) {
        RaisePortError(Code(CEPortNotOpen), -static_cast<int>(Code(CEPortNotOpen)));
        return false;
    }
    request->Kind = ikWrite;
    request->Data.clear();
    request->HasData = false;
    if (count <= 0 || !buffer) return true;  // nothing to transfer
    request->Data.assign(buffer, static_cast<size_t>(count));
    request->HasData = true;
    uint32_t done = 0;
    ComStatus s = device_->StartWrite(*request, request->Data.data(), static_cast<uint32_t>(count), done);
    if (!s.ok) {
        RaisePortError(Code(CE_WriteFailed), s.error);
        return false;
    }
    ForEachLink([this](TComLink* l) { Fire(l->OnTxActivity, this, true); });
    doneNow = static_cast<int>(done);
    return true;
}

bool TCustomComPort::StartReadChecked(char* buffer, int count, TComIoRequest* request, int& doneNow) {
    doneNow = 0;
    if (!request) {
        RaisePortError(Code(CE_InvalidAsync), 0);
        return false;
    }
    request->Kind = ikRead;
    request->Data.clear();
    request->HasData = false;
    if (!device_->IsOpen()) {
        RaisePortError(Code(CEPortNotOpen), -static_cast<int>(Code(CEPortNotOpen)));
        return false;
    }
    if (count <= 0 || !buffer) return true;
    uint32_t done = 0;
    ComStatus s = device_->StartRead(*request, buffer, static_cast<uint32_t>(count), done);
    if (!s.ok) {
        RaisePortError(Code(CE_ReadFailed), s.error);
        return false;
    }
    doneNow = static_cast<int>(done);
    return true;
}

bool TCustomComPort::WaitChecked(TComIoRequest* request, int& transferred) {
    transferred = 0;
    if (!request) {
        RaisePortError(Code(CE_InvalidAsync), 0);
        return false;
    }
    uint32_t n = 0;
    ComStatus s = device_->WaitRequest(*request, n);
    if (!s.ok) {
        RaisePortError(Code(request->Kind == ikWrite ? CE_WriteFailed : CE_ReadFailed), s.error);
        return false;
    }
    transferred = static_cast<int>(std::min<uint32_t>(n, 0x7FFFFFFF));
    if (request->Kind == ikRead) {
        int pending = 0;
        if (!ReadInputCount(pending)) return false;
        if (pending == 0) ForEachLink([this](TComLink* l) { Fire(l->OnRxActivity, this, false); });
    } else if (request->HasData) {
        // The links hear the bytes the device actually took.
        const int written = std::min<int>(transferred, static_cast<int>(request->Data.size()));
        ForEachLink([&](TComLink* l) { Fire(l->OnTxDone, this, request->Data.data(), written); });
    }
    return true;
}

int TCustomComPort::StartWrite(const char* buffer, int count, TComIoRequest* request) {
    int done = 0;
    StartWriteChecked(buffer, count, request, done);
    return done;
}

int TCustomComPort::StartRead(char* buffer, int count, TComIoRequest* request) {
    int done = 0;
    StartReadChecked(buffer, count, request, done);
    return done;
}

int TCustomComPort::WaitForRequest(TComIoRequest* request) {
    int n = 0;
    WaitChecked(request, n);
    return n;
}

int TCustomComPort::SendText(const std::string& text) {
    std::unique_ptr<TComIoRequest> request = device_->NewRequest();
    int done = 0;
    if (!text.empty() && !StartWriteChecked(text.data(), static_cast<int>(text.size()), request.get(), done)) return 0;
    int n = 0;
    WaitChecked(request.get(), n);
    return n;
}

bool TCustomComPort::WriteFromAnyThread(const std::string& bytes, std::string& error) {
    if (!device_->IsOpen()) {
        error = "COM port not open";
        return false;
    }
    uint32_t done = 0;
    const ComStatus s = device_->WriteNow(bytes.data(), static_cast<uint32_t>(bytes.size()), done);
    if (!s.ok) {
        error = device_->ErrorText(s.error);
        return false;
    }
    if (done != bytes.size()) {
        error = std::to_string(done) + " of " + std::to_string(bytes.size()) + " bytes written";
        return false;
    }
    return true;
}

int TCustomComPort::ReceiveText(std::string& text, int count) {
    text.clear();
    std::unique_ptr<TComIoRequest> request = device_->NewRequest();
    std::string work(count > 0 ? static_cast<size_t>(count) : 0, '\0');
    int done = 0;
    if (count >= 1 && !StartReadChecked(work.data(), count, request.get(), done)) return 0;
    int n = 0;
    if (!WaitChecked(request.get(), n)) return 0;
    work.resize(std::min<size_t>(static_cast<size_t>(n), work.size()));
    text = std::move(work);
    return static_cast<int>(text.size());
}

bool TCustomComPort::ReceiveChecked(char* buffer, int count, int& received) {
    received = 0;
    if (count <= 0 || !buffer) return true;
    std::unique_ptr<TComIoRequest> request = device_->NewRequest();
    int done = 0;
    if (!StartReadChecked(buffer, count, request.get(), done)) return false;
    int n = 0;
    if (!WaitChecked(request.get(), n)) return false;
    received = std::min(n, count);
    return true;
}

int TCustomComPort::ReceiveBuffer(char* buffer, int count) {
    int n = 0;
    ReceiveChecked(buffer, count, n);
    return n;
}

void TCustomComPort::AbortPendingIo() {
    ComStatus s = device_->Purge(comm::PurgeTxAbort | comm::PurgeRxAbort);
    if (!s.ok) RaisePortError(Code(CE_PurgeFailed), s.error);
}

// ---- errors

void TCustomComPort::ThrowPortError(int code, int64_t winError) {
    if (winError > 0) throw EComPort(code, static_cast<int>(static_cast<uint32_t>(winError)));
    throw EComPort(code);
}

void TCustomComPort::RaisePortError(int code, int64_t winError) {
    if (!OnException) ThrowPortError(code, winError);
    const std::string winMessage = winError > 0 ? device_->ErrorText(static_cast<uint32_t>(winError)) : "";
    const int ordinal = std::clamp(code, 1, ComErrorCount) - 1;
    OnException(this, static_cast<TComExceptions>(ordinal), ComErrorMessage(code), winError, winMessage);
}

// ---- links

void TCustomComPort::RecomputeRxBufLinkFlag() {
    hasRxBufLink_ = std::any_of(links.begin(), links.end(), [](TComLink* l) { return bool(l->OnRxBuf); });
}

void TCustomComPort::AttachLink(TComLink* link) {
    if (!link || std::find(links.begin(), links.end(), link) != links.end()) {
        RecomputeRxBufLinkFlag();
        RaisePortError(Code(CE_RegFailed), 0);
        return;
    }
    links.push_back(link);
    RecomputeRxBufLinkFlag();
    LinksChanged();
}

bool TCustomComPort::TxEmptyHeard() const {
    if (OnTxEmpty) return true;
    return std::any_of(links.begin(), links.end(), [](TComLink* l) { return l->OnTxEmpty || l->OnTxActivity; });
}

void TCustomComPort::LinksChanged() {
    if (events_) events_->TxEmptyHeardChanged(TxEmptyHeard());
}

void TCustomComPort::DetachLink(TComLink* link) {
    auto it = std::find(links.begin(), links.end(), link);
    if (portGone) {  // only the list is left of this port
        if (it != links.end()) links.erase(it);
        return;
    }
    if (it == links.end()) {
        RecomputeRxBufLinkFlag();
        RaisePortError(Code(CE_RegFailed), 0);
        return;
    }
    links.erase(it);
    RecomputeRxBufLinkFlag();
    LinksChanged();
}

void TCustomComPort::RunSetupDialog() {
    if (const TComSetupDialog& dialog = ComSetupDialog()) dialog(*this);
}

}  // namespace kes

#include "serial/tests/FakeComDevice.h"

#include <algorithm>

#include "serial/CPort.h"

namespace kes::test {

namespace {

struct FakeRequest : TComIoRequest {
    uint32_t amount = 0;
};

class FakePump : public TComEventPump {
public:
    FakePump(std::shared_ptr<FakeDeviceState> s, TSyncMethod method) : s_(std::move(s)) {
        ++s_->pumps;
        s_->log.push_back("StartEvents " + std::to_string(int(method)));
    }
    ~FakePump() override {
        --s_->pumps;
        s_->log.push_back("StopEvents");
    }
    void RequestStop() override { s_->log.push_back("RequestStop"); }

private:
    std::shared_ptr<FakeDeviceState> s_;
};

}  // namespace

std::vector<std::string> FakeDeviceState::Calls(std::initializer_list<const char*> names) const {
    std::vector<std::string> out;
    for (const std::string& line : log)
        for (const char* n : names) {
            const std::string name(n);
            if (line.compare(0, name.size(), name) == 0 && (line.size() == name.size() || line[name.size()] == ' ')) {
                out.push_back(line);
                break;
            }
        }
    return out;
}

ComStatus FakeComDevice::Call(const std::string& name, const std::string& detail) {
    s_->log.push_back(detail.empty() ? name : name + " " + detail);
    auto it = s_->failures.find(name);
    if (it != s_->failures.end()) return ComStatus::Fail(it->second);
    return ComStatus::Ok();
}

ComStatus FakeComDevice::Open(const std::string& fileName) {
    s_->lastFileName = fileName;
    ComStatus st = Call("Open", fileName);
    if (st.ok) s_->open = true;
    return st;
}

ComStatus FakeComDevice::Close() {
    ComStatus st = Call("Close");
    s_->open = false;  // forgotten even when the close failed
    return st;
}

ComStatus FakeComDevice::SetupComm(int inputSize, int outputSize) {
    return Call("SetupComm", std::to_string(inputSize) + " " + std::to_string(outputSize));
}

ComStatus FakeComDevice::SetCommState(const ComDcb& dcb) {
    s_->lastDcb = dcb;
    return Call("SetCommState", std::to_string(dcb.BaudRate));
}

ComStatus FakeComDevice::SetCommTimeouts(const ComTimeoutsRecord& timeouts) {
    s_->lastTimeouts = timeouts;
    return Call("SetCommTimeouts");
}

ComStatus FakeComDevice::ClearCommError(uint32_t& errors, uint32_t& inQueue) {
    ComStatus st = Call("ClearCommError");
    if (!st.ok) return st;
    errors = s_->lineErrors;
    s_->lineErrors = 0;
    inQueue = static_cast<uint32_t>(s_->input.size());
    return st;
}

ComStatus FakeComDevice::GetModemStatus(uint32_t& status) {
    ComStatus st = Call("GetModemStatus");
    if (st.ok) status = s_->modemStatus;
    return st;
}

ComStatus FakeComDevice::Purge(uint32_t flags) { return Call("Purge", std::to_string(flags)); }

std::unique_ptr<TComIoRequest> FakeComDevice::NewRequest() { return std::make_unique<FakeRequest>(); }

ComStatus FakeComDevice::StartWrite(TComIoRequest& request, const char* data, uint32_t count, uint32_t& doneNow) {
    ComStatus st = Call("StartWrite", std::to_string(count));
    if (!st.ok) return st;
    uint32_t n = s_->writeLimit < 0 ? count : std::min<uint32_t>(count, static_cast<uint32_t>(s_->writeLimit));
    s_->written.append(data, n);
    static_cast<FakeRequest&>(request).amount = n;
    doneNow = n;
    return st;
}

ComStatus FakeComDevice::StartRead(TComIoRequest& request, char* data, uint32_t count, uint32_t& doneNow) {
    ComStatus st = Call("StartRead", std::to_string(count));
    if (!st.ok) return st;
    uint32_t n = std::min<uint32_t>(count, static_cast<uint32_t>(s_->input.size()));
    std::copy_n(s_->input.data(), n, data);
    s_->input.erase(0, n);
    static_cast<FakeRequest&>(request).amount = n;
    doneNow = n;
    return st;
}

ComStatus FakeComDevice::WaitRequest(TComIoRequest& request, uint32_t& transferred) {
    auto& r = static_cast<FakeRequest&>(request);
    ComStatus st = Call("Wait", std::to_string(r.amount));
    transferred = st.ok ? r.amount : 0;
    return st;
}

std::unique_ptr<TComEventPump> FakeComDevice::StartEvents(TCustomComPort& port) {
    ComStatus st = Call("StartEvents?");
    s_->log.pop_back();
    if (!st.ok) throw Exception("no event thread");
    return std::make_unique<FakePump>(s_, port.SyncMethod());
}

}  // namespace kes::test

#pragma once
// A recording COM device for the port's native tests: logs every call, holds an input queue and modem lines,
// and fails the calls it is told to.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "serial/ComDevice.h"

namespace kes::test {

struct FakeDeviceState {
    std::vector<std::string> log;  // one line per device call
    std::string input;             // bytes waiting to be read
    std::string written;           // every byte written
    uint32_t modemStatus = 0;
    uint32_t lineErrors = 0;                   // reported (and cleared) by the next ClearCommError
    std::map<std::string, uint32_t> failures;  // call name -> error code to fail it with
    int writeLimit = -1;                       // a write takes at most this many bytes (-1: all)
    bool open = false;
    ComDcb lastDcb;
    ComTimeoutsRecord lastTimeouts;
    int pumps = 0;  // event pumps running
    std::string lastFileName;

    // The log lines that start with one of the given call names, in order.
    std::vector<std::string> Calls(std::initializer_list<const char*> names) const;
};

class FakeComDevice : public TComDevice {
public:
    explicit FakeComDevice(std::shared_ptr<FakeDeviceState> state) : s_(std::move(state)) {}

    bool IsOpen() const override { return s_->open; }
    ComStatus Open(const std::string& fileName) override;
    ComStatus Close() override;
    ComStatus SetupComm(int inputSize, int outputSize) override;
    ComStatus SetCommState(const ComDcb& dcb) override;
    ComStatus SetCommTimeouts(const ComTimeoutsRecord& timeouts) override;
    ComStatus ClearCommError(uint32_t& errors, uint32_t& inQueue) override;
    ComStatus GetModemStatus(uint32_t& status) override;
    ComStatus Purge(uint32_t flags) override;
    std::unique_ptr<TComIoRequest> NewRequest() override;
    ComStatus StartWrite(TComIoRequest& request, const char* data, uint32_t count, uint32_t& doneNow) override;
    ComStatus StartRead(TComIoRequest& request, char* data, uint32_t count, uint32_t& doneNow) override;
    ComStatus WaitRequest(TComIoRequest& request, uint32_t& transferred) override;
    std::unique_ptr<TComEventPump> StartEvents(TCustomComPort& port) override;
    std::string ErrorText(uint32_t code) const override { return "system error " + std::to_string(code); }

private:
    // Logs the call; returns the failure it was told to give, if any.
    ComStatus Call(const std::string& name, const std::string& detail = std::string());
    std::shared_ptr<FakeDeviceState> s_;
};

}  // namespace kes::test

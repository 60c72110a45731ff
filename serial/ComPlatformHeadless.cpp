// The port's platform where there are no COM devices: every device call fails with "not supported", settings
// go to an in-memory registry and to ini files, exceptions to standard error.
#include <cstdio>

#include "serial/ComMemoryRegistry.h"
#include "serial/CPort.h"
#include "serial/ComPlatform.h"

namespace kes {

namespace {

constexpr uint32_t kNotSupported = 50;

class TNoComDevice : public TComDevice {
public:
    bool IsOpen() const override { return false; }
    ComStatus Open(const std::string&) override { return ComStatus::Fail(kNotSupported); }
    ComStatus Close() override { return ComStatus::Ok(); }
    ComStatus SetupComm(int, int) override { return ComStatus::Fail(kNotSupported); }
    ComStatus SetCommState(const ComDcb&) override { return ComStatus::Fail(kNotSupported); }
    ComStatus SetCommTimeouts(const ComTimeoutsRecord&) override { return ComStatus::Fail(kNotSupported); }
    ComStatus ClearCommError(uint32_t&, uint32_t&) override { return ComStatus::Fail(kNotSupported); }
    ComStatus GetModemStatus(uint32_t&) override { return ComStatus::Fail(kNotSupported); }
    ComStatus Purge(uint32_t) override { return ComStatus::Fail(kNotSupported); }
    std::unique_ptr<TComIoRequest> NewRequest() override { return std::make_unique<TComIoRequest>(); }
    ComStatus StartWrite(TComIoRequest&, const char*, uint32_t, uint32_t&) override {
        return ComStatus::Fail(kNotSupported);
    }
    ComStatus StartRead(TComIoRequest&, char*, uint32_t, uint32_t&) override { return ComStatus::Fail(kNotSupported); }
    ComStatus WaitRequest(TComIoRequest&, uint32_t& transferred) override {
        transferred = 0;
        return ComStatus::Ok();
    }
    std::unique_ptr<TComEventPump> StartEvents(TCustomComPort&) override { return nullptr; }
    std::string ErrorText(uint32_t code) const override { return "System error " + std::to_string(code); }
};

}  // namespace

std::unique_ptr<TComDevice> NewComDevice() { return std::make_unique<TNoComDevice>(); }

std::unique_ptr<TComSettingsRegistry> NewComSettingsRegistry() {
    static const auto store = std::make_shared<TComMemoryRegistry::Store>();
    return std::make_unique<TComMemoryRegistry>(store);
}

std::unique_ptr<TCustomIniFile> NewComIniFile(const std::string& fileName) {
    return std::make_unique<TMemIniFile>(fileName);
}

void ListSerialPorts(TStringList&) {}  // no device list here: the list stays as it was

void PlatformShowException(const std::exception& e) noexcept { std::fprintf(stderr, "%s\n", e.what()); }

}  // namespace kes

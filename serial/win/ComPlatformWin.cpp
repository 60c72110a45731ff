// The port's platform on Windows: the COM device, the registry and profile ini objects, the application's
// exception display.
#include "base/Exception.h"
#include "base/win/Application.h"
#include "base/win/Registry.h"
#include "base/win/Thread.h"
#include "base/win/WinIniFile.h"
#include "serial/ComPlatform.h"
#include "serial/win/ComDeviceWin.h"

namespace kes {

namespace {

// The class library's registry object behind the storage interface.
class TWinSettingsRegistry : public TComSettingsRegistry {
public:
    void SetRootKey(TComRegistryRoot root) override {
        reg_.SetRootKey(root == rrLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
    }
    bool OpenKey(const std::string& key, bool canCreate) override { return reg_.OpenKey(key, canCreate); }
    bool ValueExists(const std::string& name) override { return reg_.ValueExists(name); }
    std::string ReadString(const std::string& name) override { return reg_.ReadString(name); }
    int ReadInteger(const std::string& name) override { return reg_.ReadInteger(name); }
    void WriteString(const std::string& name, const std::string& value) override { reg_.WriteString(name, value); }
    void WriteInteger(const std::string& name, int value) override { reg_.WriteInteger(name, value); }

private:
    TRegistry reg_;
};

}  // namespace

std::unique_ptr<TComDevice> NewComDevice() { return std::make_unique<TWinComDevice>(); }

std::unique_ptr<TComSettingsRegistry> NewComSettingsRegistry() { return std::make_unique<TWinSettingsRegistry>(); }

std::unique_ptr<TCustomIniFile> NewComIniFile(const std::string& fileName) {
    return std::make_unique<TIniFile>(fileName);
}

void PlatformShowException(const std::exception& e) noexcept {
    if (Application && GetCurrentThreadId() == MainThreadID()) {
        Application->HandleException(e);  // the exception itself, with its class
        return;
    }
    // Another thread: a copy of the message goes to the GUI thread.
    HandleGuardedException(std::make_exception_ptr(Exception(e.what())));
}

}  // namespace kes

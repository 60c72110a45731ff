#include "serial/ComError.h"

#include <array>

namespace kes {

const std::array<std::string, ComErrorCount + 1> ComErrorMessages = {
    "",
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
    "Port Not Open",
};

const std::string& ComErrorMessage(int code) {
    if (code < 1 || code > ComErrorCount) return ComErrorMessages[0];
    return ComErrorMessages[static_cast<size_t>(code)];
}

EComPort::EComPort(int code, int osErrorCode)
    : Exception(ComErrorMessage(code) + " (Error: " + std::to_string(osErrorCode) + ")"),
      OsErrorCode(osErrorCode),
      ErrorCode(code) {}

EComPort::EComPort(int code) : Exception(ComErrorMessage(code)), OsErrorCode(-1), ErrorCode(code) {}

}  // namespace kes

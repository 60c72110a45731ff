#pragma once
// The serial port's error: a code from 1 to 24 with its fixed text, and the system's error code when there is one.
#include <array>
#include <string>

#include "base/Exception.h"
#include "serial/ComTypes.h"

namespace kes {

// Number of error codes (1 .. ComErrorCount).
inline constexpr int ComErrorCount = 24;

// The texts of the error codes, indexed by the code (index 0 is empty).
extern const std::array<std::string, ComErrorCount + 1> ComErrorMessages;
// The text of an error code; an empty text outside 1 .. 24.
const std::string& ComErrorMessage(int code);

class EComPort : public Exception {
public:
    // Message: the code's text followed by " (Error: n)".
    EComPort(int code, int osErrorCode);
    // Message: the code's text alone; OsErrorCode is -1.
    explicit EComPort(int code);
    const char* ClassName() const override { return "EComPort"; }

    int OsErrorCode = -1;
    int ErrorCode = 0;
};

}  // namespace kes

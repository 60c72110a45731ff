// Run without the modem-status shim (KESTRUP_NO_PTY_SHIM=1): shows why the harness preloads it. Wine asks
// the pty for its modem lines, the pty refuses, and a wait for received characters ends at once with an error
// instead of waiting for data.
#include <gtest/gtest.h>

#include "testsupport/BoardTest.h"

namespace {

TEST(SerialHarnessWithoutShim, WaitCommEventFailsOnAPty) {
    ASSERT_FALSE(kes::test::BoardComPort().empty()) << "KESTRUP_COM is not set: run under scripts/test.sh";
    HANDLE port = kes::test::OpenComPort(kes::test::BoardComPort());
    ASSERT_NE(port, INVALID_HANDLE_VALUE) << GetLastError();

    DWORD status = 0;
    EXPECT_FALSE(GetCommModemStatus(port, &status));

    ASSERT_TRUE(SetCommMask(port, EV_RXCHAR));
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD mask = 0, ignored = 0;
    bool failed = false;
    DWORD error = 0;
    if (!WaitCommEvent(port, &mask, &ov)) {
        error = GetLastError();
        if (error == ERROR_IO_PENDING) {
            // Nothing is sent, so a working wait would still be pending after two seconds.
            if (WaitForSingleObject(ov.hEvent, 2000) != WAIT_OBJECT_0) {
                SetCommMask(port, 0);
                if (WaitForSingleObject(ov.hEvent, 2000) != WAIT_OBJECT_0) CancelIoEx(port, &ov);
            } else {
                failed = !GetOverlappedResult(port, &ov, &ignored, FALSE);
                error = GetLastError();
            }
            GetOverlappedResult(port, &ov, &ignored, TRUE);
        } else {
            failed = true;
        }
    }
    EXPECT_TRUE(failed) << "WaitCommEvent worked without the shim; the harness may no longer need it";
    EXPECT_TRUE(error == ERROR_OPERATION_ABORTED || error == ERROR_NOT_SUPPORTED) << "error " << error;
    CloseHandle(ov.hEvent);
    CloseHandle(port);
}

}  // namespace

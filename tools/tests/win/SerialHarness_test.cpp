// The virtual null modem end to end under Wine, with the modem-status shim loaded: a Windows program opens the
// COM port, waits for received characters with WaitCommEvent and talks to the simulated board.
#include <gtest/gtest.h>

#include "testsupport/BoardTest.h"

namespace {

using kes::test::BoardControl;

class SerialHarness : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(kes::test::BoardComPort().empty()) << "KESTRUP_COM is not set: run under scripts/test.sh";
        ASSERT_TRUE(board_.Connect()) << "no board control on port " << kes::test::BoardControlPort();
        ASSERT_TRUE(board_.Reset());
        port_ = kes::test::OpenComPort(kes::test::BoardComPort());
        ASSERT_NE(port_, INVALID_HANDLE_VALUE)
            << "CreateFile " << kes::test::BoardComPort() << " failed, error " << GetLastError();
        waitEvent_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    void TearDown() override {
        if (port_ != INVALID_HANDLE_VALUE) {
            StopWaiting();
            CloseHandle(port_);
        }
        if (waitEvent_) CloseHandle(waitEvent_);
    }

    // Receives like the terminal's event thread: wait for EV_RXCHAR, ask how much is queued, read that much.
    std::string ReceiveUntil(const std::string& until, DWORD timeoutMs = 5000) {
        std::string got;
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        while (got.find(until) == std::string::npos && GetTickCount64() < end) {
            DWORD mask = 0, ignored = 0;
            ResetEvent(waitEvent_);
            waitOv_ = OVERLAPPED{};
            waitOv_.hEvent = waitEvent_;
            if (!WaitCommEvent(port_, &mask, &waitOv_)) {
                if (GetLastError() != ERROR_IO_PENDING) {
                    ADD_FAILURE() << "WaitCommEvent failed at once, error " << GetLastError();
                    break;
                }
                waiting_ = true;
                if (WaitForSingleObject(waitEvent_, static_cast<DWORD>(end - GetTickCount64() + 1)) != WAIT_OBJECT_0)
                    break;
                waiting_ = false;
                if (!GetOverlappedResult(port_, &waitOv_, &ignored, FALSE)) {
                    ADD_FAILURE() << "the wait for EV_RXCHAR failed, error " << GetLastError();
                    break;
                }
            }
            ++events_;
            EXPECT_TRUE(mask & EV_RXCHAR) << "mask " << mask;
            COMSTAT stat{};
            DWORD errors = 0;
            if (!ClearCommError(port_, &errors, &stat) || stat.cbInQue == 0) continue;
            got += Read(stat.cbInQue);
        }
        return got;
    }
    std::string Read(DWORD count) {
        std::string buf(count, '\0');
        OVERLAPPED ov{};
        ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        DWORD n = 0;
        if (!ReadFile(port_, buf.data(), count, &n, &ov) && GetLastError() == ERROR_IO_PENDING)
            GetOverlappedResult(port_, &ov, &n, TRUE);
        CloseHandle(ov.hEvent);
        buf.resize(n);
        return buf;
    }
    // A pending wait must be cancelled and collected before the handle goes.
    void StopWaiting() {
        if (!waiting_) return;
        SetCommMask(port_, 0);
        DWORD ignored = 0;
        if (WaitForSingleObject(waitEvent_, 2000) != WAIT_OBJECT_0) CancelIoEx(port_, &waitOv_);
        GetOverlappedResult(port_, &waitOv_, &ignored, TRUE);
        waiting_ = false;
    }

    BoardControl board_;
    HANDLE port_ = INVALID_HANDLE_VALUE;
    HANDLE waitEvent_ = nullptr;
    OVERLAPPED waitOv_{};
    bool waiting_ = false;
    int events_ = 0;
};

TEST_F(SerialHarness, LineIsEchoedAndAnsweredThroughRxCharEvents) {
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR));
    ASSERT_TRUE(kes::test::WritePort(port_, "1 2 + .\r"));
    EXPECT_EQ(ReceiveUntil(" ok\r\n"), "1 2 + . ok\r\n");
    EXPECT_GE(events_, 1);
    const auto lines = board_.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "1 2 + .");
    EXPECT_FALSE(lines[0].early);
    EXPECT_EQ(board_.Violations(), 0);
}

TEST_F(SerialHarness, ModemLinesShowACable) {
    DWORD status = 0;
    ASSERT_TRUE(GetCommModemStatus(port_, &status)) << GetLastError();
    EXPECT_EQ(status & (MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON), DWORD(MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON));
    // Modem events in the mask are accepted too.
    EXPECT_TRUE(SetCommMask(port_, EV_RXCHAR | EV_CTS | EV_DSR | EV_RLSD | EV_RING | EV_BREAK | EV_ERR));
}

TEST_F(SerialHarness, ScriptedRawBytesArriveUnchanged) {
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR));
    ASSERT_TRUE(board_.Ok("send 00ff1b5b33316d07"));
    ASSERT_TRUE(board_.Ok("pause 50"));
    ASSERT_TRUE(board_.Ok("text split\\r\\n"));
    EXPECT_EQ(ReceiveUntil("split\r\n"), std::string("\0\xff\x1b[31m\a", 8) + "split\r\n");
}

TEST_F(SerialHarness, PacingViolationsAreCounted) {
    ASSERT_TRUE(board_.Ok("delay 300"));
    ASSERT_TRUE(kes::test::WritePort(port_, "a\rb\r"));  // b does not wait for the answer to a
    EXPECT_EQ(kes::test::ReadPortUntil(port_, "b ok\r\n"), "a ok\r\nb ok\r\n");
    EXPECT_EQ(board_.Violations(), 1);
}

}  // namespace

// Run without the modem-status shim (KESTRUP_NO_PTY_SHIM=1), where Wine can neither read the modem lines of the
// pty nor wait on it: the port still opens, and its event thread waits between failed waits instead of spinning.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/win/Application.h"
#include "serial/CPort.h"
#include "testsupport/BoardTest.h"

using namespace kes;

namespace {

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& f) {
        return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

}  // namespace

TEST(ComPortWithoutShim, OpensAndItsEventThreadDoesNotSpin) {
    const std::string com = kes::test::BoardComPort();
    if (com.empty()) GTEST_SKIP() << "KESTRUP_COM is not set";
    TApplication app;
    TComPort port;
    port.SetPort(com);
    int lineEvents = 0;
    port.OnCTSChange = [&](TObject*, bool on) { lineEvents += on ? 100 : 1; };
    port.OpenPort();  // the modem lines cannot be read: they count as off
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(lineEvents, 1);
    try {
        port.ModemLines();
        ADD_FAILURE() << "the modem lines were readable: the shim is loaded";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.ErrorCode, 11);
    }

    // The processor time over a span of failing waits is what is judged: the span is fixed.
    const double cpuBefore = ProcessCpuMs();
    const ULONGLONG end = GetTickCount64() + 1500;
    while (GetTickCount64() < end) {
        app.ProcessMessages();
        Sleep(20);
    }
    const double cpu = ProcessCpuMs() - cpuBefore;
    std::printf("CPU while waits fail: %.0f ms in 1500 ms\n", cpu);
    EXPECT_LT(cpu, 500.0);

    const ULONGLONG closeStart = GetTickCount64();
    port.ClosePort();
    EXPECT_FALSE(port.Connected());
    EXPECT_LT(GetTickCount64() - closeStart, 2000u);
}

// The shim loaded into this process with dlopen: its ioctl() answers the modem-line requests a pty refuses.
#include <dlfcn.h>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include <gtest/gtest.h>

namespace {

using IoctlFn = int (*)(int, unsigned long, ...);

class PtyShim : public ::testing::Test {
protected:
    void SetUp() override {
        lib_ = dlopen(KESTRUP_PTY_SHIM_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(lib_, nullptr) << dlerror();
        shim_ = reinterpret_cast<IoctlFn>(dlsym(lib_, "ioctl"));
        ASSERT_NE(shim_, nullptr);
        ASSERT_EQ(openpty(&master_, &slave_, nullptr, nullptr, nullptr), 0);
    }
    void TearDown() override {
        close(master_);
        close(slave_);
        if (lib_) dlclose(lib_);
    }
    int Lines(int fd) {
        int bits = -1;
        EXPECT_EQ(shim_(fd, TIOCMGET, &bits), 0);
        return bits;
    }
    void* lib_ = nullptr;
    IoctlFn shim_ = nullptr;
    int master_ = -1, slave_ = -1;
};

TEST_F(PtyShim, PtyReportsACableWithModemLinesPresent) {
    int bits = 0;
    ASSERT_NE(ioctl(slave_, TIOCMGET, &bits), 0) << "the kernel now answers TIOCMGET on ptys";
    const int lines = Lines(slave_);
    EXPECT_EQ(lines & (TIOCM_CTS | TIOCM_DSR | TIOCM_CAR), TIOCM_CTS | TIOCM_DSR | TIOCM_CAR);
    EXPECT_EQ(lines & TIOCM_RNG, 0);
    EXPECT_EQ(lines & (TIOCM_DTR | TIOCM_RTS), TIOCM_DTR | TIOCM_RTS);
    EXPECT_EQ(Lines(master_) & TIOCM_CTS, TIOCM_CTS);
}

TEST_F(PtyShim, DtrAndRtsFollowSetBisAndBicPerDevice) {
    int dtr = TIOCM_DTR, rts = TIOCM_RTS, none = 0, cts = TIOCM_CTS;
    ASSERT_EQ(shim_(slave_, TIOCMBIC, &dtr), 0);
    EXPECT_EQ(Lines(slave_) & (TIOCM_DTR | TIOCM_RTS), TIOCM_RTS);
    // A second descriptor of the same pty sees the same lines.
    const int again = open(ttyname(slave_), O_RDWR | O_NOCTTY);
    ASSERT_GE(again, 0);
    EXPECT_EQ(Lines(again) & (TIOCM_DTR | TIOCM_RTS), TIOCM_RTS);
    close(again);
    ASSERT_EQ(shim_(slave_, TIOCMSET, &none), 0);
    EXPECT_EQ(Lines(slave_) & (TIOCM_DTR | TIOCM_RTS), 0);
    ASSERT_EQ(shim_(slave_, TIOCMBIS, &rts), 0);
    EXPECT_EQ(Lines(slave_) & (TIOCM_DTR | TIOCM_RTS), TIOCM_RTS);
    // Input lines cannot be switched off by the caller.
    ASSERT_EQ(shim_(slave_, TIOCMBIC, &cts), 0);
    EXPECT_EQ(Lines(slave_) & TIOCM_CTS, TIOCM_CTS);
}

TEST_F(PtyShim, EverythingElsePassesThrough) {
    winsize ws{};
    ws.ws_row = 33;
    ASSERT_EQ(shim_(slave_, TIOCSWINSZ, &ws), 0);
    winsize back{};
    ASSERT_EQ(shim_(slave_, TIOCGWINSZ, &back), 0);
    EXPECT_EQ(back.ws_row, 33);

    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int bits = 0;
    errno = 0;
    EXPECT_EQ(shim_(fds[0], TIOCMGET, &bits), -1);
    EXPECT_EQ(errno, ENOTTY);
    close(fds[0]);
    close(fds[1]);
    errno = 0;
    EXPECT_EQ(shim_(-1, TIOCMGET, &bits), -1);
    EXPECT_EQ(errno, EBADF);
}

}  // namespace

// The board's I/O loop end to end: a pty pair stands in for the serial line, a socket for a control client.
#include "tools/boardsim/Server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace boardsim {
namespace {

// Reads from fd until `until` appears in what was read (or `count` bytes came) or the time is up; returns
// everything read.
std::string ReadUntil(int fd, const std::string& until, std::size_t count = SIZE_MAX, int timeoutMs = 2000) {
    std::string got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got.find(until) == std::string::npos && got.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char buf[512];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) break;
        got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
}

// A control client connected to 127.0.0.1:port; -1 when it could not connect.
int ConnectTo(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
    close(fd);
    return -1;
}

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        int board = -1;
        ASSERT_EQ(openpty(&terminal_, &board, nullptr, nullptr, nullptr), 0);
        termios tio{};
        tcgetattr(terminal_, &tio);
        cfmakeraw(&tio);
        tcsetattr(terminal_, TCSANOW, &tio);
        char name[64];
        ASSERT_EQ(ttyname_r(board, name, sizeof name), 0);
        const int tty = Server::OpenTty(name);
        close(board);
        ASSERT_GE(tty, 0);
        const int listener = Server::Listen(0, port_);
        ASSERT_GE(listener, 0);
        server_ = std::make_unique<Server>(tty, listener);
        thread_ = std::thread([this] { server_->Run(stop_); });
    }
    void TearDown() override {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        server_.reset();
        if (control_ >= 0) close(control_);
        if (terminal_ >= 0) close(terminal_);
    }
    void Type(const std::string& text) { ASSERT_EQ(write(terminal_, text.data(), text.size()), (ssize_t)text.size()); }
    std::string Control(const std::string& command, const std::string& until = "\n") {
        if (control_ < 0 && (control_ = ConnectTo(port_)) < 0) return "no connection";
        const std::string line = command + "\n";
        if (send(control_, line.data(), line.size(), 0) != (ssize_t)line.size()) return "send failed";
        return ReadUntil(control_, until);
    }

    int terminal_ = -1;
    int control_ = -1;
    int port_ = 0;
    std::unique_ptr<Server> server_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST_F(ServerTest, AnswersALineAndRecordsIt) {
    Type("1 2 + .\r");
    EXPECT_EQ(ReadUntil(terminal_, "ok\r\n"), "1 2 + . ok\r\n");
    EXPECT_EQ(Control("lines", "+ .\n").substr(0, 5), "ok 1\n");
    EXPECT_EQ(Control("violations"), "ok 0\n");
}

TEST_F(ServerTest, ControlScriptsOutputAndModes) {
    EXPECT_EQ(Control("mode esp32"), "ok\n");
    Type("words\r\n");
    EXPECT_EQ(ReadUntil(terminal_, "ok\r\n"), "words ok\r\n");
    EXPECT_EQ(Control("send 00ff1b"), "ok\n");
    EXPECT_EQ(ReadUntil(terminal_, "\x1b"), std::string("\0\xff\x1b", 3));
}

TEST_F(ServerTest, SpeedLimitStretchesABurst) {
    Control("speed 2000");
    const auto start = std::chrono::steady_clock::now();
    Control("burst 400");
    EXPECT_EQ(ReadUntil(terminal_, "never", 400).size(), 400u);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GE(ms.count(), 180);  // 400 bytes at 2000/s: 200 ms less one slice
    EXPECT_LT(ms.count(), 1500);
}

TEST_F(ServerTest, PurgeDropsUnreadLineBytes) {
    Control("silent-after 0");
    Control("speed 100");  // the board reads 1 byte per 10 ms, so most of this waits unread
    Type(std::string(200, 'x'));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(Control("purge"), "ok\n");
    Control("reset");
    Type("\r");
    ReadUntil(terminal_, "ok\r\n");
    const std::string lines = Control("lines", "paced \n");  // one empty line, nothing of the x's
    EXPECT_EQ(lines.substr(0, 5), "ok 1\n");
}

TEST_F(ServerTest, SeveralClientsAndAClientThatLeavesEarly) {
    const int other = ConnectTo(port_);
    ASSERT_GE(other, 0);
    const std::string cmd = "delay 7\nbogus\n";
    ASSERT_EQ(send(other, cmd.data(), cmd.size(), 0), (ssize_t)cmd.size());
    shutdown(other, SHUT_WR);
    EXPECT_EQ(ReadUntil(other, "unknown command bogus\n"), "ok\nerror unknown command bogus\n");
    close(other);
    EXPECT_EQ(Control("ping"), "ok\n");
}

}  // namespace
TEST(ServerUnplug, TheLineGoesAwayAndANewOneComesBack) {
    int far = -1, near = -1;
    ASSERT_EQ(openpty(&far, &near, nullptr, nullptr, nullptr), 0);
    char name[64];
    ASSERT_EQ(ttyname_r(near, name, sizeof name), 0);
    const int tty = Server::OpenTty(name);
    close(near);
    int port = 0;
    const int listener = Server::Listen(0, port);
    ASSERT_GE(listener, 0);
    Server server(tty, listener);
    int newFar = -1, taken = 0;
    server.TakeLineAway = [&] { ++taken; };
    server.BringLineBack = [&] {
        int n = -1;
        if (openpty(&newFar, &n, nullptr, nullptr, nullptr) != 0) return -1;
        termios tio{};
        tcgetattr(newFar, &tio);
        cfmakeraw(&tio);
        tcsetattr(newFar, TCSANOW, &tio);
        char other[64];
        ttyname_r(n, other, sizeof other);
        const int fd = Server::OpenTty(other);
        close(n);
        return fd;
    };
    std::atomic<bool> stop{false};
    std::thread loop([&] { server.Run(stop); });
    const int client = ConnectTo(port);
    ASSERT_GE(client, 0);
    ASSERT_EQ(write(client, "unplug 300\n", 11), 11);
    EXPECT_EQ(ReadUntil(client, "\n"), "ok\n");
    // The old line is gone at once: its far end reads the hang-up.
    char byte;
    pollfd p{far, POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 2000), 1);
    EXPECT_LE(read(far, &byte, 1), 0);
    EXPECT_EQ(taken, 1);
    // After the pause a new line answers as the board did.
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    ASSERT_GE(newFar, 0);
    ASSERT_EQ(write(newFar, "1\r", 2), 2);
    EXPECT_NE(ReadUntil(newFar, " ok\r\n").find(" ok\r\n"), std::string::npos);
    stop = true;
    loop.join();
    close(client);
    close(far);
    close(newFar);
}

}  // namespace boardsim

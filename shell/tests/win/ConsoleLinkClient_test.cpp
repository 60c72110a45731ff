#include "shell/win/ConsoleLinkClient.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include "base/CompanionLink.h"
#include "base/win/UniqueSocket.h"
#include "base/win/Win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

using namespace kes;
using Clock = std::chrono::steady_clock;

namespace {

struct TWinsock {
    TWinsock() {
        WSADATA d;
        WSAStartup(MAKEWORD(2, 2), &d);
    }
    ~TWinsock() { WSACleanup(); }
};

long long MsSince(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

// Binds a listening socket on 127.0.0.1:port (port 0 picks one); none when the port is taken.
UniqueSocket Listen(uint16_t port, int backlog) {
    UniqueSocket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    inet_pton(AF_INET, link::kHost, &a.sin_addr);
    if (bind(s.Get(), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(s.Get(), backlog) != 0) s.Reset();
    return s;
}

uint16_t PortOf(const UniqueSocket& listener) {
    const SOCKET s = listener.Get();
    sockaddr_in a{};
    int len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    return ntohs(a.sin_port);
}

// A port on which nothing listens (bound once to find it, then released).
uint16_t FreePort() { return PortOf(Listen(0, 1)); }

// The companion's side for the test: accepts connections one after another and keeps what each carried.
class TTestServer {
public:
    explicit TTestServer(uint16_t port, bool reads = true, int waitSeconds = 20) : reads_(reads) {
        const auto deadline = Clock::now() + std::chrono::seconds(waitSeconds);
        while (!(listener_ = Listen(port, SOMAXCONN)) && Clock::now() < deadline)
            Sleep(100);  // another run may hold the port for a moment
        if (listener_) thread_ = std::thread([this] { Serve(); });
    }
    ~TTestServer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    bool Listening() const { return listener_.Valid(); }
    // The connections seen so far, each with every byte it carried, once `count` of them have ended.
    std::vector<std::string> WaitFor(size_t count) {
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (Clock::now() < deadline) {
            {
                std::lock_guard<std::mutex> hold(lock_);
                if (done_.size() >= count) return done_;
            }
            Sleep(10);
        }
        std::lock_guard<std::mutex> hold(lock_);
        return done_;
    }

private:
    void Serve() {
        while (!stop_) {
            fd_set ready;
            FD_ZERO(&ready);
            FD_SET(listener_.Get(), &ready);
            timeval tv{0, 50000};
            if (select(0, &ready, nullptr, nullptr, &tv) != 1) continue;
            UniqueSocket c(accept(listener_.Get(), nullptr, nullptr));
            if (!c) continue;
            if (!reads_) {
                held_.push_back(std::move(c));
                continue;
            }
            std::string got;
            char buf[65536];
            int n;
            while ((n = recv(c.Get(), buf, sizeof buf, 0)) > 0) got.append(buf, static_cast<size_t>(n));
            c.Reset();
            std::lock_guard<std::mutex> hold(lock_);
            done_.push_back(std::move(got));
        }
    }

    bool reads_;
    UniqueSocket listener_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex lock_;
    std::vector<std::string> done_;   // guarded by lock_
    std::vector<UniqueSocket> held_;  // server thread only, until the destructor
};

std::string EveryByteValue() {
    std::string s;
    for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
    return s;
}

std::string PseudoRandomBytes(size_t n) {
    std::mt19937 rng(6800);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng());
    return s;
}

}  // namespace

TEST(ConsoleLinkClient, EachBatchArrivesExactlyOverItsOwnConnection) {
    TWinsock ws;
    TConsoleLinkClient client;
    EXPECT_EQ(client.Host, "127.0.0.1");
    EXPECT_EQ(client.Port, 6800);
    // The companion's port; when a companion of another run holds it, a free port serves as well.
    auto server = std::make_unique<TTestServer>(6800, true, 30);
    if (!server->Listening()) {
        std::printf("127.0.0.1:6800 is taken by another program; testing on a free port\n");
        client.Port = FreePort();
        server = std::make_unique<TTestServer>(client.Port);
    }
    ASSERT_TRUE(server->Listening());
    const std::vector<std::string> batches{"words\r\n ok\r\n", EveryByteValue(), "\x1b[31mred\x07\x1b[",
                                           std::string(1, '\0'), PseudoRandomBytes(1 << 20)};
    for (const auto& b : batches) {
        auto error = client.SendBatch(b);
        ASSERT_FALSE(error) << error->Text();
    }
    const std::vector<std::string> got = server->WaitFor(batches.size());
    ASSERT_EQ(got.size(), batches.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_TRUE(got[i] == batches[i]) << "batch " << i;
}

TEST(ConsoleLinkClient, WithoutAListenerItFailsQuickly) {
    TWinsock ws;
    TConsoleLinkClient client;
    client.Port = FreePort();
    const auto start = Clock::now();
    auto error = client.SendBatch("lost\r\n");
    ASSERT_TRUE(error);
    EXPECT_STREQ(error->Api, "connect");
    EXPECT_LT(MsSince(start), 1000);

    if (Listen(link::kPort, 1)) {  // the companion's own port, when no other run uses it
        TConsoleLinkClient standard;
        const auto again = Clock::now();
        EXPECT_TRUE(standard.SendBatch("x"));
        EXPECT_LT(MsSince(again), 1000);
    }
}

// A listener whose queue of unaccepted connections is full doesn't answer a connect at all.
TEST(ConsoleLinkClient, ConnectGivesUpAfterItsTimeOut) {
    TWinsock ws;
    const UniqueSocket listener = Listen(0, 1);
    ASSERT_TRUE(listener);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(PortOf(listener));
    inet_pton(AF_INET, link::kHost, &a.sin_addr);
    std::vector<UniqueSocket> fillers;
    for (int i = 0; i < 8; ++i) {
        UniqueSocket f(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        u_long nb = 1;
        ioctlsocket(f.Get(), FIONBIO, &nb);
        connect(f.Get(), reinterpret_cast<sockaddr*>(&a), sizeof a);
        fillers.push_back(std::move(f));
    }
    Sleep(200);  // the fillers fill the backlog in the stack's own time
    TConsoleLinkClient client;
    client.Port = PortOf(listener);
    const auto start = Clock::now();
    auto error = client.SendBatch("x");
    const long long ms = MsSince(start);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Code, WSAETIMEDOUT) << error->Text();
    EXPECT_GE(ms, 250);
    EXPECT_LT(ms, 1500);
}

TEST(ConsoleLinkClient, AReceiverThatStopsReadingCannotFreezeTheSender) {
    TWinsock ws;
    const uint16_t port = FreePort();
    TTestServer server(port, false);
    ASSERT_TRUE(server.Listening());
    TConsoleLinkClient client;
    client.Port = port;
    client.SendStallTimeoutMs = 500;
    const auto start = Clock::now();
    auto error = client.SendBatch(std::string(64u << 20, 'x'));
    ASSERT_TRUE(error);
    EXPECT_STREQ(error->Api, "send");
    EXPECT_EQ(error->Code, WSAETIMEDOUT);
    EXPECT_LT(MsSince(start), 10000);
}

TEST(ConsoleLinkClient, FindsTheCompanionWindowByItsTitle) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KestrupLinkTestConsole";
    RegisterClassA(&wc);
    EXPECT_FALSE(TConsoleLinkClient::CompanionWindowExists());
    HWND w = CreateWindowA(wc.lpszClassName, link::kCompanionTitle, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(w);
    EXPECT_TRUE(TConsoleLinkClient::CompanionWindowExists());
    DestroyWindow(w);
    EXPECT_FALSE(TConsoleLinkClient::CompanionWindowExists());
}

TEST(ConsoleLinkClient, BatchCheckFindsTheCompanionsWindowAtOnceAndAnyOtherWithItsTitleSoon) {
    auto titled = [](const char* className) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className;
        RegisterClassA(&wc);
        return CreateWindowA(className, link::kCompanionTitle, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                             wc.hInstance, nullptr);
    };
    TConsoleLinkClient client;
    client.TitleSearchIntervalMs = 300;
    // The companion's own window and a console window: found by the very next batch.
    for (const char* className : {link::kCompanionClass, "ConsoleWindowClass"}) {
        EXPECT_FALSE(client.CompanionWindowSeen());
        HWND w = titled(className);
        ASSERT_TRUE(w);
        EXPECT_TRUE(client.CompanionWindowSeen()) << className;
        DestroyWindow(w);
        EXPECT_FALSE(client.CompanionWindowSeen()) << className;
    }
    // Any other window with the title: found once the search over all windows comes round again.
    HWND other = titled("KestrupLinkTestOther");
    ASSERT_TRUE(other);
    const auto start = Clock::now();
    while (!client.CompanionWindowSeen() && Clock::now() - start < std::chrono::seconds(5)) Sleep(10);
    EXPECT_TRUE(client.CompanionWindowSeen());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    DestroyWindow(other);
    EXPECT_FALSE(client.CompanionWindowSeen());
}

// Kestrup.exe forwarding the board's text to the console companion: a stand-in companion (a window titled
// "KestrupTirvane" and a TCP server on 127.0.0.1:6800 in this program) receives every batch unchanged over its own
// connection; with the window but no server, each batch shows one warning box and the terminal goes on.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "KestrupDriver.h"
#include "base/CompanionLink.h"
#include "KestrupOnBoard.h"
#include "base/win/UniqueSocket.h"
#include "testsupport/BoardTest.h"

using namespace kes::test;

namespace {

// A top-level window of the companion's class with its title (hidden: only these are looked for).
class CompanionWindow {
public:
    CompanionWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kes::link::kCompanionClass;
        RegisterClassA(&wc);
        hwnd_ = CreateWindowA(kes::link::kCompanionClass, kes::link::kCompanionTitle, WS_OVERLAPPED, 0, 0, 100, 100,
                              nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~CompanionWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    bool Exists() const { return hwnd_ != nullptr; }

private:
    HWND hwnd_ = nullptr;
};

// Holds 127.0.0.1:6800 for the test. Listening, it accepts connections and keeps what each one carried until it
// closed; only bound, it refuses every connection (and no other program can listen there meanwhile).
class LinkServer {
public:
    bool Bind() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        listener_.Reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(kes::link::kPort);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return bind(listener_.Get(), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    bool Start() {
        if (!Bind() || listen(listener_.Get(), 8) != 0) return false;
        thread_ = std::thread([this] { Serve(); });
        return true;
    }
    ~LinkServer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        listener_.Reset();  // before Winsock ends
        WSACleanup();
    }
    std::vector<std::string> Connections() {
        std::lock_guard<std::mutex> hold(lock_);
        return done_;
    }
    std::string All() {
        std::string all;
        for (const std::string& c : Connections()) all += c;
        return all;
    }

private:
    void Serve() {
        while (!stop_) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(listener_.Get(), &set);
            timeval tv{0, 50000};
            if (select(0, &set, nullptr, nullptr, &tv) <= 0) continue;
            kes::UniqueSocket s(accept(listener_.Get(), nullptr, nullptr));
            if (!s) continue;
            std::string bytes;
            char buf[4096];
            for (;;) {
                const int n = recv(s.Get(), buf, sizeof buf, 0);
                if (n <= 0) break;
                bytes.append(buf, static_cast<size_t>(n));
            }
            s.Reset();
            std::lock_guard<std::mutex> hold(lock_);
            done_.push_back(bytes);
        }
    }

    kes::UniqueSocket listener_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex lock_;
    std::vector<std::string> done_;
};

class KestrupForwarding : public KestrupOnBoard {
protected:
    void Start() {
        k_ = std::make_unique<KestrupProcess>();
        std::string error;
        ASSERT_TRUE(k_->Start(error)) << error;
    }
    bool MemoShows(const std::string& text, DWORD ms = 5000) {
        return WaitUntil([&] { return k_->MemoText().find(text) != std::string::npos; }, ms);
    }

    std::unique_ptr<KestrupProcess> k_;
};

}  // namespace

TEST_F(KestrupForwarding, EveryBatchReachesTheCompanionUnchangedOverItsOwnConnection) {
    for (const char* v : {"Arduino", "Scamp2", "Scamp2andTirvane", "ESP32forth"})
        WriteSetting("MCUtype", v, std::string(v) == "Scamp2andTirvane" ? "1" : "0");
    LinkServer server;
    if (!server.Start()) GTEST_SKIP() << "127.0.0.1:6800 is taken by another program";
    CompanionWindow companion;
    ASSERT_TRUE(companion.Exists());
    Start();
    ASSERT_TRUE(k_->Menu("Connect1"));
    const std::string connectAnswers = " ok\r\n ok\r\n";
    ASSERT_TRUE(WaitUntil([&] { return server.All() == connectAnswers; })) << server.All();

    ASSERT_TRUE(board_.Ok("text \\e[31mred\\e[0m\\a\\r\\n"));
    ASSERT_TRUE(board_.Ok("pause 400"));
    ASSERT_TRUE(board_.Ok("text two\\r\\n"));
    const std::string sent = connectAnswers + "\x1b[31mred\x1b[0m\a\r\ntwo\r\n";
    ASSERT_TRUE(WaitUntil([&] { return server.All() == sent; })) << server.All();
    // The pause splits the two texts into batches of their own; no connection is empty.
    const auto connections = server.Connections();
    EXPECT_GE(connections.size(), 3u);
    for (const std::string& c : connections) EXPECT_FALSE(c.empty());
    EXPECT_EQ(connections.back(), "two\r\n");
    // The terminal itself shows the filtered text.
    ASSERT_TRUE(MemoShows("red\r\ntwo\r\n"));
    Wait(300);  // that no box comes: no event to wait for
    EXPECT_EQ(k_->FindBox("Warning"), nullptr);
}

TEST_F(KestrupForwarding, WithoutAServerEachBatchWarnsOnceAndTheTerminalGoesOn) {
    LinkServer refusing;
    if (!refusing.Bind()) GTEST_SKIP() << "127.0.0.1:6800 is taken by another program";
    CompanionWindow companion;
    ASSERT_TRUE(companion.Exists());
    Start();
    k_->Menu("Connect1");
    int boxes = 0;
    for (const char* text : {"", "text next\\r\\n"}) {
        if (*text) {
            ASSERT_TRUE(board_.Ok(text));
        }
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = k_->FindBox("Warning")) != nullptr; }));
        EXPECT_EQ(k_->BoxText(box), "Problem connecting TCP to ANSI Console!");
        ++boxes;
        k_->Answer(box, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return k_->FindBox("Warning") == nullptr; }));
        // While the box was open nothing else was drained; what came meanwhile is one more batch at most.
        if (WaitUntil([&] { return k_->FindBox("Warning") != nullptr; }, 500)) {
            k_->Answer(k_->FindBox("Warning"), IDOK);
            ASSERT_TRUE(WaitUntil([&] { return k_->FindBox("Warning") == nullptr; }));
        }
    }
    EXPECT_EQ(boxes, 2);
    ASSERT_TRUE(MemoShows("next\r\n"));
    Wait(500);  // that no box comes: no event to wait for
    EXPECT_EQ(k_->FindBox("Warning"), nullptr) << "no batch, no box";
}

#include "console/win/TcpServer.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "console/ConnectionOrder.h"
#include "console/win/Win.h"
#include "base/win/UniqueSocket.h"

namespace kes::tirvane {

namespace {
constexpr int kListenQueue = 15;
constexpr int kReceiveSize = 32768;
constexpr auto kStopWait = std::chrono::milliseconds(5000);

std::string SocketErrorText(int code) { return "Socket Error # " + std::to_string(code); }
}  // namespace

// State shared by the server object and its threads; each thread holds it until it ends.
struct TcpServer::Shared {
    std::shared_ptr<RecvQueue> queue;
    ConnectionOrder order;
    UniqueHandle stop;  // manual-reset; set once by Stop
    UniqueSocket listener;

    std::mutex lock;
    std::condition_variable ended;
    int running = 0;  // threads not yet ended; guarded by lock

    void ThreadStarted() {
        std::lock_guard<std::mutex> guard(lock);
        ++running;
    }
    void ThreadEnded() {
        {
            std::lock_guard<std::mutex> guard(lock);
            --running;
        }
        ended.notify_all();
    }
};

namespace {

// How often a waiting thread looks at the stop signal.
constexpr long kPollMs = 250;

bool Stopping(const TcpServer::Shared& s) { return WaitForSingleObject(s.stop.Get(), 0) == WAIT_OBJECT_0; }

// Waits until `sock` can be read (or accepted from); false once the server stops. A level-triggered
// select: no readiness is lost between two waits.
bool WaitReadable(const TcpServer::Shared& s, SOCKET sock) {
    while (!Stopping(s)) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(sock, &readable);
        timeval limit{0, kPollMs * 1000};
        const int n = select(0, &readable, nullptr, nullptr, &limit);
        if (n > 0) return true;
        if (n == SOCKET_ERROR) Sleep(kPollMs);
    }
    return false;
}

}  // namespace

// The handler the worker of one connection runs again and again while the connection is open: hands
// what has arrived (up to 32768 bytes) to the main loop. False once the peer closed or the link failed.
struct TCPServerEvents {
    static bool ServerExecute(TcpServer::Shared& s, SOCKET c, std::uint64_t id, std::vector<char>& buf) {
        const int n = recv(c, buf.data(), static_cast<int>(buf.size()), 0);
        if (n <= 0) return false;
        s.order.WaitTurn(id);
        return s.queue->Push(std::string(buf.data(), n));
    }
};

namespace {

void ServeConnection(std::shared_ptr<TcpServer::Shared> s, UniqueSocket c, std::uint64_t id) {
    try {
        std::vector<char> buf(kReceiveSize);
        while (WaitReadable(*s, c.Get()) && TCPServerEvents::ServerExecute(*s, c.Get(), id, buf)) {
        }
    } catch (const std::exception&) {
        // Out of memory: this connection ends, the server goes on.
    }
    c.Reset();
    s->order.Close(id);
    s->ThreadEnded();
}

void AcceptConnections(std::shared_ptr<TcpServer::Shared> s) {
    while (WaitReadable(*s, s->listener.Get())) {
        UniqueSocket c(accept(s->listener.Get(), nullptr, nullptr));
        if (!c) continue;
        const std::uint64_t id = s->order.Open();
        s->ThreadStarted();
        try {
            std::thread(ServeConnection, s, std::move(c), id).detach();
        } catch (const std::exception&) {  // no thread for it: its socket went with the failed start
            s->order.Close(id);
            s->ThreadEnded();
        }
    }
    s->ThreadEnded();
}

}  // namespace

WinsockSession::WinsockSession() {
    WSADATA data;
    const int code = WSAStartup(MAKEWORD(2, 2), &data);
    if (code != 0) throw ESocketError(SocketErrorText(code));
}

WinsockSession::~WinsockSession() { WSACleanup(); }

TcpServer::TcpServer(std::shared_ptr<RecvQueue> queue) : shared_(std::make_shared<Shared>()) {
    shared_->queue = std::move(queue);
}

TcpServer::~TcpServer() {
    try {
        Stop();
    } catch (const std::exception&) {
    }
}

void TcpServer::Start(const std::string& address, unsigned short port) {
    if (active_) return;
    auto s = std::make_shared<Shared>();
    s->queue = shared_->queue;
    s->stop = NewEvent(true, false);
    if (!s->stop) throw ESocketError(SocketErrorText(static_cast<int>(GetLastError())));

    s->listener.Reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!s->listener) throw ESocketError(SocketErrorText(WSAGetLastError()));
    BOOL exclusive = TRUE;
    if (setsockopt(s->listener.Get(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
                   sizeof exclusive) != 0)
        throw ESocketError(SocketErrorText(WSAGetLastError()));

    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &at.sin_addr) != 1) throw ESocketError("Invalid address " + address);
    if (bind(s->listener.Get(), reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0) {
        const int code = WSAGetLastError();
        if (code == WSAEADDRINUSE || code == WSAEACCES) throw ECouldNotBindSocket();
        throw ESocketError(SocketErrorText(code));
    }
    if (listen(s->listener.Get(), kListenQueue) != 0) throw ESocketError(SocketErrorText(WSAGetLastError()));

    s->ThreadStarted();
    try {
        std::thread(AcceptConnections, s).detach();
    } catch (const std::exception&) {
        throw ESocketError("Could not start the accepting thread");
    }
    shared_ = std::move(s);
    active_ = true;
}

void TcpServer::Stop() {
    if (!active_) return;
    active_ = false;
    Shared& s = *shared_;
    SetEvent(s.stop.Get());
    s.queue->Close();
    s.order.Shutdown();
    std::unique_lock<std::mutex> guard(s.lock);
    if (!s.ended.wait_for(guard, kStopWait, [&] { return s.running == 0; }))
        throw ESocketError("Terminate Thread Timeout");
}

}  // namespace kes::tirvane

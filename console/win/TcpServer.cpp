#include "console/win/TcpServer.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "base/win/UniqueSocket.h"
#include "console/ConnectionTable.h"
#include "console/win/Win.h"

namespace kes::tirvane {

namespace {
constexpr int kListenQueue = 15;
constexpr int kReceiveSize = 32768;
constexpr auto kStopWait = std::chrono::milliseconds(5000);
// Connections served at once (select() watches at most 64 sockets), and how long one may stay silent.
constexpr std::size_t kMaxConnections = 32;
constexpr auto kIdleLimit = std::chrono::milliseconds(5000);
// Receives of one connection in one round (32 of 32768 bytes: 1 MiB) before the others have their turn.
constexpr int kReadsPerRound = 32;
// How often the serving thread looks at the stop signal.
constexpr auto kPoll = std::chrono::milliseconds(250);

std::string SocketErrorText(int code) { return "Socket Error # " + std::to_string(code); }
}  // namespace

// State shared by the server object and its thread; the thread holds it until it ends.
struct TcpServer::Shared {
    std::shared_ptr<RecvQueue> queue;
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

bool Stopping(const TcpServer::Shared& s) { return WaitForSingleObject(s.stop.Get(), 0) == WAIT_OBJECT_0; }

enum class Received { Some, Nothing, Closed };

}  // namespace

// The handler of one connection: hands what has arrived (up to 32768 bytes at a time) to the main loop.
// Nothing when no byte waits; Closed once the peer closed or the link failed.
struct TCPServerEvents {
    static Received ServerExecute(TcpServer::Shared& s, SOCKET c, std::vector<char>& buf) {
        const int n = recv(c, buf.data(), static_cast<int>(buf.size()), 0);
        if (n > 0)
            return s.queue->Push(std::string(buf.data(), static_cast<std::size_t>(n))) ? Received::Some
                                                                                       : Received::Closed;
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return Received::Nothing;
        return Received::Closed;
    }
};

namespace {

// One thread serves the listener and every connection. Each round reads the connections in accept order,
// each until nothing more waits (or its fair share is read), so a batch is whole before the next connection's
// text (the terminal opens the next connection only after the last batch was sent); a connection that stays
// silent costs the others nothing and is closed after the idle limit.
void Serve(std::shared_ptr<TcpServer::Shared> s) {
    using Clock = ConnectionTable::Clock;
    ConnectionTable table(kMaxConnections, kIdleLimit);
    std::unordered_map<ConnectionTable::Id, UniqueSocket> sockets;  // the connections in the table
    AcceptBackoff backoff;
    Clock::time_point acceptAfter{};
    try {
        std::vector<char> buf(kReceiveSize);
        while (!Stopping(*s)) {
            fd_set readable;
            FD_ZERO(&readable);
            const bool accepting = Clock::now() >= acceptAfter;
            if (accepting) FD_SET(s->listener.Get(), &readable);
            for (ConnectionTable::Id id : table.InOrder()) FD_SET(static_cast<SOCKET>(id), &readable);
            auto wait = table.UntilNextExpiry(Clock::now(), kPoll);
            if (!accepting)
                wait =
                    std::min(wait, std::chrono::duration_cast<std::chrono::milliseconds>(acceptAfter - Clock::now()));
            wait = std::max(wait, std::chrono::milliseconds(1));
            timeval limit{0, static_cast<long>(wait.count() * 1000)};
            const int ready = readable.fd_count ? select(0, &readable, nullptr, nullptr, &limit) : 0;
            if (ready == 0 && !readable.fd_count) Sleep(static_cast<DWORD>(wait.count()));
            if (ready == SOCKET_ERROR) {
                Sleep(static_cast<DWORD>(kPoll.count()));
                continue;
            }
            for (ConnectionTable::Id id : table.InOrder()) {
                const auto c = static_cast<SOCKET>(id);
                if (ready <= 0 || !FD_ISSET(c, &readable)) continue;
                // Up to a fair share a round: a client that never stops sending holds up no other.
                Received r = Received::Nothing;
                for (int reads = 0; reads < kReadsPerRound; ++reads) {
                    if ((r = TCPServerEvents::ServerExecute(*s, c, buf)) != Received::Some) break;
                    table.Touch(id, Clock::now());
                }
                if (r == Received::Closed) {
                    table.Remove(id);
                    sockets.erase(id);
                }
            }
            for (ConnectionTable::Id id : table.TakeExpired(Clock::now())) sockets.erase(id);
            if (ready <= 0 || !accepting || !FD_ISSET(s->listener.Get(), &readable)) continue;
            UniqueSocket c(accept(s->listener.Get(), nullptr, nullptr));
            if (!c) {
                acceptAfter = Clock::now() + backoff.Failed();
                continue;
            }
            backoff.Succeeded();
            u_long nonBlocking = 1;
            ioctlsocket(c.Get(), FIONBIO, &nonBlocking);
            const auto id = static_cast<ConnectionTable::Id>(c.Get());
            sockets.emplace(id, std::move(c));
            if (auto dropped = table.Add(id, Clock::now())) sockets.erase(*dropped);
        }
    } catch (const std::exception&) {
        // Out of memory: the server stops serving; the program goes on.
    }
    sockets.clear();
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
        std::thread(Serve, s).detach();
    } catch (const std::exception&) {
        throw ESocketError("Could not start the serving thread");
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
    std::unique_lock<std::mutex> guard(s.lock);
    if (!s.ended.wait_for(guard, kStopWait, [&] { return s.running == 0; }))
        throw ESocketError("Terminate Thread Timeout");
}

}  // namespace kes::tirvane

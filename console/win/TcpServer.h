#pragma once
// The loopback TCP server of the console link: one listening address with exclusive use of its port and
// one thread that accepts and reads every connection (at most 32 at once, each closed after 5 s without
// data); every received batch goes to the RecvQueue, batch after batch in the order of the connections.
#include <memory>
#include <string>

#include "base/Exception.h"
#include "console/RecvQueue.h"

namespace kes::tirvane {

class ESocketError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "ESocketError"; }
};

// The port is taken (for instance by a companion already running).
class ECouldNotBindSocket : public ESocketError {
public:
    ECouldNotBindSocket() : ESocketError("Could not bind socket. Address and port are already in use.") {}
    const char* ClassName() const override { return "ECouldNotBindSocket"; }
};

// Winsock 2.2 for the life of the program.
class WinsockSession {
public:
    WinsockSession();
    ~WinsockSession();
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
};

class TcpServer {
public:
    explicit TcpServer(std::shared_ptr<RecvQueue> queue);
    ~TcpServer();  // stops quietly
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    // Binds and listens (queue of 15), then starts accepting. Raises ECouldNotBindSocket or ESocketError.
    void Start(const std::string& address, unsigned short port);
    // Stops accepting, closes every connection and waits up to 5 s for the threads; raises
    // ESocketError("Terminate Thread Timeout") when one does not end in time.
    void Stop();
    bool Active() const { return active_; }

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
    bool active_ = false;
};

}  // namespace kes::tirvane

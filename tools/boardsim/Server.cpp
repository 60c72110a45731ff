#include "tools/boardsim/Server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "tools/boardsim/Control.h"

namespace boardsim {

namespace {

constexpr std::size_t kReadSize = 4096;
constexpr std::size_t kMaxCommand = 64 * 1024;  // a longer control line closes the client

}  // namespace

Server::Server(int tty, int listener) : tty_(tty), listener_(listener), start_(std::chrono::steady_clock::now()) {
    board_.Reset(0);
    // A fast line hands over a piece every few microseconds: the waits may not be stretched by the default 50 us
    // that the kernel may add to them.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}

Server::~Server() {
    for (Client& c : clients_) close(c.fd);
    if (listener_ >= 0) close(listener_);
    if (tty_ >= 0) close(tty_);
}

int Server::OpenTty(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    termios tio{};
    if (tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

int Server::Listen(int port, int& boundPort) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t len = sizeof addr;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 16) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        const int saved = errno;
        close(fd);
        errno = saved;
        return -1;
    }
    boundPort = ntohs(addr.sin_port);
    return fd;
}

// The system's raw monotonic clock, which Wine's performance counter reads too: a trace a Windows program records
// lines up with the board's timeline.
std::int64_t Server::Micros() const {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC_RAW, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

Instant Server::Now() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
}

void Server::Run(const std::atomic<bool>& stop) {
    while (!stop.load() && Step(100)) {
    }
}

bool Server::Step(Millis maxWaitMs) {
    Instant now = Now();
    board_.SetMicros(Micros());
    if (tty_ < 0 && replugAt_ >= 0 && now >= replugAt_) {
        replugAt_ = -1;
        tty_ = BringLineBack();
        waitWritable_ = false;
        if (tty_ < 0) return false;
    }
    WriteLine(now);

    // Wake for output falling due and for the input limit running out; a full line buffer waits for POLLOUT.
    const bool wantInput = board_.InputAllowance(now) > 0;
    const Instant wake = board_.NextWakeup(now, !waitWritable_, !wantInput);
    Instant timeout = wake < 0 ? static_cast<Instant>(maxWaitMs) : std::min(wake, static_cast<Instant>(maxWaitMs));
    if (replugAt_ >= 0) timeout = std::min(timeout, std::max<Instant>(replugAt_ - now, 0));

    std::vector<pollfd> fds;
    short ttyEvents = (wantInput ? POLLIN : 0) | (waitWritable_ ? POLLOUT : 0);
    fds.push_back({tty_, ttyEvents, 0});
    fds.push_back({listener_, POLLIN, 0});
    for (const Client& c : clients_)
        fds.push_back({c.fd, static_cast<short>(POLLIN | (c.out.empty() ? 0 : POLLOUT)), 0});
    const auto ns = static_cast<long long>(timeout * 1e6);
    const timespec wait{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    if (ppoll(fds.data(), fds.size(), &wait, nullptr) < 0 && errno != EINTR) return false;

    now = Now();
    board_.SetMicros(Micros());
    bool lineUp = true;
    if (fds[0].revents & POLLOUT) waitWritable_ = false;
    if (tty_ >= 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) lineUp = ReadLine(now);
    std::vector<Client> kept;
    for (std::size_t i = 0; i < clients_.size(); ++i) {
        if (fds[i + 2].revents == 0 || ServeClient(clients_[i], now))
            kept.push_back(std::move(clients_[i]));
        else
            close(clients_[i].fd);
    }
    clients_ = std::move(kept);
    if (fds[1].revents & POLLIN) Accept();
    WriteLine(now);
    return lineUp;
}

void Server::WriteLine(Instant now) {
    while (!waitWritable_ && tty_ >= 0) {
        const std::string_view bytes = board_.Pending(now);
        if (bytes.empty()) return;
        const ssize_t n = write(tty_, bytes.data(), bytes.size());
        if (n > 0) {
            board_.SetMicros(Micros());
            board_.Consumed(static_cast<std::size_t>(n), now);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            waitWritable_ = true;  // buffer full (EAGAIN); a lost line shows on the read side
        }
    }
}

bool Server::ReadLine(Instant now) {
    char buf[kReadSize];
    const std::size_t want = std::min(board_.InputAllowance(now), sizeof buf);
    if (want == 0) return true;
    const ssize_t n = read(tty_, buf, want);
    if (n > 0) {
        board_.SetMicros(Micros());
        board_.Receive(std::string_view(buf, static_cast<std::size_t>(n)), now);
        return true;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    return false;  // 0 or EIO: the other end of the line is closed
}

void Server::Accept() {
    for (;;) {
        const int fd = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;
        clients_.push_back({fd, {}, {}});
    }
}

void Server::Unplug(Instant now, Millis ms) {
    if (tty_ >= 0) close(tty_);
    tty_ = -1;
    TakeLineAway();
    replugAt_ = now + ms;
}

void Server::FlushLine() {
    if (tty_ < 0) return;
    tcflush(tty_, TCIFLUSH);
    char buf[kReadSize];
    while (read(tty_, buf, sizeof buf) > 0) {
    }
}

// Reads and runs the client's commands and writes its answers; false when the client is done.
bool Server::ServeClient(Client& c, Instant now) {
    char buf[kReadSize];
    bool connected = true;
    while (connected) {
        const ssize_t n = read(c.fd, buf, sizeof buf);
        if (n > 0)
            c.in.append(buf, static_cast<std::size_t>(n));
        else if (n < 0 && errno == EINTR)
            continue;
        else if (n < 0 && errno == EAGAIN)
            break;
        else
            connected = false;  // the client closed; its last commands are still answered
    }
    std::size_t end;
    while ((end = c.in.find('\n')) != std::string::npos) {
        ControlAnswer answer = RunControl(board_, std::string_view(c.in).substr(0, end), now);
        if (answer.flushLine) FlushLine();
        if (answer.unplugMs >= 0) {
            if (TakeLineAway && BringLineBack)
                Unplug(now, answer.unplugMs);
            else
                answer.text = "error no null modem to unplug (start the board with --nullmodem)\n";
        }
        c.out += answer.text;
        c.in.erase(0, end + 1);
    }
    if (c.in.size() > kMaxCommand) return false;
    while (!c.out.empty()) {
        const ssize_t n = send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL);
        if (n > 0)
            c.out.erase(0, static_cast<std::size_t>(n));
        else if (n < 0 && errno == EINTR)
            continue;
        else if (n < 0 && errno == EAGAIN)
            break;
        else
            return false;
    }
    return connected;
}

}  // namespace boardsim

// kestrup-boardsim: a simulated Forth board on one end of a serial line, scripted over TCP.
//   kestrup-boardsim --tty PATH | --nullmodem DIR  [--port N] [--port-file FILE] [--mode cr|esp32] [--delay MS]
// Opens PATH (the board's end of a pty pair), or makes the line itself: a socat pty pair whose ends are linked
// as DIR/com (the far end) and DIR/board (its own), which the control command "unplug" can take away. Listens
// for control clients on 127.0.0.1:N (0 = a free port), writes the port number to FILE once it listens, and
// runs until SIGTERM or SIGINT. See README.md.
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "tools/boardsim/Control.h"
#include "tools/boardsim/Server.h"

namespace {

std::atomic<bool> stopRequested{false};

void OnSignal(int) { stopRequested = true; }

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrup-boardsim --tty PATH | --nullmodem DIR [--port N] [--port-file FILE] "
                 "[--mode cr|esp32] [--delay MS]\n");
    return 2;
}

// The serial line as a socat pty pair run by the board, so that the board can take it away and make it anew.
class NullModem {
public:
    explicit NullModem(std::string dir) : dir_(std::move(dir)) {}
    ~NullModem() { TakeAway(); }
    NullModem(const NullModem&) = delete;
    NullModem& operator=(const NullModem&) = delete;

    // Starts socat and opens the board's end once both links exist; -1 on failure.
    int Bring() {
        const std::string com = "pty,raw,echo=0,link=" + dir_ + "/com",
                          board = "pty,raw,echo=0,link=" + dir_ + "/board";
        pid_ = fork();
        if (pid_ == 0) {
            const int none = open("/dev/null", O_RDWR);
            dup2(none, STDIN_FILENO);
            execlp("socat", "socat", com.c_str(), board.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid_ < 0) return -1;
        struct stat st {};
        for (int i = 0; i < 100; ++i) {
            if (stat((dir_ + "/com").c_str(), &st) == 0 && stat((dir_ + "/board").c_str(), &st) == 0)
                return boardsim::Server::OpenTty(dir_ + "/board");
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }
    // Ends socat: the far end's port vanishes (socat removes both links).
    void TakeAway() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    std::string dir_;
    pid_t pid_ = -1;
};

}  // namespace

int main(int argc, char** argv) {
    std::string tty, nullModemDir, portFile, mode = "cr";
    long port = 0, delay = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        const char* val = argv[i + 1];
        if (opt == "--tty")
            tty = val;
        else if (opt == "--nullmodem")
            nullModemDir = val;
        else if (opt == "--port")
            port = std::strtol(val, nullptr, 10);
        else if (opt == "--port-file")
            portFile = val;
        else if (opt == "--mode")
            mode = val;
        else if (opt == "--delay")
            delay = std::strtol(val, nullptr, 10);
        else
            return Usage();
    }
    if (tty.empty() == nullModemDir.empty() || argc % 2 == 0 || port < 0 || port > 65535) return Usage();

    std::signal(SIGPIPE, SIG_IGN);
    std::unique_ptr<NullModem> nullModem;
    if (!nullModemDir.empty()) {
        nullModem = std::make_unique<NullModem>(nullModemDir);
        tty = nullModemDir + "/board";
    }
    const int ttyFd = nullModem ? nullModem->Bring() : boardsim::Server::OpenTty(tty);
    if (ttyFd < 0) {
        std::fprintf(stderr, "kestrup-boardsim: cannot open %s: %s\n", tty.c_str(), std::strerror(errno));
        return 1;
    }
    int bound = 0;
    const int listener = boardsim::Server::Listen(static_cast<int>(port), bound);
    if (listener < 0) {
        std::fprintf(stderr, "kestrup-boardsim: cannot listen on port %ld: %s\n", port, std::strerror(errno));
        return 1;
    }
    boardsim::Server server(ttyFd, listener);
    if (nullModem) {
        server.TakeLineAway = [&] { nullModem->TakeAway(); };
        server.BringLineBack = [&] { return nullModem->Bring(); };
    }
    const auto setup = boardsim::RunControl(server.GetBoard(), "mode " + mode, 0);
    boardsim::RunControl(server.GetBoard(), "delay " + std::to_string(delay), 0);
    if (setup.text != "ok\n") return Usage();

    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    if (!portFile.empty()) {
        // Written under another name first, so that a reader never sees half a number.
        const std::string temp = portFile + ".tmp";
        std::ofstream(temp) << bound << "\n";
        if (std::rename(temp.c_str(), portFile.c_str()) != 0) return 1;
    }
    std::fprintf(stderr, "kestrup-boardsim: %s, control port %d\n", tty.c_str(), bound);
    server.Run(stopRequested);
    return 0;
}

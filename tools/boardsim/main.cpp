// kestrup-boardsim: a simulated Forth board on one end of a serial line, scripted over TCP.
//   kestrup-boardsim --tty PATH [--port N] [--port-file FILE] [--mode cr|esp32] [--delay MS]
// Opens PATH (the board's end of a pty pair), listens for control clients on 127.0.0.1:N (0 = a free port),
// writes the port number to FILE once it listens, and runs until SIGTERM or SIGINT. See README.md.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "tools/boardsim/Control.h"
#include "tools/boardsim/Server.h"

namespace {

std::atomic<bool> stopRequested{false};

void OnSignal(int) { stopRequested = true; }

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrup-boardsim --tty PATH [--port N] [--port-file FILE] [--mode cr|esp32] [--delay MS]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string tty, portFile, mode = "cr";
    long port = 0, delay = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        const char* val = argv[i + 1];
        if (opt == "--tty") tty = val;
        else if (opt == "--port") port = std::strtol(val, nullptr, 10);
        else if (opt == "--port-file") portFile = val;
        else if (opt == "--mode") mode = val;
        else if (opt == "--delay") delay = std::strtol(val, nullptr, 10);
        else return Usage();
    }
    if (tty.empty() || argc % 2 == 0 || port < 0 || port > 65535) return Usage();

    const int ttyFd = boardsim::Server::OpenTty(tty);
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
    const auto setup = boardsim::RunControl(server.GetBoard(), "mode " + mode, 0);
    boardsim::RunControl(server.GetBoard(), "delay " + std::to_string(delay), 0);
    if (setup.text != "ok\n") return Usage();

    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
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

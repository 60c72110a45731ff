#pragma once
// The board's I/O loop on Linux: its end of the serial line (a pty) and the TCP control channel.
// One thread runs everything; the server owns the descriptors it is given.
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "tools/boardsim/Board.h"

namespace boardsim {

class Server {
public:
    Server(int tty, int listener);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // One round: write what is due, wait at most maxWaitMs for the line or a client, serve them.
    // False when the serial line is gone (the other end closed for good).
    bool Step(Millis maxWaitMs);
    // Steps until `stop` is set or the line is gone.
    void Run(const std::atomic<bool>& stop);

    Board& GetBoard() { return board_; }

    // The serial line taken away and brought back ("unplug"): the first ends the far end of the line (the
    // server has closed its own end already), the second makes a new line and returns the board's end, or -1.
    // Without them "unplug" answers an error.
    std::function<void()> TakeLineAway;
    std::function<int()> BringLineBack;

    // Opens a tty raw and non-blocking; -1 on failure (errno set).
    static int OpenTty(const std::string& path);
    // A non-blocking socket listening on 127.0.0.1:port (0: any free port); -1 on failure. Sets `boundPort`.
    static int Listen(int port, int& boundPort);

private:
    struct Client {
        int fd;
        std::string in;
        std::string out;
    };

    Instant Now() const;
    std::int64_t Micros() const;
    void WriteLine(Instant now);
    bool ReadLine(Instant now);
    void Accept();
    bool ServeClient(Client& client, Instant now);
    void FlushLine();
    void Unplug(Instant now, Millis ms);

    int tty_;
    int listener_;
    std::chrono::steady_clock::time_point start_;
    Board board_;
    bool waitWritable_ = false;
    Instant replugAt_ = -1;  // while the line is away: when it comes back
    std::vector<Client> clients_;
};

}  // namespace boardsim

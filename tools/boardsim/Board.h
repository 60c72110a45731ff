#pragma once
// The simulated Forth board: what it answers to the bytes it receives, and when.
//
// The board is pure logic driven by a clock the caller passes in (milliseconds with their fractions, any origin that
// only grows);
// the I/O loop (Server) feeds it received bytes and writes what it hands out. Everything the board sends
// waits in one queue, first in, first out, as a real board prints one thing after the other:
//  - each received byte is echoed, except line ends and the ignored byte (see LineEnd);
//  - at each line end, after Delay ms, the answer " ok" CR LF; a line that starts a definition of a word
//    already defined (": name" seen before) gets " name ALREADY DEFINED" CR LF instead, a line that uses a
//    compile-only word outside a definition " COMPILE ONLY" CR LF;
//  - scripted output queued by the control channel (Send, Pause, Burst).
// With a speed set, both directions are limited to that many bytes a second, and what the board sends is handed over
// as a UART hands it over: a piece once all of its bytes have crossed the line, so that an answer's line end comes
// when the line's speed lets it, never earlier. After SilentAfter more lines the board neither echoes nor answers
// (scripted output still goes out).
//
// Pacing: a line whose first byte arrives while the answer to an earlier line has not been sent yet (up to
// and including the byte the terminal waits for: CR, or LF in ESP32 mode) is early; early lines are counted.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace boardsim {

using Millis = std::int64_t;
// A moment of the caller's clock in milliseconds, with the fractions a fast line needs (a byte at 1 MB/s: 0.001).
using Instant = double;

// Cr: lines end with CR, LF is ignored (FlashForth, SCAMP2). Lf: lines end with LF, CR is ignored (ESP32).
enum class LineEnd { Cr, Lf };

struct ReceivedLine {
    Millis at = 0;       // when its line end arrived, ms since the last reset
    std::string text;    // the bytes as received, without the line end and ignored bytes
    bool early = false;  // started before the previous answer was sent
    // On the microsecond clock of SetMicros: when the answer before it had gone out (-1: none awaited), when its
    // first byte came and when its line end came.
    std::int64_t answeredUs = -1;
    std::int64_t firstUs = -1;
    std::int64_t endUs = -1;
};

class Board {
public:
    static constexpr std::size_t kMaxRecordedLines = 100000;
    static constexpr std::size_t kMaxReceivedBytes = 1 << 20;

    explicit Board(Instant now = 0) { Reset(now); }

    // Back to the start: default settings, empty dictionary, records and queue.
    void Reset(Instant now);
    // Drops queued output and the line being received; settings and records stay.
    void Purge();

    void SetLineEnd(LineEnd mode) { lineEnd_ = mode; }
    LineEnd GetLineEnd() const { return lineEnd_; }
    void SetDelay(Millis ms) { delay_ = ms < 0 ? 0 : ms; }
    Millis Delay() const { return delay_; }
    // Bytes a second in each direction; 0 = unlimited.
    void SetSpeed(long bytesPerSecond);
    long Speed() const { return speed_; }
    // With a speed set, each write carries at most a chunk of min..max bytes (the sizes vary from write to
    // write, as a UART's hand-over does); 0 = as much as the speed allows.
    void SetChunk(std::size_t min, std::size_t max);
    // Each answer's line end (CR LF) goes out as a write of its own, `ms` after the answer's text; -1: off.
    void SetSplitAnswers(Millis ms) { splitAnswers_ = ms; }
    // Answers `lines` more lines, then goes silent; a negative count never goes silent.
    void SetSilentAfter(long lines);
    bool Silent() const { return silentAfter_ >= 0 && linesSinceSilentSet_ >= silentAfter_; }

    // Bytes from the terminal.
    void Receive(std::string_view bytes, Instant now);
    // Scripted output, queued behind everything already waiting.
    void Send(std::string bytes, Instant now);
    void Pause(Millis ms, Instant now);
    // N bytes "0123456789" repeated, in one write.
    void Burst(std::size_t count, Instant now);

    // How many bytes may be read from the line now (SIZE_MAX: no limit).
    std::size_t InputAllowance(Instant now) const;
    // The bytes that may be written now (empty when nothing is due); Consumed() reports how many went out. With a
    // speed set, a piece is due once the line has carried all of its bytes.
    std::string_view Pending(Instant now);
    void Consumed(std::size_t count, Instant now);
    // Milliseconds until writing (output) or reading (input) may go on; -1: nothing to wait for, 0: now.
    Instant NextWakeup(Instant now, bool output, bool input) const;
    bool OutputQueued() const { return !queue_.empty(); }

    const std::deque<ReceivedLine>& Lines() const { return lines_; }
    // Every byte received since the last reset, exactly as it came (line ends and ignored bytes too); the
    // newest kMaxReceivedBytes.
    const std::string& Received() const { return received_; }
    long Violations() const { return violations_; }
    // Reaction times: from the last byte of an answer to the first byte of the next line, in microseconds of the
    // clock the I/O loop passes to SetMicros before each read and write (lines that came early have none).
    void SetMicros(std::int64_t us) { micros_ = us; }
    const std::vector<std::int64_t>& Reactions() const { return reactions_; }
    bool Defined(const std::string& name) const;

private:
    struct Chunk {
        std::string bytes;
        Millis gap = 0;             // wait this long after it reached the head of the queue
        Instant queuedAt = 0;       // when the board printed it
        Instant due = -1;           // set when it reached the head: the line may carry it from then on
        std::size_t answerEnd = 0;  // an answer is sent once this many bytes went out (0: not an answer)
    };

    void ByteIn(char c, Instant now);
    void LineDone(Instant now);
    std::string Answer(const std::string& line);
    void FlushEcho(Instant now);
    void Queue(std::string bytes, Millis gap, std::size_t answerEnd, Instant now);
    // The head is done at `end` (the line's time of its last byte, or now): the next one falls due after its gap.
    void PopHead(Instant end);
    std::size_t Allowance(double freeAt, Instant now) const;
    // The size of the next write of the head (all of it without a speed), and when the line has carried it.
    std::size_t NextWriteSize() const;
    Instant NextWriteDue() const;

    LineEnd lineEnd_ = LineEnd::Cr;
    Millis delay_ = 0;
    Millis splitAnswers_ = -1;
    long speed_ = 0;
    long silentAfter_ = -1;
    long linesSinceSilentSet_ = 0;

    Instant epoch_ = 0;
    std::string raw_;     // the line being received, as received
    std::string edited_;  // the same after backspaces
    std::string echo_;    // echo collected during one Receive
    bool lineStarted_ = false;
    bool lineEarly_ = false;
    bool compiling_ = false;
    std::set<std::string> dictionary_;  // lower-case names

    std::deque<Chunk> queue_;
    std::size_t headSent_ = 0;  // bytes of the head chunk already written
    int answersPending_ = 0;
    Instant inFreeAt_ = 0;  // speed limit: when the line is free again, per direction
    Instant outFreeAt_ = 0;
    std::size_t chunkMin_ = 0, chunkMax_ = 0, chunk_ = 0;  // chunk_: the size of the next write
    std::uint32_t chunkSeed_ = 1;

    std::deque<ReceivedLine> lines_;  // the newest kMaxRecordedLines
    std::string received_;
    long violations_ = 0;
    std::int64_t micros_ = 0;
    std::int64_t answerSentAt_ = -1;  // micros when the last answer's end went out; -1: none since
    std::int64_t lineFirstUs_ = -1;   // of the line being received
    std::int64_t lineAnsweredUs_ = -1;
    std::vector<std::int64_t> reactions_;
};

}  // namespace boardsim

#pragma once
// Where the program works around Wine, the system it is developed and tested on, all in one place. Each item
// costs nothing on Windows or switches itself off there; each is kept because a measurement on Wine 8 (pty
// COM ports, Xvfb) justified it. Turn an item off here and its workaround is gone everywhere.
namespace kes {

struct WinePolicy {
    // The serial read-ahead (serial/win/ComReadAhead.h): one pending overlapped read of up to 4 KiB beside the
    // event thread's WaitCommEvent. Wine notices received bytes for a pending WaitCommEvent only at its next
    // poll: 2.2 ms from a byte sent to its event, against 0.27-0.37 ms for a pending overlapped read. The read
    // brings the bytes along, so the handlers' read of them needs no device call (0.9 ms a chunk on a loaded
    // machine, 0.04 ms from memory), and it is armed again while the handlers run, so that the next chunk is
    // not left to the next poll. With the read-ahead, the terminal's wait for the board's line end fell from
    // 5.1 ms to 3.65 ms a line; with whole chunks and the early arming, an upload's reaction to the board's
    // answer fell from 8.0 to 6.1 ms (chunked answers) and from 10.0 to 6.0 ms (whole answers) on a loaded
    // machine. On Windows a read with immediate time-outs returns at once without bytes, and the read-ahead
    // turns itself off.
    static constexpr bool SerialReadAhead = true;

    // The end of every write completes a pending wait for EV_TXEMPTY, and Wine starts each new wait on a worker
    // thread that polls the device. While an upload runs, that costs each line about 0.6 ms of reaction to the
    // board's answer (an upload at 0.67 of a plain uploader's speed with EV_TXEMPTY in the wait, 0.90 without).
    // So the event thread waits for EV_TXEMPTY only while someone hears it (TCustomComPort::TxEmptyHeard).
    static constexpr bool WaitForTxEmptyOnlyWhenHeard = true;

    // While a receive watch is urgent (an upload line waits for its answer), the event thread polls the port's queue
    // without pause instead of leaving a read pending: a look at the queue is answered in the process (7 us), and the
    // bytes need no wake-up of a sleeping thread by the Wine server and the scheduler, which costs a pending read
    // 0.5-1.2 ms of an answer's way on a loaded machine (a plain uploader that polls reacts in 0.5 ms there, the
    // program with a pending read in 1.3-1.7 ms). One core stays busy while the answer is awaited, none otherwise.
    static constexpr bool PollWhileAnswerAwaited = true;

    // A read with immediate time-outs (interval MAXDWORD, no totals) returns at once with what is queued.
    // Wine 8 leaves it pending while the queue is empty, which would block the port's synchronous reads; the
    // port looks at the queue first and completes an empty read itself. On Windows the look changes nothing.
    static constexpr bool CheckQueueBeforeImmediateRead = true;

    // Every read and write of an overlapped handle goes through the Wine server: 0.23-0.33 ms for a read of bytes
    // already queued and 0.25-0.29 ms for a write of one line, where a handle without overlapped transfers reads in
    // 0.09 ms and writes in 0.06 ms (bench/upload_calls.sh). Wine lets the port be opened a second time so: the event
    // thread's reads while it polls and the small writes of a line into an empty output queue go through that
    // second handle. Where the system refuses the second open (Windows keeps a port to one handle), all goes
    // through the overlapped one.
    static constexpr bool PlainHandleForQuickTransfers = true;

    // The terminal asks once per forwarded batch whether the companion's window exists. By class, FindWindowA
    // takes 0.02 ms; a search by title alone walks every top-level window and takes 0.22 ms with 10 windows
    // under Wine. The title search runs at most this often (ms) while it finds nothing.
    static constexpr unsigned CompanionTitleSearchIntervalMs = 50;
};

}  // namespace kes

#!/usr/bin/env python3
"""Why the GUI thread hands a line over late: read by bench/upload_trace.sh after a trace run.

Arguments: the board's timeline (ANSWERED_US FIRST_US END_US per line) and the trace build's records
(US THREAD KIND BYTES TAIL; thread 0 is the GUI thread). A line is written by the thread that saw its
answer's line end when the next line was handed over in time; when the GUI thread writes it, the hand-over
was empty at that line end, and the line waited from the read that brought the line end until the GUI
thread's write. For those waits, and for the GUI thread's whole time during the upload, this prints where
the GUI thread was (the innermost traced call covering each moment; "ours" for time in no traced call):
asleep in its message wait, in a message a window handled (by message), in a repaint, in the memo's
messages, in another long SendMessage.
"""
import bisect
import sys
from collections import defaultdict

MESSAGES = {0x000F: "WM_PAINT", 0x0113: "WM_TIMER", 0x0200: "WM_MOUSEMOVE", 0x0085: "WM_NCPAINT",
            0x0014: "WM_ERASEBKGND", 0x0118: "WM_SYSTIMER", 0x0402: "PBM_SETPOS", 0x0180: "LB_ADDSTRING",
            0x0197: "LB_SETTOPINDEX", 0x000B: "WM_SETREDRAW", 0x0401: "WM_USER+1", 0x0400: "WM_USER",
            0x0111: "WM_COMMAND", 0x0112: "WM_SYSCOMMAND", 0x000C: "WM_SETTEXT", 0x0047: "WM_WINDOWPOSCHANGED"}


def label(kind, bytes_):
    if kind in ("dispatch", "send"):
        return "%s %s" % (kind, MESSAGES.get(bytes_, "0x%04x" % bytes_))
    return kind


def main(timeline_path, trace_path):
    answered, first = [], []
    with open(timeline_path) as f:
        for line in f:
            p = line.split()
            if len(p) >= 2:
                answered.append(int(p[0]))
                first.append(int(p[1]))
    reads, writes, spans = [], [], []
    with open(trace_path) as f:
        for line in f:
            p = line.split(None, 4)
            if len(p) < 4:
                continue
            us, thread, kind, n = int(p[0]), int(p[1]), p[2], int(p[3])
            tail = p[4].strip() if len(p) > 4 else ""
            if kind == "read":
                reads.append((us, thread, tail))
            elif kind == "write":
                writes.append((us, thread))
            elif thread == 0 and kind in ("sleep", "dispatch", "update", "memo", "setsel", "scroll", "send"):
                spans.append((us, us + int(tail or 0), label(kind, n)))
    if not writes:
        print("  no writes traced")
        return
    # The board's first and last line bound the upload; a call around all of it (the click that runs the upload)
    # counts as ours.
    begin, end = first[0], first[-1]
    spans = sorted(s for s in spans if not (s[0] <= begin and s[1] >= end))
    starts = [s[0] for s in spans]

    def where(t):
        """The innermost traced call of the GUI thread covering moment t (the one started last)."""
        i = bisect.bisect_right(starts, t) - 1
        # nested calls start later and end sooner: the first one found walking back that covers t
        for j in range(i, max(i - 256, -1), -1):
            s, e, name = spans[j]
            if s <= t < e:
                return name
        return "ours"

    def share(t0, t1, into, step=5):
        t = t0
        while t < t1:
            into[where(t)] += min(step, t1 - t)
            t += step

    # The lines as upload_trace.sh pairs them: the read that brought line k's answer's CR, the next write.
    wt = [w[0] for w in writes]
    late, on_time_sum, late_sum, late_waits = [], 0, 0, defaultdict(int)
    slow = defaultdict(int)  # lines handed over in time that took the board over 2 ms: where the time went
    slow_count = 0
    r = 0
    for k in range(1, len(answered)):
        if answered[k] < 0:
            continue
        while r < len(reads) and (reads[r][0] < answered[k] - 20 or "\\x0d" not in reads[r][2]):
            r += 1
        if r >= len(reads):
            break
        w = bisect.bisect_left(wt, reads[r][0])
        if w >= len(writes):
            break
        reaction = first[k] - answered[k]
        if writes[w][1] != reads[r][1]:
            late.append((k, reads[r][0], writes[w][0], reaction))
            late_sum += reaction
            share(reads[r][0], writes[w][0], late_waits)
        else:
            on_time_sum += reaction
            if reaction > 2000 and True:
                slow_count += 1
                slow["answer out -> read"] += reads[r][0] - answered[k]
                slow["read -> write"] += writes[w][0] - reads[r][0]
                slow["write -> board"] += first[k] - writes[w][0]
    whole = defaultdict(int)
    share(begin, end, whole, step=20)
    upload_us = end - begin
    print("  upload %.0f ms from the board's first line to its last; reactions: %d lines handed over in time %.0f ms in all,"
          " %d late %.0f ms in all" % (upload_us / 1000, len(answered) - 1 - len(late), on_time_sum / 1000,
                                      len(late), late_sum / 1000))
    if slow_count:
        print("  %d lines handed over in time took the board over 2 ms: %s" % (slow_count, ", ".join(
            "%s %.1f ms" % (name, us / 1000) for name, us in slow.items())))
    if late:
        waits = sorted(t1 - t0 for _, t0, t1, _ in late)
        print("  late lines' wait (line end read -> GUI thread's write): median %d us, longest %d us" %
              (waits[len(waits) // 2], waits[-1]))
        total = sum(late_waits.values()) or 1
        print("  where the GUI thread was while late lines waited:")
        for name, us in sorted(late_waits.items(), key=lambda x: -x[1])[:10]:
            print("    %-24s %8.1f ms  %3.0f %%" % (name, us / 1000, 100.0 * us / total))
    total = sum(whole.values()) or 1
    print("  the GUI thread's time during the upload:")
    for name, us in sorted(whole.items(), key=lambda x: -x[1])[:10]:
        print("    %-24s %8.1f ms  %3.0f %%" % (name, us / 1000, 100.0 * us / total))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])

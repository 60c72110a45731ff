#!/usr/bin/env bash
# Where an upload line's time goes: KestrupTrace.exe (the trace build: the same program, its reads and writes of the
# port recorded with the performance counter, bench/trace/TraceRecords.cpp) uploads 1000 lines to the simulated board
# at 1 MB/s (or SPEED baud), driven as bench/upload.sh drives Kestrup.exe. The board's timeline (when each answer's
# line end went out, when the next line's first byte came) and the program's records share one clock (the system's
# raw monotonic clock, which Wine's performance counter reads), so each line's path lines up:
#   board's answer line end out -> the program's read that brought it -> the program writes the next line
#   -> the write returned -> the board has the line's first byte
# Prints the medians of each step over the lines, and one line's path; then, for the lines the GUI thread wrote
# (their hand-over was empty), where the GUI thread was while they waited (bench/upload_trace_gui.py).
#   bench/upload_trace.sh [SPEED [chunked|whole]]   (default 1000000 chunked; takes about a minute)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
source "$KESTRUP_ROOT/scripts/harness.sh"
source "$KESTRUP_ROOT/scripts/nullmodem.sh"
speed=${1:-1000000}
variant=${2:-chunked}
win=$KESTRUP_BUILD/win
cmake --build "$KESTRUP_BUILD/native" --target kestrup-boardsim kestrup_ptyshim >/dev/null
cmake --build "$win" --target KestrupTrace upload_bench >/dev/null
work=$KESTRUP_BUILD/bench-upload-trace
rm -rf "$work" && mkdir -p "$work"
for ((i = 0; i < 1000; i++)); do printf ': t%d %d dup + swap drop ;\r\n' "$i" "$i"; done >"$work/main.fs"
cp "$work/main.fs" "$work/expected.txt"

cleanup() { set +e; nullmodem_stop; wine_stop; xvfb_stop; }
trap cleanup EXIT
trap 'exit 1' INT TERM
wine_prefix_init
xvfb_start
nullmodem_start
wine_warm || true
wpath() { winepath -w "$1" 2>/dev/null; }

case $speed in 1000000) bps=1000000 ;; *) bps=$((speed / 10)) ;; esac
settings="speed $bps"
[ "$variant" = chunked ] && settings="$settings;chunk 16 32"
nullmodem_control reset >/dev/null
trace=$win/shell/KestrupTrace.txt
rm -f "$trace"
# Into a file, not a pipe: a Wine process the run starts (the desktop) may outlive it holding the pipe open.
"$KESTRUP_ROOT/scripts/wine-run.sh" "$win/shell/upload_bench.exe" "$(wpath "$work/main.fs")" \
  "$(wpath "$work/expected.txt")" "$settings" KestrupTrace.exe "$speed" </dev/null >"$work/run.txt" 2>&1 || true
tr -d '\r' <"$work/run.txt"
nullmodem_control timeline | tail -n +2 >"$work/timeline.txt"
echo "violations: $(nullmodem_control violations | awk '{print $2}'), lines: $(wc -l <"$work/timeline.txt")"
[ -f "$trace" ] || { log "no trace written"; exit 1; }
cp "$trace" "$work/trace.txt"

awk -v speed="$speed" -v variant="$variant" '
  function median(a, n,   i, j, t) {
    for (i = 2; i <= n; i++) { t = a[i]; for (j = i - 1; j >= 1 && a[j] > t; j--) a[j + 1] = a[j]; a[j + 1] = t }
    return n ? a[int((n + 1) / 2)] : 0
  }
  FNR == NR { answered[NR] = $1; first[NR] = $2; lines = NR; next }
  $3 == "read" { nr++; ru[nr] = $1; rt[nr] = $5; rth[nr] = $2; next }
  $3 == "write" { nw++; wu[nw] = $1; wth[nw] = $2; next }
  $3 == "write-done" { nd++; du[nd] = $1; next }
  END {
    r = 1; w = 1; d = 1; n = 0
    for (k = 2; k <= lines; k++) {
      if (answered[k] < 0) continue
      while (r <= nr && (ru[r] < answered[k] - 20 || index(rt[r], "\\x0d") == 0)) r++
      while (w <= nw && wu[w] < ru[r]) w++
      while (d <= nd && du[d] < wu[w]) d++
      if (r > nr || w > nw || d > nd) break
      n++
      a[n] = ru[r] - answered[k]; b[n] = wu[w] - ru[r]; c[n] = du[d] - wu[w]; e[n] = first[k] - wu[w]
      tot[n] = first[k] - answered[k]
      if (wth[w] != rth[r]) other++
      if (k == int(lines / 2)) sample = sprintf("line %d: answer out at %.0f us; read %+d us later; write %+d; write returned %+d; board has the line %+d (%d us in all)",
        k, answered[k], a[n], b[n], c[n], e[n], tot[n])
    }
    printf "%s baud (%s), %d lines traced; medians:\n", speed == 1000000 ? "1 MB/s" : speed, variant, n
    printf "  answer line end out -> read in the program   %6d us  (Wine and the pty bring the bytes, the event thread wakes)\n", median(a, n)
    printf "  read -> next line written                    %6d us  (receive watch, handshake)\n", median(b, n)
    printf "  write -> write returned                      %6d us  (Wine takes the line)\n", median(c, n)
    printf "  write -> board has the first byte           %6d us  (pty and board)\n", median(e, n)
    printf "  answer out -> next line at the board         %6d us  (the board'"'"'s reaction)\n", median(tot, n)
    printf "  lines written on another thread than their answer was read on: %d\n", other
    print "  " sample
  }' "$work/timeline.txt" "$work/trace.txt"
# The lines whose hand-over was empty at their answer's line end: where the GUI thread was meanwhile.
python3 "$KESTRUP_ROOT/bench/upload_trace_gui.py" "$work/timeline.txt" "$work/trace.txt"

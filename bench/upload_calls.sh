#!/usr/bin/env bash
# What the port's calls cost under Wine on the simulated board's line: the plain uploaders of bench/upload.sh on a
# non-overlapped handle (poll) and on an overlapped one with the terminal's calls while it polls (ovpoll: a look at
# the queue, then a read; ovread: a read without the look), at one line speed, 1000 lines. Prints each run's time and
# the board's reaction, and for the overlapped runs what each kind of call took on average; reopenw: the port opened
# a second time without overlapped transfers, reads and writes through that handle.
#   bench/upload_calls.sh [SPEED [chunked|whole]]   (default 1000000 chunked; takes about a minute)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
source "$KESTRUP_ROOT/scripts/harness.sh"
source "$KESTRUP_ROOT/scripts/nullmodem.sh"
speed=${1:-1000000}
variant=${2:-chunked}
win=$KESTRUP_BUILD/win
cmake --build "$KESTRUP_BUILD/native" --target kestrup-boardsim kestrup_ptyshim >/dev/null
cmake --build "$win" --target upload_reference >/dev/null
work=$KESTRUP_BUILD/bench-upload-calls
rm -rf "$work" && mkdir -p "$work"
for ((i = 0; i < 1000; i++)); do printf ': t%d %d dup + swap drop ;\r\n' "$i" "$i"; done >"$work/lines.txt"

cleanup() { set +e; nullmodem_stop; wine_stop; xvfb_stop; }
trap cleanup EXIT
trap 'exit 1' INT TERM
wine_prefix_init
xvfb_start
nullmodem_start
wine_warm || true

case $speed in 1000000) bps=1000000 ;; *) bps=$((speed / 10)) ;; esac
for mode in poll ovpoll ovread reopenw poll ovpoll ovread reopenw; do
  nullmodem_control reset >/dev/null
  nullmodem_control speed "$bps" >/dev/null
  [ "$variant" = chunked ] && nullmodem_control chunk 16 32 >/dev/null
  echo "== $mode"
  "$KESTRUP_ROOT/scripts/wine-run.sh" "$win/shell/upload_reference.exe" "$KESTRUP_COM" \
    "$(winepath -w "$work/lines.txt" 2>/dev/null)" "$mode" "$speed" </dev/null 2>&1 | tr -d '\r' || true
  echo "violations $(nullmodem_control violations | awk '{print $2}')," \
    "reaction $(nullmodem_control reactions | awk '{print $3}') us"
done

#!/usr/bin/env bash
# Upload figures: a 2000-line source over three include levels sent to the simulated board (115200 baud, i.e.
# 11520 bytes a second both ways, answering at once), by Kestrup's own windows ("Send all text to processor")
# and, in the same run, by a minimal reference uploader (plain Win32: write a line, wait for the answer's CR)
# on the same port. Prints each time, the ratio reference / Kestrup (1.0 = as fast) and the board's count of
# pacing violations for each. A second reference waits for the answer with WaitCommEvent alone, then reads what
# is queued: under Wine that wait notices bytes only at its next poll (Kestrup's port reads one byte ahead instead).
#   bench/upload.sh [ROUNDS]   (default 3; the median of the rounds is reported)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
source "$KESTRUP_ROOT/scripts/harness.sh"
source "$KESTRUP_ROOT/scripts/nullmodem.sh"
rounds=${1:-3}
win=$KESTRUP_BUILD/win
cmake --build "$KESTRUP_BUILD/native" --target kestrup-boardsim kestrup_ptyshim >/dev/null
cmake --build "$win" --target upload_kestrup_bench upload_reference >/dev/null
work=$KESTRUP_BUILD/bench-upload
rm -rf "$work" && mkdir -p "$work"

# main.fs -> lvl1.fs -> lvl2.fs -> lvl3.fs; 2000 lines reach the board, directives and comments do not.
words() {  # prefix first count
  local i
  for ((i = $2; i < $2 + $3; i++)); do printf ': %s%d %d dup + swap drop ;\r\n' "$1" "$i" "$i"; done
}
{ words m 0 250; printf '\\ include lvl1.fs\r\n\\ a comment\r\n'; words m 250 250; } >"$work/main.fs"
{ words a 0 250; printf '#include <lvl2.fs>\r\n'; words a 250 250; } >"$work/lvl1.fs"
{ words b 0 250; printf '( include lvl3.fs )\r\n'; words b 250 250; } >"$work/lvl2.fs"
{ words c 0 500; } >"$work/lvl3.fs"
# What the board must receive, in order (the "( include" line of an include file is sent too).
{ words m 0 250; words a 0 250; words b 0 250; printf '( include lvl3.fs )\r\n'; words c 0 500
  words b 250 250; words a 250 250; words m 250 250; } >"$work/expected.txt"
expected_count=$(wc -l <"$work/expected.txt")

cleanup() { set +e; nullmodem_stop; wine_stop; xvfb_stop; }
trap cleanup EXIT
trap 'exit 1' INT TERM
wine_prefix_init
xvfb_start
nullmodem_start
wine_warm || true
wpath() { winepath -w "$1" 2>/dev/null; }

board_prepare() { nullmodem_control reset >/dev/null; nullmodem_control speed 11520 >/dev/null; }
board_check() {  # prints "violations N lines N matching yes|no"
  local v n
  v=$(nullmodem_control violations | awk '{print $2}')
  nullmodem_control lines | tail -n +2 | sed -E 's/^[0-9]+ (early|paced) //' >"$work/received.txt"
  n=$(wc -l <"$work/received.txt")
  if tr -d '\r' <"$work/expected.txt" | cmp -s - "$work/received.txt"; then m=yes; else m=no; fi
  echo "violations $v lines $n matching $m"
}

ref_times=(); evt_times=(); kes_times=()
for ((r = 1; r <= rounds; r++)); do
  board_prepare
  out=$("$KESTRUP_ROOT/scripts/wine-run.sh" "$win/shell/upload_reference.exe" "$KESTRUP_COM" "$(wpath "$work/expected.txt")" </dev/null 2>/dev/null | tr -d '\r')
  ref=$(awk '/^reference_ms/ {print $2}' <<<"$out")
  echo "round $r reference: ${ref:-?} ms; $(board_check)"
  board_prepare
  out=$("$KESTRUP_ROOT/scripts/wine-run.sh" "$win/shell/upload_reference.exe" "$KESTRUP_COM" "$(wpath "$work/expected.txt")" event </dev/null 2>/dev/null | tr -d '\r')
  evt=$(awk '/^reference_ms/ {print $2}' <<<"$out")
  echo "round $r reference, event wait: ${evt:-?} ms; $(board_check)"
  board_prepare
  out=$("$KESTRUP_ROOT/scripts/wine-run.sh" "$win/shell/upload_kestrup_bench.exe" "$KESTRUP_COM" "$(wpath "$work/main.fs")" </dev/null 2>/dev/null | tr -d '\r')
  kes=$(awk '/^kestrup_ms/ {print $2}' <<<"$out")
  grep "^per_line" <<<"$out" || true
  echo "round $r Kestrup:   ${kes:-?} ms; $(board_check)"
  ref_times+=("${ref:-0}"); evt_times+=("${evt:-0}"); kes_times+=("${kes:-0}")
done
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ref_med=$(median "${ref_times[@]}"); evt_med=$(median "${evt_times[@]}"); kes_med=$(median "${kes_times[@]}")
awk -v r="$ref_med" -v e="$evt_med" -v k="$kes_med" -v n="$expected_count" 'BEGIN {
  printf "== %d lines, median of the rounds\n", n
  printf "reference uploader              %8.1f ms  %.2f ms a line\n", r, r / n
  printf "reference uploader, event wait  %8.1f ms  %.2f ms a line\n", e, e / n
  printf "Kestrup                         %8.1f ms  %.2f ms a line\n", k, k / n
  printf "ratio reference / Kestrup              %.3f  (goal >= 0.9)\n", (k > 0 ? r / k : 0)
  printf "ratio event-wait reference / Kestrup   %.3f\n", (k > 0 ? e / k : 0) }'

#!/usr/bin/env bash
# Upload figures of the real program: a 2000-line source over three include levels sent to the simulated board at
# 115200 baud (11520 bytes a second both ways) by Kestrup.exe as a user runs it (main, source and log windows shown,
# the last file reopened from the registry, a click posted to "Send all text to processor"), and in the same run
# by a minimal reference uploader (plain Win32: write a line, wait for the answer's CR) on the same port, and by
# KestrupUnskinned.exe (the same program whose skin stays off: nothing hooked or skinned) to tell what the skin
# costs. Two variants: the board hands its answers over in UART-sized chunks of 16-32 bytes, and in whole writes.
# Every figure comes from the board: the time from the first to the last line, the pacing violations, the lines
# as received, and the reaction (the answer's last byte to the next line's first byte, median).
# Prints the median of the rounds for each.
#   bench/upload.sh [ROUNDS]   (default 3)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
source "$KESTRUP_ROOT/scripts/harness.sh"
source "$KESTRUP_ROOT/scripts/nullmodem.sh"
rounds=${1:-3}
win=$KESTRUP_BUILD/win
cmake --build "$KESTRUP_BUILD/native" --target kestrup-boardsim kestrup_ptyshim >/dev/null
cmake --build "$win" --target Kestrup KestrupUnskinned upload_bench upload_reference >/dev/null
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

board_settings() {  # variant -> control commands
  case $1 in chunked) echo "speed 11520;chunk 16 32" ;; whole) echo "speed 11520" ;; esac
}
board_prepare() {
  local c
  nullmodem_control reset >/dev/null
  IFS=';' read -ra cmds <<<"$(board_settings "$1")"
  for c in "${cmds[@]}"; do nullmodem_control $c >/dev/null; done
}
board_figures() {  # prints "MS VIOLATIONS MATCHING REACTION_US"
  local v r m ms
  v=$(nullmodem_control violations | awk '{print $2}')
  r=$(nullmodem_control reactions | awk '{print $3}')
  nullmodem_control lines | tail -n +2 >"$work/lines.txt"
  ms=$(awk 'NR == 1 {first = $1} {last = $1} END {print last - first}' "$work/lines.txt")
  sed -E 's/^[0-9]+ (early|paced) //' "$work/lines.txt" >"$work/received.txt"
  if tr -d '\r' <"$work/expected.txt" | cmp -s - "$work/received.txt"; then m=yes; else m=no; fi
  echo "$ms $v $m $r"
}

kestrup_round() {  # variant round key program label
  local shown ms v m us
  board_prepare "$1"
  shown=$("$KESTRUP_ROOT/scripts/wine-run.sh" "$win/shell/upload_bench.exe" "$(wpath "$work/main.fs")" \
    "$(wpath "$work/expected.txt")" "$(board_settings "$1")" "$4" </dev/null 2>&1 | tr -d '\r' |
    awk '/^terminal_shows_every_answer/ {print $2} /^upload_bench:/ {print > "/dev/stderr"}' || true)
  read -r ms v m us <<<"$(board_figures)"
  echo "$1 round $2 $5 $ms ms, violations $v, lines as expected $m, reaction ${us} us, terminal shows every answer ${shown:-?}"
  fig[$1.$3.ms]+="$ms "; fig[$1.$3.v]+="$v "; fig[$1.$3.us]+="$us "; fig[$1.$3.m]+="$m "
}

declare -A fig
for variant in chunked whole; do
  for ((r = 1; r <= rounds; r++)); do
    board_prepare "$variant"
    "$KESTRUP_ROOT/scripts/wine-run.sh" "$win/shell/upload_reference.exe" "$KESTRUP_COM" \
      "$(wpath "$work/expected.txt")" </dev/null >/dev/null 2>&1 || true
    read -r ms v m us <<<"$(board_figures)"
    echo "$variant round $r reference: $ms ms, violations $v, lines as expected $m, reaction ${us} us"
    fig[$variant.ref.ms]+="$ms "; fig[$variant.ref.v]+="$v "; fig[$variant.ref.us]+="$us "; fig[$variant.ref.m]+="$m "
    kestrup_round "$variant" "$r" kes Kestrup.exe "Kestrup:  "
    kestrup_round "$variant" "$r" off KestrupUnskinned.exe "skin off: "
  done
done

median() { printf '%s\n' $1 | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "== $expected_count lines at 115200 baud, median of $rounds rounds"
for variant in chunked whole; do
  rm=$(median "${fig[$variant.ref.ms]}"); km=$(median "${fig[$variant.kes.ms]}"); om=$(median "${fig[$variant.off.ms]}")
  ru=$(median "${fig[$variant.ref.us]}"); ku=$(median "${fig[$variant.kes.us]}"); ou=$(median "${fig[$variant.off.us]}")
  rv=$(median "${fig[$variant.ref.v]}"); kv=$(median "${fig[$variant.kes.v]}"); ov=$(median "${fig[$variant.off.v]}")
  awk -v var="$variant" -v rm="$rm" -v km="$km" -v om="$om" -v ru="$ru" -v ku="$ku" -v ou="$ou" -v rv="$rv" \
      -v kv="$kv" -v ov="$ov" -v rl="${fig[$variant.ref.m]}" -v kl="${fig[$variant.kes.m]}" \
      -v ol="${fig[$variant.off.m]}" -v n="$expected_count" 'BEGIN {
    label = var == "chunked" ? "answers in 16-32 byte chunks" : "whole answers"
    printf "-- %s\n", label
    row = "%-20s %8.0f ms  %.2f ms a line  reaction %.2f ms  violations %d  lines as expected: %s\n"
    printf row, "reference uploader", rm, rm / n, ru / 1000, rv, rl
    printf row, "Kestrup", km, km / n, ku / 1000, kv, kl
    printf row, "Kestrup, skin off", om, om / n, ou / 1000, ov, ol
    printf "ratio reference / Kestrup  %.3f  (goal >= 0.9)\n", (km > 0 ? rm / km : 0)
    printf "skin on against skin off: %+.1f %% time  (goal <= +5 %%)\n", (om > 0 ? (km / om - 1) * 100 : 0) }'
done

#!/usr/bin/env bash
# Upload figures of the real program: a 2000-line source over three include levels sent to the simulated board by
# Kestrup.exe as a user runs it (main, source and log windows shown, the last file reopened from the registry, a click
# posted to "Send all text to processor"), at three line speeds: 115200 baud (11520 bytes a second), 921600 baud
# (92160 bytes a second, an ESP32's) and 1 MB/s (a board's own full-speed USB port). In the same run, on the same
# port and board: two plain Win32 reference uploaders (write a line, wait for the answer's CR): the polling one, the
# fastest a plain program reacts (reads that return at once, issued without pause, one core spinning), which the
# ratio is taken against, and the blocking one (a read that waits for a byte); and KestrupUnskinned.exe (the same
# program whose skin stays off) to tell what the skin costs. Two variants: the board hands its answers over in
# UART-sized pieces of 16-32 bytes, and in whole writes, each once the line has carried its bytes.
# Every figure comes from the board: the time from the first to the last line, the pacing violations, the lines
# as received, and the reaction (the answer's last byte to the next line's first byte, median); besides, the cores
# the program kept busy while it uploaded and in two idle seconds after it (its CPU time, read from the host).
# Prints the median of the rounds for each.
#   bench/upload.sh [ROUNDS [SPEEDS]]   (default 3 rounds; SPEEDS e.g. "115200 921600 1000000", the default)
# Takes about 8 minutes on a quiet machine with 3 rounds.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
source "$KESTRUP_ROOT/scripts/harness.sh"
source "$KESTRUP_ROOT/scripts/nullmodem.sh"
rounds=${1:-3}
speeds=${2:-115200 921600 1000000}
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
# The bytes of the answers up to each line end the terminal waits for (the echo and " ok" CR), all lines together.
answer_bytes=$(tr -d '\r' <"$work/expected.txt" | awk '{n += length($0) + 4} END {print n}')

cleanup() { set +e; nullmodem_stop; wine_stop; xvfb_stop; }
trap cleanup EXIT
trap 'exit 1' INT TERM
wine_prefix_init
xvfb_start
nullmodem_start
wine_warm || true
wpath() { winepath -w "$1" 2>/dev/null; }

bytes_per_second() {  # line speed -> bytes a second on the line (10 bits a byte at a baud rate; 1 MB/s as it is)
  case $1 in 1000000) echo 1000000 ;; *) echo $(($1 / 10)) ;; esac
}
board_settings() {  # variant speed -> control commands
  local bps
  bps=$(bytes_per_second "$2")
  case $1 in chunked) echo "speed $bps;chunk 16 32" ;; whole) echo "speed $bps" ;; esac
}
board_prepare() {  # variant speed
  local c
  nullmodem_control reset >/dev/null
  IFS=';' read -ra cmds <<<"$(board_settings "$1" "$2")"
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
record() {  # key ms v m us
  fig[$1.ms]+="$2 "; fig[$1.v]+="$3 "; fig[$1.m]+="$4 "; fig[$1.us]+="$5 "
}

reference_round() {  # variant speed round mode label
  local ms v m us
  board_prepare "$1" "$2"
  "$KESTRUP_ROOT/scripts/wine-run.sh" "$win/shell/upload_reference.exe" "$KESTRUP_COM" \
    "$(wpath "$work/expected.txt")" "$4" "$2" </dev/null >/dev/null 2>&1 || true
  read -r ms v m us <<<"$(board_figures)"
  echo "$2 $1 round $3 $5 $ms ms, violations $v, lines as expected $m, reaction ${us} us"
  record "$1.$2.$4" "$ms" "$v" "$m" "$us"
}

# Samples the CPU time of the running PROGRAM (this worktree's build, found by its command line) every 20 ms into
# FILE as "UNIX_SECONDS TICKS" (utime + stime, 100 a second), until killed.
cpu_sampler() {  # program file
  local pid="" f pattern never
  pattern="$(printf '%s' "$win/shell/$1" | sed 's|[/\\.]|.|g')\$"
  exec {never}<> <(:)  # a descriptor nothing is written to: the 20 ms pause without starting a process
  while :; do
    if [ -z "$pid" ] || [ ! -r "/proc/$pid/stat" ]; then pid=$(pgrep -f "$pattern" | head -1 || true); fi
    if [ -n "$pid" ] && read -r -a f <"/proc/$pid/stat" 2>/dev/null; then
      echo "$EPOCHREALTIME $((f[13] + f[14]))"
    fi
    read -r -t 0.02 -u "$never" || true
  done >"$2"
}
# The cores the program kept busy between the moments upload_bench printed: "UPLOADING IDLE".
cores_busy() {  # samples moments...
  awk -v c="$2" -v a="$3" -v i="$4" -v j="$5" '
    function at(t,   k) { for (k = 1; k <= n && tm[k] < t; k++); return k <= n ? k : n }
    { tm[++n] = $1; tk[n] = $2 }
    END {
      if (n < 2) { print "? ?"; exit }
      p = at(c); q = at(a); r = at(i); s = at(j)
      u = tm[q] > tm[p] ? (tk[q] - tk[p]) / 100 / (tm[q] - tm[p]) : 0
      d = tm[s] > tm[r] ? (tk[s] - tk[r]) / 100 / (tm[s] - tm[r]) : 0
      printf "%.2f %.2f\n", u, d
    }' "$1"
}

kestrup_round() {  # variant speed round key program label
  local shown ms v m us sampler cores
  board_prepare "$1" "$2"
  cpu_sampler "$5" "$work/cpu.txt" &
  sampler=$!
  # Into a file, not a pipe: a Wine process the run starts (the desktop) may outlive it holding the pipe open.
  "$KESTRUP_ROOT/scripts/wine-run.sh" "$win/shell/upload_bench.exe" "$(wpath "$work/main.fs")" \
    "$(wpath "$work/expected.txt")" "$(board_settings "$1" "$2")" "$5" "$2" </dev/null >"$work/run.txt" 2>&1 || true
  kill "$sampler" 2>/dev/null || true
  wait "$sampler" 2>/dev/null || true
  shown=$(tr -d '\r' <"$work/run.txt" |
    awk '/^terminal_shows_every_answer/ {print $2} /^upload_bench:/ {print > "/dev/stderr"}' || true)
  # shellcheck disable=SC2046
  cores=$(cores_busy "$work/cpu.txt" $(tr -d '\r' <"$work/run.txt" | awk '/^moments/ {print $2, $3, $4, $5}'))
  read -r ms v m us <<<"$(board_figures)"
  echo "$2 $1 round $3 $6 $ms ms, violations $v, lines as expected $m, reaction ${us} us, terminal shows every answer" \
    "${shown:-?}, cores busy uploading / idle after ${cores:-? ?}"
  record "$1.$2.$4" "$ms" "$v" "$m" "$us"
  fig[$1.$2.$4.shown]+="${shown:-?} "
  fig[$1.$2.$4.cores]+="${cores%% *} "
  fig[$1.$2.$4.idle]+="${cores##* } "
}

declare -A fig
started=$(date +%s)
for speed in $speeds; do
  for variant in chunked whole; do
    for ((r = 1; r <= rounds; r++)); do
      reference_round "$variant" "$speed" "$r" poll "polling reference:  "
      reference_round "$variant" "$speed" "$r" block "blocking reference: "
      kestrup_round "$variant" "$speed" "$r" kes Kestrup.exe "Kestrup:            "
      kestrup_round "$variant" "$speed" "$r" off KestrupUnskinned.exe "skin off:           "
    done
  done
done

median() { printf '%s\n' $1 | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
all_yes() { case " $1 " in *" no "* | *" ? "*) echo no ;; *) echo yes ;; esac; }
echo
echo "== $expected_count lines, median of $rounds rounds; $(($(date +%s) - started)) s for the runs"
echo "| line speed | answers | polling reference | Kestrup | skin off | ratio polling ref. / Kestrup | blocking reference" \
  "| Kestrup per line over the wire's time (polling ref.) | reaction polling ref. / Kestrup | violations (ref. / Kestrup)" \
  "| lines as expected (ref. / Kestrup / shown) |"
echo "|---|---|---|---|---|---|---|---|---|---|---|"
for speed in $speeds; do
  for variant in chunked whole; do
    k=$variant.$speed
    awk -v speed="$speed" -v var="$variant" -v n="$expected_count" -v bytes="$answer_bytes" \
      -v bps="$(bytes_per_second "$speed")" \
      -v pm="$(median "${fig[$k.poll.ms]}")" -v bm="$(median "${fig[$k.block.ms]}")" \
      -v km="$(median "${fig[$k.kes.ms]}")" -v om="$(median "${fig[$k.off.ms]}")" \
      -v pu="$(median "${fig[$k.poll.us]}")" -v ku="$(median "${fig[$k.kes.us]}")" \
      -v pv="$(median "${fig[$k.poll.v]}")" -v kv="$(median "${fig[$k.kes.v]}")" \
      -v ov="$(median "${fig[$k.off.v]}")" \
      -v pl="$(all_yes "${fig[$k.poll.m]}")" -v kl="$(all_yes "${fig[$k.kes.m]} ${fig[$k.off.m]}")" \
      -v ks="$(all_yes "${fig[$k.kes.shown]} ${fig[$k.off.shown]}")" 'BEGIN {
      label = speed == 1000000 ? "1 MB/s (USB)" : speed " baud"
      wire = bytes / bps * 1000
      answers = var == "chunked" ? "16-32 byte pieces" : "whole writes"
      ratio = km > 0 ? pm / km : 0
      row = "| %s | %s | %.2f s | %.2f s | %.2f s | **%.3f** | %.2f s | %.2f ms (%.2f ms) | %.2f / %.2f ms | %d / %d / %d | %s / %s / %s |\n"
      printf(row, label, answers, pm / 1000, km / 1000, om / 1000, ratio, bm / 1000, (km - wire) / n, (pm - wire) / n,
        pu / 1000, ku / 1000, pv, kv, ov, pl, kl, ks) }'
  done
done
echo "(the wire's time: the answers' bytes up to each line end the terminal waits for, at the line's speed)"
for speed in $speeds; do
  for variant in chunked whole; do
    k=$variant.$speed
    echo "cores busy at $speed ($variant), median: Kestrup uploading $(median "${fig[$k.kes.cores]:-0}"), idle after" \
      "$(median "${fig[$k.kes.idle]:-0}"); skin off $(median "${fig[$k.off.cores]:-0}"), $(median "${fig[$k.off.idle]:-0}")"
  done
done

#!/usr/bin/env bash
# Receive figures of the terminal: the simulated board sends 1 MiB as fast as the pty takes it, to a minimal reader of
# the COM port, to a plain edit reader (the same reads appended to a visible multi-line EDIT once a refresh), to
# Kestrup.exe and to the same program with its skin off, round by round (ROUNDS, default 3); every byte must appear
# in the terminal memo. Then 16 MiB the same way (ROUNDS16 rounds, default 1), with the time of the
# first and of the last MiB, and a profile of the 16 MiB from the trace build (KestrupTrace.exe): per MiB, the time
# the memo's edit control took in its own messages against the rest. Prints the medians, the ratio to the reference,
# the skin's cost and the bytes lost. Runs under its own Xvfb, Wine prefix and null modem.
#   bench/terminal_receive.sh [ROUNDS [ROUNDS16 [BYTES]]]   (BYTES instead of 1 MiB skips the 16 MiB part)
# Takes about 4 minutes on a quiet machine.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
source "$KESTRUP_ROOT/scripts/harness.sh"
source "$KESTRUP_ROOT/scripts/nullmodem.sh"
cmake --build "$KESTRUP_BUILD/native" --target kestrup-boardsim kestrup_ptyshim >/dev/null || exit 1
cmake --build "$KESTRUP_BUILD/win" --target terminal_receive_bench >/dev/null || exit 1
bench=$KESTRUP_BUILD/win/shell/terminal_receive_bench.exe
[ -f "$bench" ] || { log "$bench was not built"; exit 1; }
cleanup() { nullmodem_stop; wine_stop; xvfb_stop; }
trap cleanup EXIT
wine_prefix_init
xvfb_start || exit 1
wineserver -p 2>/dev/null || true
nullmodem_start || exit 1
wine_warm
status=0
echo "== 1 MiB"
"$KESTRUP_ROOT/scripts/wine-run.sh" "$bench" "${3:-1048576}" "${1:-3}" </dev/null || status=1
if [ -z "${3:-}" ]; then
  echo "== 16 MiB"
  "$KESTRUP_ROOT/scripts/wine-run.sh" "$bench" 16777216 "${2:-1}" profile </dev/null || status=1
fi
exit $status

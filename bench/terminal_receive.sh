#!/usr/bin/env bash
# Receive figures of the terminal: the simulated board sends 1 MiB (or $1 bytes) as fast as the pty takes it, to a
# minimal reader of the COM port, to Kestrup.exe and to the same program with its skin off, round by round ($2
# rounds, default 3); every byte must appear in the terminal memo. Prints the medians, the ratio to the reference,
# the skin's cost and the bytes lost. Runs under its own Xvfb, Wine prefix and null modem.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
source "$KESTRUP_ROOT/scripts/harness.sh"
source "$KESTRUP_ROOT/scripts/nullmodem.sh"
"$KESTRUP_ROOT/scripts/build.sh" >/dev/null || exit 1
bench=$KESTRUP_BUILD/win/shell/terminal_receive_bench.exe
[ -f "$bench" ] || { log "$bench was not built"; exit 1; }
cleanup() { nullmodem_stop; wine_stop; xvfb_stop; }
trap cleanup EXIT
wine_prefix_init
xvfb_start || exit 1
wineserver -p 2>/dev/null || true
nullmodem_start || exit 1
wine_warm
"$KESTRUP_ROOT/scripts/wine-run.sh" "$bench" "${1:-1048576}" "${2:-3}" </dev/null

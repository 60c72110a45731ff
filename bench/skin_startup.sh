#!/usr/bin/env bash
# Start-up figures of the skin: Kestrup.exe in its default skin, the same program without the skin manager and a
# minimal reference window, each started $1 times (default 7) until its main window is shown and painted. Prints
# the medians and the ratio skinned / unskinned. Runs under its own Xvfb and Wine prefix.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
source "$KESTRUP_ROOT/scripts/harness.sh"
"$KESTRUP_ROOT/scripts/build.sh" >/dev/null || exit 1
bench=$KESTRUP_BUILD/win/shell/skin_startup_bench.exe
[ -f "$bench" ] || { log "$bench was not built"; exit 1; }
cleanup() { wine_stop; xvfb_stop; }
trap cleanup EXIT
wine_prefix_init
xvfb_start || exit 1
wine_warm
"$KESTRUP_ROOT/scripts/wine-run.sh" "$bench" "${1:-7}" </dev/null

#!/usr/bin/env bash
# What appending to a visible multi-line EDIT control costs under Wine, variant by variant (piece size, word wrap,
# visibility, WM_SETREDRAW, the scroll message, the caret message, the wide message): seconds for the first and the
# last MiB of each, medians of ROUNDS. Runs under its own Xvfb and Wine prefix.
#   bench/edit_append.sh [MIB [ROUNDS [PIECE_KIB]]]   (default 4 MiB a variant, 3 rounds)
# With PIECE_KIB: the terminal's styles alone, appended in pieces of that size, each MiB's time.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
source "$KESTRUP_ROOT/scripts/harness.sh"
cmake --build "$KESTRUP_BUILD/win" --target edit_append_bench >/dev/null || exit 1
bench=$KESTRUP_BUILD/win/bench/edit_append_bench.exe
[ -f "$bench" ] || { log "$bench was not built"; exit 1; }
cleanup() { wine_stop; xvfb_stop; }
trap cleanup EXIT
wine_prefix_init
xvfb_start || exit 1
wine_warm
"$KESTRUP_ROOT/scripts/wine-run.sh" "$bench" "${1:-4}" "${2:-3}" ${3:+"$3"} </dev/null

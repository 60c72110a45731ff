#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix: CTest's emulator and the scripts' launcher.
# KESTRUP_NO_PTY_SHIM=1 leaves the modem-status shim out (the harness test uses it to show it is needed).
# A program that ends with a failure gets one line on stderr with its exit code and run time, so that a test
# whose program never came up (no output at all) still says what Wine returned.
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
if [ -z "${KESTRUP_NO_PTY_SHIM:-}" ] && [ -f "$KESTRUP_PTY_SHIM" ]; then
  export LD_PRELOAD="$KESTRUP_PTY_SHIM${LD_PRELOAD:+:$LD_PRELOAD}"
fi
started=$(date +%s%N)
wine "$@"
rc=$?
if [ "$rc" -ne 0 ]; then
  printf 'wine-run: %s ended with exit code %d (0x%x) after %d ms\n' "$1" "$rc" "$rc" \
    $(( ($(date +%s%N) - started) / 1000000 )) >&2
fi
exit "$rc"

#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix: CTest's emulator and the scripts' launcher.
# KESTRUP_NO_PTY_SHIM=1 leaves the modem-status shim out (the harness test uses it to show it is needed).
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
if [ -z "${KESTRUP_NO_PTY_SHIM:-}" ] && [ -f "$KESTRUP_PTY_SHIM" ]; then
  export LD_PRELOAD="$KESTRUP_PTY_SHIM${LD_PRELOAD:+:$LD_PRELOAD}"
fi
exec wine "$@"

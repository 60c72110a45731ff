#!/usr/bin/env bash
# Builds Kestrup and runs it under Wine against the simulated Forth board on a virtual COM port.
# Uses the display in DISPLAY, or starts its own Xvfb when there is none. When Kestrup exits (or on Ctrl-C)
# it stops the board, socat, its Xvfb and the wineserver of the prefix.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
source "$KESTRUP_ROOT/scripts/harness.sh"
source "$KESTRUP_ROOT/scripts/nullmodem.sh"

KESTRUP_EXE=$KESTRUP_BUILD/win/shell/Kestrup.exe
# The serial port's settings, as the terminal stores them (under HKEY_CURRENT_USER).
PORT_KEY='HKCU\HKEY_LOCAL_MACHINE\Software\Kestrup\ComPort1'

"$KESTRUP_ROOT/scripts/setup.sh" || exit 1
"$KESTRUP_ROOT/scripts/build.sh" || exit 1
[ -f "$KESTRUP_EXE" ] || { log "$KESTRUP_EXE was not built"; exit 1; }

own_xvfb=0
kestrup_pid=
cleanup() {
  trap - EXIT INT TERM
  if [ -n "$kestrup_pid" ]; then kill "$kestrup_pid" 2>/dev/null; wait "$kestrup_pid" 2>/dev/null; fi
  nullmodem_stop
  wine_stop
  [ "$own_xvfb" = 1 ] && xvfb_stop
  log "stopped"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

wine_prefix_init
if [ -z "${DISPLAY:-}" ]; then
  xvfb_start || exit 1
  own_xvfb=1
  log "Xvfb on $DISPLAY"
fi
# A persistent wineserver keeps the list of serial devices (a volatile key) while we run.
wineserver -p 2>/dev/null || true
nullmodem_start || exit 1

# Presets the port settings so that Kestrup opens the virtual port; values already stored stay as they are.
stored=$(wine reg query "$PORT_KEY" </dev/null 2>/dev/null | tr -d '\r' | awk 'NF >= 3 { print $1 }')
for pair in "Port=$KESTRUP_COM" BaudRate=115200 StopBits=1 DataBits=8 Parity=None FlowControl=None; do
  name=${pair%%=*}
  grep -qx "$name" <<<"$stored" && continue
  wine reg add "$PORT_KEY" /v "$name" /t REG_SZ /d "${pair#*=}" /f </dev/null >/dev/null 2>&1 ||
    log "could not preset $name"
done

log "starting Kestrup (board control: KESTRUP_BOARD_CTL=$KESTRUP_BOARD_CTL)"
"$KESTRUP_ROOT/scripts/wine-run.sh" "$KESTRUP_EXE" </dev/null &
kestrup_pid=$!
wait "$kestrup_pid"
status=$?
kestrup_pid=
exit "$status"

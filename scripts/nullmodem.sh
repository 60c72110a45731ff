# The virtual null modem: a socat pty pair (run by the simulated Forth board, which can take it away), one end a
# COM port of our Wine prefix, the board on the other end. Source after env.sh and harness.sh; scripts/test.sh and scripts/run.sh call
#   nullmodem_start   exports KESTRUP_COM ("COM5" or the next free number) and KESTRUP_BOARD_CTL (control port)
#   nullmodem_stop    stops the board (which ends its socat) by its process id
# Start it while a wineserver of the prefix runs (it starts one if none does): Wine keeps the list of serial
# devices in a volatile key that goes with the wineserver.

NULLMODEM_DIR=${KESTRUP_NULLMODEM_DIR:-$KESTRUP_BUILD/nullmodem}
NULLMODEM_BOARD_BIN=$KESTRUP_BUILD/native/tools/boardsim/kestrup-boardsim
NULLMODEM_BOARD_PID=
NULLMODEM_LINK=

# Waits up to $2 tenths of a second for the file $1 to exist.
_nullmodem_wait_for() {
  local i
  for ((i = 0; i < $2; i++)); do
    [ -e "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# The first COM number from 5 on that is free in the prefix or left over from an earlier null modem.
_nullmodem_free_com() {
  local n link
  for ((n = 5; n < 64; n++)); do
    link=$WINEPREFIX/dosdevices/com$n
    if [ ! -e "$link" ] && [ ! -L "$link" ]; then echo "$n"; return 0; fi
    case "$(readlink "$link")" in "$NULLMODEM_DIR"/*) echo "$n"; return 0 ;; esac
  done
  return 1
}

nullmodem_start() {
  local n port
  [ -x "$NULLMODEM_BOARD_BIN" ] || { log "null modem: $NULLMODEM_BOARD_BIN is not built"; return 1; }
  mkdir -p "$NULLMODEM_DIR" "$WINEPREFIX/dosdevices"
  rm -f "$NULLMODEM_DIR/com" "$NULLMODEM_DIR/board" "$NULLMODEM_DIR/control-port"

  # The board runs the socat pty pair itself (links com and board), so that "unplug" can take the line away.
  "$NULLMODEM_BOARD_BIN" --nullmodem "$NULLMODEM_DIR" --port-file "$NULLMODEM_DIR/control-port" \
    2>"$NULLMODEM_DIR/board.log" </dev/null &
  NULLMODEM_BOARD_PID=$!
  if ! _nullmodem_wait_for "$NULLMODEM_DIR/control-port" 100 || ! _nullmodem_wait_for "$NULLMODEM_DIR/com" 50; then
    log "null modem: the board made no line"; nullmodem_stop; return 1
  fi
  read -r port <"$NULLMODEM_DIR/control-port"

  n=$(_nullmodem_free_com) || { log "null modem: no free COM number"; nullmodem_stop; return 1; }
  NULLMODEM_LINK=$WINEPREFIX/dosdevices/com$n
  ln -sfn "$NULLMODEM_DIR/com" "$NULLMODEM_LINK"
  wineserver -p 2>/dev/null || true
  wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v "\\Device\\KestrupNullModem$n" /t REG_SZ /d "COM$n" /f \
    </dev/null >/dev/null 2>&1 || log "null modem: could not list COM$n in the registry"

  # Stale bytes: the board drops what waits on its side.
  nullmodem_control purge >/dev/null || { log "null modem: the board does not answer"; nullmodem_stop; return 1; }
  export KESTRUP_COM="COM$n" KESTRUP_BOARD_CTL="$port"
  log "null modem: $KESTRUP_COM <-> simulated board (control port $KESTRUP_BOARD_CTL)"
}

# Sends one control command to the board and prints its answer (for `lines` and `timeline`, the recorded lines too).
nullmodem_control() {
  local port=${KESTRUP_BOARD_CTL:-} answer row fd i
  [ -n "$port" ] || read -r port <"$NULLMODEM_DIR/control-port" || return 1
  exec {fd}<>"/dev/tcp/127.0.0.1/$port" || return 1
  printf '%s\n' "$*" >&"$fd"
  read -r -t 5 answer <&"$fd"
  printf '%s\n' "$answer"
  if { [ "$1" = lines ] || [ "$1" = timeline ]; } && [ "${answer%% *}" = ok ]; then
    for ((i = 0; i < ${answer#ok }; i++)); do IFS= read -r -t 5 row <&"$fd" && printf '%s\n' "$row"; done
  fi
  exec {fd}>&-
  [ "${answer%% *}" = ok ]
}

nullmodem_stop() {
  local pid
  for pid in "$NULLMODEM_BOARD_PID"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  NULLMODEM_BOARD_PID=
  [ -n "$NULLMODEM_LINK" ] && rm -f "$NULLMODEM_LINK"
  NULLMODEM_LINK=
  unset KESTRUP_COM KESTRUP_BOARD_CTL
  return 0
}

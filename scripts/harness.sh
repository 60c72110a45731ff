# Wine and X harness functions; source after env.sh. Every process is stopped by its own id.

# Creates the private Wine prefix once (fonts, no window manager) and reuses it afterwards.
wine_prefix_init() {
  [ -f "$WINEPREFIX/.kestrup-ready" ] && return 0
  log "creating Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null || true
  wineserver -w
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
  wineserver -w
  touch "$WINEPREFIX/.kestrup-ready"
}

# Starts Xvfb (24-bit) on a display it picks itself (no race with other runs); sets DISPLAY and XVFB_PID.
xvfb_start() {
  local fifo d
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  read -r -t 20 d <"$fifo"; rm -f "$fifo"
  [ -n "$d" ] || { log "Xvfb did not start"; return 1; }
  export DISPLAY=":$d"
}

xvfb_stop() { [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; XVFB_PID=; }

# Starts this prefix's wineserver and one throw-away process, so that CTest does not wait on Wine's start-up, and
# the desktop keeper (when built): Wine closes the desktop a second after the last program with a window ends, and a
# program starting just then waits ten seconds and gets no window. wine_stop ends the keeper with the wineserver.
wine_warm() {
  wineserver -p
  "$KESTRUP_ROOT/scripts/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1 || true
  local keeper=$KESTRUP_BUILD/win/tools/deskkeeper/kestrup-deskkeeper.exe
  if [ -f "$keeper" ]; then
    "$KESTRUP_ROOT/scripts/wine-run.sh" "$keeper" </dev/null >/dev/null 2>&1 &
  fi
}

# Ends the Wine processes of our prefix only.
wine_stop() { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; true; }

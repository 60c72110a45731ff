# Shared settings of the project's scripts; source it, don't run it.
KESTRUP_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KESTRUP_BUILD=${KESTRUP_BUILD:-$KESTRUP_ROOT/build}
export KESTRUP_ROOT KESTRUP_BUILD
export WINEPREFIX=${KESTRUP_WINEPREFIX:-$KESTRUP_BUILD/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# The modem-status ioctl shim, loaded into Wine processes so that WaitCommEvent works on ptys.
KESTRUP_PTY_SHIM=$KESTRUP_BUILD/native/tools/ptyshim/libkestrup_ptyshim.so
export KESTRUP_PTY_SHIM

log() { printf '== %s\n' "$*" >&2; }

#!/usr/bin/env bash
# Builds both trees and runs every test tier: native GoogleTest, then the Windows tests under Wine
# (Xvfb, private prefix, virtual null-modem with the simulated board). Ends with "N passed, N failed".
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
source "$KESTRUP_ROOT/scripts/harness.sh"
[ -f "$KESTRUP_ROOT/scripts/nullmodem.sh" ] && source "$KESTRUP_ROOT/scripts/nullmodem.sh"

"$KESTRUP_ROOT/scripts/setup.sh" || exit 1
"$KESTRUP_ROOT/scripts/build.sh" || { echo "0 passed, 1 failed"; exit 1; }

passed=0; failed=0
# Adds the counts of one ctest run (its log in $1) to the totals.
count() {
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)
  if [ -z "$line" ]; then
    grep -q 'No tests were found' "$1" && return 0
    failed=$((failed + 1)); return 0
  fi
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*tests passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad)); failed=$((failed + bad))
}

jobs=$(nproc)
log "native tests"
ctest --test-dir "$KESTRUP_BUILD/native" -j "$jobs" --output-on-failure --timeout 120 \
  2>&1 | tee "$KESTRUP_BUILD/native-tests.log" | grep -E 'tests passed|Failed|\*\*\*' || true
count "$KESTRUP_BUILD/native-tests.log"

log "Windows tests under Wine"
cleanup() {
  declare -F nullmodem_stop >/dev/null && nullmodem_stop
  wine_stop; xvfb_stop
}
trap cleanup EXIT
wine_prefix_init
xvfb_start
declare -F nullmodem_start >/dev/null && nullmodem_start
wine_warm
ctest --test-dir "$KESTRUP_BUILD/win" -j 4 --output-on-failure --timeout 300 \
  2>&1 | tee "$KESTRUP_BUILD/win-tests.log" | grep -E 'tests passed|Failed|\*\*\*' || true
count "$KESTRUP_BUILD/win-tests.log"

# A test program that failed without writing a single line never ran its test (every test program reports as
# it starts; the only line is then the launcher's with Wine's exit code): Wine did not start it, which happens now
# and then when many Wine processes start at once. Such a test runs once more on its own; a test that wrote
# anything keeps its result.
unstarted=$(awk '/\*\*\*Failed/ { name = $4; getline first
    if (first ~ /^wine-run: /) { if ((getline second) <= 0) second = ""; first = second }
    if (first == "") print name }' "$KESTRUP_BUILD/win-tests.log")
: >"$KESTRUP_BUILD/win-tests-again.log"
for name in $unstarted; do
  log "$name failed before writing anything: once more"
  if ctest --test-dir "$KESTRUP_BUILD/win" -R "^${name}\$" --output-on-failure --timeout 300 \
    >>"$KESTRUP_BUILD/win-tests-again.log" 2>&1; then
    passed=$((passed + 1)); failed=$((failed - 1))
  fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

#!/usr/bin/env bash
# Builds one libFuzzer target (clang, address and undefined-behaviour sanitizers) and runs it for a
# bounded time with a memory limit. Fails on a crash, a leak, a hang or a build failure.
#   run-fuzz.sh NAME WORKDIR SECONDS SOURCE_ROOT SOURCES...
# KESTRUP_FUZZ_INCLUDES: more include folders (relative to SOURCE_ROOT, separated by ':').
set -euo pipefail
name=$1 work=$2 seconds=$3 root=$4
shift 4
incflags=(-I"$root")
headers=("$root"/skin/*/*.h "$root"/base/*.h)
IFS=':' read -r -a extra <<<"${KESTRUP_FUZZ_INCLUDES:-}"
for d in "${extra[@]}"; do
  [ -n "$d" ] || continue
  incflags+=(-I"$root/$d")
  headers+=("$root/$d"/*.h)
done
cxx=${CXX_FUZZ:-clang++}
mkdir -p "$work/$name.corpus"
bin=$work/$name

# Rebuild when the program is missing or older than any of its sources or headers.
stale=0
if [ ! -x "$bin" ]; then
  stale=1
else
  for f in "$@" "${headers[@]}"; do
    [ "$f" -nt "$bin" ] && { stale=1; break; }
  done
fi
if [ "$stale" = 1 ]; then
  echo "building $name"
  "$cxx" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "${incflags[@]}" -o "$bin.tmp" "$@"
  mv "$bin.tmp" "$bin"
fi

# Seeds the target writes itself on first use (valid inputs to start from), then the bounded run.
cd "$work"
SKIN_FUZZ_SEEDS="$work/$name.corpus" "$bin" -runs=0 "$work/$name.corpus" >/dev/null 2>&1 || true
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ASAN_OPTIONS=detect_leaks=1 \
  "$bin" -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=10 -max_len=65536 -print_final_stats=1 \
  "$work/$name.corpus" 2>"$work/$name.log" || { tail -60 "$work/$name.log"; exit 1; }
grep -E '^stat::number_of_executed_units|^Done' "$work/$name.log" | sed "s/^/$name: /"

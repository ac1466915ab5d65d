#!/usr/bin/env bash
# Builds the native fuzz targets of tests/fuzz (clang, libFuzzer, ASan and
# UBSan) in build/fuzz and runs each in turn on its seed corpus.
#   fuzz.sh [-t SECONDS | -r RUNS] [TARGET...]
# -t: run each target for this many seconds (default 60); -r: for this many
# executions instead. TARGET names a target without "_fuzz" (command_line,
# typed_text, node_paths, display_rules, playlist_text, string_table); all by
# default. New inputs go to build/fuzz/corpus/<target>, the committed seeds stay
# as they are; a finding is saved as build/fuzz/findings/<target>-crash-... and
# makes the script exit with status 1. Reproduce one with
#   build/fuzz/<target>_fuzz build/fuzz/findings/<file>
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/fuzz"
all=(command_line typed_text node_paths display_rules playlist_text string_table)
# The longest input each target is given: enough for what it reads (a
# playlist line past the byte limit, a small string table), short enough to
# keep the runs fast.
declare -A max_len=([command_line]=512 [typed_text]=512 [node_paths]=128 [display_rules]=1024
  [playlist_text]=6200 [string_table]=4096)

limit=(-max_total_time=60)
while getopts "t:r:" option; do
  case $option in
    t) limit=(-max_total_time="$OPTARG") ;;
    r) limit=(-runs="$OPTARG") ;;
    *) echo "usage: fuzz.sh [-t SECONDS | -r RUNS] [TARGET...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

CC=clang-14 CXX=clang++-14 cmake -S "$top/tests/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= >/dev/null || exit 1
names=()
for t in "${targets[@]}"; do names+=("${t}_fuzz"); done
nice cmake --build "$build" -j 2 --target "${names[@]}" >/dev/null || { echo "fuzz build failed" >&2; exit 1; }

mkdir -p "$build/findings" "$build/logs"
# A smaller quarantine than ASan's 256 MB: the targets free and allocate
# thousands of small blocks per input, and recycling a quarantine that large
# costs page faults that made the tree and playlist targets three times
# slower. 16 MB still holds far more than one input's freed blocks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
status=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  dict=()
  [ -f "$top/tests/fuzz/$t.dict" ] && dict=(-dict="$top/tests/fuzz/$t.dict")
  log="$build/logs/$t.log"
  nice "$build/${t}_fuzz" "${limit[@]}" -max_len="${max_len[$t]:-4096}" -timeout=10 -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="$build/findings/$t-" "$corpus" "$top/tests/fuzz/corpus/$t" >"$log" 2>&1
  result=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  speed=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$')
  if [ $result -eq 0 ]; then
    echo "$t: ${runs:-?} executions, ${speed:-?}/s, no findings"
  else
    status=1
    echo "$t: FINDING after ${runs:-?} executions (exit $result); log: $log"
    grep -E 'ERROR|runtime error|property does not hold|SUMMARY|Test unit written' "$log" | head -n 8
  fi
done
exit $status

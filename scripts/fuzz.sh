#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`) and runs each one, one after
# the other, for a set time on a working copy of its corpus. Afterwards the
# inputs that found new coverage are merged into fuzz/corpus/<target>/ with
# -merge=1, which keeps the stored corpus minimal.
#
#   scripts/fuzz.sh [--seconds N] [--no-merge] [TARGET...]
#
#   --seconds N   time per target (default 600)
#   --no-merge    leave fuzz/corpus untouched (for short runs in CI)
#   TARGET        name_fuzzer, name_list_fuzzer (default: all)
#
# A crash stops the script with status 1; the input that caused it is kept in
# build/fuzz/artifacts/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=600
merge=1
targets=()
all_targets=(name_fuzzer name_list_fuzzer)
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --no-merge) merge=0; shift ;;
    -h|--help) sed -n '2,15p' "$0"; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")

build=build/fuzz
cmake --preset fuzz >/dev/null
cmake --build "$build" -j 2 --target "${targets[@]}"

for target in "${targets[@]}"; do
  stored="fuzz/corpus/$target"
  work="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$stored" "$artifacts"
  rm -rf "$work" && mkdir -p "$work"
  cp -a "$stored/." "$work/"

  echo "== $target: ${seconds} s on $(ls "$stored" | wc -l) stored inputs"
  log="$build/$target.log"
  status=0
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work" >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log"
    echo "== $target FAILED (status $status); the input is in $artifacts/" >&2
    exit 1
  fi
  grep -E '^#[0-9]+[[:space:]]+DONE' "$log" || true
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$log" || true

  if [ "$merge" -eq 1 ]; then
    merged="$build/corpus/$target.merged"
    rm -rf "$merged" && mkdir -p "$merged"
    "$build/fuzz/$target" -merge=1 "$merged" "$stored" "$work" >"$build/$target.merge.log" 2>&1
    rm -rf "$stored" && mv "$merged" "$stored"
  fi
  echo "   corpus: $(ls "$stored" | wc -l) files, $(cat "$stored"/* 2>/dev/null | wc -c) bytes"
done

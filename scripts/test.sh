#!/usr/bin/env bash
# Builds greetcard and runs every test headless: the release build's whole
# suite, then the engine, command-line and fault tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer (LeakSanitizer included),
# then each fuzz target for a few seconds on its stored corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
jobs=$(nproc)

echo "== release build and tests"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
ctest --preset release -j "$jobs"

echo "== sanitizer build: engine, command-line and fault tests"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs" --target core_tests cli_tests hardening_window_tests hardening_fault_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --preset asan -j "$jobs" -L sanitize

echo "== fuzz targets, a few seconds each"
./scripts/fuzz.sh --seconds 10 --no-merge

#!/usr/bin/env bash
# Builds greetcard and runs every test headless: the release build's whole
# suite, then the engine and command-line tests again under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
jobs=$(nproc)

echo "== release build and tests"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
ctest --preset release -j "$jobs"

echo "== sanitizer build: engine and command-line tests"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs" --target core_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --preset asan -j "$jobs" -L sanitize

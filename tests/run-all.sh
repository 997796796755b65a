#!/usr/bin/env bash
# The whole test suite: a Debug build under AddressSanitizer and
# UndefinedBehaviorSanitizer, every test run by ctest inside a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZANDREL_SANITIZE=ON
cmake --build "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
xvfb-run -a -s "-screen 0 1600x1000x24" ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

#!/usr/bin/env bash
# Installs what is missing, builds Flinthand with the sanitizers and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-dependencies.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFLINTHAND_SANITIZE=ON
cmake --build build/test
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/test --output-on-failure --timeout 600

#!/usr/bin/env bash
# Installs what is missing, builds Flinthand with the sanitizers and runs every
# test, then builds the receive-path fuzzer with clang and runs it for 30 seconds.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-dependencies.sh
cmake --workflow --preset test
cmake --workflow --preset fuzz

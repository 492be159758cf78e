#!/usr/bin/env bash
# Installs what is missing, builds Flinthand and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-dependencies.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DFLINTHAND_TESTS=OFF
cmake --build build/release
# The help page lies beside the program; the link looks for it in the current folder.
cd build/release
exec ./flinthand

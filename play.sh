#!/usr/bin/env bash
# Installs what is missing, builds Flinthand and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-dependencies.sh
cmake --preset release
cmake --build --preset release
# The help page lies beside the program; the link looks for it in the current folder.
cd build/release
exec ./flinthand

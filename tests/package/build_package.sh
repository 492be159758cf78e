#!/usr/bin/env bash
# Builds the .deb as `cmake --workflow --preset package` does, into OUT.
#
#   build_package.sh SOURCE OUT
set -euo pipefail
source=${1:?usage: build_package.sh SOURCE OUT}
out=${2:?usage: build_package.sh SOURCE OUT}
command -v dpkg-shlibdeps >/dev/null || { echo "SKIP: dpkg-shlibdeps is missing (package dpkg-dev)"; exit 77; }
rm -f "$out"/*.deb
cd "$source"
cmake --preset package -B "$out" >/dev/null
# ctest gives this test one of its slots, so one compile job unless told otherwise.
cmake --build "$out" --parallel "${CMAKE_BUILD_PARALLEL_LEVEL:-1}"
cpack --config "$out/CPackConfig.cmake" -B "$out"

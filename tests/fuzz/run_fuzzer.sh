#!/usr/bin/env bash
# Builds the receive-path fuzzer with clang and runs it for a while.
# Usage: run_fuzzer.sh [build dir, default build/fuzz] [seconds, default 30] [extra libFuzzer flags...]
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
out="${1:-$root/build/fuzz}"
seconds="${2:-30}"
shift $(( $# < 2 ? $# : 2 ))
mkdir -p "$out/obj" "$out/corpus"
out="$(cd "$out" && pwd)"

cxx="${CXX_FUZZ:-clang++}"
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root")

# The plain C++ core; the Qt parts of net/ stay out.
sources=()
for f in "$root"/table/*.cpp "$root"/net/*.cpp; do
    case "$(basename "$f")" in
        connection.cpp | server_address.cpp | status_strip.cpp) ;;
        *) sources+=("$f") ;;
    esac
done
sources+=("$root/tests/fuzz/receive_fuzzer.cpp")

# Recompiles an object only when its source or one of its headers changed.
stale() {
    local object="$1" depfile="$1.d"
    [ -f "$object" ] && [ -f "$depfile" ] || return 0
    local dep
    for dep in $(sed -e 's/^[^:]*://' -e 's/\\$//' "$depfile"); do
        [ "$dep" -nt "$object" ] && return 0
    done
    return 1
}

objects=()
for src in "${sources[@]}"; do
    rel="${src#"$root"/}"
    object="$out/obj/${rel//\//_}.o"
    objects+=("$object")
    if stale "$object"; then
        echo "compiling $rel"
        "$cxx" "${flags[@]}" -MMD -MF "$object.d" -c "$src" -o "$object"
    fi
done
binary="$out/receive_fuzzer"
"$cxx" "${flags[@]}" "${objects[@]}" -o "$binary"

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
log="$out/last_run.log"
status=0
FLINTHAND_SEED_DIR="$out/corpus" "$binary" "$out/corpus" \
    -max_total_time="$seconds" -timeout=20 -print_final_stats=1 -artifact_prefix="$out/" "$@" >"$log" 2>&1 || status=$?

grep -E 'cov: ' "$log" | tail -n 1 || true
grep -E '^Done [0-9]+ runs|^stat::number_of_executed_units' "$log" || true
if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "receive_fuzzer failed (exit $status); the input is saved as $out/crash-* or similar"
fi
exit "$status"

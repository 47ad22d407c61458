#!/usr/bin/env bash
# Fuzzes the reading of data files with libFuzzer under AddressSanitizer and UBSan.
# Usage: tools/fuzz.sh [seconds=600] [target=load_fuzzer]. The targets: load_fuzzer (reading,
# repairing and writing back) and reader_diff_fuzzer (the simdjson reader against the
# QJsonDocument reader it replaced). Findings land in build/fuzz/findings-<target>; copy each one
# into tests/fuzz/regressions/ once it is fixed, so the ordinary suite keeps checking it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
target=${2:-load_fuzzer}
case "$target" in
    load_fuzzer | reader_diff_fuzzer) ;;
    *) echo "unknown fuzz target: $target" >&2; exit 2 ;;
esac
tools/deps.sh fuzz
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DTALLYBROOK_FUZZ=ON -DTALLYBROOK_WIDGETS=OFF -DTALLYBROOK_TESTS=OFF >/dev/null
cmake --build build/fuzz --target "$target"
mkdir -p "build/fuzz/corpus-$target" "build/fuzz/findings-$target"
cp -n tests/fuzz/corpus/* tests/fuzz/regressions/* "build/fuzz/corpus-$target/" 2>/dev/null || true
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ASAN_OPTIONS=detect_leaks=0 \
    "build/fuzz/$target" "build/fuzz/corpus-$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=4096 -artifact_prefix="build/fuzz/findings-$target/" -print_final_stats=1

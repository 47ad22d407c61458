#!/usr/bin/env bash
# Builds every test and runs them all, headless; then the same tests built with
# AddressSanitizer and UBSan. TALLYBROOK_SKIP_SANITIZE=1 skips the second pass.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"

if [ "${TALLYBROOK_SKIP_SANITIZE:-0}" != 1 ]; then
    cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALLYBROOK_SANITIZE=ON >/dev/null
    cmake --build build/asan -j "$jobs"
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build/asan --output-on-failure -j "$jobs" -LE no-sanitize
fi

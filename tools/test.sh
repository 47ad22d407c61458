#!/usr/bin/env bash
# Checks the formatting; builds the core alone (widgets off) and runs its tests; builds every
# test and runs them all, headless; then the same tests built with AddressSanitizer, UBSan and
# libstdc++'s assertions. The project's code builds with -Werror here (TALLYBROOK_WERROR; a
# build by hand keeps warnings as warnings). TALLYBROOK_SKIP_SANITIZE=1 skips the last pass.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# A compiler cache, where one is installed, makes a second run of the same sources cheap. Paths
# are taken relative to the checkout, so that another clone of the same commit shares it. The
# precompiled headers are left out then: each checkout's own would miss the cache every time.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DTALLYBROOK_PCH=OFF)
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
    export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
fi

# Reported at the end, so that a badly formatted line does not hide what the tests say.
format_ok=1
tools/format.sh --check || format_ok=0

# The core must build and pass without the widgets. The long runs (the kill loop, each function
# alone, the two Syncthing daemons) are left to the full pass, which runs the same tests.
cmake -S . -B build/core -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYBROOK_WIDGETS=OFF -DTALLYBROOK_WERROR=ON \
    "${launcher[@]}" >/dev/null
cmake --build build/core -j "$jobs"
ctest --test-dir build/core --output-on-failure -j "$jobs" -LE 'reliability|alone|e2e'

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYBROOK_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"

if [ "${TALLYBROOK_SKIP_SANITIZE:-0}" != 1 ]; then
    cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALLYBROOK_SANITIZE=ON -DTALLYBROOK_WERROR=ON \
        "${launcher[@]}" >/dev/null
    cmake --build build/asan -j "$jobs"
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build/asan --output-on-failure -j "$jobs" -LE no-sanitize
fi

if [ "$format_ok" != 1 ]; then
    echo "Some files are not formatted as .clang-format says: run tools/format.sh" >&2
    exit 1
fi

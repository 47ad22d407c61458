#!/usr/bin/env bash
# Builds Tallybrook and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLYBROOK_TESTS=OFF >/dev/null
cmake --build build/release --target tallybrook
exec build/release/src/tallybrook "$@"

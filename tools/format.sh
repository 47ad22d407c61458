#!/usr/bin/env bash
# clang-format over the project's own C++ (src tests bench tools, *.h and *.cpp) with the
# repository's .clang-format.
# Usage: tools/format.sh --check   lists the files that need formatting and fails if any do
#        tools/format.sh           formats them in place
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-fix}
case "$mode" in
    --check | check) mode=check ;;
    --fix | fix) mode=fix ;;
    *) echo "usage: tools/format.sh [--check]" >&2; exit 2 ;;
esac

clang_format=${CLANG_FORMAT:-clang-format}
if ! command -v "$clang_format" >/dev/null; then
    echo "tools/format.sh: $clang_format is missing (tools/deps.sh test installs it)" >&2
    exit 2
fi

# Tracked and new files alike (in a git checkout), never what a build folder holds.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -d '' files < <(git ls-files -z --cached --others --exclude-standard -- \
        'src/*.h' 'src/*.cpp' 'tests/*.h' 'tests/*.cpp' 'bench/*.h' 'bench/*.cpp' 'tools/*.h' 'tools/*.cpp')
else
    mapfile -d '' files < <(find src tests bench tools -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
fi
existing=()
for f in "${files[@]}"; do
    [ -f "$f" ] && existing+=("$f") # a deleted file not yet staged is left out
done
files=("${existing[@]}")
[ ${#files[@]} -gt 0 ] || { echo "tools/format.sh: no files found" >&2; exit 2; }

if [ "$mode" = fix ]; then
    printf '%s\0' "${files[@]}" | xargs -0 -n 50 "$clang_format" -i --style=file
    exit 0
fi

# One run over all files; each violation is reported as "FILE:LINE:COL: error: ...".
report=$(printf '%s\0' "${files[@]}" | xargs -0 -n 100 "$clang_format" --dry-run --Werror --style=file 2>&1) || true
mapfile -t bad < <(grep -oE '^[^:]+:[0-9]+:[0-9]+: error: code should be clang-formatted' <<<"$report" |
                   cut -d: -f1 | sort -u)
if [ ${#bad[@]} -gt 0 ]; then
    printf '%s\n' "${bad[@]}"
    echo "clang-format: ${#bad[@]} of ${#files[@]} files need formatting (tools/format.sh formats them)"
    exit 1
fi
if grep -q 'error' <<<"$report"; then
    echo "$report" >&2 # clang-format itself failed (a bad .clang-format, an unreadable file)
    exit 2
fi
echo "clang-format: all ${#files[@]} files are formatted"

#!/usr/bin/env bash
# Renders every window picture that a change of code without a change of behaviour must leave
# pixel-identical: the sample studio and a file with long names (as columns and as a table);
# every tab and the tray panel; English and Turkish; scale 1 and 2.
# Usage: tools/snapshot/matrix.sh BUILD_DIR OUT_DIR, then compare two OUT_DIRs with
# tools/snapshot/compare.sh A B.
set -euo pipefail
build=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
shot="$build/tools/snapshot/tb_window_snapshot"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/long-names.py" "$work/long.json" columns
python3 "$here/long-names.py" "$work/long-table.json" table
mkdir -p "$out"
for scale in 1 2; do
    QT_QPA_PLATFORM=offscreen "$shot" --out "$out/sample-s$scale" --lang both --scale $scale >/dev/null 2>&1
    for data in long long-table; do
        QT_QPA_PLATFORM=offscreen "$shot" --data "$work/$data.json" --year 2026 --out "$out/$data-s$scale" \
            --lang both --scale $scale >/dev/null 2>&1
    done
done
find "$out" -name '*.png' | wc -l

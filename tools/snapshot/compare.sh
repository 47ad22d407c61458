#!/usr/bin/env bash
# Compares two picture folders made by matrix.sh pixel by pixel; lists every picture that
# differs or is missing and exits non-zero if any does.
set -euo pipefail
a=$1
b=$2
status=0
while IFS= read -r rel; do
    if [ ! -f "$b/$rel" ]; then
        echo "missing: $rel"
        status=1
    elif ! cmp -s "$a/$rel" "$b/$rel"; then
        echo "differs: $rel"
        status=1
    fi
done < <(cd "$a" && find . -name '*.png' | sort)
[ $status = 0 ] && echo "all $(cd "$a" && find . -name '*.png' | wc -l) pictures identical"
exit $status

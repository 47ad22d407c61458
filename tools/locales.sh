#!/usr/bin/env bash
# Compiles the system locales the tests run under into a private folder (for LOCPATH), so
# they need no system-wide locale-gen. Usage: tools/locales.sh DIR
set -euo pipefail
dir=${1:?usage: tools/locales.sh DIR}
mkdir -p "$dir"
for name in en_US de_DE tr_TR fr_FR; do
    out="$dir/$name.UTF-8"
    [ -f "$out/LC_NUMERIC" ] && continue
    if [ ! -f "/usr/share/i18n/locales/$name" ]; then
        echo "tools/locales.sh: /usr/share/i18n/locales/$name is missing (Debian package 'locales')" >&2
        exit 1
    fi
    # localedef exits 1 on mere warnings; the compiled files are what count.
    localedef -i "$name" -f UTF-8 "$out" || true
    if [ ! -f "$out/LC_NUMERIC" ]; then
        echo "tools/locales.sh: could not compile $name.UTF-8" >&2
        exit 1
    fi
done

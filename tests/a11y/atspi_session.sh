#!/usr/bin/env bash
# Inside tools/xsession.sh and dbus-run-session: starts the accessibility bus, the program with
# its accessibility bridge on, and the walk. Usage: atspi_session.sh PROGRAM WALK.py
# Exits 77 (skipped) when the accessibility tools are not installed.
set -euo pipefail
program=$1
walk=$2
launcher=/usr/libexec/at-spi-bus-launcher
if [ ! -x "$launcher" ] || ! /usr/bin/python3 -c "import pyatspi" 2>/dev/null; then
    echo "atspi: at-spi2-core or python3-pyatspi is missing (tools/deps.sh test)" >&2
    exit 77
fi
home=$(mktemp -d)
finish() {
    kill ${app:-} 2>/dev/null && wait ${app:-} 2>/dev/null || true
    kill ${bus:-} 2>/dev/null || true
    rm -rf "$home"
}
trap finish EXIT
export HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Tallybrook"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[General]\ndismissedMoveToApps=true\ndismissedSampleDataTip=true\n' > "$XDG_CONFIG_HOME/Tallybrook/Tallybrook.conf"
export TALLYBROOK_RATE_URL=http://127.0.0.1:9/v6/latest/USD
"$launcher" --launch-immediately &
bus=$!
# The bridge starts when the desktop says a screen reader runs; here it is told directly.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$program" &
app=$!
/usr/bin/python3 "$walk"

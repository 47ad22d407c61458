#!/usr/bin/env bash
# Runs a command inside a private X server (1600x1000) with openbox as window manager and tint2
# as panel and system tray, so the program can be seen, clicked with xdotool and photographed
# with `import -window root`. The command's exit status is returned.
# Usage: tools/xsession.sh COMMAND [ARGS...]
# The tests that use it share one lock in CTest: parallel `xvfb-run -a` can race for a display.
set -euo pipefail

if [ $# -eq 0 ]; then
    echo "usage: $0 COMMAND [ARGS...]" >&2
    exit 2
fi

if [ "${TB_XSESSION:-}" != inside ]; then
    for tool in xvfb-run openbox tint2 xdotool xprop; do
        command -v "$tool" >/dev/null || { echo "xsession: $tool is missing (tools/deps.sh test)" >&2; exit 3; }
    done
    export TB_XSESSION=inside
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$@"
fi

export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
log=$(mktemp -d)
cleanup() {
    kill "${tray_pid:-}" "${wm_pid:-}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$log"
}
trap cleanup EXIT

wait_for() { # seconds, command...
    local tries=$(( $1 * 20 ))
    shift
    for _ in $(seq "$tries"); do
        if "$@" >/dev/null 2>&1; then return 0; fi
        sleep 0.05
    done
    echo "xsession: gave up waiting for: $*" >&2
    for f in "$log"/*; do [ -s "$f" ] && sed "s|^|xsession: $(basename "$f"): |" "$f" >&2; done
    return 1
}

# On a busy machine the server has at times not yet taken connections when xvfb-run hands over,
# and openbox then ends at once ("Failed to open the display"): wait for the server, and start
# openbox again should it have ended.
wait_for 10 xprop -root
start_wm() {
    openbox --sm-disable >"$log/openbox" 2>&1 &
    wm_pid=$!
}
wm_ready() {
    kill -0 "$wm_pid" 2>/dev/null || start_wm
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"
}
start_wm
wait_for 10 wm_ready

tint2 >"$log/tint2" 2>&1 &
tray_pid=$!
# Tests that take the tray away (a panel crashing) end this process, and only this one.
export TB_TRAY_PID=$tray_pid
wait_for 10 xdotool search --onlyvisible --classname tint2
# The panel maps once its tray has claimed the selection; give it a moment to settle.
sleep 0.3

set +e
"$@"
status=$?
set -e
exit $status

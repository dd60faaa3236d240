#!/usr/bin/env bash
# Runs a command on an X server of its own: Xvfb on the first free display
# (it picks the number itself, so parallel runs never collide), with openbox
# as the window manager when it is installed. Both are stopped afterwards and
# the command's exit status is returned.
#   run_on_xvfb.sh COMMAND [ARGS...]
set -uo pipefail

numfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$numfile" >/dev/null 2>&1 &
xvfb=$!
wm=""
cleanup() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null && wait "$wm" 2>/dev/null
    kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -f "$numfile"
}
trap cleanup EXIT

for _ in $(seq 100); do
    [ -s "$numfile" ] && break
    kill -0 "$xvfb" 2>/dev/null || { echo "run_on_xvfb: Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
[ -s "$numfile" ] || { echo "run_on_xvfb: Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$numfile")"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

if command -v openbox >/dev/null 2>&1; then
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    # The manager owns the screen's WM selection once it is ready.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
fi

"$@"

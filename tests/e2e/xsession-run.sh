#!/usr/bin/env bash
# Runs a test program in a private X server: starts Xvfb on a free display, points the program
# at it with Qt's X11 platform, and stops the server afterwards. Exits 77 (skipped) when Xvfb or
# xdotool is not installed; scripts/test.sh installs both.
#   xsession-run.sh PROGRAM [ARGS...]
set -u
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
dir=$(mktemp -d)
xpid=
cleanup() { [ -n "$xpid" ] && kill "$xpid" 2>/dev/null && wait "$xpid" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
xpid=$!
for _ in $(seq 100); do
    [ -s "$dir/display" ] && break
    sleep 0.1
done
[ -s "$dir/display" ] || { echo "Xvfb did not start:"; cat "$dir/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n 1 "$dir/display")" QT_QPA_PLATFORM=xcb
"$@"

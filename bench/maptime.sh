#!/usr/bin/env bash
# When the X server maps the window: the host with the memo module on a store of 100 memos against
# the same-screen floor (../shared/tools/qt-floor-memo.cpp), started in turns, each on a fresh
# Xvfb, each with a fresh profile, as bench/startup.sh starts them. An X client beside them
# (bench/mapwatch.c) takes the time of the map notification itself, so the result is not rounded to
# the rounds of a polling loop. Prints every start, then the medians and their ratio.
#
#   bash bench/maptime.sh [RUNS]      (default 12 of each)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-12}
. scripts/deps.sh
memo_ensure_packages xvfb x11-utils libxcb1-dev
cmake --preset release >/dev/null
cmake --build --preset release --target memohost memo bench_fillstore >/dev/null
work=$(mktemp -d)
xvfb="" watch="" app=""
cleanup() {
    for p in $app $watch $xvfb; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
build/release/bin/bench_fillstore bench "$work/data" 100 >/dev/null
mkdir -p /tmp/startup-bench
floor=/tmp/startup-bench/qt-floor-memo
if [ ! -x "$floor" ] || [ ../shared/tools/qt-floor-memo.cpp -nt "$floor" ]; then
    g++ -O2 -fPIC -o "$floor" ../shared/tools/qt-floor-memo.cpp $(pkg-config --cflags --libs Qt6Widgets sqlite3)
fi
watcher=/tmp/startup-bench/mapwatch
if [ ! -x "$watcher" ] || [ bench/mapwatch.c -nt "$watcher" ]; then
    gcc -O2 -o "$watcher" bench/mapwatch.c $(pkg-config --cflags --libs xcb)
fi
# The floor reads its rows from a store of its own, which it fills the first time.
rm -f "$work/floor.db"*
"$floor" "$work/floor.db" -platform offscreen >/dev/null 2>&1 &
app=$!
sleep 2
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
app=""

# start LABEL COMMAND...: one start on a fresh Xvfb; prints "LABEL ms" (launch to map)
start() {
    local label=$1 d=90 t0 map
    shift
    while [ -e "/tmp/.X$d-lock" ] || [ -e "/tmp/.X11-unix/X$d" ]; do d=$((d + 1)); done
    Xvfb ":$d" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do xdpyinfo -display ":$d" >/dev/null 2>&1 && break; sleep 0.05; done
    "$watcher" ":$d" >"$work/map" &
    watch=$!
    for _ in $(seq 100); do grep -q ready "$work/map" 2>/dev/null && break; sleep 0.01; done
    rm -rf "$work/profile"
    mkdir -p "$work/profile/"{home,config,data,cache,runtime}
    chmod 700 "$work/profile/runtime"
    t0=${EPOCHREALTIME/./}
    env -u DBUS_SESSION_BUS_ADDRESS -u SESSION_MANAGER DISPLAY=":$d" HOME="$work/profile/home" \
        XDG_CONFIG_HOME="$work/profile/config" XDG_DATA_HOME="$work/profile/data" \
        XDG_CACHE_HOME="$work/profile/cache" XDG_RUNTIME_DIR="$work/profile/runtime" \
        setsid "$@" >/dev/null 2>&1 </dev/null &
    app=$!
    for _ in $(seq 300); do grep -q '^MAP' "$work/map" && break; sleep 0.01; done
    sleep 0.3
    kill "$app" "$watch" 2>/dev/null || true
    wait "$app" "$watch" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    app="" watch="" xvfb=""
    map=$(awk '/^MAP/{print $2; exit}' "$work/map")
    [ -n "$map" ] || { echo "$label: no window was mapped"; return 1; }
    echo "$label $(((map - t0) / 1000))"
}

for _ in $(seq "$runs"); do
    start floor "$floor" "$work/floor.db"
    start host "$PWD/build/release/bin/memohost" --user bench --data-dir "$work/data"
done | tee "$work/times"
median() { grep "^$1 " "$work/times" | awk '{print $2}' | sort -n | awk '{a[NR]=$1} END{print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
f=$(median floor)
h=$(median host)
awk -v f="$f" -v h="$h" 'BEGIN{printf "map time, median: floor %.1f ms, host %.1f ms, ratio %.2f\n", f, h, h/f}'

#!/usr/bin/env bash
# Where the start-up memory goes: the host with the memo module on a store of 100 memos and the
# same-screen floor (../shared/tools/qt-floor-memo.cpp), each started once on a private Xvfb as
# bench/startup.sh starts them. One second after the window is mapped, the resident pages of each
# are summed by what they belong to; prints MB for the floor, the host and the difference, and
# each one's peak (VmHWM).
#
#   bash bench/startup-memory.sh [-p]     -p: park the pointer in a corner first (by default it
#                                         rests mid-screen, on the detail pane, as in startup.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
park=""
[ "${1:-}" = "-p" ] && park=1
. scripts/deps.sh
memo_ensure_packages xvfb xdotool x11-utils
cmake --preset release >/dev/null
cmake --build --preset release --target memohost memo bench_fillstore >/dev/null
work=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
build/release/bin/bench_fillstore bench "$work/data" 100 >/dev/null
floor=/tmp/startup-bench/qt-floor-memo
if [ ! -x "$floor" ]; then
    mkdir -p /tmp/startup-bench
    g++ -O2 -fPIC -o "$floor" ../shared/tools/qt-floor-memo.cpp $(pkg-config --cflags --libs Qt6Widgets sqlite3)
fi

d=90
while [ -e "/tmp/.X$d-lock" ] || [ -e "/tmp/.X11-unix/X$d" ]; do d=$((d + 1)); done
Xvfb ":$d" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do xdpyinfo -display ":$d" >/dev/null 2>&1 && break; sleep 0.05; done
[ -n "$park" ] && DISPLAY=":$d" xdotool mousemove 1919 1079

# measure NAME REGEX COMMAND...: prints "group kB" lines and "peak kB" into $work/NAME
measure() {
    local name=$1 regex=$2 pid
    shift 2
    mkdir -p "$work/home-$name"
    HOME="$work/home-$name" XDG_CONFIG_HOME="$work/home-$name" DISPLAY=":$d" "$@" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 500); do
        DISPLAY=":$d" xdotool search --onlyvisible --limit 1 --name "$regex" >/dev/null 2>&1 && break
        sleep 0.01
    done
    sleep 1
    awk '/^[0-9a-f]+-[0-9a-f]+ /{ f = $6
           g = "other libraries and files"
           if (f == "" || f == "[heap]" || f ~ /^\[anon/) g = "heap and anonymous memory"
           else if (f ~ /\[stack/) g = "stacks"
           else if (f ~ /memfd:|SYSV/) g = "window picture shared with the X server"
           else if (f ~ /libQt6/) g = "Qt libraries"
           else if (f ~ /libzorvakit/) g = "kit library (code and skin pixels)"
           else if (f ~ /\/build\/release\/bin\//) g = "module, framework, store, host code"
           else if (f ~ /\.tt[fc]$/) g = "fonts"
           else if (f ~ /libpng|libjpeg|imageformats/) g = "image decoders" }
         /^Rss:/ { kb[g] += $2 }
         END { for (g in kb) print g "\t" kb[g] }' "/proc/$pid/smaps" >"$work/$name"
    printf 'peak (VmHWM)\t%s\n' "$(awk '/^VmHWM:/{print $2}' "/proc/$pid/status")" >>"$work/$name"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

measure floor '^qt-floor-memo$' "$floor" /tmp/startup-bench/qt-floor-memo.db
measure host '^MemoHost - bench$' build/release/bin/memohost --user bench --data-dir "$work/data"

printf '| what | floor MB | host MB | difference |\n|---|---|---|---|\n'
sort -t$'\t' -k1,1 "$work/floor" >"$work/f"
sort -t$'\t' -k1,1 "$work/host" >"$work/h"
join -t$'\t' -a1 -a2 -e0 -o 0,1.2,2.2 "$work/f" "$work/h" |
    awk -F'\t' '{ printf "%s\t| %s | %.1f | %.1f | %+.1f |\n", ($1 ~ /^peak/) ? -1e12 : $3 - $2, $1, $2 / 1024,
                          $3 / 1024, ($3 - $2) / 1024 }' | sort -t$'\t' -k1,1gr | cut -f2-

#!/usr/bin/env bash
# Time-to-window and peak memory of the host with the memo module on a store of 100 memos,
# against the same screen done with bare Qt widgets and 100 rows from SQLite, on a private Xvfb
# (../shared/tools/startup-ratio.sh with its default floor; `bash bench/startup.sh -f bare` compares
# with the bare window floor instead).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
memo_ensure_packages xvfb xdotool x11-utils
cmake --preset release >/dev/null
cmake --build --preset release --target memohost memo bench_fillstore
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
build/release/bin/bench_fillstore bench "$data" 100
../shared/tools/startup-ratio.sh "$@" -r '^MemoHost - bench$' -- "$PWD/build/release/bin/memohost" --user bench --data-dir "$data"

#!/usr/bin/env bash
# Builds the project and starts the host with the memo module on the current user's store.
# Arguments are passed to the host (see README: --user, --data-dir, --module, --screenshot).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh

memo_ensure_packages
cmake --preset release >/dev/null
cmake --build --preset release

host=build/release/bin/memohost
if [ ! -x "$host" ]; then
    echo "Built the libraries; the host program ($host) is not part of this build yet."
    exit 0
fi
screenshot=0
for a in "$@"; do case $a in --screenshot|--screenshot=*) screenshot=1 ;; esac; done
if [ $screenshot -eq 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display here (DISPLAY is not set): to get a picture instead, run: bash scripts/run.sh --screenshot memo.png" >&2
    exit 1
fi
exec "$host" "$@"

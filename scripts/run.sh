#!/usr/bin/env bash
# Builds the host, the module and their libraries (not the tests) and starts the host with the memo
# module on the current user's store. Arguments are passed to the host (see README: --user,
# --data-dir, --module, --screenshot, --help, --version).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh

memo_ensure_packages
cmake --preset release >/dev/null
cmake --build --preset release --target memohost memo

# Without a display the host itself says how to get a picture instead.
exec build/release/bin/memohost "$@"

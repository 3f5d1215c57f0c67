#!/usr/bin/env bash
# Builds everything and runs every test.
#   scripts/test.sh           the debug build (build/dev)
#   scripts/test.sh --asan    the same suite under AddressSanitizer + UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh

preset=dev
[ "${1:-}" = "--asan" ] && preset=asan

# fonts-noto-color-emoji: emoji in memos drawn as users see them, not as empty boxes. radicale and
# xandikos: the CalDAV servers the sync tests start on loopback; openssl makes the certificate of
# the one behind HTTPS.
memo_ensure_packages libbenchmark-dev xvfb xdotool fonts-noto-color-emoji radicale xandikos openssl
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" --output-on-failure --timeout 300

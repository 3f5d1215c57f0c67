#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang, ASan + UBSan) and runs each for a bounded time.
#   scripts/fuzz.sh                     every target for 60 s (what CI runs)
#   scripts/fuzz.sh 3600                every target for an hour
#   scripts/fuzz.sh 600 cxml storefile  the named targets only (callbacks, cxml, storefile, import,
#                                       syncreplies)
# Each run starts from the committed example inputs (fuzz/examples/<target>) and from what earlier
# runs kept in build/fuzz/corpus/<target>. An input that crashes, leaks or hangs is saved in
# build/fuzz/findings/<target>/ and the script fails; replay it with build/fuzz/bin/fuzz_<target> FILE.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh

seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-callbacks cxml storefile import syncreplies}

memo_ensure_packages clang libclang-rt-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# Leaks of the system libraries the targets load are not ours to find.
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
for target in $targets; do
    corpus=build/fuzz/corpus/$target
    findings=build/fuzz/findings/$target
    mkdir -p "$corpus" "$findings"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1
             -artifact_prefix="$findings/")
    case $target in
        callbacks | cxml | syncreplies) options+=(-dict=fuzz/xml.dict) ;;
        storefile) options+=(-max_len=65536) ;;
        import) options+=(-dict=fuzz/json.dict -max_len=65536) ;;
    esac
    echo "== fuzz_$target for ${seconds}s"
    build/fuzz/bin/fuzz_"$target" "${options[@]}" "$corpus" "fuzz/examples/$target"
done

#!/usr/bin/env bash
# Checks that every C++ file git tracks is formatted as .clang-format says; lists the files that are
# not and fails. Format them with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
memo_packages="" memo_ensure_packages clang-format
mapfile -t files < <(git ls-files '*.cpp' '*.h')
unformatted=()
for file in "${files[@]}"; do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "Not formatted as .clang-format says (clang-format $(clang-format --version | grep -o '[0-9][0-9.]*' | head -1)):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "All ${#files[@]} C++ files are formatted."

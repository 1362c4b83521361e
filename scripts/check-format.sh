#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ source differs from the house
# style (.clang-format). `scripts/check-format.sh --fix` rewrites them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
bad=()
for f in "${files[@]}"; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if ((${#bad[@]})); then
    echo "These files differ from .clang-format (scripts/check-format.sh --fix mends them):" >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
fi
echo "Formatting: ${#files[@]} files follow .clang-format"

#!/usr/bin/env bash
# The two entry points of the README:
#   chemodesk.sh run       set up, build and start the client on the embedded demo database
#   chemodesk.sh test      set up, build and run every test (SQLite and a throwaway PostgreSQL)
# and, for developers, the same tests on a build with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-sanitize/, slower):
#   chemodesk.sh sanitize
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-run}

bash "$root/scripts/setup-debian.sh"
case $mode in
run | test) preset=ci build=${CHEMODESK_BUILD_DIR:-$root/build} ;;
sanitize)
    preset=sanitize build=${CHEMODESK_BUILD_DIR:-$root/build-sanitize}
    # Qt's own allocations kept until exit are not this program's leaks.
    export ASAN_OPTIONS=detect_leaks=0:halt_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ;;
*)
    echo "usage: $0 run|test|sanitize" >&2
    exit 2
    ;;
esac
# The house style is checked before anything is built; warnings are errors
# in these builds (CMakePresets.json), so neither can land unseen.
if [ "$mode" != run ]; then
    bash "$root/scripts/check-format.sh"
fi
cmake --preset "$preset" -S "$root" -B "$build" >/dev/null
cmake --build "$build" --parallel "$(nproc)"

case $mode in
run)
    shift || true
    exec "$build/src/app/chemodesk" "$@"
    ;;
test | sanitize)
    pgdir=$(mktemp -d /tmp/chemodesk-pg.XXXXXX)
    port=$((20000 + RANDOM % 20000))
    trap 'bash "$root/scripts/pg-throwaway.sh" stop "$pgdir"; rm -rf "$pgdir"' EXIT
    export CHEMODESK_TEST_PG=$(bash "$root/scripts/pg-throwaway.sh" start "$pgdir" "$port")
    export CHEMODESK_REQUIRE_PG=1
    export CHEMODESK_BIN_DIR="$build/src"
    rm -rf "$build/tests/tmp"
    cd "$build"
    ctest --output-on-failure --timeout 600 -j "$(nproc)"
    ;;
esac

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
if [ "$mode" = sanitize ]; then
    build=${CHEMODESK_BUILD_DIR:-$root/build-sanitize}
    flags="-fsanitize=address,undefined -fno-omit-frame-pointer"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS="$flags -O1" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
    # Qt's own allocations kept until exit are not this program's leaks.
    export ASAN_OPTIONS=detect_leaks=0:halt_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    build=${CHEMODESK_BUILD_DIR:-$root/build}
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
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
*)
    echo "usage: $0 run|test|sanitize" >&2
    exit 2
    ;;
esac

#!/usr/bin/env bash
# The two entry points of the README:
#   chemodesk.sh run    set up, build and start the client on the embedded demo database
#   chemodesk.sh test   set up, build and run every test (SQLite and a throwaway PostgreSQL)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CHEMODESK_BUILD_DIR:-$root/build}

bash "$root/scripts/setup-debian.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)"

case ${1:-run} in
run)
    shift || true
    exec "$build/src/app/chemodesk" "$@"
    ;;
test)
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
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

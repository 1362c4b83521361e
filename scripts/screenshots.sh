#!/usr/bin/env bash
# Pictures of the client for the documentation: builds it, starts it under a
# virtual X server on a fresh embedded demo database and lets it photograph
# its own windows into docs/: the sign-in dialog (signin.png), the main
# window with a selected patient and the assistant's announcement
# (mainwindow.png) and the patient list (patientlist.png).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CHEMODESK_BUILD_DIR:-$root/build}

cmake --preset ci -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target chemodesk

# A home of its own: settings, database and lock never touch the user's.
work=$(mktemp -d /tmp/chemodesk-shots.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
mkdir -p "$root/docs"

XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" \
    CHEMODESK_SCREENSHOT_DIR="$root/docs" \
    timeout 180 xvfb-run -a -s "-screen 0 1280x800x24" "$build/src/app/chemodesk"

for picture in signin mainwindow patientlist; do
    test -s "$root/docs/$picture.png" || { echo "missing docs/$picture.png" >&2; exit 1; }
done
ls -l "$root"/docs/*.png

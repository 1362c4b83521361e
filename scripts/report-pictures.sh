#!/usr/bin/env bash
# The printed pictures of the documentation: on a fresh embedded demo
# database with the server clock at 2026-12-01 14:05:09, one workstation saves
# a slip for O'CAMPO, NORMA (admission 261018: a medicine, a laboratory
# service, an x-ray and the doctor's fee); the charge slip and the audit
# report of that day, and the reprinted form of pharmacy request 505 (CHUA,
# VICENTE, admission 261021), are rendered to PDF and their first pages kept,
# with a PNG of each, in docs/ (chargeslip.pdf/png, report-audit.pdf/png,
# request-form.pdf/png).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${CHEMODESK_BUILD_DIR:-$root/build}

cmake --preset ci -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target chemodesk-admin slip-saver

work=$(mktemp -d /tmp/chemodesk-prints.XXXXXX)
trap 'rm -rf "$work"' EXIT
admin="$build/src/admin/chemodesk-admin"
db="$work/demo.db"
hospital="MABINI VALLEY MEDICAL CENTER"
address="Gen. Luna St., Brgy. Poblacion, Santa Cruz, Laguna"

"$admin" init "$db" --demo >/dev/null
"$admin" clock "$db" fixed "2026-12-01 14:05:09" >/dev/null
slip=$("$build/tests/slip-saver" "$db" 261018 1000018)
echo "saved $slip"

render() { # NAME TEMPLATE PARAM...
    local name=$1 template=$2
    shift 2
    local args=()
    for value in "$@"; do args+=(--param "$value"); done
    "$admin" report "$db" "$root/Reports/$template" "${args[@]}" --pdf "$work/$name.pdf"
    pdfseparate -f 1 -l 1 "$work/$name.pdf" "$root/docs/$name.pdf"
    pdftoppm -png -r 80 -singlefile "$root/docs/$name.pdf" "$root/docs/$name"
}

mkdir -p "$root/docs"
render chargeslip Chargeslip.RPT "Cancer Slip No.: $slip" 261018 PH "$hospital" "$address" ""
render report-audit CancerAudit.rpt 12/01/2026 12/01/2026 A 1001 \
    "CANCER AUDIT REPORT ALLPATIENT" "$hospital" "$address"
render request-form PHCSRequestForm.rpt 505 261021 "$hospital" "$address"
ls -l "$root"/docs/chargeslip.* "$root"/docs/report-audit.* "$root"/docs/request-form.*

#!/usr/bin/env bash
# Forty workstations on one PostgreSQL server searching the patient list.
#
#   bash bench/load-patientlist.sh [BUILD_DIR]      (default build)
#
# Starts a throwaway server (LOAD_PG_DIR, default /tmp/chemodesk-load; LOAD_PG_PORT, default
# 25499; a server already listening there is used as it is), builds 1,000,000 registrations with
# the generator (once: drop the database chemodesk_load to build it again with a newer generator;
# the peak memory of that init is printed), captures the statements the layer sends for each
# mode of the list through `chemodesk-admin sql` (CHEMODESK_ENGINE_TRACE), and replays them with
# pgbench from 40 clients: closed loop (each client searches again as soon as it has its list),
# and at one search per workstation every two seconds (--rate 20). Prints throughput and latency
# percentiles per mode.
# Not run by CI: it takes several minutes and a few GB of disk.
set -euo pipefail
build=${1:-build}
admin=$build/src/admin/chemodesk-admin
dir=${LOAD_PG_DIR:-/tmp/chemodesk-load}
port=${LOAD_PG_PORT:-25499}
clients=${LOAD_CLIENTS:-40}
seconds=${LOAD_SECONDS:-20}
warmup=${LOAD_WARMUP:-20} # seconds each run goes on before it is measured
# The layer prepares a text on the server the second time it sends it, and each client here
# sends its few texts again and again: prepared, as the layer would. LOAD_PROTOCOL=simple sends
# every search planned anew, as a search for a name not asked before is.
protocol=${LOAD_PROTOCOL:-prepared}
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

started=0
if ! "$bin/pg_isready" -q -h 127.0.0.1 -p "$port"; then
    bash "$here/scripts/pg-throwaway.sh" start "$dir" "$port" >/dev/null
    started=1
fi
# A server given the memory a hospital's would have: the registrations' pages stay in its own
# cache rather than being read from the system's at every search.
if [[ $("$bin/psql" -X -h 127.0.0.1 -p "$port" -U postgres -d postgres -tAc \
    "SHOW shared_buffers") != 1GB ]]; then
    "$bin/psql" -X -q -h 127.0.0.1 -p "$port" -U postgres -d postgres \
        -c "ALTER SYSTEM SET shared_buffers = '1GB'"
    runas=()
    [[ $(id -u) -eq 0 ]] && runas=(runuser -u postgres --)
    "${runas[@]}" "$bin/pg_ctl" -D "$(
        "$bin/psql" -X -h 127.0.0.1 -p "$port" -U postgres -d postgres -tAc "SHOW data_directory"
    )" -w restart >/dev/null
fi
db=chemodesk_load
url=postgresql://postgres@127.0.0.1:$port/$db
psql() { "$bin/psql" -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U postgres "$@"; }
if ! psql -d postgres -tAc "SELECT 1 FROM pg_database WHERE datname = '$db'" | grep -q 1; then
    psql -d postgres -c "CREATE DATABASE $db"
    echo "Building 1,000,000 registrations..."
    /usr/bin/time -v "$admin" init "$url" --demo --registrations 1000000 2>"$work/init.time" >/dev/null
    grep -E "Elapsed|Maximum resident" "$work/init.time" | sed 's/^\s*/init: /'
fi
# Bring an older load database up to this program's schema (the list's indexes).
"$admin" init "$url" >/dev/null
# Vacuumed and warm as a server in use would be: the names index is read without the
# patients' rows only where the table's pages are known to be all visible.
psql -d "$db" -c "VACUUM (ANALYZE) patient_data.tbmaster, patient_data.tbpatient,
    patient_data.tboutpatient" >/dev/null
psql -d "$db" -c "CREATE EXTENSION IF NOT EXISTS pg_prewarm" \
    -c "SELECT sum(pg_prewarm(c.oid)) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
        WHERE n.nspname = 'patient_data' AND c.relkind IN ('r', 'i')" >/dev/null || true

# The list's modes as the screen asks for them: current in-patients, the walk-in cash list it
# opens on, current out-patients; then searches by the first letters of a last name (the
# previous modes require one) and by hospital number.
prefixes=(SANT REY CRU GAR MEN DEL VIL TOR BAU RAM FLO AQU)
modes=(
    "in-patients:I::"
    "cash-list:C::"
    "out-patients:O::"
    "cash-search:C:NAME:"
    "in-search:I:NAME:"
    "previous-in-search:T:NAME:"
    "previous-out-search:D:NAME:"
    "number-search:O::2000"
)
printf '\nServer and pgbench share this machine (%s cores); %s clients, %s s per run' "$(nproc)" \
    "$clients" "$seconds"
printf ' measured after %s s of it; texts sent %s.\n' "$warmup" "$protocol"
printf '%-22s %-13s %9s %8s %8s %8s\n' mode run tps "p50 ms" "p95 ms" "p99 ms"
for entry in "${modes[@]}"; do
    IFS=: read -r name mode name_arg number_arg <<<"$entry"
    scripts=()
    for i in "${!prefixes[@]}"; do
        last=""
        hosp=""
        [[ $name_arg == NAME ]] && last=${prefixes[$i]}
        [[ -n $number_arg ]] && hosp=$number_arg$((i % 10))
        trace=$work/$name-$i.trace
        CHEMODESK_ENGINE_TRACE=$trace "$admin" sql "$url" \
            "Clinical_Area..spCancer_GetPatient '$mode','$last','$hosp',''" >/dev/null
        grep -i '^select' "$trace" | tail -1 | sed 's/$/;/' >"$work/$name-$i.sql"
        scripts+=(-f "$work/$name-$i.sql")
        # One text is enough where the mode has no search text.
        [[ -z $last && -z $hosp ]] && break
    done
    for run in closed rate; do
        extra=()
        [[ $run == rate ]] && extra=(--rate $((clients / 2)))
        rm -f "$work"/pgbench_log.*
        (cd "$work" && "$bin/pgbench" -n -h 127.0.0.1 -p "$port" -U postgres -c "$clients" -j 2 \
            -M "$protocol" -T $((warmup + seconds)) -l --log-prefix=pgbench_log "${extra[@]}" \
            "${scripts[@]}" "$db" >"$work/out" 2>&1) || { cat "$work/out"; exit 1; }
        # Per-transaction log: the third field is the latency in microseconds (from the
        # scheduled start when --rate is given, so a queue behind a busy server counts), the
        # fifth and sixth when it ended. The first seconds are left out: a server process just
        # started reads the catalog and maps the shared cache page by page, its first ten
        # searches costing up to thirty times the later ones; a workstation keeps its
        # connection all day, and paced at one search in two seconds a client would spend the
        # whole run in that start.
        cat "$work"/pgbench_log.* | awk -v warmup="$warmup" '
            { t[NR] = $5 + $6 / 1e6; l[NR] = $3; if (NR == 1 || t[NR] < first) first = t[NR] }
            END { for (i = 1; i <= NR; i++) if (t[i] >= first + warmup) print l[i] }' |
            sort -n >"$work/lat"
        n=$(wc -l <"$work/lat")
        pct() { sed -n "$(((n * $1 + 99) / 100))p" "$work/lat" | awk '{printf "%.2f", $1 / 1000}'; }
        tps=$(awk -v n="$n" -v s="$seconds" 'BEGIN { print n / s }')
        printf '%-22s %-13s %9.1f %8s %8s %8s\n' "$name" "$run" "$tps" "$(pct 50)" "$(pct 95)" \
            "$(pct 99)"
    done
done
echo
echo "The statements: $work is removed on exit; run with CHEMODESK_ENGINE_TRACE to see them."
if [[ $started == 1 && ${LOAD_KEEP_SERVER:-0} != 1 ]]; then
    bash "$here/scripts/pg-throwaway.sh" stop "$dir"
fi

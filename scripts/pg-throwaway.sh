#!/usr/bin/env bash
# A throwaway PostgreSQL cluster on loopback for the tests:
#   pg-throwaway.sh start DIR PORT   prints the URL to connect with
#   pg-throwaway.sh stop DIR
set -euo pipefail
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
cmd=$1 dir=$2
as_postgres() { if [[ $(id -u) -eq 0 ]]; then runuser -u postgres -- "$@"; else "$@"; fi; }
case $cmd in
start)
    port=$3
    mkdir -p "$dir"
    [[ $(id -u) -eq 0 ]] && chown postgres:postgres "$dir"
    if [[ ! -f $dir/data/PG_VERSION ]]; then
        as_postgres "$bin/initdb" -D "$dir/data" -U postgres --auth=trust --encoding=UTF8 \
            --locale=C.UTF-8 --no-sync >"$dir/initdb.log" 2>&1
    fi
    as_postgres "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
        -o "-p $port -c listen_addresses=127.0.0.1 -k $dir -c fsync=off -c max_connections=100" start >/dev/null
    echo "postgresql://postgres@127.0.0.1:$port/postgres"
    ;;
stop)
    as_postgres "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true
    ;;
esac

#!/usr/bin/env bash
# Starts or stops the throwaway PostgreSQL cluster that the ODBC tests run against.
#   postgres-cluster.sh start <folder>   initdb in <folder>, start on a free loopback port,
#                                        write the port to <folder>/port
#   postgres-cluster.sh stop <folder>    stop the server and remove the folder
# initdb and the server refuse to run as root, so as root they run as the postgres user.
set -euo pipefail
action=$1
folder=$2
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/initdb" ] || { echo "PostgreSQL server binaries not found (package postgresql)" >&2; exit 1; }

as_owner() {
    if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "$action" in
start)
    if [ -f "$folder/port" ] && as_owner "$bin/pg_ctl" -D "$folder/data" status >/dev/null 2>&1; then
        exit 0
    fi
    rm -rf "$folder"
    mkdir -p "$folder"
    [ "$(id -u)" = 0 ] && chown postgres "$folder"
    as_owner "$bin/initdb" -D "$folder/data" -A trust -U postgres --no-sync -E UTF8 >"$folder/initdb.log" 2>&1 \
        || { cat "$folder/initdb.log" >&2; exit 1; }
    for attempt in 1 2 3 4 5 6 7 8; do
        port=$((20000 + RANDOM % 20000))
        if as_owner "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 30 \
            -o "-p $port -k $folder -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
            start >/dev/null 2>&1; then
            echo "$port" >"$folder/port"
            exit 0
        fi
    done
    cat "$folder/server.log" >&2
    exit 1
    ;;
stop)
    if [ -d "$folder/data" ]; then
        as_owner "$bin/pg_ctl" -D "$folder/data" -m immediate stop >/dev/null 2>&1 || true
    fi
    rm -rf "$folder"
    ;;
*)
    echo "usage: $0 start|stop <folder>" >&2
    exit 2
    ;;
esac

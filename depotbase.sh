#!/usr/bin/env bash
# Set-up, build, run and test in one place.
#   ./depotbase.sh run [host options]   install what is missing, build, start depotbase-host
#   ./depotbase.sh test                 install what is missing, build, run every test
#                                       (SQLite and a throwaway PostgreSQL server)
#   ./depotbase.sh build                build only
#   ./depotbase.sh bench [options]      build and run the benchmarks
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

BUILD_DIR=${BUILD_DIR:-build}
PACKAGES=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
          libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc libxlsxwriter-dev libgtest-dev
          libsqlite3-dev libpq-dev unixodbc-dev postgresql fonts-noto-cjk unzip unixodbc
          odbc-postgresql qt6-translations-l10n poppler-utils pgbouncer)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# DEPOTBASE_WERROR=ON turns compiler warnings into errors (CI sets it).
build() {
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DDEPOTBASE_WERROR="${DEPOTBASE_WERROR:-OFF}" >/dev/null
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}

# A throwaway PostgreSQL cluster on a free loopback port, trust authentication.
# PostgreSQL refuses to run as root, so the cluster belongs to user postgres then.
PG_DIR=""
pg_bin() { ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1; }
as_pg_user() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }
free_port() {
    local port=$1
    while (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do port=$((port + 1)); done
    echo "$port"
}
# Starts a server on a data folder: loopback only, its socket in PG_DIR.
run_pg_server() {
    local dir=$1 port=$2
    local options="-c listen_addresses=127.0.0.1 -p $port -k $PG_DIR"
    options+=" -c max_connections=200 -c fsync=off"
    as_pg_user "$(pg_bin)/pg_ctl" -D "$dir" -l "$dir.log" -w -o "$options" start >/dev/null
}
start_pg() {
    local bin port
    bin=$(pg_bin)
    [ -n "$bin" ] || { echo "PostgreSQL server binaries not found" >&2; exit 1; }
    PG_DIR=$(mktemp -d /tmp/depotbase-pg.XXXXXX)
    [ "$(id -u)" -eq 0 ] && chown postgres: "$PG_DIR"
    port=$(free_port "${DEPOTBASE_PG_PORT:-$((50000 + RANDOM % 10000))}")
    as_pg_user "$bin/initdb" -D "$PG_DIR/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >/dev/null
    run_pg_server "$PG_DIR/data" "$port"
    export DEPOTBASE_PG_URL="postgresql://postgres@127.0.0.1:$port/postgres"
    echo "PostgreSQL test server on 127.0.0.1:$port"
    start_pg_replica "$port"
    start_pg_pooler "$port"
}
# pgbouncer in transaction mode in front of the test server, as a site with
# many seats runs it: it lends a pool of 20 server connections to its clients
# one transaction at a time. The server tests run once more through it. It
# reaches the server on its socket, and tries again a second after the server
# refused it (a restart), not fifteen.
start_pg_pooler() {
    local server=$1 port dir="$PG_DIR/pooler"
    port=$(free_port $((server + 2)))
    mkdir -p "$dir"
    echo '"postgres" ""' >"$dir/userlist.txt"
    cat >"$dir/pgbouncer.ini" <<EOF
[databases]
* = host=$PG_DIR port=$server
[pgbouncer]
listen_addr = 127.0.0.1
listen_port = $port
unix_socket_dir =
auth_type = trust
auth_file = $dir/userlist.txt
pool_mode = transaction
default_pool_size = 20
max_client_conn = 1000
server_login_retry = 1
ignore_startup_parameters = extra_float_digits,options
logfile = $dir/pgbouncer.log
pidfile = $dir/pgbouncer.pid
EOF
    [ "$(id -u)" -eq 0 ] && chown -R postgres: "$dir"
    if as_pg_user /usr/sbin/pgbouncer -d -q "$dir/pgbouncer.ini"; then
        export DEPOTBASE_PG_POOLER_URL="postgresql://postgres@127.0.0.1:$port/postgres"
        echo "pgbouncer (transaction pooling) in front of it on 127.0.0.1:$port"
    else
        echo "pgbouncer did not start (see $dir/pgbouncer.log)" >&2
    fi
}
# A hot-standby replica of the test server, streaming from it, for the tests of
# read-only seats. initdb's default client rules trust replication from the
# loopback address. Without it the test that needs it fails and says why.
start_pg_replica() {
    local primary=$1 port
    port=$(free_port $((primary + 1)))
    if as_pg_user "$(pg_bin)/pg_basebackup" -h 127.0.0.1 -p "$primary" -U postgres \
            -D "$PG_DIR/replica" -R >"$PG_DIR/replica-backup.log" 2>&1 \
        && run_pg_server "$PG_DIR/replica" "$port"; then
        export DEPOTBASE_PG_REPLICA_URL="postgresql://postgres@127.0.0.1:$port/postgres"
        echo "PostgreSQL hot-standby replica on 127.0.0.1:$port"
    else
        echo "The PostgreSQL replica did not start (see $PG_DIR/replica-backup.log" \
             "and $PG_DIR/replica.log)" >&2
    fi
}
stop_pg() {
    [ -n "$PG_DIR" ] || return 0
    local dir
    [ -f "$PG_DIR/pooler/pgbouncer.pid" ] && kill "$(cat "$PG_DIR/pooler/pgbouncer.pid")" 2>/dev/null || true
    for dir in "$PG_DIR/replica" "$PG_DIR/data"; do
        [ -f "$dir/postmaster.pid" ] || continue
        as_pg_user "$(pg_bin)/pg_ctl" -D "$dir" -m immediate stop >/dev/null 2>&1 || true
    done
    rm -rf "$PG_DIR"
}

cmd=${1:-run}
shift || true
case "$cmd" in
    run)
        install_packages
        build
        exec "$BUILD_DIR/src/host/depotbase-host" "$@"
        ;;
    test)
        install_packages
        build
        trap stop_pg EXIT
        start_pg
        (cd "$BUILD_DIR" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@")
        ;;
    build)
        install_packages
        build
        ;;
    bench)
        install_packages
        build
        exec "$BUILD_DIR/bench/depotbase-bench" "$@"
        ;;
    pg)
        # Start a server, its replica and the pooler in front of it for a
        # hand-run session and print their URLs; stop them with kill.
        start_pg
        echo "export DEPOTBASE_PG_URL=$DEPOTBASE_PG_URL"
        echo "export DEPOTBASE_PG_REPLICA_URL=${DEPOTBASE_PG_REPLICA_URL:-}"
        echo "export DEPOTBASE_PG_POOLER_URL=${DEPOTBASE_PG_POOLER_URL:-}"
        ;;
    *)
        echo "usage: $0 run|test|build|bench" >&2
        exit 2
        ;;
esac

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
          libsqlite3-dev libpq-dev postgresql fonts-noto-cjk unzip unixodbc odbc-postgresql
          qt6-translations-l10n poppler-utils)

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
start_pg() {
    local bin port
    bin=$(pg_bin)
    [ -n "$bin" ] || { echo "PostgreSQL server binaries not found" >&2; exit 1; }
    PG_DIR=$(mktemp -d /tmp/depotbase-pg.XXXXXX)
    [ "$(id -u)" -eq 0 ] && chown postgres: "$PG_DIR"
    port=${DEPOTBASE_PG_PORT:-$((50000 + RANDOM % 10000))}
    while (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do port=$((port + 1)); done
    as_pg_user "$bin/initdb" -D "$PG_DIR/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >/dev/null
    as_pg_user "$bin/pg_ctl" -D "$PG_DIR/data" -l "$PG_DIR/log" -w \
        -o "-c listen_addresses=127.0.0.1 -p $port -k $PG_DIR -c max_connections=200 -c fsync=off" start >/dev/null
    export DEPOTBASE_PG_URL="postgresql://postgres@127.0.0.1:$port/postgres"
    echo "PostgreSQL test server on 127.0.0.1:$port"
}
stop_pg() {
    [ -n "$PG_DIR" ] || return 0
    as_pg_user "$(pg_bin)/pg_ctl" -D "$PG_DIR/data" -m immediate stop >/dev/null 2>&1 || true
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
        # Start a server for a hand-run session and print its URL; stop it with kill.
        start_pg
        echo "export DEPOTBASE_PG_URL=$DEPOTBASE_PG_URL"
        ;;
    *)
        echo "usage: $0 run|test|build|bench" >&2
        exit 2
        ;;
esac

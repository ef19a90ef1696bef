#!/usr/bin/env bash
# The host's windows as a user meets them: from starting depotbase-host to the window on the
# screen, with the host's peak resident memory.
#   - the authority editor on the demo account and on 200,000 generated rights;
#   - the warehouse list on 100,000 and on 1,000,000 generated warehouses, beside the sqlite3
#     shell reading the list's statement from the same file: the window with its first screen,
#     and the title with the full count once every row is read.
# Runs under its own Xvfb display. Needs the Debian packages xvfb, libx11-dev (for
# depotbase-window-wait, which waits for the X server's map event) and sqlite3.
#   bench/host-to-window.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(readlink -f "${1:-build}")
runs=${2:-5}
wait_for_window=$build/bench/depotbase-window-wait
if [ ! -x "$wait_for_window" ]; then
    echo "$wait_for_window is missing: install libx11-dev and build again" >&2
    exit 1
fi
if [ -z "${HOST_TO_WINDOW_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" env HOST_TO_WINDOW_DISPLAY=1 "$0" "$build" "$runs"
fi
host=$build/src/host/depotbase-host
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The best of $runs openings of a window titled $1, as "MS MB" (the memory of that opening).
best() {
    local title=$1 best_ms=999999 best_mb=0 ms mb
    shift
    for _ in $(seq "$runs"); do
        if ! read -r ms mb < <(timeout 60 "$wait_for_window" "$title" "$host" "$@" 2>/dev/null)
        then
            echo "no window titled $title within 60 s: depotbase-host $*" >&2
            exit 1
        fi
        if [ "$ms" -lt "$best_ms" ]; then best_ms=$ms; best_mb=$mb; fi
    done
    echo "$best_ms $best_mb"
}

# The best of $runs reads of the warehouse list's statement by the sqlite3 shell, in ms.
shell_read() {
    local best_ms=999999 start end ms
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        sqlite3 "$1" "SELECT Department.cDepName, Warehouse.* FROM Warehouse LEFT JOIN Department
                      ON Department.cDepCode = Warehouse.cDepCode ORDER BY Warehouse.cWhCode" \
            >/dev/null
        end=$(date +%s%N)
        ms=$(( (end - start) / 1000000 ))
        if [ "$ms" -lt "$best_ms" ]; then best_ms=$ms; fi
    done
    echo "$best_ms"
}

editor=权限配置窗口
list=仓库档案（共
first_screen=仓库档案（
mkdir -p "$work/demo" "$work/rights" "$work/warehouses" "$work/million"
timeout 60 "$wait_for_window" "$editor" "$host" --account "sqlite:$work/demo/account.db" --demo \
    --authority-editor >/dev/null 2>&1
"$build/bench/depotbase-bench-authority" --make-account "$work/rights/account.db" >/dev/null 2>&1
"$build/bench/depotbase-bench" --count 100000 --make-account "$work/warehouses/account.db" \
    >/dev/null 2>&1
"$build/bench/depotbase-bench" --count 1000000 --make-account "$work/million/account.db" \
    >/dev/null 2>&1

read -r demo_ms demo_mb < <(best "$editor" --account "sqlite:$work/demo/account.db" \
    --authority-editor)
read -r big_ms big_mb < <(best "$editor" --account "sqlite:$work/rights/account.db" \
    --authority-editor)
read -r list_ms list_mb < <(best "$list" --account "sqlite:$work/warehouses/account.db")
shell_ms=$(shell_read "$work/warehouses/account.db")
printf '%-48s %7d ms  %5d MB\n' "host to editor window, demo account" "$demo_ms" "$demo_mb"
printf '%-48s %7d ms  %5d MB\n' "host to editor window, 200,000 rights" "$big_ms" "$big_mb"
awk -v a="$big_ms" -v b="$demo_ms" -v m="$big_mb" 'BEGIN {
    printf "%-48s %7.2f     (at most 1.30); peak %d MB (at most 70)\n",
           "ratio", a / b, m }'
printf '%-48s %7d ms  %5d MB\n' "host to warehouse list, 100,000 warehouses" "$list_ms" "$list_mb"
printf '%-48s %7d ms\n' "sqlite3 shell reading the list's statement" "$shell_ms"
awk -v a="$list_ms" -v b="$shell_ms" -v m="$list_mb" 'BEGIN {
    printf "%-48s %7.2f     (at most 2); peak %d MB (at most 80)\n", "ratio", a / b, m }'
read -r first_ms first_mb < <(best "$first_screen" --account "sqlite:$work/million/account.db")
read -r million_ms million_mb < <(best "$list" --account "sqlite:$work/million/account.db")
million_shell_ms=$(shell_read "$work/million/account.db")
printf '%-48s %7d ms  %5d MB\n' "host to list's first screen, 1,000,000" "$first_ms" "$first_mb"
printf '%-48s %7d ms  %5d MB\n' "host to the full count, 1,000,000" "$million_ms" "$million_mb"
printf '%-48s %7d ms\n' "sqlite3 shell reading the list's statement" "$million_shell_ms"
awk -v a="$million_ms" -v b="$million_shell_ms" -v f="$first_ms" -v m="$million_mb" 'BEGIN {
    printf "%-48s %7.2f     (at most 1.2); first screen %d ms (at most 400); peak %d MB (at most 150)\n",
           "ratio", a / b, f, m }'

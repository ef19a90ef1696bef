#!/usr/bin/env bash
# The authority editor as a user meets it: from starting depotbase-host to its window on the
# screen, on the demo account and on 200,000 generated rights, with the host's peak resident
# memory. Runs under its own Xvfb display (Debian packages xvfb and xdotool).
#   bench/host-to-window.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(readlink -f "${1:-build}")
runs=${2:-5}
if [ -z "${HOST_TO_WINDOW_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" env HOST_TO_WINDOW_DISPLAY=1 "$0" "$build" "$runs"
fi
host=$build/src/host/depotbase-host
title=权限配置窗口
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Milliseconds from the host's start until a window titled $title is visible, and the
# host's peak resident memory in MB, as "MS MB".
once() {
    local start now pid
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/rss" "$host" "$@" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
        now=$(date +%s%N)
        if [ $(( (now - start) / 1000000 )) -gt 60000 ]; then
            echo "the window did not appear within 60 s: depotbase-host $*" >&2
            kill "$pid" 2>/dev/null
            exit 1
        fi
        sleep 0.002
    done
    now=$(date +%s%N)
    sleep 0.2
    pkill -TERM -P "$pid" || true
    wait "$pid" 2>/dev/null || true
    echo "$(( (now - start) / 1000000 )) $(( $(tail -n 1 "$work/rss") / 1024 ))"
}

# The best of $runs openings, as "MS MB" (the memory of that opening).
best() {
    local result best_ms=999999 best_mb=0 ms mb
    for _ in $(seq "$runs"); do
        read -r ms mb < <(once "$@")
        if [ "$ms" -lt "$best_ms" ]; then best_ms=$ms; best_mb=$mb; fi
    done
    echo "$best_ms $best_mb"
}

mkdir -p "$work/demo" "$work/rights"
once --account "sqlite:$work/demo/account.db" --demo --authority-editor >/dev/null
"$build/bench/depotbase-bench-authority" --make-account "$work/rights/account.db" >/dev/null

read -r demo_ms demo_mb < <(best --account "sqlite:$work/demo/account.db" --authority-editor)
read -r big_ms big_mb < <(best --account "sqlite:$work/rights/account.db" --authority-editor)
printf '%-44s %7d ms  %5d MB\n' "host to editor window, demo account" "$demo_ms" "$demo_mb"
printf '%-44s %7d ms  %5d MB\n' "host to editor window, 200,000 rights" "$big_ms" "$big_mb"
awk -v a="$big_ms" -v b="$demo_ms" -v m="$big_mb" 'BEGIN {
    printf "%-44s %7.2f     (at most 1.30); peak %d MB (at most 70)\n",
           "ratio", a / b, m }'

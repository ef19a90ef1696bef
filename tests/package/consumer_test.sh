#!/usr/bin/env bash
# Installs the built tree into a scratch prefix and builds and runs a host
# against the installed CMake package, as a host project would.
set -euo pipefail
build_dir=$1
source_dir=$(dirname "$(readlink -f "$0")")/consumer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
cmake -S "$source_dir" -B "$work/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/build" >/dev/null
QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH="$work/prefix/lib" "$work/build/consumer" "sqlite:$work/empty.db"

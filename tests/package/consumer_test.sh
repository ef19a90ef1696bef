#!/usr/bin/env bash
# Installs the built tree into a scratch prefix and builds and runs a host
# against the installed CMake package, as a host project would. Checks that
# the library exports its API and none of its internals or test helpers, and
# that the host's --version tells the library's version and description.
set -euo pipefail
build_dir=$1
source_dir=$(dirname "$(readlink -f "$0")")/consumer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
cmake -S "$source_dir" -B "$work/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/build" >/dev/null
consumer=$(QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH="$work/prefix/lib" \
           "$work/build/consumer" "sqlite:$work/empty.db")
echo "$consumer"

symbols=$(nm -D --defined-only -C "$work/prefix/lib/libdepotbase.so")
for wanted in 'LXWareHouse::Show()' 'LXWareHouse::Init(' depotbase_create_warehouse \
              depotbase_destroy_warehouse depotbase_version depotbase_description \
              'dbkit::DbLogin::open(' 'dbkit::DbDataSet::' 'dbkit::DbError::' \
              'dbkit::TransactionGuard::' 'services::RightsCheck::check(' \
              depotbase_rights_open depotbase_check_right depotbase_usable_warehouses; do
    grep -qF "$wanted" <<<"$symbols" || { echo "not exported: $wanted" >&2; exit 1; }
done
for internal in ScriptedModalSeam GenerateWarehouses frmWHBrowse frmWHCard frmFilter SuperGrid \
                LockVouchDLL RowPipeline PrintWorkDb RTPrn LoadResString 'modal::'; do
    if grep -qF "$internal" <<<"$symbols"; then
        echo "exported although internal: $internal" >&2
        grep -F "$internal" <<<"$symbols" | head -5 >&2
        exit 1
    fi
done

version=$(QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH="$work/prefix/lib" \
          "$work/prefix/bin/depotbase-host" --version)
echo "$version"
expected=$(sed -n 's/^depotbase \(.*\), list opened.*/\1/p' <<<"$consumer")
[ "$version" = "depotbase $expected" ] || { echo "host --version: $version" >&2; exit 1; }

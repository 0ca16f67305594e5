#!/bin/sh
# Runs every benchmark: each folder's run.sh gets the benchmark build directory.
set -eu
build="$1"
for script in "$(dirname "$0")"/*/run.sh; do
    [ -f "$script" ] || continue
    echo "== $(basename "$(dirname "$script")")"
    sh "$script" "$build"
done

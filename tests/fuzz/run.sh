#!/bin/sh
# Runs every fuzz target of a fuzz build for the given number of seconds.
#   sh tests/fuzz/run.sh BUILD-DIRECTORY [SECONDS]
# Each target starts from its seeds and the inputs kept from earlier findings;
# what it learns goes to BUILD-DIRECTORY/fuzz-corpus, what it finds to
# BUILD-DIRECTORY/fuzz-findings. Fails when any target finds something.
set -u
build="$1"
seconds="${2:-30}"
here="$(cd "$(dirname "$0")" && pwd)"
failed=""
for program in "$build"/tests/fuzz/fuzz_*; do
    [ -f "$program" ] && [ -x "$program" ] || continue
    target="${program##*/fuzz_}"
    corpus="$build/fuzz-corpus/$target"
    findings="$build/fuzz-findings/$target"
    mkdir -p "$corpus" "$findings"
    echo "fuzzing $target for $seconds s"
    # libFuzzer refuses a corpus directory that does not exist.
    kept="$here/regressions/$target"
    [ -d "$kept" ] || kept=""
    # Allocations and time per input are bounded, so an unbounded allocation
    # or a hang is a finding like a crash.
    ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}" "$program" \
        -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -malloc_limit_mb=1024 \
        -max_len=16384 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "$here/corpus/$target" $kept \
        >"$build/fuzz-$target.log" 2>&1
    status=$?
    grep -E '^stat::number_of_executed_units|^Done ' "$build/fuzz-$target.log"
    if [ "$status" -ne 0 ]; then
        echo "$target found something (exit status $status):"
        tail -n 40 "$build/fuzz-$target.log"
        failed="$failed $target"
    fi
done
[ -z "$failed" ] || { echo "fuzzing found faults in:$failed (inputs in $build/fuzz-findings)"; exit 1; }

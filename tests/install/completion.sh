#!/bin/bash
# The bash completion: options, any file for packages and files to store,
# .hzp files (and directories to reach them) after -hzr, directories for the
# output of -x.
#   bash completion.sh SOURCE_DIR
set -eu
source "$1/doc/mkpkg.bash"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir sub
touch app.hzp old.hzr notes.txt sub/inner.hzp

failures=0
# expect "completions sorted and space-separated" word...
expect() {
    local expected="$1"
    shift
    COMP_WORDS=(mkpkg "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _mkpkg || true
    local got
    got="$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' ')"
    got="${got% }"
    if [ "$got" != "$expected" ]; then
        echo "FAIL: mkpkg $* -> '$got', expected '$expected'" >&2
        failures=$((failures + 1))
    fi
}

expect "-hzr" -h
expect "--help --version" --
expect "--help --version -P -V -c -d -hzr -r -t -v -x" -
expect "app.hzp sub" -hzr ""
expect "app.hzp sub" -v -hzr ""
expect "sub/inner.hzp" -hzr sub/
expect "old.hzr sub" -hzr app.hzp ""
expect "app.hzp notes.txt old.hzr sub" -c ""
expect "app.hzp notes.txt old.hzr sub" -c p.pkg ""
expect "notes.txt" -r p.pkg n
expect "sub" -x p.pkg ""
expect "@app.hzp" @a
[ "$failures" -eq 0 ]

#!/bin/sh
# Installs the built program the way a user would and runs the installed copy
# by its bare name from PATH, from a directory that has nothing to do with
# the installation:
#   sh installed_program.sh prefix BUILD_DIR SOURCE_DIR   cmake --install into a prefix
#   sh installed_program.sh deb BUILD_DIR SOURCE_DIR      cpack's .deb unpacked with dpkg -x
# The installed program must package the bundled example solution exactly
# as the program of the build tree does.
set -eu
mode="$1"
build="$(cd "$2" && pwd)"
source="$(cd "$3" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

case "$mode" in
prefix)
    root="$work/prefix"
    cmake --install "$build" --prefix "$root" >/dev/null
    ;;
deb)
    cpack --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
    set -- "$work"/cpack/*.deb
    [ $# -eq 1 ] && [ -f "$1" ] || fail "cpack made no single .deb: $*"
    depends="$(dpkg-deb -f "$1" Depends)"
    echo "Depends: $depends"
    case "$depends" in
    *libqt6core6*) ;;
    *) fail "the package's dependencies miss the Qt core library: $depends" ;;
    esac
    # A command-line program: no graphics stack behind it.
    case "$depends" in
    *libqt6gui6*) fail "the package depends on the Qt GUI library: $depends" ;;
    esac
    dpkg -x "$1" "$work/root"
    root="$work/root/usr"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac

# The layout.
[ -x "$root/lib/mkpkg/bin/mkpkg" ] || fail "no program at lib/mkpkg/bin/mkpkg"
[ -f "$root/lib/mkpkg/targets/project_templates.xml" ] || fail "no installation data at lib/mkpkg/targets"
[ "$(readlink "$root/bin/mkpkg")" = ../lib/mkpkg/bin/mkpkg ] || fail "bin/mkpkg is no link to ../lib/mkpkg/bin/mkpkg"
[ -f "$root/share/man/man1/mkpkg.1" ] || fail "no manual page"
[ -f "$root/share/bash-completion/completions/mkpkg" ] || fail "no bash completion"

# Packages the example in a fresh directory with its own user area; prints the listing.
package_example() { # name program-invocation...
    dir="$work/$1"
    shift
    mkdir -p "$dir"
    # Both copies keep the originals' times, so their listings can be compared.
    cp -Rp "$source/examples/blinky" "$source/examples/common" "$dir/"
    (
        cd "$dir"
        export FERNHOLLOW_ROOT_USER_DIR="$dir/user"
        "$@" -hzr blinky/blinky.hzp >out 2>err || fail "$* -hzr exited with status $?: $(cat err)"
        [ ! -s err ] || fail "$* -hzr wrote to standard error: $(cat err)"
        "$@" -t blinky.hzr
    )
}

expected="$(package_example built "$build/bin/mkpkg")"
installed="$(PATH="$root/bin:$PATH" package_example installed mkpkg)"
[ -n "$expected" ] || fail "the built program packaged nothing"
if [ "$installed" != "$expected" ]; then
    printf 'built program:\n%s\ninstalled program:\n%s\n' "$expected" "$installed" >&2
    fail "the installed program packages the example differently"
fi
[ "$(PATH="$root/bin:$PATH" mkpkg --version)" = "$("$build/bin/mkpkg" --version)" ] || fail "--version differs"
echo "ok: $mode"

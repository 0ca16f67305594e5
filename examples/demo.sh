#!/bin/sh
# Packages the blinky example solution and shows the result, in a temporary
# directory with its own user directory:
#   sh examples/demo.sh path/to/mkpkg
set -eu
mkpkg="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -R "$here/blinky" "$here/common" "$work/"
export FERNHOLLOW_ROOT_USER_DIR="$work/user"
cd "$work"

echo "== package the blinky solution: mkpkg -hzr blinky/blinky.hzp"
"$mkpkg" -hzr blinky/blinky.hzp
echo "== list the packaged solution: mkpkg -t blinky.hzr"
"$mkpkg" -t blinky.hzr
echo "== extract it into unpacked/blinky and compare with the originals"
echo "   (-P: its ../common/ names lead beside the output directory)"
"$mkpkg" -x -P blinky.hzr unpacked/blinky
diff -r blinky unpacked/blinky
diff -r common unpacked/common
echo "== the packaged solution holds every file of the two solutions"

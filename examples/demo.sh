#!/bin/sh
# Shows the package road: stores the files of examples/package in a package,
# lists it, and extracts it again, all in a temporary directory.
#   sh examples/demo.sh path/to/mkpkg
set -eu
mkpkg="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -R "$here/package" "$work/files"
cd "$work/files"

echo "== create demo.pkg from the example files"
"$mkpkg" -v -c ../demo.pkg README.txt startup.s docs
echo "== list demo.pkg"
"$mkpkg" -t ../demo.pkg
echo "== extract demo.pkg into out/"
"$mkpkg" -x ../demo.pkg ../out
cd ..
find out -type f | sort
diff -r files out && echo "== the extracted files equal the originals"

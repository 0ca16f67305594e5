#!/bin/sh
# Times mkpkg's package work and -hzr against tar, gzip, pigz and zip/unzip
# on the same files in the same run, prints the ratios, and writes the
# measurements (bench-package.tsv) and a chart (bench-package.png) into the
# benchmark build directory.
#   sh bench/package/run.sh BUILD_DIRECTORY
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
# The Debian interpreter, which has python3-matplotlib, before any other on PATH.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
"$python" "$here/run.py" "$1"
"$python" "$here/../chart.py" "$1/bench-package.tsv" "$1/bench-package.png"

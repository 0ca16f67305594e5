#!/bin/sh
# Runs the XML reader benchmark of the build directory given as $1.
set -eu
"$1/bench/xml/bench_xml"

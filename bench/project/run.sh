#!/bin/sh
# Runs the solution loading benchmark of the build directory given as $1.
set -eu
"$1/bench/project/bench_project"

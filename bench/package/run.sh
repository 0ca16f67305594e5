#!/bin/sh
# Times create, list and extract of a generated corpus with mkpkg and with
# tar -czf / -tzf / -xzf on the same files, and prints mkpkg's time as a ratio
# of tar's (below 1 means mkpkg is faster).
#   sh bench/package/run.sh BUILD_DIRECTORY
set -eu
build="$(cd "$1" && pwd)"
mkpkg="$build/bin/mkpkg"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/out-mkpkg" "$work/out-tar"
"$build/bench/package/bench_package_corpus" "$work/corpus"
cd "$work/corpus"

now() { date +%s.%N; }
measure() { # label command...
    label="$1"; shift
    start="$(now)"
    "$@" > /dev/null
    end="$(now)"
    awk -v l="$label" -v s="$start" -v e="$end" 'BEGIN { printf "%s %.3f\n", l, e - s }'
}

echo "corpus: $(du -sm . | cut -f1) MB in $(find . -type f | wc -l) files"
{
    measure mkpkg-create "$mkpkg" -c ../corpus.pkg group0 group1 group2 group3 group4 group5
    measure tar-create tar -czf ../corpus.tgz group0 group1 group2 group3 group4 group5
    measure mkpkg-list "$mkpkg" -t ../corpus.pkg
    measure tar-list tar -tzf ../corpus.tgz
    measure mkpkg-extract "$mkpkg" -x ../corpus.pkg ../out-mkpkg
    measure tar-extract tar -xzf ../corpus.tgz -C ../out-tar
} > ../times
diff -r ../out-mkpkg ../out-tar > /dev/null && echo "both extracted trees are equal"
echo "sizes: package $(du -m ../corpus.pkg | cut -f1) MB, tar.gz $(du -m ../corpus.tgz | cut -f1) MB"
awk '{ t[$1] = $2 }
     END {
         split("create list extract", step, " ")
         for (i = 1; i <= 3; ++i) {
             s = step[i]
             printf "%-8s mkpkg %7.3f s  tar %7.3f s  ratio %.2f\n", s, t["mkpkg-" s], t["tar-" s], t["mkpkg-" s] / t["tar-" s]
         }
     }' ../times

#!/bin/sh
# Writes src/app/start-order.ld, the functions a start of the program runs, which the link
# places together at the front of the program. It traces the start-up benchmark's program
# under callgrind on a virtual X display; run it again when the start's code changes much.
#
#     tools/start-order.sh [BUILD_DIR]    BUILD_DIR: an optimised build with benchmarks,
#                                         by default build/bench
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build/bench}
program=$build/bench/startup_velo
out=$top/src/app/start-order.ld
[ -x "$program" ] || { echo "start-order: no $program; build with -DVELO_BUILD_BENCH=ON" >&2; exit 2; }
program=$(cd "$(dirname "$program")" && pwd)/startup_velo

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A kept start, as the benchmark's: the main window comes up straight away.
printf '[Quake2]\r\nPath=%s\r\nRunSetup=No\r\n[Mod]\r\nMod0=ctf\r\n' "$work" >"$work/q2velo.ini"
xvfb-run -a valgrind --tool=callgrind --demangle=no --callgrind-out-file="$work/trace" \
    "$program" "$work" >/dev/null 2>&1

# The functions of the program the trace ran; functions the compiler folded into one share
# an address, and the code is in the section of one of them, so all of them are named.
nm --defined-only "$program" | awk '$2 ~ /^[tTwW]$/ { print $1, $3 }' >"$work/symbols"
callgrind_annotate --inclusive=no --threshold=100 "$work/trace" |
    sed -nE 's/^.*%\)  [^:]*:([^ ]+) \[.*\]$/\1/p' | sed -E "s/'[0-9]+\$//" | sort -u >"$work/run"
{
    echo "/* The functions a start runs, placed first. Written by tools/start-order.sh. */"
    echo "SECTIONS {"
    echo "  .text.velo_start : {"
    awk 'NR == FNR { ran[$1] = 1; next }
         { at[$1] = at[$1] " " $2; if ($2 in ran) hot[$1] = 1 }
         END { for (a in hot) print at[a] }' "$work/run" "$work/symbols" |
        tr ' ' '\n' | grep -v '^$' | sort -u |
        awk '{ printf "    *(.text.%s)\n", $0 }'
    echo "  }"
    echo "} INSERT BEFORE .text;"
} >"$out.new"
mv "$out.new" "$out"
echo "start-order: $(grep -c '\*(' "$out") functions in $out"

#!/bin/sh
# Passes when the program begins with the code its start runs: a list gone stale after
# changes to the start leaves that code strewn among the rest again.
size=$(objdump -h "$1" | awk '$2 == ".text.velo_start" { print $3 }')
if [ -z "$size" ]; then
    echo "$1: no start-up section; is src/app/start-order.ld linked?"
    exit 1
fi
if [ $((0x$size)) -lt 16384 ]; then
    echo "$1: only $((0x$size)) bytes of start-up code placed first; run tools/start-order.sh"
    exit 1
fi
echo "$1: $((0x$size)) bytes of start-up code placed first"

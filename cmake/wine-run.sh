#!/bin/sh
# Runs a cross-built Windows program under Wine, quietly, in the prefix that CTest
# names (the build's own, made once by build.sh: wineboot is slow).
: "${WINEPREFIX:?WINEPREFIX names the prefix to run in}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "no Wine prefix at $WINEPREFIX; make it with: WINEPREFIX=$WINEPREFIX wineboot -i" >&2
    exit 1
fi
export WINEDEBUG=-all
exec wine "$@"

#!/bin/sh
# Runs a Windows program under Wine in a prefix of the build's own (made on first use),
# quietly. Usage: wine-run.sh PROGRAM.exe [ARGUMENTS...]
: "${WINEPREFIX:=$(pwd)/wine-prefix}"
export WINEPREFIX
export WINEDEBUG=-all
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
exec "$wine" "$@"

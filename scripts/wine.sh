#!/usr/bin/env bash
# Runs a Windows program under Wine, in a prefix of its own that is made at the first run:
# $WINEPREFIX, or .wine beside this build's programs. Nothing is fetched from the network
# for it (no .NET, no Gecko), and Wine's own chatter stays off.
#   scripts/wine.sh Program.exe [arguments]
set -euo pipefail
program="$1"
shift
export WINEPREFIX="${WINEPREFIX:-$(cd "$(dirname "$program")" && pwd)/.wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # One prefix made at a time, however many tests start together.
    mkdir -p "$WINEPREFIX"
    (flock 9; [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 || true) 9>"$WINEPREFIX.lock"
fi
exec wine "$program" "$@"

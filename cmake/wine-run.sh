#!/usr/bin/env bash
# Runs a cross-built test program under Wine with a private, throw-away prefix.
set -e
: "${ZENDREL_WINEPREFIX:=${TMPDIR:-/tmp}/zendrel-wine-$(id -u)}"
export WINEPREFIX="$ZENDREL_WINEPREFIX" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
if [ ! -d "$WINEPREFIX" ]; then
  "$wine" wineboot --init >/dev/null 2>&1 || true
  # No window manager runs on the test display: Wine would wait for one on
  # every top-level window it hides or destroys.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
fi
exec "$wine" "$@"

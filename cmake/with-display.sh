#!/usr/bin/env bash
# Runs a command with an X display: the one in DISPLAY when set, otherwise a
# private Xvfb started for the command and stopped after it.
set -e
if [ -n "${DISPLAY:-}" ]; then exec "$@"; fi
command -v Xvfb >/dev/null || { echo "with-display: Xvfb is not installed (apt-get install xvfb)" >&2; exit 2; }
fifo=$(mktemp -u "${TMPDIR:-/tmp}/zendrel-display.XXXXXX")
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true' EXIT
export DISPLAY=":$number"
"$@"

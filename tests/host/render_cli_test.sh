#!/usr/bin/env bash
# zendrel-render from the outside: the demo, a mono 16-bit file, and the errors
# (one line on stderr, exit status 1, no crash).
set -u
tool=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/zendrel-render-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
check() { if ! eval "$2"; then echo "FAIL: $1" >&2; failures=$((failures + 1)); fi; }

"$tool" >demo.txt 2>demo.err
check "demo exits 0" '[ $? -eq 0 ]'
check "demo writes the wav and png" '[ -s zendrel-demo.wav ] && [ -s zendrel-demo.png ]'
check "demo says what it wrote" 'grep -q "wrote zendrel-demo.wav" demo.txt && grep -q "wrote zendrel-demo.png" demo.txt'

# A mono 16-bit 48 kHz file of one second of noise, written byte by byte.
le() { local v=$1 n=$2 i; for ((i = 0; i < n; i++)); do printf "\\x$(printf %02x $(((v >> (8 * i)) & 255)))"; done; }
{
  printf 'RIFF'; le 96036 4; printf 'WAVEfmt '; le 16 4; le 1 2; le 1 2; le 48000 4; le 96000 4; le 2 2; le 16 2
  printf 'data'; le 96000 4; head -c 96000 /dev/urandom
} >mono.wav
"$tool" --bpm 133.5 --block 300 --param 0=0.5 --plot mono.png mono.wav mono-out.wav >mono.txt 2>mono.err
check "mono render exits 0" '[ $? -eq 0 ]'
check "mono output keeps rate, channels and length" 'grep -q "wrote mono-out.wav: 48000 frames, 1 channel at 48000 Hz" mono.txt'
check "mono output is a 16-bit mono 48 kHz file" '[ "$(od -An -tu2 -j22 -N2 mono-out.wav | tr -d " ")" = 1 ] && [ "$(od -An -tu4 -j24 -N4 mono-out.wav | tr -d " ")" = 48000 ] && [ "$(od -An -tu2 -j34 -N2 mono-out.wav | tr -d " ")" = 16 ]'
check "mono plot written" '[ -s mono.png ]'

expect_error() {
  "$tool" "$@" >out.txt 2>err.txt
  local rc=$?
  check "'$*' fails with status 1" "[ $rc -eq 1 ]"
  check "'$*' prints one line on stderr" '[ "$(wc -l <err.txt)" -eq 1 ] && grep -q "^zendrel-render: " err.txt'
}
expect_error missing.wav out.wav
echo "not audio" >bad.wav
expect_error bad.wav out.wav
expect_error --module /nonexistent/zendrel.so out.wav
expect_error --module bad.wav out.wav
expect_error --param 230=0.5 out.wav
expect_error --param 3 out.wav
expect_error --param 3=x out.wav
expect_error --param 3=1.5 out.wav
expect_error --bpm 0 out.wav
expect_error --block 0 out.wav
expect_error --program 10 out.wav
expect_error --frobnicate
"$tool" --help >help.txt 2>&1
check "--help exits 0 with usage" '[ $? -eq 0 ] && grep -q "^usage: zendrel-render" help.txt'

[ $failures -eq 0 ] && echo "render CLI: all checks passed"
exit $((failures > 0))

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

python3 - <<'PY'
import math, struct, wave
with wave.open("mono.wav", "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(48000)
    w.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(i * 0.05))) for i in range(48000)))
PY
"$tool" --bpm 133.5 --block 300 --param 0=0.5 --plot mono.png mono.wav mono-out.wav >/dev/null 2>mono.err
check "mono render exits 0" '[ $? -eq 0 ]'
check "mono output keeps rate, channels and length" "python3 -c 'import wave; w = wave.open(\"mono-out.wav\"); assert (w.getnchannels(), w.getframerate(), w.getnframes(), w.getsampwidth()) == (1, 48000, 48000, 2)'"
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

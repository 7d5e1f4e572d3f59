#!/usr/bin/env bash
# zendrel-preset, and the render and snapshot tools' --preset, from the outside:
# listing, converting and saving give files that list the same; errors are one
# line on stderr naming the file, with exit status 1.
#   preset_cli_test.sh ZENDREL-PRESET ZENDREL-RENDER ZENDREL-SNAPSHOT FACTORY_DIR
set -u
preset=$1 render=$2 snapshot=$3 factory=$4
work=$(mktemp -d "${TMPDIR:-/tmp}/zendrel-preset-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
check() { if ! eval "$2"; then echo "FAIL: $1" >&2; failures=$((failures + 1)); fi; }

"$preset" list "$factory/gates.fxb" >gates.txt
check "list exits 0" '[ $? -eq 0 ]'
check "list names the format and count" 'head -1 gates.txt | grep -q "bank file (.fxb), 10 programs"'
check "list shows a program with its steps and gates" 'grep -q "^  3  Offbeat 16ths           16 x 1/16        _#_#_#_#_#_#_#_#$" gates.txt'
check "list marks the current program" 'grep -q "^\* 0  Straight 8ths" gates.txt'

# Converting: bank -> Ardour -> program -> bank lists the same programs.
"$preset" convert "$factory/gates.fxb" vst-1516524140 >/dev/null
check "bank to Ardour" '[ $? -eq 0 ]'
"$preset" list vst-1516524140 | tail -n +2 >ardour.txt
tail -n +2 gates.txt | sed "s/^\*/ /" >bank.txt
check "the Ardour file lists as the bank" 'cmp -s ardour.txt bank.txt'
"$preset" convert --program 6 vst-1516524140 trance.fxp >/dev/null
check "one program out of the Ardour file" '[ $? -eq 0 ] && [ "$(wc -c <trance.fxp)" -eq 976 ]'
check "it is the Trance Gate" '"$preset" list trance.fxp | grep -q "^  0  Trance Gate"'
check "the factory's own file is the same bytes" 'cmp -s trance.fxp "$factory/gates/trance-gate.fxp"'
"$preset" convert trance.fxp one.fxb >/dev/null
check "a program becomes a bank of one" '"$preset" list one.fxb | head -1 | grep -q "1 program$"'

# Saving the module's program, and the demo pattern.
"$preset" save --demo demo.fxp >/dev/null
check "save --demo" '[ $? -eq 0 ] && "$preset" list demo.fxp | grep -q "16 x 1/16"'
"$preset" save all.fxb >/dev/null
check "save a whole bank" '"$preset" list all.fxb | head -1 | grep -q "10 programs"'

# The render and snapshot tools play what the file holds.
"$render" --preset trance.fxp a.wav >/dev/null 2>&1
"$render" --preset "$factory/gates.fxb" --program 6 b.wav >/dev/null 2>&1
# (The first bytes hold the file's header, with the time it was written.)
check "render --preset FILE and --preset BANK --program N agree" '[ -s a.wav ] && cmp -s -i 200 a.wav b.wav'
"$render" --preset "$factory/gates.fxb" --program 5 c.wav >/dev/null 2>&1
check "another program renders differently" '! cmp -s -i 200 a.wav c.wav'
"$snapshot" --preset "$factory/vst-1516524140" --program 6 trance.png >/dev/null
check "snapshot --preset" '[ $? -eq 0 ] && [ -s trance.png ]'

"$render" --preset "$factory/gates.fxb" --gallery gallery.png >gallery.txt
check "the gallery of a bank" '[ $? -eq 0 ] && [ -s gallery.png ] && grep -q "10 patterns" gallery.txt'

expect_error() {
  local name=$1 text=$2
  shift 2
  "$@" >out.txt 2>err.txt
  local rc=$?
  check "$name fails with status 1" "[ $rc -eq 1 ]"
  check "$name says one line: $text" '[ "$(wc -l <err.txt)" -eq 1 ] && grep -qF -- "$text" err.txt'
}
printf 'CcnK' >short.fxp
expect_error "a truncated file" "zendrel-preset: short.fxp: truncated: 4 bytes" "$preset" list short.fxp
head -c 500 trance.fxp >cut.fxp
expect_error "a cut file" "zendrel-preset: cut.fxp: truncated: the header counts 968 bytes after it, the file has 492" "$preset" list cut.fxp
truncate -s 100M big.fxp
expect_error "a huge file" "zendrel-preset: big.fxp: 104857600 bytes is too large for a preset file" "$preset" list big.fxp
expect_error "a missing file" "missing.fxb: cannot open the file" "$preset" convert missing.fxb x.fxp
expect_error "an unknown output format" "out.txt2: cannot tell the format" "$preset" convert trance.fxp out.txt2
expect_error "too many programs for a bank" "a bank holds at most 10 programs, there are 29" \
  "$preset" convert "$factory/vst-1516524140" all29.fxb
expect_error "no such program" "there is no program 40 (the file holds 29" \
  "$preset" convert --program 40 "$factory/vst-1516524140" x.fxp
expect_error "render with a bad preset" "zendrel-render: cut.fxp: truncated" "$render" --preset cut.fxp x.wav
expect_error "snapshot with a bad preset" "zendrel-snapshot: cut.fxp: truncated" "$snapshot" --preset cut.fxp x.png
expect_error "render --program beyond the module without a file" "from 0 to 9" "$render" --program 12 x.wav
expect_error "a gallery without presets" "--gallery draws the programs of a --preset file" "$render" --gallery x.png
check "no output after a failure" '[ ! -e x.wav ] && [ ! -e x.png ] && [ ! -e x.fxp ] && [ ! -e all29.fxb ]'

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed" >&2
  exit 1
fi
echo "all zendrel-preset checks passed"

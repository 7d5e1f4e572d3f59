#!/usr/bin/env bash
# zendrel-snapshot and zendrel-show from the outside: the picture's size at
# the scales a host asks for (the module answers the size; the tool draws
# what it answers), the page switch clicked in device pixels, and --scale's
# errors (one line on stderr, exit status 1).
#   snapshot_cli_test.sh SNAPSHOT SHOW
set -u
snapshot=$1 show=$2
unset ZENDREL_SCALE
work=$(mktemp -d "${TMPDIR:-/tmp}/zendrel-snapshot-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
check() { if ! eval "$2"; then echo "FAIL: $1" >&2; failures=$((failures + 1)); fi; }
# A PNG's width x height, from its header.
png_size() {
  local b
  b=($(od -An -tu1 -j16 -N8 "$1"))
  echo "$((b[0] << 24 | b[1] << 16 | b[2] << 8 | b[3])) x $((b[4] << 24 | b[5] << 16 | b[6] << 8 | b[7]))"
}

"$snapshot" one.png >one.txt
check "unscaled: 900 x 550" '[ "$(png_size one.png)" = "900 x 550" ] && grep -q "(900 x 550)" one.txt'
"$snapshot" --scale 1 exact-one.png >/dev/null
check "--scale 1 is the unscaled picture" 'cmp -s one.png exact-one.png'
"$snapshot" --scale 2 two.png >two.txt
check "--scale 2: 1800 x 1100" '[ "$(png_size two.png)" = "1800 x 1100" ] && grep -q "(1800 x 1100)" two.txt'
"$snapshot" --scale 1.5 half.png >/dev/null
check "--scale 1.5: 1350 x 825" '[ "$(png_size half.png)" = "1350 x 825" ]'
"$snapshot" --scale 3 three.png >/dev/null
check "--scale 3, the largest: 2700 x 1650" '[ "$(png_size three.png)" = "2700 x 1650" ]'
ZENDREL_SCALE=1.5 "$snapshot" env.png >/dev/null
check "ZENDREL_SCALE=1.5 without --scale: 1350 x 825" '[ "$(png_size env.png)" = "1350 x 825" ]'
# A click that missed the page switch would leave page 1 on the picture.
"$snapshot" --scale 2 --page 2 two-b.png >/dev/null
check "--scale 2 --page 2 shows another page" '[ "$(png_size two-b.png)" = "1800 x 1100" ] && ! cmp -s two.png two-b.png'

expect_error() {
  local tool=$1 name=$2 message=$3
  shift 3
  "$tool" "$@" >out.txt 2>err.txt
  local rc=$?
  check "'$name $*' fails with status 1" "[ $rc -eq 1 ]"
  check "'$name $*' says: $message" '[ "$(wc -l <err.txt)" -eq 1 ] && grep -qF "$message" err.txt'
}
for bad in abc 0 0.99 3.01 -2 nan inf 2x ""; do
  expect_error "$snapshot" zendrel-snapshot "zendrel-snapshot: --scale wants a number from 1 to 3, got '$bad'" --scale "$bad" x.png
  expect_error "$show" zendrel-show "zendrel-show: --scale wants a number from 1 to 3, got '$bad'" --scale "$bad"
done
expect_error "$snapshot" zendrel-snapshot "zendrel-snapshot: --scale wants a number from 1 to 3" --scale
check "no picture written on an error" '[ ! -e x.png ]'

[ $failures -eq 0 ] && echo "snapshot CLI: all checks passed"
exit $((failures > 0))

#!/usr/bin/env bash
# Checks the factory presets against Debian's Ardour (apt-get install ardour):
# its plug-in scanner indexes the Linux module, and its headless Lua session
# tool finds every preset of the Ardour file by its label, loads it into the
# plug-in and reads back all parameters, which must equal the file's values.
# Everything happens under a private home folder; nothing is installed.
#   scripts/check-ardour-presets.sh [BUILD_DIR]     (default build/linux)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/linux}
lua=$(command -v ardour8-lua || command -v ardour7-lua || true)
[ -n "$lua" ] || { echo "check-ardour-presets: Ardour's Lua tool is not installed (apt-get install ardour)" >&2; exit 2; }
libdir=$(dirname "$(readlink -f "$lua")")/../lib/$(basename "$lua" -lua)
[ -d "$libdir" ] || libdir=/usr/lib/$(basename "$lua" -lua)
version=$(basename "$lua" -lua)  # ardour7 or ardour8
work=$(mktemp -d "${TMPDIR:-/tmp}/zendrel-ardour.XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache LXVST_PATH=$work/vst
mkdir -p "$LXVST_PATH" "$XDG_CONFIG_HOME/$version/presets"
# The scanner's cache counts only when it is newer than the module: keep the
# module's own time.
cp -p "$build/module/zendrel.so" "$LXVST_PATH/"
presets=$build/presets/vst-1516524140
# Ardour looks in its configuration folder's presets/ for vst-<unique ID>.
cp "$presets" "$XDG_CONFIG_HOME/$version/presets/"
LD_LIBRARY_PATH=$libdir "$libdir/ardour-vst-scanner" -f "$LXVST_PATH/zendrel.so"

{
  echo 'create_session("'"$work"'/session", "presets", 44100)'
  echo 'local proc = ARDOUR.LuaAPI.new_plugin(Session, "Zendrel", ARDOUR.PluginType.LXVST, "")'
  echo 'assert(not proc:isnil(), "Ardour did not find the Zendrel plug-in")'
  echo 'local plug = proc:to_insert():plugin(0)'
  echo 'local function check(label)'
  echo '  local pr = plug:preset_by_label(label)'
  echo '  if pr == nil or pr.label ~= label then print("MISSING|" .. label) return end'
  echo '  if not plug:load_preset(pr) then print("NOTLOADED|" .. label) return end'
  echo '  local v = {}'
  echo '  for i = 0, 229 do v[#v + 1] = string.format("%.9g", ARDOUR.LuaAPI.get_plugin_insert_param(proc:to_insert(), i, false)) end'
  echo '  print("LOADED|" .. label .. "|" .. pr.uri .. "|" .. table.concat(v, " "))'
  echo 'end'
  sed -n 's/.*<Preset uri="[^"]*" label="\([^"]*\)".*/check("\1")/p' "$presets"
  echo 'close_session()'
} >"$work/check.lua"
"$lua" "$work/check.lua" >"$work/out.txt" 2>&1 || true

python3 - "$presets" "$work/out.txt" <<'PY'
import re, struct, sys
text = open(sys.argv[1]).read()
expected = {}
for label, body in re.findall(r'<Preset uri="[^"]*" label="([^"]*)"[^>]*>(.*?)</Preset>', text, re.S):
    vals = [0.0] * 230
    for i, v in re.findall(r'index="(\d+)" value="([^"]*)"', body):
        vals[int(i)] = struct.unpack('f', struct.pack('f', float(v)))[0]
    expected[label] = vals
seen, bad = 0, 0
for line in open(sys.argv[2]):
    parts = line.rstrip('\n').split('|')
    if parts[0] in ('MISSING', 'NOTLOADED'):
        print('check-ardour-presets: %s: %s' % (parts[1], parts[0].lower())); bad += 1
    elif parts[0] == 'LOADED':
        got = [struct.unpack('f', struct.pack('f', float(x)))[0] for x in parts[3].split()]
        diff = [i for i in range(230) if got[i] != expected[parts[1]][i]]
        seen += 1
        if diff:
            print('check-ardour-presets: %s: parameters %s differ' % (parts[1], diff[:8])); bad += 1
print('check-ardour-presets: %d of %d presets found, loaded and read back equal in Ardour' % (seen - bad if bad <= seen else 0, len(expected)))
sys.exit(1 if bad or seen != len(expected) else 0)
PY

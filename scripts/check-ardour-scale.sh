#!/usr/bin/env bash
# Opens Zendrel's editor in Debian's Ardour (apt-get install ardour) on a
# private X display whose resource database says "Xft.dpi: DPI" (192 unless
# given), as a desktop scaled to 200 % does, and reports the size of the
# editor's window, with a screenshot of the screen.
#   scripts/check-ardour-scale.sh [--dpi N] [--shot FILE.png] [BUILD_DIR]
#       (defaults: 192, out/ardour-scale.png, build/linux)
# Ardour's Lua tool makes a session with one track holding the plug-in; the
# session remembers the plug-in's window as open, so Ardour opens it when it
# loads the session. Ardour runs on its silent audio engine. Everything
# happens under a private home folder; nothing is installed. Exit status 0
# when the editor's window is round(900 s) x round(550 s) for s = DPI / 96
# (clamped to 1..3), 1 when it is another size or never appears, 2 when a
# tool is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
dpi=192 shot=out/ardour-scale.png build=build/linux
while [ $# -gt 0 ]; do
  case $1 in
    --dpi) dpi=${2:?--dpi wants a number}; shift 2 ;;
    --shot) shot=${2:?--shot wants a file name}; shift 2 ;;
    -*) echo "check-ardour-scale: unknown option '$1'" >&2; exit 2 ;;
    *) build=$1; shift ;;
  esac
done
say() { echo "check-ardour-scale: $*"; }
[[ $dpi =~ ^[0-9]+$ ]] && [ "$dpi" -gt 0 ] || { say "--dpi wants a positive whole number, got '$dpi'" >&2; exit 2; }
module=$build/module/zendrel.so
[ -f "$module" ] || { say "no module at $module (bash scripts/build.sh linux zendrel)" >&2; exit 2; }
lua=$(command -v ardour8-lua || command -v ardour7-lua || true)
[ -n "$lua" ] || { say "Ardour is not installed (apt-get install ardour)" >&2; exit 2; }
version=$(basename "$lua" -lua)  # ardour7 or ardour8
libdir=/usr/lib/$version
gui=$(command -v "$version" || command -v ardour || true)
[ -n "$gui" ] && [ -x "$libdir/ardour-vst-scanner" ] || { say "Ardour's program or scanner is missing (apt-get install ardour)" >&2; exit 2; }
for tool in Xvfb xrdb xdotool xwininfo import; do
  command -v $tool >/dev/null ||
    { say "$tool is missing (apt-get install xvfb x11-xserver-utils xdotool x11-utils imagemagick)" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/zendrel-ardour-scale.XXXXXX")
xvfb= ardour=
cleanup() {
  local status=$?
  set +e
  [ -n "$ardour" ] && kill "$ardour" 2>/dev/null && wait "$ardour" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache LXVST_PATH=$work/vst
config=$XDG_CONFIG_HOME/$version
mkdir -p "$LXVST_PATH" "$config"
unset ZENDREL_SCALE  # the display's DPI is what is checked

# The scanner's cache counts only when it is newer than the module, and only
# for the module's absolute path: keep the module's own time.
cp -p "$module" "$LXVST_PATH/"
LD_LIBRARY_PATH=$libdir "$libdir/ardour-vst-scanner" -f "$LXVST_PATH/zendrel.so" >"$work/scan.txt" 2>&1 ||
  { cat "$work/scan.txt" >&2; say "Ardour's scanner failed on the module" >&2; exit 1; }

# A session with one stereo track and the plug-in on it.
cat >"$work/make.lua" <<EOF
create_session("$work/session", "scale", 48000)
local track = Session:new_audio_track(2, 2, nil, 1, "Gate", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front()
local proc = ARDOUR.LuaAPI.new_plugin(Session, "Zendrel", ARDOUR.PluginType.LXVST, "")
assert(not proc:isnil(), "Ardour did not find the Zendrel plug-in")
assert(track:add_processor_by_index(proc, 0, nil, true), "Ardour did not add the plug-in to the track")
print("IDS|" .. track:to_stateful():id():to_s() .. "|" .. proc:to_stateful():id():to_s())
Session:save_state("", false, false, false, false, false)
close_session()
EOF
"$lua" "$work/make.lua" >"$work/make.txt" 2>&1 || true
ids=$(sed -n 's/^IDS|//p' "$work/make.txt")
[ -n "$ids" ] || { grep -v '^\[' "$work/make.txt" >&2; say "could not make a session with the plug-in" >&2; exit 1; }
# The plug-in's window ("P-<track>-<plug-in>") was open when the session was saved.
python3 - "$work/session/scale.ardour" "P-${ids%|*}-${ids#*|}" <<'PY'
import sys
path, name = sys.argv[1], sys.argv[2]
text = open(path).read()
ui = '  <Extra>\n    <UI>\n      <Window name="%s" visible="1" x-off="20" y-off="20" x-size="0" y-size="0"/>\n    </UI>\n  </Extra>\n' % name
open(path, 'w').write(text.replace('</Session>', ui + '</Session>'))
PY

# Not Ardour's first start, and its silent engine started without asking.
touch "$config/.a${version#ardour}"
cat >"$config/config" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="hide-dummy-backend" value="0"/>
    <Option name="try-autostart-engine" value="1"/>
  </Config>
  <Extra>
    <AudioMIDISetup>
      <EngineStates>
        <State backend="None (Dummy)" driver="Normal Speed" device="Silence" input-device="" output-device="" sample-rate="48000" buffer-size="1024" n-periods="0" input-latency="0" output-latency="0" lm-input="" lm-output="" active="1" use-buffered-io="0" midi-option="1 in, 1 out, Silence" lru="1">
          <MIDIDevices/>
        </State>
      </EngineStates>
    </AudioMIDISetup>
  </Extra>
</Ardour>
EOF

# A display large enough for the editor at scale 3.
fifo=$work/display
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 3200x2000x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$fifo"
export DISPLAY=:$number
echo "Xft.dpi: $dpi" | xrdb -merge
say "display $DISPLAY, $(xrdb -query | grep -i 'Xft.dpi' | tr -s '\t ' ' ')"

ARDOUR_TRY_AUTOSTART_ENGINE=1 "$gui" --no-splash --no-announcements "$work/session/scale.ardour" >"$work/ardour.txt" 2>&1 &
ardour=$!
# Ardour's window for the plug-in ("Gate: Zendrel (by ...) [VST]"), then the
# editor's own window inside it: the deepest one.
window=
for _ in $(seq 1 240); do
  window=$(xdotool search --onlyvisible --name 'Zendrel' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$ardour" 2>/dev/null || break
  sleep 0.5
done
mkdir -p "$(dirname "$shot")"
if [ -z "$window" ]; then
  import -window root "$shot" 2>/dev/null || true
  tail -n 20 "$work/ardour.txt" >&2
  say "Ardour showed no window of Zendrel's editor (screenshot: $shot)" >&2
  exit 1
fi
sleep 5  # the editor draws itself on Ardour's next idle calls
tree=$(xwininfo -id "$window" -tree)
outer=$(xwininfo -id "$window" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w " x " h}')
# Children are listed indented by depth: the most indented line is the editor's window.
editor=$(echo "$tree" | awk '/^ +0x[0-9a-f]+ / {
    match($0, /^ +/); if (RLENGTH > depth) { depth = RLENGTH; line = $0 } }
  END { if (match(line, /[0-9]+x[0-9]+\+/)) print substr(line, RSTART, RLENGTH - 1) }' | sed 's/x/ x /')
import -window root "$shot"
say "Ardour's window for the plug-in: $(xdotool getwindowname "$window"), $outer"
say "the editor's window in it: ${editor:-not found}"
say "screenshot: $shot"
expected=$(python3 -c "s = min(max($dpi / 96.0, 1.0), 3.0); print('%d x %d' % (int(900 * s + 0.5), int(550 * s + 0.5)))")
if [ "$editor" = "$expected" ]; then
  say "the editor is $expected at Xft.dpi $dpi, as expected"
else
  say "the editor is ${editor:-missing}, expected $expected at Xft.dpi $dpi" >&2
  exit 1
fi

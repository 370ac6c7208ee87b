#!/bin/sh
# Opens the plug-ins' editors in Ardour 7's GUI on a virtual X server, for looking at them by
# hand (not run by CTest).
#
#   ardour_gui.sh prepare WS [BUILD]   a fresh HOME, the plug-ins staged and scanned, a session
#                                      with three tracks: OrvaneEQ (VST 3), OrvaneCompressor
#                                      (VST 3), OrvaneEQ (VST 2.4)
#   ardour_gui.sh start WS             Xvfb and Ardour on that session; prints the DISPLAY
#   ardour_gui.sh tour WS [BUILD]      after start: what a user does, screenshots in WS/shots
#   ardour_gui.sh env WS               the DISPLAY line for orvane_x11_drive (eval it)
#   ardour_gui.sh stop WS              stops that Ardour and that Xvfb
#
# BUILD defaults to build/release. WS is any new folder (e.g. /tmp/orvane-ardour-gui).
# `tour` picks the "None (Dummy)" back end in Ardour's engine dialog, opens the mixer, and for
# each plug-in opens its editor (double-click in the mixer strip), drags a knob, then opens
# Ardour's generic controls of the same plug-in, where the dragged parameter shows its new
# value. Its clicks are screen positions of Ardour 7.3 on the 2560x1600 screen of xvfb.sh
# with a fresh HOME and only the DejaVu fonts; the plug-in windows are found by name and moved with xdotool (there is
# no window manager). By hand, with the display from `env`:
#   build/release/tests/hosts/x11/orvane_x11_drive shot WS/shot.png
#   build/release/tests/hosts/x11/orvane_x11_drive click X Y 1 2      (double-click a plug-in)
#
# Ardour's habits this works around: its scan cache counts only for plug-in files older than
# the cache, so the copies are backdated before the scanners run; the GUI runs without JACK
# only with the "None (Dummy)" back end unhidden; it has no ~/.vst on its Linux VST path and
# conceals a VST 2.4 plug-in whose VST 3 twin is installed. Only the staged copies are on the
# plug-in paths, so no scan of other plug-ins (lsp's hundreds) runs while the GUI starts.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
lib=/usr/lib/ardour7
backdate="2000-01-01 00:00:00"

usage() {
  sed -n '2,24p' "$0" >&2
  exit 2
}

[ $# -ge 2 ] || usage
action=$1
ws=$2

host_environment() {
  echo "HOME=$ws/home"
  echo "XDG_CONFIG_HOME=$ws/home/.config"
  echo "XDG_CACHE_HOME=$ws/home/.cache"
  echo "XDG_DATA_HOME=$ws/home/.local/share"
  echo "VST3_PATH=$ws/plugins/vst3"
  echo "LXVST_PATH=$ws/plugins/vst"
  echo "VST_PATH=$ws/plugins/vst"
  echo "LANG=C.UTF-8"
  echo "FONTCONFIG_FILE=$ws/fonts.conf"
}

# Runs a command with the workspace's environment and nothing inherited that points Ardour at
# other plug-ins or another configuration.
in_workspace() {
  # shellcheck disable=SC2046
  env -u DISPLAY -u LD_LIBRARY_PATH $(host_environment) "$@"
}

# The same, replacing the (background) shell, so that its process id is the program's.
exec_in_workspace() {
  # shellcheck disable=SC2046
  exec env -u DISPLAY -u LD_LIBRARY_PATH $(host_environment) "$@"
}

write_config() {
  config=$ws/home/.config/ardour7
  mkdir -p "$config"
  # Ardour shows its first-run wizard unless it has been here before.
  touch "$config/.a7"
  cat >"$config/config" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="hide-dummy-backend" value="0"/>
    <Option name="plugin-path-lxvst" value="$ws/plugins/vst"/>
    <Option name="plugin-path-vst3" value="$ws/plugins/vst3"/>
    <Option name="conceal-vst2-if-vst3-exists" value="0"/>
    <Option name="try-autostart-engine" value="1"/>
    <Option name="discover-plugins-on-start" value="0"/>
  </Config>
</Ardour>
EOF
  # Ardour's window layout, and so every click position below, follows its interface font:
  # it sees the DejaVu faces tools/setup.sh installs and nothing else the machine has.
  cat >"$ws/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$ws/fontcache</cachedir>
</fontconfig>
EOF
}

# The EQ's VST 2.4 face is the bundle's own library: a second copy of the bundle, whose
# library folder is the Linux VST path.
stage() {
  build=$1
  mkdir -p "$ws/plugins/vst3" "$ws/plugins/vst"
  cp -r "$build/vst3/OrvaneEQ.vst3" "$build/vst3/OrvaneCompressor.vst3" "$ws/plugins/vst3/"
  cp -r "$build/vst3/OrvaneEQ.vst3" "$ws/plugins/vst/"
  find "$ws/plugins" -exec touch -d "$backdate" {} +
}

scan() {
  for bundle in "$ws"/plugins/vst3/*.vst3; do
    in_workspace LD_LIBRARY_PATH=$lib "$lib/ardour-vst3-scanner" -v -f "$bundle" |
      grep "Found Plugin" || { echo "ardour-vst3-scanner did not find $bundle" >&2; exit 1; }
  done
  library=$(find "$ws/plugins/vst" -name 'OrvaneEQ.so')
  in_workspace LD_LIBRARY_PATH=$lib "$lib/ardour-vst-scanner" -v -f "$library" |
    grep "Found Plugin" || { echo "ardour-vst-scanner did not find $library" >&2; exit 1; }
}

create_session() {
  cat >"$ws/session.lua" <<'EOF'
local folder, name = arg[1], arg[2]
create_session (folder, name, 48000)
assert (Session, "Ardour could not create the session")
local plugins = {
  { "OrvaneEQ VST3", "Orvane EQ", ARDOUR.PluginType.VST3 },
  { "OrvaneCompressor VST3", "Orvane Compressor", ARDOUR.PluginType.VST3 },
  { "OrvaneEQ VST2", "Orvane EQ", ARDOUR.PluginType.LXVST },
}
for _, p in ipairs (plugins) do
  local track = Session:new_audio_track (2, 2, nil, 1, p[1],
    ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front ()
  local plugin = ARDOUR.LuaAPI.new_plugin (Session, p[2], p[3], "")
  assert (not plugin:isnil (), "Ardour could not make " .. p[1])
  assert (track:add_processor_by_index (plugin, 0, nil, true) == 0, "Ardour refused " .. p[1])
  print ("added", p[1], plugin:to_insert ():plugin (0):get_info ().path)
end
assert (Session:save_state ("", false, false, false, false, false) == 0, "not saved")
close_session ()
print ("session saved")
EOF
  in_workspace LD_LIBRARY_PATH=$lib ardour7-lua "$ws/session.lua" "$ws/session" check
}

display_of() {
  cut -d' ' -f1 "$ws/xvfb.state"
}

# --- The tour: positions in Ardour's windows on the 2560x1600 screen.
ENGINE_SYSTEM="1288 658"   # engine dialog: the "Audio System" choice
ENGINE_DUMMY="1270 702"    # its "None (Dummy)" entry
ENGINE_START="1502 960"    # "Start"
MIXER_BUTTON="1325 72"     # "Mix", top right of the main window
STRIP_Y=206                # the plug-in's row in each mixer strip's processor box
GENERIC_DX=99              # "Edit with generic controls..." in the processor's context menu
GENERIC_DY=45
TOOLBAR=34                 # Ardour's toolbar above the plug-in's own editor

drive() {
  "$drive" "$@"
}

shot() {
  file=$ws/shots/$(echo "$1" | tr ' ' '-').png
  drive shot "$file"
  echo "shot $file"
}

# Ardour's window for a plug-in: its title starts with the track name.
plugin_window() {
  i=0
  while [ $i -lt 50 ]; do
    id=$(xdotool search --onlyvisible --name "^$1: " 2>/dev/null | tail -n 1) || true
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.2
    i=$((i + 1))
  done
  echo "no window for $1" >&2
  exit 1
}

# Opens a plug-in's editor from its mixer strip, moves it to (X, Y), drags the knob at
# (KX, KY) of the editor by (DX, DY), then opens Ardour's generic controls of that plug-in
# (Ardour shows them in the same window).
visit() {
  name=$1 strip_x=$2 x=$3 y=$4 kx=$5 ky=$6 dx=$7 dy=$8
  drive click "$strip_x" $STRIP_Y 1 2
  window=$(plugin_window "$name")
  xdotool windowmove "$window" "$x" "$y"
  sleep 2
  shot "$name-open"
  drive drag $((x + kx)) $((y + TOOLBAR + ky)) "$dx" "$dy"
  sleep 1
  shot "$name-dragged"
  drive click "$strip_x" $STRIP_Y 3
  sleep 1
  drive click $((strip_x + GENERIC_DX)) $((STRIP_Y + GENERIC_DY))
  sleep 2
  shot "$name-generic"
}

tour() {
  mkdir -p "$ws/shots"
  export DISPLAY
  DISPLAY=$(display_of)
  # shellcheck disable=SC2086
  drive click $ENGINE_SYSTEM
  sleep 1
  # shellcheck disable=SC2086
  drive click $ENGINE_DUMMY
  sleep 2
  shot engine
  # shellcheck disable=SC2086
  drive click $ENGINE_START
  sleep 12
  # shellcheck disable=SC2086
  drive click $MIXER_BUTTON
  sleep 3
  shot mixer
  # EQ: Output (+13.5 dB); compressor: Threshold (about -24 dB); EQ VST 2.4: LowShelfGain.
  visit "OrvaneEQ VST3" 332 1400 800 849 241 0 -60
  visit "OrvaneCompressor VST3" 442 1400 300 334 97 0 50
  visit "OrvaneEQ VST2" 552 1000 1200 212 93 0 -40
}

case "$action" in
prepare)
  build=$(cd "${3:-$root/build/release}" && pwd)
  [ ! -e "$ws" ] || { echo "$ws exists: give a new folder" >&2; exit 1; }
  mkdir -p "$ws"
  ws=$(cd "$ws" && pwd)
  write_config
  stage "$build"
  scan
  create_session
  ;;
start)
  ws=$(cd "$ws" && pwd)
  "$root/tests/hosts/x11/xvfb.sh" start "$ws/xvfb.state"
  display=$(display_of)
  # The session was made headless; Ardour's GUI opens it on the Dummy back end.
  exec_in_workspace DISPLAY="$display" setsid ardour -n -a "$ws/session/check.ardour" \
    >"$ws/ardour.log" 2>&1 &
  echo $! >"$ws/ardour.pid"
  echo "Ardour (pid $!) on DISPLAY=$display; log $ws/ardour.log"
  ;;
tour)
  ws=$(cd "$ws" && pwd)
  drive=$(cd "${3:-$root/build/release}" && pwd)/tests/hosts/x11/orvane_x11_drive
  tour
  ;;
env)
  ws=$(cd "$ws" && pwd)
  echo "export DISPLAY=$(display_of)"
  ;;
stop)
  ws=$(cd "$ws" && pwd)
  if [ -f "$ws/ardour.pid" ]; then
    kill "$(cat "$ws/ardour.pid")" 2>/dev/null || true
    rm -f "$ws/ardour.pid"
  fi
  "$root/tests/hosts/x11/xvfb.sh" stop "$ws/xvfb.state"
  ;;
*)
  usage
  ;;
esac

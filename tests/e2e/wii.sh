#!/usr/bin/env bash
# End-to-end Wii Remote input: the real binary under Xvfb with one Remote
# configured, driven over OSC by the session simulator and by a generic OSC
# client (oscsend). In the menu-driven input combination (Ctrl+F10) the
# Nunchuk joystick walks the pointer across the picture while "createobjects"
# messages stamp strokes along its path (more components at exit) or
# "eraseobjects" messages wipe them (fewer). Walking on into the left border
# zone makes the program send "/wiidata/leftBorderRegion" false to the send
# port: a generic listener (oscdump) started before the program receives
# it, and so does the simulator's listener started after it.
# Usage: wii.sh <pictavo binary> <run directory> <wii_simulator binary>
set -uo pipefail
self=$(readlink -f "$0")
here=$(dirname "$self")
source "$here/common.sh"
base=47420
receive=$base
send=$((base + 1))

# A walk to the right with an action message after each joystick report,
# then on to the left edge (10 pixels a report at full tilt).
walk_script() {
  local action=$1 script="nunchuk on"
  for _ in $(seq 12); do script="$script; joystick 0.8 0; send; $action"; done
  echo "$script; joystick -1 0; send 80; joystick 0 0; send"
}

session() {
  # Runs inside the X server. $1: "create" or "erase". The listener is
  # stopped on every way out.
  local listener="" action="create 10"
  [ "$1" = erase ] && action="erase 60"
  if [ "$1" = create ]; then
    oscdump -L "$send" > "$work/oscdump.log" 2>&1 &
    listener=$!
    sleep 0.5
  fi
  stop_listener() { [ -n "$listener" ] && kill "$listener" 2>/dev/null; wait "$listener" 2>/dev/null; }
  start_pictavo "$work/$1.log" || { stop_listener; return 1; }
  if [ "$1" = erase ]; then
    "$simulator" --listen "$send" --count 1 --timeout 30 > "$work/listener.log" 2>&1 &
    listener=$!
    sleep 0.5
  fi
  xdotool key ctrl+F10
  sleep 0.5
  if ! "$simulator" --port "$receive" --interval 0.03 --script "$(walk_script "$action")"; then
    quit_pictavo
    stop_listener
    return 1
  fi
  [ "$1" = create ] && oscsend 127.0.0.1 "$receive" /glovepie/wiiaction/createobjects ii 0 20
  sleep 3
  quit_pictavo
  local quit=$?
  stop_listener
  return $quit
}

if [ "${1:-}" = "--session" ]; then
  cd "$work/run" && session "$2"
  exit $?
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prepare_run "$1" "$2" $base 0
sed -i -e 's|<userdata number="1" wiis="[0-9]*"/>|<userdata number="1" wiis="1"/>|' "$work/run/config.xml"
grep -q 'wiis="1"' "$work/run/config.xml" || { echo "FAIL: cannot configure a Remote"; exit 1; }
simulator=$(readlink -f "$3")
export work simulator
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

run_sessions create erase

n_create=$(components "$work/create.log")
n_erase=$(components "$work/erase.log")
echo "components at exit: after creating $n_create, after erasing $n_erase"
# 200 strokes, the canvas and its brush.
[ "${n_create:-0}" -gt 202 ] || fail "createobjects made no strokes ($n_create)"
[ "${n_erase:-999}" -lt 202 ] || fail "eraseobjects erased no strokes ($n_erase)"
grep -q '/wiidata/leftBorderRegion F' "$work/oscdump.log" \
  || fail "a listener started before the program got no border message: $(cat "$work/oscdump.log")"
grep -q '/wiidata/leftBorderRegion false' "$work/listener.log" \
  || fail "a listener started after the program got no border message: $(cat "$work/listener.log")"

[ $failures -eq 0 ] && echo "wii: all checks passed"
exit $failures

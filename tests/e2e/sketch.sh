#!/usr/bin/env bash
# End-to-end sketching, as a new user would: take the pen (F7), sketch three
# shapes on the build canvas with the pen posture, use them as the rendering
# element (Alt+R), put the tools back (F8) and paint a one-finger drag on the
# canvas. The panel must show the sketch, disappear again on F8, and the
# primitives of the drag must wear the sketched shape: the painted path
# differs from the same drag painted with the shipped stroke textures.
# Usage: sketch.sh <pictavo binary> <run directory>
set -uo pipefail
self=$(readlink -f "$0")
source "$(dirname "$self")/common.sh"

# A drag through the given points (root pixels), held still before release.
drag_through() {
  xdotool mousemove "$1" "$2" mousedown 1
  while [ $# -ge 2 ]; do xdotool mousemove "$1" "$2"; sleep 0.03; shift 2; done
  sleep 0.3
  xdotool mouseup 1
  sleep 0.3
}

circle() {
  local cx=$1 cy=$2 r=$3 points=()
  for a in $(seq 0 12 372); do
    points+=($(awk -v a="$a" -v cx="$cx" -v cy="$cy" -v r="$r" \
      'BEGIN { t = a * 3.14159265 / 180; printf "%d %d", cx + r * cos(t), cy + r * sin(t) }'))
  done
  drag_through "${points[@]}"
}

line() {
  local points=()
  for i in $(seq 0 20); do points+=($(( $1 + ($3 - $1) * i / 20 )) $(( $2 + ($4 - $2) * i / 20 ))); done
  drag_through "${points[@]}"
}

session() {
  # Runs inside the X server. $1: "sketch" or "plain" (the same drag without sketching).
  start_pictavo "$work/$1.log" || return 1
  import -window root "$work/$1-start.png"
  if [ "$1" = "sketch" ]; then
    xdotool key F7                 # take the pen: the build canvas opens
    sleep 1
    import -window root "$work/$1-panel.png"
    xdotool key alt+1              # fake posture: pen
    sleep 0.3
    circle 450 350 80
    line 380 280 520 420
    line 380 420 520 280
    sleep 0.5
    import -window root "$work/$1-sketched.png"
    xdotool key alt+r              # use the strokes as rendering element
    sleep 0.5
    xdotool key F8                 # put the tools back: the panel goes
    sleep 1
    import -window root "$work/$1-back.png"
  fi
  xdotool key alt+2                # fake posture: one finger
  sleep 0.3
  local points=()
  for x in $(seq 150 8 450); do points+=("$x" 600); done
  drag_through "${points[@]}"
  sleep 1.5
  import -window root "$work/$1-painted.png"
  quit_pictavo
}

if [ "${1:-}" = "--session" ]; then
  cd "$work/run" && session "$2"
  exit $?
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prepare_run "$1" "$2" 47370 0
# Bare paper: only the drag's primitives differ between the two sessions.
sed -i 's|<strokes number="[0-9]*"|<strokes number="0"|' "$work/run/config.xml"
export work
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

run_sessions sketch plain

sketch_area=200x200+350+250
window=1000x700+10+30
shown=$(changed "$work/sketch-start.png" "$work/sketch-panel.png" "$window")
drawn=$(changed "$work/sketch-panel.png" "$work/sketch-sketched.png" "$sketch_area")
gone=$(changed "$work/sketch-start.png" "$work/sketch-back.png" "$window")
echo "panel: $shown pixels on opening, $drawn by the sketch, $gone left after F8"
[ "${shown:-0}" -gt 100000 ] || fail "F7 did not open the build canvas ($shown)"
[ "${drawn:-0}" -gt 2000 ] || fail "the pen drew nothing on the panel ($drawn)"
[ "${gone:-0}" -lt 2000 ] || fail "F8 did not close the build canvas ($gone)"

path=320x60+140+570
sketch_paint=$(changed "$work/sketch-back.png" "$work/sketch-painted.png" "$path")
plain_paint=$(changed "$work/plain-start.png" "$work/plain-painted.png" "$path")
# The sketched shapes are hard lines with paper between them, the stroke
# textures soft: along the path the mean edge strength of the picture (in
# units of 1/10000) tells them apart however densely the drag painted. Seen
# here: 150 to 220 with the sketch, 70 to 80 with the textures (and with a
# sketch-less F7, F8); more than one and a half times passes.
edges() {
  convert "$1" -crop "$2" +repage -colorspace Gray -morphology EdgeIn Diamond -format "%[fx:round(mean*10000)]" info:
}
sketch_edges=$(edges "$work/sketch-painted.png" "$path")
plain_edges=$(edges "$work/plain-painted.png" "$path")
echo "drag: $sketch_paint pixels painted with the sketch, $plain_paint with stroke textures;" \
     "edge strength $sketch_edges against $plain_edges"
[ "${sketch_paint:-0}" -gt 3000 ] || fail "the drag after sketching painted nothing ($sketch_paint)"
[ "${plain_paint:-0}" -gt 3000 ] || fail "the reference drag painted nothing ($plain_paint)"
[ $((2 * ${sketch_edges:-0})) -gt $((3 * ${plain_edges:-0})) ] \
  || fail "the sketched primitives look like the stroke textures (edges $sketch_edges against $plain_edges)"

[ $failures -eq 0 ] && echo "sketch: all checks passed"
exit $failures

#!/usr/bin/env bash
# End-to-end colour, as a person would use it: the real binary under Xvfb in
# a temporary copy of the run directory with a light stroke demo.
# - paint: show the palette (Alt+P), take the red paint, colour mode, a
#   one-finger drag across the canvas: strokes along the path turn red, the
#   picture far from it stays as it was.
#   Its layer screenshot icon writes the picture behind it to a file.
# - mix: yellow dragged into the mixing area, then blue dropped onto it: a
#   green paint lies there; Shift+P hides the palette.
# - reference: a four-colour picture chosen in the file dialog (its path
#   typed) and pressed in with Ctrl+R twice: the strokes in each quarter of
#   the canvas take that quarter's colour.
# Usage: palette.sh <pictavo binary> <run directory>
set -uo pipefail
self=$(readlink -f "$0")
here=$(dirname "$self")
source "$here/common.sh"
pixels() { python3 "$here/pixels.py" "$@"; }

# Half-width of the configured palette (360 wide) and frame offsets of its
# red well and mixing area, in screen pixels (y down).
half=180
red_dx=124; red_dy=26      # red well: (0.688, -0.146) half-widths
mix_dx=-36; mix_dy=18      # mixing area: (-0.2, -0.1) half-widths

# Screen centre of the palette from its red well, found by colour in $1.
palette_centre() {
  local found
  found=$(pixels find "$1" 255 0 0 10)
  [ "$found" = none ] && return 1
  read -r rx ry _ <<< "$found"
  cx=$(( rx - red_dx )); cy=$(( ry - red_dy ))
}

slow_drag() {
  # From (x0, y0) to (x1, y1) in 12 steps.
  local x0=$1 y0=$2 x1=$3 y1=$4
  xdotool mousemove "$x0" "$y0" mousedown 1
  for i in $(seq 1 12); do
    xdotool mousemove $(( x0 + (x1 - x0) * i / 12 )) $(( y0 + (y1 - y0) * i / 12 )); sleep 0.05
  done
  sleep 0.2
  xdotool mouseup 1
}

session_paint() {
  xdotool key alt+p; sleep 1
  import -window root "$work/paint-before.png"
  palette_centre "$work/paint-before.png" || { echo "no palette on the screen"; return 1; }
  echo "$cx $cy" > "$work/paint-centre.txt"
  xdotool key ctrl+F10 ctrl+F3 alt+2; sleep 0.3   # menu modes, colour mode, one finger
  xdotool mousemove $(( cx + red_dx )) $(( cy + red_dy )) click 1; sleep 0.5
  for y in 290 320 350; do slow_drag 500 "$y" 900 "$y"; done
  sleep 1.5
  import -window root "$work/paint-after.png"
  # The layer screenshot icon: the picture behind the palette goes to a file.
  xdotool mousemove $(( cx + 20 )) $(( cy - 103 )) click 1; sleep 1.5
  cp layerscreenshot0.bmp "$work/" 2>/dev/null
}

session_mix() {
  xdotool key alt+p; sleep 1
  import -window root "$work/mix-before.png"
  palette_centre "$work/mix-before.png" || { echo "no palette on the screen"; return 1; }
  local mx=$(( cx + mix_dx )) my=$(( cy + mix_dy ))
  read -r yx yy _ <<< "$(pixels find "$work/mix-before.png" 255 255 0 10)"
  read -r bx by _ <<< "$(pixels find "$work/mix-before.png" 42 95 154 8)"
  slow_drag "$yx" "$yy" "$mx" "$my"; sleep 0.5
  slow_drag "$bx" "$by" "$mx" "$my"; sleep 0.5
  xdotool mousemove 900 100; sleep 0.5
  import -window root "$work/mix-after.png"
  echo "$mx $my" > "$work/mix-spot.txt"
  xdotool key shift+p; sleep 1
  import -window root "$work/mix-hidden.png"
}

session_reference() {
  convert -size 200x150 xc:red xc:rgb\(0,200,0\) +append \( -size 200x150 xc:blue xc:yellow +append \) -append \
    "$work/quarters.png"
  xdotool key ctrl+r; sleep 2
  xdotool type --delay 20 "$work/quarters.png"; sleep 0.3
  xdotool key Return; sleep 2
  # No window manager gives the focus back once the dialog has closed.
  xdotool windowfocus --sync "$win"; sleep 0.3
  import -window root "$work/reference-placed.png"
  xdotool key ctrl+r; sleep 3
  import -window root "$work/reference-after.png"
}

if [ "${1:-}" = "--session" ]; then
  cd "$work/run" || exit 1
  start_pictavo "$work/$2.log" || exit 1
  "session_$2"; status=$?
  quit_pictavo || status=1
  exit $status
fi

binary=$1
run_template=$2
work=$(mktemp -d)
[ -n "${PALETTE_KEEP:-}" ] || trap 'rm -rf "$work"' EXIT
prepare_run "$binary" "$run_template" 47360 0
export work
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

run_sessions paint mix reference

# paint: red along the drags, little change far from them.
far=300x100+600+560
red_before=$(pixels count "$work/paint-before.png" 500 280 400 80 red)
red_after=$(pixels count "$work/paint-after.png" 500 280 400 80 red)
far_changed=$(changed "$work/paint-before.png" "$work/paint-after.png" "$far")
echo "paint: red pixels on the path $red_before -> $red_after, $far_changed changed far away"
[ "${red_after:-0}" -gt $(( ${red_before:-0} + 150 )) ] || fail "the path did not turn red"
[ "${far_changed:-0}" -lt 300 ] || fail "colouring changed the picture far from the path ($far_changed)"

[ -f "$work/layerscreenshot0.bmp" ] || fail "the layer screenshot icon wrote no layerscreenshot0.bmp"
if [ -f "$work/layerscreenshot0.bmp" ]; then
  # The palette hid itself for the picture: no red well in it.
  [ "$(pixels find "$work/layerscreenshot0.bmp" 255 0 0 10)" = none ] || fail "the layer screenshot shows the palette"
fi

# mix: green where blue met yellow.
if read -r mx my < "$work/mix-spot.txt" 2>/dev/null; then
  green=$(pixels count "$work/mix-after.png" $(( mx - 8 )) $(( my - 8 )) 16 16 green)
  echo "mix: $green of 256 pixels green round the drop ($(pixels at "$work/mix-after.png" "$mx" "$my"))"
  [ "${green:-0}" -gt 150 ] || fail "blue onto yellow did not make a green paint"
  [ "$(pixels find "$work/mix-hidden.png" 255 0 0 10)" = none ] || fail "Shift+P did not hide the palette"
else
  fail "mix session found no palette"
fi

# reference: each quarter of the canvas takes its colour (red top left,
# green top right, blue bottom left, yellow bottom right).
# How many strokes lie in a quarter is up to the random layout, so each
# quarter must show its own colour clearly and the other three hardly.
for q in "red 60 60" "green 560 60" "blue 60 420" "yellow 560 420"; do
  read -r colour x y <<< "$q"
  n=$(pixels count "$work/reference-after.png" "$x" "$y" 400 240 "$colour")
  others=0
  for c in red green blue yellow; do
    [ "$c" = "$colour" ] && continue
    others=$(( others + $(pixels count "$work/reference-after.png" "$x" "$y" 400 240 "$c") ))
  done
  echo "reference: $n $colour pixels in the $colour quarter, $others of the other colours"
  [ "${n:-0}" -gt 500 ] || fail "the $colour quarter did not take its colour ($n)"
  [ "$others" -lt $(( ${n:-0} / 5 )) ] || fail "the $colour quarter took other colours ($others)"
done
grep -q "Unable to load texture image" "$work/reference.log" && fail "the chosen picture did not load"

[ $failures -eq 0 ] && echo "palette: all checks passed"
exit $failures

# Shared by the end-to-end scripts (sourced): a light copy of the run
# directory, starting and quitting the real binary inside an X server, and
# picture comparison. Expects $work to name the test's scratch folder.

# Copies the run directory with the binary and a light stroke demo: few
# strokes keep frames quick on a software renderer; private ports keep
# tests running side by side apart; a fixed seed makes the same picture
# every run. $1 binary, $2 run directory, $3 the first of three ports (OSC
# in, OSC out, TUIO), $4 1 to listen for TUIO.
export PICTAVO_SEED=5
prepare_run() {
  cp -r "$2" "$work/run"
  cp "$1" "$work/run/pictavo"
  local tuio="<tuio enabled=\"$4\" port=\"$(( $3 + 2 ))\"/>"
  sed -i -e 's|<strokes number="[0-9]*"|<strokes number="200"|' \
         -e 's|<startup [^>]*/>|<startup demo_type="0" animation="1"/>|' \
         -e "s|receive_port=\"[0-9]*\"|receive_port=\"$3\"|" \
         -e "s|send_port=\"[0-9]*\"|send_port=\"$(( $3 + 1 ))\"|" \
         -e '/<tuio /d' -e "s|</pictavo>|  $tuio\n</pictavo>|" "$work/run/config.xml"
}

# A mouse drag from x0 to x1 at height y ($1 $2 $3), in steps of 8 pixels.
drag() {
  local x0=$1 x1=$2 y=$3
  xdotool mousemove "$x0" "$y" mousedown 1
  for x in $(seq "$x0" 8 "$x1"); do xdotool mousemove "$x" "$y"; sleep 0.04; done
  xdotool mouseup 1
}

# Starts ./pictavo (in the current directory) with the further arguments,
# logging to $1, and waits for its window; sets $pid and $win. Fails when no
# window comes.
start_pictavo() {
  local log=$1
  shift
  ./pictavo "$@" > "$log" 2>&1 &
  pid=$!
  win=""
  for _ in $(seq 100); do
    win=$(xdotool search --name "Velk Tabletop Framework Demo Application" 2>/dev/null | head -n 1)
    [ -n "$win" ] && break
    sleep 0.1
  done
  if [ -z "$win" ]; then echo "no window"; kill -9 $pid; return 1; fi
  sleep 3
}

# Esc, then waits for the program to end; fails when it does not.
quit_pictavo() {
  xdotool key Escape
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then echo "did not quit on Esc"; kill -9 $pid; return 1; fi
  wait $pid
}

# Pixels that differ by more than $4 % (default 10) between two pictures in
# a region (ImageMagick geometry WxH+X+Y).
changed() { compare -metric AE -fuzz "${4:-10}%" -extract "$3" "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

# Waits for what the program shows rather than for a time: each wait grabs
# a region of the screen (xwd, which stays quick when the machine is busy)
# until its condition holds, and fails after 100 grabs. The frame loop is
# unpaced, so a region that stays the same between two grabs has settled.

# The whole screen into picture $1.
screenshot() { xwd -root -silent | convert xwd:- "$1"; }
# Region $2 (WxH+X+Y) of the screen into $1 (a PPM file).
grab() { xwd -root -silent | convert xwd:- -crop "$2" +repage "$1"; }

# Waits until region $2 shows a light picture (the canvas's paper, not an
# undrawn window) that has settled; leaves it in $1 (PPM).
await_settled() {
  local previous="${1%.ppm}-previous.ppm"
  grab "$previous" "$2"
  for _ in $(seq 100); do
    grab "$1" "$2"
    if cmp -s "$previous" "$1" && [ "$(convert "$1" -format '%[fx:mean>0.5]' info:)" = 1 ]; then
      rm -f "$previous"
      return 0
    fi
    mv "$1" "$previous"
  done
  echo "the picture in $2 did not settle"
  return 1
}

# Waits until region $2 differs from $1 (grabbed from the same region): a
# frame has shown input given after $1 was grabbed, as long as $1 had settled.
# With $3, only pixels that differ by more than $3 % count.
await_change() {
  local now="${1%.ppm}-now.ppm"
  for _ in $(seq 100); do
    grab "$now" "$2"
    if [ -n "${3:-}" ]; then
      [ "$(changed "$1" "$now" "${2%%+*}+0+0" "$3")" != 0 ] && { rm -f "$now"; return 0; }
    else
      cmp -s "$1" "$now" || { rm -f "$now"; return 0; }
    fi
  done
  echo "the picture in $2 did not change"
  return 1
}

# The component count the program printed at exit into log $1.
components() { grep -o 'Components: [0-9]*' "$1" | cut -d' ' -f2; }

# Runs `$self --session NAME` in its own X server for each name; counts the
# sessions that fail in $failures through fail().
run_sessions() {
  for s in "$@"; do
    xvfb-run -a -s "-screen 0 1280x1024x24" bash "$self" --session "$s" || fail "session $s did not run"
  done
}

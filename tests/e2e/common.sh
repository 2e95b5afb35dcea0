# Shared by the end-to-end scripts (sourced): a light copy of the run
# directory, starting and quitting the real binary inside an X server, and
# picture comparison. Expects $work to name the test's scratch folder.

# Copies the run directory with the binary and a light stroke demo: few
# strokes keep frames quick on a software renderer; private ports keep
# tests running side by side apart. $1 binary, $2 run directory, $3 the
# first of three ports (OSC in, OSC out, TUIO), $4 1 to listen for TUIO.
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

# Pixels that differ by more than 10 % between two pictures in a region
# (ImageMagick geometry WxH+X+Y).
changed() { compare -metric AE -fuzz 10% -extract "$3" "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

# The component count the program printed at exit into log $1.
components() { grep -o 'Components: [0-9]*' "$1" | cut -d' ' -f2; }

# Runs `$self --session NAME` in its own X server for each name; counts the
# sessions that fail in $failures through fail().
run_sessions() {
  for s in "$@"; do
    xvfb-run -a -s "-screen 0 1280x1024x24" bash "$self" --session "$s" || fail "session $s did not run"
  done
}

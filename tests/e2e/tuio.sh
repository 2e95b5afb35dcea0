#!/usr/bin/env bash
# End-to-end painting by TUIO datagrams, as a camera table's tracker would
# send them: the real binary under Xvfb listening for TUIO, driven by the
# scripted client. The contact size decides the tool (posture mode): a
# two-finger blob dragged across the picture turns the strokes under its
# path (the picture changes there, the number of components does not; the
# drag moves fast enough for the follow style, over 10 cells a frame); a
# one-finger blob creates strokes (more components at exit).
# Usage: tuio.sh <pictavo binary> <run directory>
set -uo pipefail
self=$(readlink -f "$0")
here=$(dirname "$self")
source "$here/common.sh"
base=47340
port=$((base + 2))

session() {
  # Runs inside the X server. $1: "orient" or "create".
  local posture=two
  [ "$1" = create ] && posture=one
  start_pictavo "$work/$1.log" || return 1
  import -window root "$work/$1-before.png"
  for _ in 1 2; do
    python3 "$here/tuio_send.py" --port "$port" --posture "$posture" \
      --from 0.15 0.5 --to 0.45 0.5 --steps 12 --interval 0.06 || { quit_pictavo; return 1; }
  done
  sleep 2
  import -window root "$work/$1-after.png"
  quit_pictavo
}

if [ "${1:-}" = "--session" ]; then
  cd "$work/run" && session "$2"
  exit $?
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prepare_run "$1" "$2" $base 1
export work
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

run_sessions orient create

# The drag runs across the middle of the 1024 x 768 surface from 15 % to
# 45 % of its width; the far band is in the lower right.
path=340x120+140+340
far=300x100+640+650
on_path=$(changed "$work/orient-before.png" "$work/orient-after.png" "$path")
off_path=$(changed "$work/orient-before.png" "$work/orient-after.png" "$far")
echo "orient: $on_path pixels changed on the path, $off_path far from it"
[ "${on_path:-0}" -gt 800 ] || fail "a two-finger blob did not turn the strokes on its path ($on_path)"
[ "${off_path:-0}" -lt 300 ] || fail "a two-finger blob changed the picture far from its path ($off_path)"

n_orient=$(components "$work/orient.log")
n_create=$(components "$work/create.log")
echo "components at exit: after orienting $n_orient, after creating $n_create"
# 200 strokes, the canvas, its brush, the (hidden) palette, the build canvas,
# the stroke menu, the context and the corner menu.
[ "${n_orient:-0}" -eq 207 ] || fail "orienting changed the number of components ($n_orient)"
[ "${n_create:-0}" -gt 207 ] || fail "a one-finger blob created no strokes ($n_create)"

[ $failures -eq 0 ] && echo "tuio: all checks passed"
exit $failures

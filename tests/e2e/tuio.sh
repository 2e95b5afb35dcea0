#!/usr/bin/env bash
# End-to-end painting by TUIO datagrams, as a camera table's tracker would
# send them: the real binary under Xvfb listening for TUIO, driven by the
# scripted client. The contact size decides the tool (posture mode): a
# two-finger blob dragged across the picture turns the strokes under its
# path (the picture changes there, the number of components does not; each
# step of the drag moves the brush over 10 cells, as the follow style needs);
# a one-finger blob creates strokes (more components at exit).
#
# The sessions wait for what the program shows, not for time: the drag
# starts once the picture has settled after start-up, and the picture after
# it is taken once the turned strokes have come to rest. Each step of the
# orienting drag also waits until the picture shows it (the brush's outline
# moves) and has settled again, so every step is stamped in some frame
# however slowly frames come. The creating contact is released only once
# new strokes show (a new stroke can hide the small one-finger outline, so
# its steps are not paced). The sender numbers frames from 1, so one drag
# per program run: a second would count as late frames and be dropped.
# Usage: tuio.sh <pictavo binary> <run directory>
set -uo pipefail
self=$(readlink -f "$0")
here=$(dirname "$self")
source "$here/common.sh"
# Three ports (OSC in, OSC out, TUIO) that no other run on this machine is
# using: chosen once by the outer run, inherited by the sessions.
if [ -z "${base:-}" ]; then
  base=$(python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("", 0)); print(s.getsockname()[1] - 2)')
  export base
fi
port=$((base + 2))

# The surface between the menu bar and the information bar, and the band
# that the drag and its brush cover.
surface=1024x700+0+30
band=560x300+20+250

session() {
  # Runs inside the X server. $1: "orient" or "create".
  local posture=two
  [ "$1" = create ] && posture=one
  start_pictavo "$work/$1.log" || return 1
  await_settled "$work/$1-surface.ppm" "$surface" || { quit_pictavo; return 1; }
  screenshot "$work/$1-before.png"
  grab "$work/$1-step.ppm" "$band"
  local pacing=(--wait-command "bash '$self' --step '$work/$1-step.ppm'")
  [ "$1" = create ] && pacing=(--release-command "bash '$self' --created '$work/$1-step.ppm'")
  python3 "$here/tuio_send.py" --port "$port" --posture "$posture" \
    --from 0.15 0.5 --to 0.45 0.5 --steps 12 --interval 0.06 "${pacing[@]}" || { quit_pictavo; return 1; }
  await_settled "$work/$1-surface.ppm" "$surface" || { quit_pictavo; return 1; }
  screenshot "$work/$1-after.png"
  quit_pictavo
}

# One drag step: the band changes from its last settled picture, then
# settles again, which becomes the reference of the next step.
step() {
  await_change "$1" "$band" && await_settled "$1" "$band"
}

if [ "${1:-}" = "--session" ]; then
  cd "$work/run" && session "$2"
  exit $?
fi
if [ "${1:-}" = "--step" ]; then
  step "$2"
  exit $?
fi
# Before the creating contact ends: new strokes show in the band (the
# faint outline of the brush stays below 20 %).
if [ "${1:-}" = "--created" ]; then
  await_change "$2" "$band" 20
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
# Strokes lie where the random layout put them: count the stroke pixels on
# the path before (darker than 60 % grey) to judge what turning changed.
dark=$(convert "$work/orient-before.png" -crop "$path" -colorspace Gray -threshold 60% -format '%[fx:int(w*h*(1-mean))]' info:)
echo "orient: $dark stroke pixels on the path before"
on_path=$(changed "$work/orient-before.png" "$work/orient-after.png" "$path")
off_path=$(changed "$work/orient-before.png" "$work/orient-after.png" "$far")
echo "orient: $on_path pixels changed on the path, $off_path far from it"
# Turning changes most of a stroke's pixels unless it already lay nearly
# along the drag; 15 % of them leaves room for such layouts, and nothing
# turned changes almost none.
[ "${dark:-0}" -ge 300 ] || fail "the random layout put almost no strokes on the path ($dark)"
[ "${on_path:-0}" -gt $(( ${dark:-0} * 15 / 100 )) ] || fail "a two-finger blob did not turn the strokes on its path ($on_path)"
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

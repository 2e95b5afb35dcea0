#!/usr/bin/env bash
# End-to-end study session on the shipped study configuration, as a
# researcher would run it: Alt+T, then Space from task to task, painting
# with the mouse (fake postures) and with TUIO blobs in each of three tasks;
# the program is then killed with kill -9 while a fourth task runs. Every
# finished task must have its four files and its overview line, whole, with
# one touch row per TUIO event; nothing of the unfinished task and no
# temporary file may remain. pictavo-report (when built) must turn the logs
# into its table and pictures.
# Usage: study.sh <pictavo binary> <run directory> [pictavo-report binary]
set -uo pipefail
self=$(readlink -f "$0")
here=$(dirname "$self")
source "$here/common.sh"
base=47460
port=$((base + 2))

drag() {
  # A horizontal mouse drag from x0 to x1 at height y, in steps of 10 pixels.
  local x0=$1 x1=$2 y=$3
  xdotool mousemove "$x0" "$y" mousedown 1
  for x in $(seq "$x0" 10 "$x1"); do xdotool mousemove "$x" "$y"; sleep 0.03; done
  xdotool mouseup 1
}

# One task's painting: a mouse drag with posture key $1, then two TUIO blob
# drags (one finger, then two fingers) of 10 steps each. $2 numbers the
# drags' sessions and frames (a tracker's frame numbers only grow).
paint() {
  xdotool key "$1"
  sleep 0.2
  drag 200 500 300
  python3 "$here/tuio_send.py" --port "$port" --posture one --from 0.2 0.4 --to 0.5 0.4 --steps 10 \
    --interval 0.04 --first-session "$2" --first-frame $(( $2 * 10 )) > /dev/null || return 1
  python3 "$here/tuio_send.py" --port "$port" --posture two --from 0.5 0.6 --to 0.2 0.6 --steps 10 \
    --interval 0.04 --first-session $(( $2 + 10 )) --first-frame $(( $2 * 10 + 500 )) > /dev/null || return 1
  sleep 0.5
}

# Space, then waits (at most 20 s) until the program has handled it: each
# handled press prints the task index. $1: presses handled before.
press_space() {
  xdotool key space
  for _ in $(seq 200); do
    [ "$(grep -c '^_curTaskNr: ' "$work/study.log")" -gt "$1" ] && return 0
    sleep 0.1
  done
  echo "press $(( $1 + 1 )) was not handled"
  return 1
}

session() {
  start_pictavo "$work/study.log" study.xml || return 1
  xdotool key alt+t
  sleep 0.3
  press_space 0 || { kill -9 $pid; return 1; }              # the welcome entry
  local s=100 presses=1
  for posture in alt+2 alt+3 alt+4; do
    press_space $presses || { kill -9 $pid; return 1; }     # ends the running task, starts the next
    presses=$((presses + 1))
    paint "$posture" $s || { kill -9 $pid; return 1; }
    s=$((s + 100))
  done
  press_space 4 || { kill -9 $pid; return 1; }              # ends task 3: the break
  press_space 5 || { kill -9 $pid; return 1; }              # task 4 runs ...
  paint alt+2 900
  kill -9 $pid                            # ... and the program dies
  wait $pid 2>/dev/null
  return 0
}

if [ "${1:-}" = "--session" ]; then
  cd "$work/run" && session
  exit $?
fi

binary=$1
report=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prepare_run "$binary" "$2" $base 1
# The study configuration gets the same light demo and private ports.
cp "$work/run/config.xml" "$work/config.base"
sed -n '/<task /,/\/>/p' "$2/study.xml" > "$work/tasks.xml"
sed -e '/<\/pictavo>/e cat '"$work/tasks.xml" "$work/config.base" > "$work/run/study.xml"
rm -f "$work"/run/logs/*/* "$work/run/logs/taskOverview.txt"
export work
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

run_sessions study
logs="$work/run/logs"

for n in -1 2 3; do
  for kind in directTouch primitives nunchuk wiimote; do
    f="$logs/$kind/task$n.txt"
    [ -f "$f" ] || { fail "missing $kind/task$n.txt"; continue; }
    head -n 1 "$f" | grep -q "^Task Nr: 	$n	" || fail "$kind/task$n.txt does not start with its task line"
    [ -z "$(tail -c 1 "$f")" ] || fail "$kind/task$n.txt does not end with a whole line"
  done
  touch="$logs/directTouch/task$n.txt"
  [ -f "$touch" ] || continue
  sed -n 3p "$touch" | grep -q '^time since start of task 	 touch event' || fail "task $n: no touch column line"
  rows=$(tail -n +4 "$touch" | wc -l)
  presses=$(tail -n +4 "$touch" | awk -F'\t' '$2 == 0' | wc -l)
  releases=$(tail -n +4 "$touch" | awk -F'\t' '$2 == 1' | wc -l)
  echo "task $n: $rows touch rows ($presses presses, $releases releases)"
  # Two blob drags: each a press, moves along its steps and a release.
  [ "$presses" -eq 2 ] && [ "$releases" -eq 2 ] || fail "task $n: expected two presses and two releases"
  [ "$rows" -ge 20 ] || fail "task $n: too few touch rows ($rows)"
  prims=$(grep -o 'Final Number of Primitives: 	[0-9]*' "$logs/primitives/task$n.txt" | cut -f2)
  echo "task $n: $prims primitives logged"
  [ "${prims:-0}" -gt 0 ] || fail "task $n: no primitive logged"
done
grep -q 'Task: 	 Orient Elements circular' "$logs/primitives/task3.txt" || fail "task 3 is not the circular task"

overview="$logs/taskOverview.txt"
[ "$(head -n 1 "$overview" | cut -c1-9)" = "Task Nr  " ] || fail "the overview has no header"
[ "$(wc -l < "$overview")" -eq 4 ] || fail "the overview should hold the header and three lines: $(cat "$overview")"
[ -z "$(ls "$logs"/*/task4.txt 2>/dev/null)" ] || fail "the unfinished task 4 left files"
[ -z "$(find "$logs" -name '*.tmp')" ] || fail "temporary files remain"
grep -q '^_curTaskNr: ' "$work/study.log" || fail "no task index printed"

if [ -n "$report" ]; then
  "$report" "$logs" "$work/report" > "$work/report.log" 2>&1 || fail "pictavo-report failed: $(cat "$work/report.log")"
  [ "$(wc -l < "$work/report/tasks.csv" 2>/dev/null)" -eq 4 ] || fail "the report's table should have a header and three rows"
  for n in -1 2 3; do
    [ -s "$work/report/task$n.png" ] || fail "the report drew no picture of task $n"
  done
fi

[ $failures -eq 0 ] && echo "study: all checks passed"
exit $failures

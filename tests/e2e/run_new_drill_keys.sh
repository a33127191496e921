#!/usr/bin/env bash
# Types the first line of many newly opened course drills (E2E_NEW_DRILLS, 50 unless set) with
# short taps, right as each drill window shows, while two busy loops load the machine: no key
# may be lost. The mouse button is held down on the on-screen keyboard (or, every other drill, on
# the left hand window) while the line is typed, as a hand resting on it would; the keys stay
# with the drill all the same.
# Every line of the course is "fff jjj fff", so a drill that takes every key completes its line
# and moves the course on by one. A drill that loses a key never reaches the end of its line (a
# key moves the line on by one character at most) and one that takes a key twice scores 90 %,
# below the 95 % a line needs: either is left with Esc and does not move the course on. The
# course's position when the program ends counts the drills that took every key once.
#   run_new_drill_keys.sh <program folder> <screenshot folder>
set -euo pipefail
app_src="$1"
shots="$2"
source "$(dirname "$0")/lib.sh"

drills="${E2E_NEW_DRILLS:-50}"
line="fff jjj fff"
for _ in $(seq $((drills + 10))); do echo "$line"; done >"$app/Courses/English/course.txt"
sed -i 's/^Progress=.*/Progress=0/; s/^PopupAtEnd=.*/PopupAtEnd=0/' "$app/zqc.ini"

# The line's keys and the space that ends it, each a 20 ms tap, 100 ms apart (600 keys a
# minute, below the drills' 700), in one run of xdotool.
taps=()
for ((i = 0; i < ${#line}; i++)); do
  key="${line:i:1}"
  [ "$key" = " " ] && key=space
  taps+=(keydown "$key" sleep 0.02 keyup "$key" sleep 0.08)
done
taps+=(keydown space sleep 0.02 keyup space)

for _ in 1 2; do
  sh -c 'while :; do :; done' &
  pids+=($!)
done

# Esc closes the drill. A line a key short takes the Esc as the key that ends it and starts
# again: a second Esc closes the drill then, sent once the drill has shown 10 s after the first,
# long enough for a busy machine to have handled the first (a second Esc that reached the main
# window would end the program). A machine that stalls the program can make a line look typed
# too fast: the drill's warning then takes the Esc, is answered, and Esc goes again.
close_drill() {
  xdotool key Escape
  for n in $(seq $wait_tries); do
    xdotool search --onlyvisible --name '^Course$' >/dev/null 2>&1 || return 0
    if xdotool search --onlyvisible --name '^Warning$' >/dev/null 2>&1; then
      xdotool key Return
      wait_gone Warning || return 1
      xdotool key Escape
    elif [ "$n" = 100 ]; then
      xdotool key Escape
    fi
    sleep 0.1
  done
  return 1
}

# The on-screen keyboard: the program's visible window without a title, waiting up to 30 s.
keyboard_window() {
  local wid
  for _ in $(seq $wait_tries); do
    for wid in $(xdotool search --all --onlyvisible --pid "$program" --name '' 2>/dev/null); do
      [ -z "$(xdotool getwindowname "$wid" 2>/dev/null)" ] && { echo "$wid"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

log_on
for i in $(seq "$drills"); do
  xdotool key alt+c
  wait_window Course >/dev/null || fail "drill $i did not open"
  if ((i % 2)); then
    pressed=$(keyboard_window) || fail "drill $i shows no keyboard"
  else
    pressed=$(wait_window Left) || fail "drill $i shows no left hand"
  fi
  xdotool mousemove --window "$pressed" 20 20 mousedown 1 sleep 0.002 "${taps[@]}" mouseup 1
  close_drill || fail "drill $i did not close"
done
quit_program

progress=$(ini_value "$app/zqc.ini" Default Progress)
echo "$drills new course drills: $((drills - progress)) lost or doubled a key"
[ "$progress" = "$drills" ] || fail "$((drills - progress)) of $drills new course drills lost or doubled a key"
echo "e2e passed"

#!/usr/bin/env bash
# Damaged course files under Xvfb with a window manager: a course whose layout archive is cut
# short and whose "Practice.txt" is a named pipe. The logon completes with one warning, a drill
# and the game run without keyboard and hands, the sentence drill says it cannot read its file
# and the program answers on, and the profile editor takes another course, which the next run
# loads whole.
#   run_damaged_files.sh <program folder> <screenshot folder>
set -euo pipefail
app_src="$1"
shots="$2"
source "$(dirname "$0")/lib.sh"

broken="$app/Courses/Broken"
cp -r "$app/Courses/English" "$broken"
size=$(stat -c %s "$broken/layout.zqt")
head -c $((size / 2)) "$app/Courses/English/layout.zqt" >"$broken/layout.zqt"
rm "$broken/Practice.txt"
mkfifo "$broken/Practice.txt"
sed -i "s/^Course=English/Course=Broken/" "$app/zqc.ini"
[ "$(ini_value "$app/zqc.ini" Default Course)" = "Broken" ] || fail "the profile does not name the broken course"

# The windows of the program shown now, but the main window and the one given.
others_shown() {
  local wid n=0
  for wid in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
    [ "$wid" = "$main" ] || [ "$wid" = "$1" ] || n=$((n + 1))
  done
  echo $n
}

# ---- First run: the damaged course ----------------------------------------------------------
start_program
logon=$(wait_window Quorvel) || fail "no logon window"
focus "$logon"
keys Return
warning=$(wait_window Warning) || fail "no warning about the layout archive"
focus "$warning"
shot layout-warning
keys Return
wait_gone Warning || fail "the warning did not close"
main=$(wait_window Quorvel "$logon") || fail "the logon did not complete"
sleep 0.5
xdotool search --onlyvisible --name '^Warning$' >/dev/null 2>&1 && fail "a second warning came"
focus "$main"
shot main-window

# A course line, typed whole: the drill runs alone, without keyboard or hand windows.
keys alt+c
drill=$(wait_window Course) || fail "no course drill"
focus "$drill"
sleep 0.5
[ "$(others_shown "$drill")" -eq 0 ] || fail "windows beside the course drill: $(others_shown "$drill")"
line=$(head -1 "$broken/course.txt" | tr -d '\r')
typeit "$line"
keys space
shot course-line-typed
keys Escape
wait_gone Course || fail "the course drill did not close"

# The game needs neither: it opens, plays a moment and is left with Esc and Yes.
focus "$main"
keys alt+g
prompt=$(wait_window "Input Box") || fail "no difficulty prompt without a keyboard"
focus "$prompt"
keys Return
game=$(wait_window Game) || fail "no game window without a keyboard"
sleep 1.5
shot game
leave_game

# The sentence drill's file is a pipe without a writer: an error at once, no drill, no hang.
focus "$main"
keys alt+s
error=$(wait_window Error) || fail "no error for the pipe in place of Practice.txt"
shot pipe-error
focus "$error"
keys Return
wait_gone Error || fail "the error did not close"
xdotool search --onlyvisible --name '^Sentence Drills$' >/dev/null 2>&1 && fail "the sentence drill opened"

# Still answering: the profile editor opens, and its course box takes "English".
focus "$main"
keys alt+r
editor=$(wait_window Profile) || fail "the profile editor did not open after the error"
focus "$editor"
shot profile-editor
keys Tab
xdotool key ctrl+a
typeit "English"
shot course-chosen
keys alt+a
wait_gone Profile || fail "the profile editor did not close with Apply"
focus "$main"
quit_program practice-time

[ "$(ini_value "$app/zqc.ini" Default Course)" = "English" ] || fail "the other course was not stored"
[ "$(ini_value "$app/zqc.ini" Default Progress)" = "1" ] || fail "the typed course line was not counted"

# ---- Second run: the chosen course loads whole ---------------------------------------------
start_program
logon=$(wait_window Quorvel) || fail "no logon window on the second run"
focus "$logon"
keys Return
sleep 1
xdotool search --onlyvisible --name '^Warning$' >/dev/null 2>&1 && fail "a warning on the good course"
main=$(wait_window Quorvel "$logon") || fail "no main window on the second run"
focus "$main"
keys alt+c
drill=$(wait_window Course) || fail "no course drill on the second run"
for _ in $(seq $wait_tries); do [ "$(others_shown "$drill")" -ge 2 ] && break; sleep 0.1; done
shot keyboard-back
[ "$(others_shown "$drill")" -ge 2 ] || fail "the keyboard and hands are not shown with the good course"
keys Escape
wait_gone Course || fail "the course drill did not close"
focus "$main"
quit_program
echo "damaged files e2e passed; screenshots in $shots"

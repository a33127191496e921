#!/usr/bin/env bash
# Dead keys on a desktop whose own layout is the profile's: the X server's map is German (then
# French), the profile's layout too, and a course line of accents is typed through the server's
# real keycodes, a dead key then the space bar for each lone accent. The line must score at
# least 95 %, so the course moves on to the next line, as it does on a US desktop.
#   run_dead_keys.sh <program folder> <screenshot folder>
set -euo pipefail
app_src="$1"
shots="$2"
# Without -noreset the server drops the map set below whenever its last client leaves.
E2E_XVFB_ARGS=-noreset
source "$(dirname "$0")/lib.sh"
# Characters, not bytes, in the string handling below (the program keeps its own locale).
LC_ALL=C.UTF-8

# The keysyms that type one character on the server's map: an accented letter is its dead key
# then the letter, a lone accent its dead key then the space bar.
acute_letters="áéíóúÁÉÍÓÚ"
acute_bases="aeiouAEIOU"
diaeresis_letters="äëïöüÿ"
diaeresis_bases="aeiouy"
keysyms_of() {
  local c="$1" rest
  case "$c" in
    " ") echo space ;;
    "´") echo dead_acute space ;;
    "¨") echo dead_diaeresis space ;;
    [a-zA-Z]) echo "$c" ;;
    *)
      rest="${acute_letters%%"$c"*}"
      if [ "$rest" != "$acute_letters" ]; then echo dead_acute "${acute_bases:${#rest}:1}"; return; fi
      rest="${diaeresis_letters%%"$c"*}"
      if [ "$rest" != "$diaeresis_letters" ]; then echo dead_diaeresis "${diaeresis_bases:${#rest}:1}"; return; fi
      fail "no keys known for '$c'"
      ;;
  esac
}

# Types line <number> of a course with the profile's layout <identifier> on the server's map
# <xkb layout>, then checks that the course moved on.
type_course_line() {
  local course="$1" layout="$2" xkb="$3" number="$4"
  setxkbmap -layout "$xkb"
  # The default user practises the course with its layout, at that line.
  sed -i "s/^Course=.*/Course=$course/; s/^KeyboardLayout=.*/KeyboardLayout=$layout/; \
s/^Progress=.*/Progress=$((number - 1))/" "$app/zqc.ini"
  local line keys=() i
  line=$(sed -n "${number}p" "$app/Courses/$course/course.txt" | iconv -f WINDOWS-1252 -t UTF-8 | tr -d '\r')
  [ -n "$line" ] || fail "$course has no line $number"
  for ((i = 0; i < ${#line}; i++)); do
    read -ra more <<<"$(keysyms_of "${line:i:1}")"
    keys+=("${more[@]}")
  done

  log_on
  keys alt+c
  drill=$(wait_window Course) || fail "no course drill"
  focus "$drill"
  # Slow enough for a person: the drills doubt anyone typing faster than 700 keys a minute.
  xdotool key --delay 250 "${keys[@]}"
  sleep 0.3
  shot "$course-line-typed"
  keys space
  shot "$course-line-completed"
  keys Escape
  wait_gone Course || fail "the course drill did not close"
  focus "$main"
  quit_program

  local progress
  progress=$(ini_value "$app/zqc.ini" Default Progress)
  echo "$course line $number on a '$xkb' desktop: progress $((number - 1)) -> $progress"
  [ "$progress" = "$number" ] || fail "$course line $number was not accepted (progress $progress)"
}

type_course_line Deutsch 00000407 de 55
type_course_line Francais 0000040C fr 33
echo "e2e dead keys passed; screenshots in $shots"

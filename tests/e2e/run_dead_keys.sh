#!/usr/bin/env bash
# Dead keys on a desktop whose own layout is the profile's: the X server's map is German (then
# French), the profile's layout too, and a course line of accents is typed through the server's
# real keycodes, a dead key then the space bar for each lone accent. The line must score at
# least 95 %, so the course moves on to the next line, as it does on a US desktop.
# Then French line 56 (tilde and grave on AltGr+2 and AltGr+7, dead keys as the course teaches
# them) is typed with the physical keys of the course's layout, on a US and on a French desktop,
# with as many wrong keys on purpose as 95 % allows: it is accepted only if every other
# character lands right.
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

# The physical keys of a course's layout description: "K <character> <scan code> <level>" for
# every level of a key (0 plain, 1 Shift, 2 AltGr; a dead key as dead:<name>), "D <character>
# <dead key name> <letter>" for every combination of a dead key.
layout_keys() {
  awk '$1 == "dead" { for (i = 4; i <= NF; i++) { split($i, p, "="); print "D", p[2], $2, p[1] } }
       $1 == "key" { l = 0; for (i = 6; i <= NF; i++) {
         if ($i ~ /^[a-z0-9]+="/) { while ($i !~ /[^=]"$/ && i < NF) i++; continue } # a quoted value
         if ($i !~ /^[a-z0-9]+=/) print "K", $i, $3, l++ } }' "$1"
}
# The keysym at the first level of every keycode of the server's map now: "<keycode> <keysym>".
server_keysyms() {
  xkbcomp -xkb "$DISPLAY" - 2>/dev/null | awk '
    /^xkb_keycodes/ { s = 1 } /^xkb_symbols/ { s = 2 }
    s == 1 && /^ *<[A-Z0-9]+> *= *[0-9]+;/ { gsub(/[<>=;]/, " "); code[$1] = $2 }
    s == 2 && /key </ { match($0, /<[A-Z0-9]+>/); key = substr($0, RSTART + 1, RLENGTH - 2) }
    s == 2 && key != "" && match($0, /\[ +[^] ,]+/) {
      n = split(substr($0, RSTART + 1, RLENGTH - 1), f, / +/); print code[key], f[n]; key = "" }'
}
# The xdotool keys that press <scan code> at <level> (Shift is keycode 50, AltGr the right Alt,
# 108) on the server's map now.
declare -A server_sym
physical_key() {
  local keycode=$(($1 + 8)) chord=""
  [ "$2" = 1 ] && chord="${server_sym[50]}+"
  [ "$2" = 2 ] && chord="${server_sym[108]}+"
  echo "$chord${server_sym[$keycode]}"
}
# The keys a person strikes for one character on a course's layout: its key and level, or the
# dead key and then the letter.
declare -A key_of combination_of
physical_keys_of() {
  local c="$1" dead letter
  if [ "$c" = " " ]; then echo space; return; fi
  if [ -n "${key_of[$c]:-}" ]; then physical_key ${key_of[$c]}; return; fi
  [ -n "${combination_of[$c]:-}" ] || fail "no keys known for '$c'"
  read -r dead letter <<<"${combination_of[$c]}"
  echo "$(physical_key ${key_of[dead:$dead]}) $(physical_key ${key_of[$letter]})"
}

# Types line <number> of a course with the profile's layout <identifier> on the server's map
# <xkb layout>, then checks that the course moved on. With "physical", the keys are those of the
# course's layout description, and wrong keys are typed on purpose for the first blanks, as
# many as the 95 % of an accepted line allow, so that one more wrong character fails the line.
type_course_line() {
  local course="$1" layout="$2" xkb="$3" number="$4" how="${5:-keysyms}"
  setxkbmap -layout "$xkb"
  # The default user practises the course with its layout, at that line.
  sed -i "s/^Course=.*/Course=$course/; s/^KeyboardLayout=.*/KeyboardLayout=$layout/; \
s/^Progress=.*/Progress=$((number - 1))/" "$app/zqc.ini"
  local line keys=() i
  line=$(sed -n "${number}p" "$app/Courses/$course/course.txt" | iconv -f WINDOWS-1252 -t UTF-8 | tr -d '\r')
  [ -n "$line" ] || fail "$course has no line $number"
  if [ "$how" = physical ]; then
    server_sym=()
    while read -r code sym; do server_sym[$code]="$sym"; done < <(server_keysyms)
    [ -n "${server_sym[108]:-}" ] || fail "cannot read the server's map"
    key_of=() combination_of=()
    while read -r kind c a b; do
      if [ "$kind" = K ]; then [ -n "${key_of[$c]:-}" ] || key_of[$c]="$a $b"; else combination_of[$c]="$a $b"; fi
    done < <(layout_keys "$(dirname "$0")/../../data/Courses/$course/$course.layout")
  fi
  local wrong=$((${#line} / 20))
  for ((i = 0; i < ${#line}; i++)); do
    if [ "$how" != physical ]; then
      read -ra more <<<"$(keysyms_of "${line:i:1}")"
    elif [ "${line:i:1}" = " " ] && ((wrong > 0)); then
      more=("${server_sym[53]}") # the x key: a wrong character for a blank
      wrong=$((wrong - 1))
    else
      read -ra more <<<"$(physical_keys_of "${line:i:1}")"
    fi
    keys+=("${more[@]}")
  done
  echo "$course line $number on a '$xkb' desktop: keys ${keys[*]}"

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
type_course_line Francais 0000040C us 56 physical
type_course_line Francais 0000040C fr 56 physical
echo "e2e dead keys passed; screenshots in $shots"

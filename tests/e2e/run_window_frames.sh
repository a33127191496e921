#!/usr/bin/env bash
# Opens every window of the program under Xvfb with a window manager and reads what the window
# manager was told and did: titles, frames, outer sizes, whether a window can be resized, and
# which buttons it asked for.
#   run_window_frames.sh <program folder> <screenshot folder>
set -euo pipefail
app_src="$1"
shots="$2"
source "$(dirname "$0")/lib.sh"
command -v xwininfo >/dev/null || { echo "e2e needs xwininfo" >&2; exit 1; }

screen_w=1280
screen_h=1024

# ---- Reading a window ----------------------------------------------------------------------
# The value of a string property without its quotes; empty when the property is empty or absent.
text_prop() { xprop -id "$1" "$2" 2>/dev/null | sed -n 's/^[^=]*= "\(.*\)"$/\1/p'; }
# The outer geometry "x y w h" of a managed window: its client area grown by the frame the window
# manager reports in _NET_FRAME_EXTENTS (left, right, top, bottom).
outer() {
  local ext l r t b x y w h
  ext=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
  IFS=, read -r l r t b <<<"${ext:-0,0,0,0}"
  eval "$(xwininfo -id "$1" | awk -F: '/Absolute upper-left X/ {printf "x=%d\n", $2}
      /Absolute upper-left Y/ {printf "y=%d\n", $2} /Width/ {printf "w=%d\n", $2} /Height/ {printf "h=%d\n", $2}')"
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}
client_size() { xwininfo -id "$1" | awk -F: '/Width/ {w=$2+0} /Height/ {h=$2+0} END {print w" "h}'; }
# The same outer geometry read from the frame window the window manager put around the client.
frame_window_geometry() {
  local parent
  parent=$(xwininfo -children -id "$1" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')
  xwininfo -id "$parent" | awk -F: '/Absolute upper-left X/ {x=$2+0} /Absolute upper-left Y/ {y=$2+0}
      /Width/ {w=$2+0} /Height/ {h=$2+0} END {print x" "y" "w" "h}'
}
# Fixed size: the size hints give the same minimum and maximum.
is_fixed() {
  local hints min max
  hints=$(xprop -id "$1" WM_NORMAL_HINTS)
  min=$(sed -n 's/.*minimum size: //p' <<<"$hints")
  max=$(sed -n 's/.*maximum size: //p' <<<"$hints")
  [ -n "$min" ] && [ "$min" = "$max" ]
}
allowed() { xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | sed 's/.*= //'; }
# The function and decoration words of _MOTIF_WM_HINTS.
mwm_word() { xprop -id "$1" _MOTIF_WM_HINTS | sed 's/.*= //' | tr -d ' ' | cut -d, -f"$2"; }
MWM_FUNC_MINIMIZE=8 MWM_FUNC_MAXIMIZE=16 MWM_FUNC_CLOSE=32 MWM_DECOR_MINIMIZE=32 MWM_DECOR_MAXIMIZE=64

errors=0
check() { # check <what> <command...>: records a failure, keeps looking at the rest
  local what="$1"; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what" >&2; errors=$((errors + 1)); fi
}
lacks() { ! grep -qE "$1" <<<"$2"; }
equal() { [ "$1" = "$2" ] || { echo "     got '$1', want '$2'" >&2; return 1; }; }

check_title() { # check_title <window> <title>
  check "title of '$2': WM_NAME" equal "$(text_prop "$1" WM_NAME)" "$2"
  check "title of '$2': _NET_WM_NAME" equal "$(text_prop "$1" _NET_WM_NAME)" "$2"
}
# A drill window: close box only, a size nobody can change, and its outer width.
check_drill() { # check_drill <window> <title> <outer geometry "x y w h" or "x y w -">
  local wid="$1" title="$2" want="$3" got
  check_title "$wid" "$title"
  got=$(outer "$wid")
  [ "${want##* }" = "-" ] && got="${got% *} -"
  check "$title: outer geometry" equal "$got" "$want"
  check "$title: the frame window agrees" equal "$(frame_window_geometry "$wid")" "$(outer "$wid")"
  check "$title: fixed size" is_fixed "$wid"
  local funcs decor
  funcs=$(mwm_word "$wid" 2) decor=$(mwm_word "$wid" 3)
  check "$title: asks for a close box" test $((funcs & MWM_FUNC_CLOSE)) -ne 0
  check "$title: asks for no minimise or maximise function" \
    test $((funcs & (MWM_FUNC_MINIMIZE | MWM_FUNC_MAXIMIZE))) -eq 0
  check "$title: asks for no minimise or maximise button" \
    test $((decor & (MWM_DECOR_MINIMIZE | MWM_DECOR_MAXIMIZE))) -eq 0
  check "$title: cannot be resized or maximised" \
    lacks 'RESIZE|MAXIMIZE' "$(allowed "$wid")"
}

# The hand windows $left and $right and the keyboard window $keyboard of the drill $drill.
find_companions() {
  left=$(wait_window Left) || fail "no left hand"
  right=$(wait_window Right) || fail "no right hand"
  keyboard=""
  for wid in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
    case "$wid" in "$main" | "$drill" | "$left" | "$right") continue ;; esac
    keyboard=$wid
  done
  [ -n "$keyboard" ] || fail "no keyboard window"
}
# Waits until the keyboard and the hands have stood still for half a second (at most 30 s): the
# window manager has framed them and answered every request.
companions_outer() { echo "$(outer "$keyboard") $(outer "$left") $(outer "$right")"; }
settle() { settled companions_outer >/dev/null; }
# Waits until window $1 has been framed and has stood still for half a second (at most 30 s).
settle_window() {
  for _ in $(seq $wait_tries); do
    xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q = && break
    sleep 0.1
  done
  settled outer "$1" >/dev/null
}
# Both hands 63 pixels wide, frame included, their frames' tops level with the keyboard's and
# 5 pixels from its sides; the frame windows the window manager drew agree.
check_lined_up() { # check_lined_up <label>
  local kx ky kw kh lx ly lw lh rx ry rw rh
  read -r kx ky kw kh <<<"$(outer "$keyboard")"
  read -r lx ly lw lh <<<"$(outer "$left")"
  read -r rx ry rw rh <<<"$(outer "$right")"
  check "$1: left hand 63 pixels wide" equal "$lw" 63
  check "$1: right hand 63 pixels wide" equal "$rw" 63
  check "$1: hands level with the keyboard" equal "$ly $ry" "$ky $ky"
  check "$1: left hand 5 pixels left of the keyboard" equal "$((lx + lw + 5))" "$kx"
  check "$1: right hand 5 pixels right of the keyboard" equal "$rx" "$((kx + kw + 5))"
  check "$1: the hands' frame windows agree" equal "$(frame_window_geometry "$left") $(frame_window_geometry "$right")" \
    "$lx $ly $lw $lh $rx $ry $rw $rh"
  # The keyboard's frame centred under the drill's: drill left + (drill width - keyboard width) div 2.
  local dx dy dw dh
  read -r dx dy dw dh <<<"$(outer "$drill")"
  check "$1: keyboard centred under the drill" equal "$kx" "$((dx + (dw - kw) / 2))"
  check "$1: the keyboard's frame window agrees" equal "$(frame_window_geometry "$keyboard")" "$kx $ky $kw $kh"
}

# ---- First run: the ordinary window --------------------------------------------------------
start_program
logon=$(wait_window Quorvel) || fail "no logon window"
check_title "$logon" Quorvel
focus "$logon"
keys Return
main=$(wait_window Quorvel "$logon") || fail "no main window"
check_title "$main" Quorvel
focus "$main"

keys alt+c
drill=$(wait_window Course) || fail "no course drill (titles: $(xdotool search --onlyvisible --pid "$program" getwindowname %@ 2>/dev/null | tr '\n' '|'))"
settle_window "$drill"
shot course-drill
# 90 % of the screen's width, frame included, centred; its client area keeps its 230 rows.
drill_w=$((screen_w * 90 / 100))
check_drill "$drill" Course "$(( (screen_w - drill_w) / 2 )) $((screen_h / 8)) $drill_w -"
check "Course: client height" equal "$(client_size "$drill" | cut -d' ' -f2)" 230

find_companions
for hand in "$left" "$right"; do
  name=$(text_prop "$hand" WM_NAME)
  check_title "$hand" "$name"
  check "$name hand: 63 pixels wide, frame included" equal "$(outer "$hand" | cut -d' ' -f3)" 63
  check "$name hand: fixed size" is_fixed "$hand"
  check "$name hand: cannot be resized" lacks RESIZE "$(allowed "$hand")"
done
check_lined_up "first opening"
# The keyboard window's caption is empty, and the window manager shows no title for it.
check "keyboard: WM_NAME empty" equal "$(text_prop "$keyboard" WM_NAME)" ""
check "keyboard: _NET_WM_NAME empty" equal "$(text_prop "$keyboard" _NET_WM_NAME)" ""
check "keyboard: no title shown" equal "$(text_prop "$keyboard" _NET_WM_VISIBLE_NAME)" ""
# Its close box hides it while the drill runs, and the drill keeps the keys: Esc closes the drill.
# (Hidden, it may also give up its native window: either way it is no longer viewable.)
keyboard_hidden() { ! xwininfo -id "$keyboard" 2>/dev/null | grep -q IsViewable; }
wmctrl -i -c "$keyboard"
for _ in $(seq 300); do keyboard_hidden && break; sleep 0.1; done
check "keyboard: its close box hides it during a drill" keyboard_hidden
keys Escape
wait_gone Course || fail "the course drill did not close"

# ---- The course drill opened again and again -----------------------------------------------
# Each opening places the keyboard under the drill and the hands beside it, while the window
# manager frames the windows it shows again: every time the hands must keep their width and line
# up with the keyboard, and stay so.
reopenings=20
for round in $(seq "$reopenings"); do
  focus "$main"
  keys alt+c
  drill=$(wait_window Course) || fail "opening $round: no course drill"
  find_companions
  settle
  check_lined_up "opening $round"
  focus "$drill"
  keys Escape
  wait_gone Course || fail "opening $round: the course drill did not close"
done

focus "$main"
keys alt+s
drill=$(wait_window "Sentence Drills") || fail "no sentence drill"
settle_window "$drill"
check_drill "$drill" "Sentence Drills" "$(( (screen_w - drill_w) / 2 )) $((screen_h / 8)) $drill_w -"
keys Escape
wait_gone "Sentence Drills" || fail "the sentence drill did not close"

focus "$main"
keys alt+f
drill=$(wait_window "Free Drills") || fail "no free drill"
settle_window "$drill"
check_drill "$drill" "Free Drills" "$(( (screen_w - drill_w) / 2 )) $((screen_h / 8)) $drill_w -"
focus "$drill"
keys Escape # the first key of the empty drill asks for the text to practise
prompt=$(wait_window "Input Box") || fail "no prompt titled 'Input Box'"
check_title "$prompt" "Input Box"
shot free-drill-prompt
keys Return
wait_gone "Input Box" || fail "the prompt did not close"
focus "$drill"
keys Escape
wait_gone "Free Drills" || fail "the free drill did not close"

focus "$main"
keys alt+p
drill=$(wait_window "Text drill") || fail "no text drill"
settle_window "$drill"
shot text-drill
# 1 pixel in from the left and the top, as wide as the screen and 25 pixels less than its height.
check_drill "$drill" "Text drill" "1 1 $screen_w $((screen_h - 25))"
keys alt+c
wait_gone "Text drill" || fail "the text drill did not close"

focus "$main"
keys alt+r
editor=$(wait_window Profile) || fail "no profile editor"
check_title "$editor" Profile
keys Escape
wait_gone Profile || fail "the profile editor did not close"

focus "$main"
keys alt+g
prompt=$(wait_window "Input Box") || fail "no difficulty prompt"
check_title "$prompt" "Input Box"
keys Return
game=$(wait_window Game) || fail "no game window"
settle_window "$game"
shot game
check_title "$game" Game
check "Game: covers the screen, frame included" equal "$(outer "$game")" "0 0 $screen_w $screen_h"
leave_game
focus "$main"
keys alt+x
summary=$(wait_window Information) || fail "no practice-time message titled 'Information'"
check_title "$summary" Information
keys Return
wait_end

# ---- Second run: full screen ---------------------------------------------------------------
sed -i 's/^FullScreen=0/FullScreen=1/' "$app/zqc.ini"
log_on
settle_window "$main"
shot full-screen
check "full screen: the main window covers the screen exactly" equal "$(outer "$main")" "0 0 $screen_w $screen_h"
quit_program

[ "$errors" -eq 0 ] || fail "$errors checks failed"
echo "e2e window frames passed; screenshots in $shots"

# Shared by the end-to-end scripts: a temporary copy of the program folder, an Xvfb display with
# a window manager, and the helpers that drive the program with keys and read what it saved.
# The caller sets app_src (the program folder) and shots (the screenshot folder) and may set
# E2E_XVFB_ARGS (extra Xvfb options) before sourcing this file.
for tool in Xvfb xdotool xprop import openbox; do
  command -v "$tool" >/dev/null || { echo "e2e needs $tool" >&2; exit 1; }
done

# Every wait polls for its condition, every 0.1 s, for at most this many tries: 30 s, which a
# busy machine (busy loops beside a parallel test run) needs for a window to come or go.
wait_tries=300

work="$(mktemp -d)"
pids=()
cleanup() {
  # Newest first: the program before the window manager before the X server.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

rm -rf "$shots"
mkdir -p "$shots"
app="$work/app"
cp -r "$app_src" "$app"
rm -f "$app/zq.ini"

source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
# shellcheck disable=SC2086 # the extra options are words
start_xvfb "$work" ${E2E_XVFB_ARGS:-} || { pids+=("$xvfb_pid"); exit 1; }
pids+=("$xvfb_pid")
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
for _ in $(seq $wait_tries); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
# The window manager names its check window on the root window once it has taken the screen:
# windows mapped from then on wait for it to frame them.
for _ in $(seq $wait_tries); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

step=0
shot() { step=$((step + 1)); import -window root "$shots/$(printf %02d "$step")-$1.png"; }
fail() {
  shot "failure"
  cp "$work/run.log" "$shots/run.log" 2>/dev/null || true
  echo "e2e: $*" >&2
  exit 1
}

# The id of a visible window whose title matches, other than window $2 if given, waiting up to
# 30 s. Two windows may share a title: the logon window and the main window are both "Quorvel".
wait_window() {
  local title="$1" other="${2:-}" wid
  for _ in $(seq $wait_tries); do
    for wid in $(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | tac || true); do
      [ "$wid" != "$other" ] && { echo "$wid"; return 0; }
    done
    sleep 0.1
  done
  return 1
}
wait_gone() {
  for _ in $(seq $wait_tries); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
focus() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; sleep 0.3; }
keys() { xdotool key --delay 60 "$@"; sleep 0.4; }
# Slow enough for a person: the drills doubt anyone typing faster than 700 keys a minute.
typeit() { xdotool type --delay 300 -- "$1"; sleep 0.3; }
# The output of a command once it has stayed the same for half a second, read every 0.1 s (at
# most 30 s): the windows it reads have stopped moving, framed and placed by the window manager.
settled() {
  local now last="" same=0
  for _ in $(seq $wait_tries); do
    now=$("$@")
    if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
    [ "$same" -ge 5 ] && break
    last=$now
    sleep 0.1
  done
  echo "$now"
}
ini_value() { tr -d '\r' <"$1" | awk -v s="[$2]" -v k="$3" '$0==s {in_s=1; next} /^\[/ {in_s=0} in_s && index($0, k"=")==1 {print substr($0, length(k)+2); exit}'; }

start_program() {
  "$app/quorvel" >"$work/run.log" 2>&1 &
  program=$!
  pids+=($program)
}
wait_end() {
  for _ in $(seq $wait_tries); do kill -0 "$program" 2>/dev/null || return 0; sleep 0.1; done
  fail "the program did not end"
}


# Starts the program and logs on as the user the logon window offers: $logon and $main are its
# two windows, the main window focused.
log_on() {
  start_program
  logon=$(wait_window Quorvel) || fail "no logon window"
  focus "$logon"
  keys Return
  main=$(wait_window Quorvel "$logon") || fail "no main window"
  focus "$main"
}
# Exit from the focused main window, then OK on the practice-time summary (shot first when
# named), and wait for the program to end.
quit_program() {
  keys alt+x
  local summary
  summary=$(wait_window Information) || fail "no practice-time summary"
  [ -z "${1:-}" ] || shot "$1"
  focus "$summary"
  keys Return
  wait_end
}
# Esc in the game and Yes to leave it; the main window must come back ($main).
leave_game() {
  keys Escape
  local question
  question=$(wait_window Confirm) || fail "the game did not ask whether to leave"
  [ -z "${1:-}" ] || shot "$1"
  focus "$question"
  keys Return
  wait_gone Game || fail "the game window did not close"
  main=$(wait_window Quorvel "${logon:-}") || fail "the main window did not come back after the game"
}

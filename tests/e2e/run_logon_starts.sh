#!/usr/bin/env bash
# Starts the program many times (E2E_LOGON_STARTS, 100 unless set) and presses Return half a
# second after the logon window maps, as a person who knows the preselected user would. Every
# start must show the last user in the box and log on; a box found empty, a refusal or a logon
# that never comes is counted, and any of them fails the run.
#   run_logon_starts.sh <program folder> <screenshot folder>
set -euo pipefail
app_src="$1"
shots="$2"
source "$(dirname "$0")/lib.sh"

starts="${E2E_LOGON_STARTS:-100}"
# Half the starts read the last user from "zq.ini", the others start without it (the first run).
settings="$work/zq.ini"
printf '[General]\r\nUser=Default\r\n' >"$settings"

# 1 when the text area of the user box holds no dark pixel: the box is empty.
box_empty() {
  # The box's text area, inside the window's one-pixel border and the box's own frame.
  import -window "$1" -crop 190x23+64+194 +repage png:- 2>/dev/null |
    convert - -colorspace gray -threshold 50% -format '%[fx:mean==1]' info:
}

empty=0 refused=0 silent=0
for i in $(seq "$starts"); do
  if ((i % 2)); then rm -f "$app/zq.ini"; else cp "$settings" "$app/zq.ini"; fi
  start_program
  logon=$(wait_window Quorvel) || fail "start $i: no logon window"
  sleep 0.5
  if [ "$(box_empty "$logon")" = 1 ]; then
    empty=$((empty + 1))
    shot "empty-box-$i"
  fi
  xdotool key Return
  outcome=silent
  for _ in $(seq $wait_tries); do
    if xdotool search --all --onlyvisible --pid "$program" --name '^Information' >/dev/null 2>&1; then
      outcome=refused
      break
    fi
    for wid in $(xdotool search --all --onlyvisible --pid "$program" --name '^Quorvel$' 2>/dev/null); do
      [ "$wid" != "$logon" ] && outcome=logged-on
    done
    [ "$outcome" = logged-on ] && break
    sleep 0.1
  done
  case "$outcome" in
    refused) refused=$((refused + 1)); shot "refused-$i" ;;
    silent) silent=$((silent + 1)); shot "no-logon-$i" ;;
  esac
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  unset 'pids[-1]' # ended: its number must not be killed again when this script ends
done

echo "$starts starts: $empty with an empty user box, $refused refused, $silent without a logon"
[ $((empty + refused + silent)) -eq 0 ] || fail "not every start logged on"
echo "e2e passed"

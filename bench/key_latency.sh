#!/usr/bin/env bash
# Key-to-screen latency under Xvfb: 200 keys at 10 keys a second, typed with xdotool into a
# freshly opened course drill of Quorvel and into a bare Qt text box, alternating the two in each
# round. Each key is timed from its press to the first damage of the window that shows it
# (bench/keylatency_probe). Prints the median, the 99th percentile and the worst of both.
#   bench/key_latency.sh [--load] [build folder] [rounds]
# --load runs two busy loops and a disk writer beside the measurement (three cores at most).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
load=0
[ "${1:-}" = "--load" ] && { load=1; shift; }
build="$(cd "${1:-$here/build}" && pwd)"
rounds="${2:-1}"
keycount=200
probe="$build/bench/keylatency_probe"
bare="$build/tools/minimalwindow/minimalwindow"
for exe in "$build/app/quorvel" "$bare" "$probe"; do
  [ -x "$exe" ] || { echo "missing $exe (build first)" >&2; exit 1; }
done

app_src="$build/app"
shots="$(mktemp -d)"
source "$here/tests/e2e/lib.sh"
trap 'cleanup; rm -rf "$shots"' EXIT

# A private sound server with a silent output, when one is installed: the drill's sounds then
# go the whole way, as on a desktop.
if command -v pulseaudio >/dev/null; then
  HOME="$work" pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    -L module-null-sink -L "module-native-protocol-unix auth-anonymous=1" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break; sleep 0.1; done
fi

if [ "$load" = 1 ]; then
  for _ in 1 2; do (while :; do :; done) & pids+=($!); done
  (while :; do dd if=/dev/zero of="$work/load" bs=1M count=256 conv=fsync status=none; done) &
  pids+=($!)
fi

# The keys: the course's lines in order, each ended by the space that ends a line in the drill.
sequence=()
while IFS= read -r line && [ ${#sequence[@]} -lt $keycount ]; do
  line="${line%$'\r'}"
  for ((i = 0; i < ${#line}; i++)); do
    case "${line:i:1}" in
      ' ') sequence+=(space) ;; ';') sequence+=(semicolon) ;; ',') sequence+=(comma) ;;
      '.') sequence+=(period) ;; [a-z0-9]) sequence+=("${line:i:1}") ;;
      *) continue ;;
    esac
  done
  sequence+=(space)
done <"$app/Courses/English/course.txt"
sequence=("${sequence[@]:0:$keycount}")

# Types the keys into window $1 while the probe watches it; appends the latencies (µs) to $2.
measure_window() {
  local wid="$1" out="$2" fifo="$work/probe.out"
  focus "$wid"
  rm -f "$fifo"
  mkfifo "$fifo"
  "$probe" "$wid" "$keycount" 60 >"$fifo" &
  local probe_pid=$!
  exec 3<"$fifo"
  read -r ready <&3
  [ "$ready" = ready ] || fail "the probe did not start"
  # xdotool waits half the delay after each press and each release: 100 ms a key.
  xdotool key --delay 100 "${sequence[@]}"
  cat <&3 >>"$out"
  exec 3<&-
  wait "$probe_pid" || fail "the probe saw fewer keys than were typed"
}

# "<ms> (key <n>)": the slowest of the last round's keys in $1, counted from 1.
worst_key() {
  tail -n $keycount "$1" | awk '$1 >= w {w = $1; n = NR} END {printf "%.1f ms (key %d)", w / 1000, n}'
}

: >"$work/bare" ; : >"$work/quorvel"
for round in $(seq "$rounds"); do
  "$bare" >/dev/null 2>&1 &
  program=$!
  pids+=($program)
  wid=$(wait_window Minimal) || fail "no bare text box"
  measure_window "$wid" "$work/bare"
  kill "$program"; wait "$program" 2>/dev/null || true

  rm -f "$app/zq.ini"
  cp "$app_src/zqc.ini" "$app/zqc.ini"
  log_on
  keys alt+c
  drill=$(wait_window Course) || fail "no course drill"
  measure_window "$drill" "$work/quorvel"
  kill "$program"; wait "$program" 2>/dev/null || true
  echo "round $round: worst key $(worst_key "$work/bare") bare, $(worst_key "$work/quorvel") quorvel" >&2
done

# "<median> <99th percentile> <worst>" in milliseconds of the latencies in $1.
summary() {
  sort -n "$1" | awk '{a[NR] = $1} END {
    p99 = int(NR * 0.99 + 0.999999)
    printf "median %6.1f ms   p99 %6.1f ms   worst %6.1f ms", a[int((NR + 1) / 2)] / 1000, a[p99] / 1000, a[NR] / 1000 }'
}
echo "keys: $keycount a round at 10 a second, $rounds round(s)$([ "$load" = 1 ] && echo ', under load')"
echo "bare Qt text box: $(summary "$work/bare")"
echo "quorvel course:   $(summary "$work/quorvel")"

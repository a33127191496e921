#!/usr/bin/env bash
# Time from start to the first window being shown, and the memory held at that moment, of
# Quorvel (its logon window) against a minimal Qt Widgets window, under Xvfb, alternating the
# two over several runs. Prints the medians and the two ratios.
#   bench/startup.sh [build folder] [runs]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-9}"
quorvel="$build/app/quorvel"
minimal="$build/tools/minimalwindow/minimalwindow"
for exe in "$quorvel" "$minimal" ; do
  [ -x "$exe" ] || { echo "missing $exe (build first)" >&2; exit 1; }
done
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "needs Xvfb and xdotool" >&2; exit 1; }

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "$0")/../tests/e2e/xvfb.sh"
start_xvfb "$work" || exit 1
export QT_QPA_PLATFORM=xcb

# A private program folder, so the run touches nobody's settings.
cp -r "$build/app" "$work/app"

# Prints "<milliseconds to first visible window> <resident KiB then>" for one start.
measure() {
  local start end pid rss wid=""
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  pid=$!
  while [ -z "$wid" ]; do
    wid=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1 || true)
    [ -z "$wid" ] && sleep 0.002
    kill -0 "$pid" 2>/dev/null || { echo "program ended before showing a window" >&2; exit 1; }
  done
  end=$(date +%s%N)
  sleep 0.3 # let the first paint finish before reading the memory
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$(( (end - start) / 1000000 )) $rss"
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

: >"$work/q" ; : >"$work/m"
measure "$minimal" >/dev/null # warm the caches once for both
measure "$work/app/quorvel" >/dev/null
for i in $(seq "$runs"); do
  measure "$minimal" >>"$work/m"
  measure "$work/app/quorvel" >>"$work/q"
done
qt=$(cut -d' ' -f1 "$work/q" | median); qm=$(cut -d' ' -f2 "$work/q" | median)
mt=$(cut -d' ' -f1 "$work/m" | median); mm=$(cut -d' ' -f2 "$work/m" | median)
echo "runs: $runs (alternating)"
echo "minimal window: ${mt} ms to show, ${mm} KiB resident"
echo "quorvel logon:  ${qt} ms to show, ${qm} KiB resident"
awk -v a="$qt" -v b="$mt" -v c="$qm" -v d="$mm" \
  'BEGIN { printf "time ratio %.2f (limit 1.5), memory ratio %.2f (limit 1.3)\n", a / b, c / d }'

#!/bin/sh
# The game's processor use over 30 s (or $1 s) on a virtual X display.
# Usage: bench/game_cpu.sh [seconds]   (after building; from the source folder)
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
exec xvfb-run -a -s "-screen 0 1920x1080x24" "$here/build/bench/bench_game_cpu" "${1:-30}"

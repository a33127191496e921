#!/bin/sh
# Builds the game's tests with ThreadSanitizer and runs them: with g++ in build-tsan/, or with
# clang++ in build-tsan-clang/ (a build tree keeps the compiler it was configured with).
# Usage: tests/game/run-tsan.sh [gcc|clang]   (from the source folder; gcc when not given)
set -e
here=$(cd "$(dirname "$0")/../.." && pwd)
case "${1:-gcc}" in
gcc) tree="$here/build-tsan" compiler=g++ ;;
clang) tree="$here/build-tsan-clang" compiler=clang++ ;;
*) echo "usage: $0 [gcc|clang]" >&2; exit 2 ;;
esac
cmake -S "$here" -B "$tree" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" -DQUORVEL_TSAN=ON -DQUORVEL_BENCH=OFF >/dev/null
# An existing tree may hold moc output from before new windows were added: let it be redone.
rm -rf "$tree/src/quorvel_core_autogen" "$tree/src/quorvel_ui_autogen"
cmake -S "$here" -B "$tree" >/dev/null
cmake --build "$tree" -j3 --target tst_game_pieces tst_play_rules tst_play_thread tst_game_window tst_game_launcher
export TSAN_OPTIONS="suppressions=$here/tests/game/tsan.supp halt_on_error=1 exitcode=66 second_deadlock_stack=1"
ctest --test-dir "$tree" --output-on-failure -R 'tst_(game_pieces|play_rules|play_thread|game_window|game_launcher)$'

#!/bin/sh
# Builds the game's tests with ThreadSanitizer in build-tsan/ and runs them.
# Usage: tests/game/run-tsan.sh   (from the source folder)
set -e
here=$(cd "$(dirname "$0")/../.." && pwd)
cmake -S "$here" -B "$here/build-tsan" -G Ninja -DQUORVEL_TSAN=ON -DQUORVEL_BENCH=OFF >/dev/null
# An existing tree may hold moc output from before new windows were added: let it be redone.
rm -rf "$here/build-tsan/src/quorvel_core_autogen" "$here/build-tsan/src/quorvel_ui_autogen"
cmake -S "$here" -B "$here/build-tsan" >/dev/null
cmake --build "$here/build-tsan" -j3 --target tst_game_pieces tst_play_rules tst_play_thread tst_game_window tst_game_launcher
export TSAN_OPTIONS="suppressions=$here/tests/game/tsan.supp halt_on_error=1 exitcode=66 second_deadlock_stack=1"
ctest --test-dir "$here/build-tsan" --output-on-failure -R 'tst_(game_pieces|play_rules|play_thread|game_window|game_launcher)$'

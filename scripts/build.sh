#!/usr/bin/env bash
# Configures and builds Quorvel into ./build (the program folder is build/app): every target,
# or only the targets named, e.g. "bash scripts/build.sh quorvel" for the program and its data.
set -euo pipefail
cd "$(dirname "$0")/.."
# Qt's moc step keeps a parse cache that misses headers added to an existing build folder
# (the link then fails on "undefined reference to vtable"); start it afresh when the set of
# source files has changed.
sources=$(find src -name '*.h' -o -name '*.cpp' | sort | md5sum | cut -d' ' -f1)
if [ -f build/.source-set ] && [ "$(cat build/.source-set)" != "$sources" ]; then
  rm -rf build/src/quorvel_core_autogen build/src/quorvel_ui_autogen build/src/CMakeFiles/quorvel_*_autogen.dir/ParseCache.txt
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build --parallel "$(nproc)" "${targets[@]}"
echo "$sources" > build/.source-set

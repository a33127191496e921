#!/usr/bin/env bash
# Installs what is missing, builds the program and its program folder build/app (not the tests
# or benchmarks), and starts Quorvel there. It needs a graphical display.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Quorvel needs a graphical display: start it from a desktop session (DISPLAY or WAYLAND_DISPLAY is not set)." >&2
  exit 1
fi
bash scripts/install-deps.sh
bash scripts/build.sh quorvel
exec build/app/quorvel "$@"

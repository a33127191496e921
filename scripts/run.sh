#!/usr/bin/env bash
# Installs what is missing, builds the program and its program folder build/app (not the tests
# or benchmarks), and starts Quorvel there. It needs a graphical display.
set -euo pipefail
cd "$(dirname "$0")/.."
# The program runs on X11 (under Wayland through XWayland), so it needs DISPLAY.
if [ -z "${DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Quorvel needs a graphical display: start it in a desktop session (DISPLAY is not set)." >&2
  exit 1
fi
bash scripts/install-deps.sh
bash scripts/build.sh quorvel
exec build/app/quorvel "$@"

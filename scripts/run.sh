#!/usr/bin/env bash
# Builds Tarnwick and starts it under Wine: on your display when there is one,
# else on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"

exe=build/windows/Tarnwick.exe
if [ ! -f "$exe" ]; then
  echo "Built the portable logic for Windows; Tarnwick.exe itself is not part of this build yet."
  exit 0
fi
export WINEDEBUG=-all
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi
echo "No display: starting Tarnwick on a private Xvfb display (it ends with the program)."
exec scripts/wine-session.sh wine "$exe"

#!/usr/bin/env bash
# Builds Tarnwick.exe and starts it under Wine, in the project's own Wine prefix
# (build/wine-prefix, made once with the Japanese dialog fonts): on your display
# when DISPLAY is set, else in a Wine virtual desktop on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target Tarnwick

export TARNWICK_PREFIX="$PWD/build/wine-prefix"
exe="$PWD/build/windows/Tarnwick.exe"
if [ -n "${DISPLAY:-}" ]; then
  TARNWICK_USE_DISPLAY=1 exec scripts/wine-session.sh wine "$exe"
fi
echo "No display: Tarnwick runs in a Wine virtual desktop on a private Xvfb display until you press Ctrl+C."
exec scripts/wine-session.sh bash -c '
  echo "To look at it: DISPLAY=$DISPLAY import -window root tarnwick.png (ImageMagick takes a picture),"
  echo "or x11vnc -display $DISPLAY and a VNC viewer (both from Debian packages)."
  exec wine explorer /desktop=Tarnwick,1024x768 "$1"' run "$exe"

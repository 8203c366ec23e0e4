#!/usr/bin/env bash
# Runs a command inside a private Windows world: its own Xvfb display and a fresh
# Wine prefix in a temporary folder, with the dialog fonts mapped to an installed
# Japanese font. Both are taken down again however the command ends; nothing
# outside them is touched.
#   scripts/wine-session.sh COMMAND [ARGS...]
# TARNWICK_PREFIX=FOLDER keeps the prefix in FOLDER between sessions (made once);
# TARNWICK_PREFIX_CACHE=FOLDER copies a prefix made once in FOLDER for the session's
# language settings instead of booting a new one (ctest starts each test program this
# way, several side by side, each in a world of its own);
# TARNWICK_USE_DISPLAY=1 uses the caller's DISPLAY instead of a private one;
# TARNWICK_DPI=N gives the session a system DPI of N (144 is 150 per cent), which a
# kept prefix then keeps.
set -euo pipefail

work=$(mktemp -d -t tarnwick-wine.XXXXXX)
prefix=${TARNWICK_PREFIX:-$work/prefix}
xvfb_pid=""
cleanup() {
  set +e
  if [ -d "$prefix" ]; then
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "${TARNWICK_USE_DISPLAY:-}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
  # Xvfb picks a free display number itself and tells it through the descriptor.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
fi

export WINEPREFIX="$prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export TARNWICK_WINE_WORK="$work"

# A new prefix, with the dialog fonts mapped to an installed Japanese font.
make_prefix() {
  mkdir -p "$WINEPREFIX"
  wineboot -i >"$work/wineboot.log" 2>&1
  wineserver -w

  # Font substitutes: regedit reads UTF-16 with a byte order mark.
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    for face in "ＭＳ Ｐゴシック" "ＭＳ ゴシック" "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "MS Sans Serif"; do
      printf '"%s"="VL PGothic"\r\n' "$face"
    done
  } | iconv -f UTF-8 -t UTF-16 >"$work/fonts.reg"
  wine regedit "$work/fonts.reg" >/dev/null 2>&1
  wineserver -w
  # The user's shell folders (Desktop, Documents, ...) link to the Linux home, which
  # sessions side by side would share: each session gets folders of its own instead.
  for folder in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$folder" ]; then rm "$folder" && mkdir "$folder"; fi
  done
  touch "$WINEPREFIX/.tarnwick-ready"
}

if [ -f "$prefix/.tarnwick-ready" ]; then
  :  # a kept prefix, made before
elif [ -n "${TARNWICK_PREFIX_CACHE:-}" ] && [ -z "${TARNWICK_PREFIX:-}" ]; then
  # One made prefix per language setting and version of this script; the first
  # session makes it while the others wait for the lock, then each takes a copy.
  key=$({ printf '%s|%s|%s|' "${LC_ALL:-}" "${LC_MESSAGES:-}" "${LANG:-}"; cat "$0"; } | md5sum | cut -c1-12)
  made="$TARNWICK_PREFIX_CACHE/$key"
  mkdir -p "$TARNWICK_PREFIX_CACHE"
  (
    flock 9
    [ -f "$made/.tarnwick-ready" ] || { rm -rf "$made"; WINEPREFIX="$made" make_prefix; }
  ) 9>"$made.lock"
  cp -a "$made" "$prefix"
else
  make_prefix
fi

# Wine reads the system DPI from the registry as each program starts.
if [ -n "${TARNWICK_DPI:-}" ]; then
  for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$TARNWICK_DPI" /f >/dev/null 2>&1
  done
  wineserver -w
fi

echo "Wine session ready on display $DISPLAY"
status=0
"$@" || status=$?
exit $status

#!/usr/bin/env bash
# Takes the README's pictures: the monitor window with a few registrations,
# watching target programs so that history lines appear, then the program entry
# dialog with the running programs dialog and the further settings opened from it, then the options dialog's
# three pages, all opened with the keyboard as a user would, inside a Wine virtual
# desktop on a private Xvfb display.
#   scripts/screenshot.sh [FOLDER]   (default docs/)
# TARNWICK_BUILD=FOLDER takes the programs from a cross build made there instead of
# building the windows preset. TARNWICK_DPI=N takes them at a system DPI of N, on a
# desktop grown to match (the README's second set: TARNWICK_DPI=144, in docs/150/).
# TARNWICK_LANGUAGE=en takes the English interface (the README's English set, in
# docs/en/); the Japanese one is the default.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs}")
mkdir -p "$out"
build=${TARNWICK_BUILD:-build/windows}
dpi=${TARNWICK_DPI:-96}
desktop="$((820 * dpi / 96))x$((620 * dpi / 96))"

scripts/install-deps.sh
missing=()
command -v import >/dev/null || missing+=(imagemagick)
command -v xdotool >/dev/null || missing+=(xdotool)
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ -z "${TARNWICK_BUILD:-}" ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j "$(nproc)"
fi

shot=$(mktemp -t tarnwick-shot.XXXXXX)
trap 'rm -f "$shot"' EXIT
cat >"$shot" <<SHOT
set -euo pipefail
dir="\$TARNWICK_WINE_WORK/install"
mkdir -p "\$dir/a" "\$dir/b" "\$dir/c"
cp "$build/Tarnwick.exe" "\$dir/"
cp "$build/wine_target.exe" "\$dir/a/editor.exe"
cp "$build/wine_target.exe" "\$dir/b/editor.exe"
cp "$build/wine_target.exe" "\$dir/c/Backup.exe"
printf 'AUTOLOADMODE=1\r\n' >"\$dir/Tarnwick.ini"
printf '%s\r\n' 'Version:4.0.0' \
  '1,Editor.exe,高,リアルタイム,テキストエディタ, 毎日使う' \
  '1,Backup.exe,低,指定なし,夜間のバックアップ' \
  '0,Game.exe,通常以上,高,' \
  '1,ＥｎｃｏｄｅＴＶ.exe,通常以下,指定なし,録画の変換' | iconv -f UTF-8 -t CP932 >"\$dir/Tarnwick.sav"
printf '%s\r\n' 'TarnwickMore:1' 'Backup.exe,verylow,low,,1' 'Editor.exe,,,off,0-1' >"\$dir/Tarnwick.more"
wine "\$dir/a/editor.exe" & wine "\$dir/b/editor.exe" & wine "\$dir/c/Backup.exe" &
sleep 2
wine explorer /desktop=Tarnwick,$desktop "\$dir/Tarnwick.exe" &
sleep 8
import -window root -crop $desktop+0+0 "$out/monitor.png"
# Add (Alt+A) opens the entry dialog; a name typed, then its list (Alt+L).
xdotool key alt+a
sleep 2
xdotool type --delay 60 'Backup.exe'
sleep 1
import -window root -crop $desktop+0+0 "$out/entry.png"
xdotool key alt+l
sleep 4
import -window root -crop $desktop+0+0 "$out/running.png"
# The list closed, the entry dialog's further settings (Alt+M).
xdotool key Escape
sleep 1
xdotool key alt+m
sleep 2
import -window root -crop $desktop+0+0 "$out/more.png"
# Both dialogs closed, the options (Alt+O) and their pages, switched with the arrow key.
xdotool key Escape
sleep 1
xdotool key Escape
sleep 1
xdotool key alt+o
sleep 2
import -window root -crop $desktop+0+0 "$out/options-general.png"
xdotool key Right
sleep 1
import -window root -crop $desktop+0+0 "$out/options-watch.png"
xdotool key Right
sleep 1
import -window root -crop $desktop+0+0 "$out/options-file.png"
wineserver -k
SHOT
# Tarnwick follows Windows' display language, which Wine takes from LC_MESSAGES.
if [ "${TARNWICK_LANGUAGE:-ja}" = en ]; then
  env -u LC_ALL -u LC_MESSAGES scripts/wine-session.sh bash "$shot"
else
  env -u LC_ALL LC_MESSAGES=ja_JP.UTF-8 scripts/wine-session.sh bash "$shot"
fi
echo "Screenshots in $out: monitor, entry, running, more, options-general, options-watch, options-file"

#!/usr/bin/env bash
# Takes the README's picture of the monitor window: Tarnwick with a few
# registrations, watching target programs so that history lines appear, inside a
# Wine virtual desktop on a private Xvfb display.   scripts/screenshot.sh [OUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/monitor.png}")

scripts/install-deps.sh
command -v import >/dev/null || { apt-get update -qq && apt-get install -y -qq --no-install-recommends imagemagick; }
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"

cat >"${TMPDIR:-/tmp}/tarnwick-shot.sh" <<SHOT
set -euo pipefail
dir="\$TARNWICK_WINE_WORK/install"
mkdir -p "\$dir/a" "\$dir/b" "\$dir/c"
cp build/windows/Tarnwick.exe "\$dir/"
cp build/windows/wine_target.exe "\$dir/a/editor.exe"
cp build/windows/wine_target.exe "\$dir/b/editor.exe"
cp build/windows/wine_target.exe "\$dir/c/Backup.exe"
printf 'AUTOLOADMODE=1\r\n' >"\$dir/Tarnwick.ini"
printf '%s\r\n' 'Version:4.0.0' \
  '1,Editor.exe,高,リアルタイム,テキストエディタ, 毎日使う' \
  '1,Backup.exe,低,指定なし,夜間のバックアップ' \
  '0,Game.exe,通常以上,高,' \
  '1,ＥｎｃｏｄｅＴＶ.exe,通常以下,指定なし,録画の変換' | iconv -f UTF-8 -t CP932 >"\$dir/Tarnwick.sav"
wine "\$dir/a/editor.exe" & wine "\$dir/b/editor.exe" & wine "\$dir/c/Backup.exe" &
sleep 2
wine explorer /desktop=Tarnwick,820x620 "\$dir/Tarnwick.exe" &
sleep 8
import -window root -crop 820x620+0+0 "$out"
wineserver -k
SHOT
scripts/wine-session.sh bash "${TMPDIR:-/tmp}/tarnwick-shot.sh"
echo "Screenshot: $out"

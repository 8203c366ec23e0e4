#!/usr/bin/env bash
# The fixture of e2e-unwritable-program-folder: C:\tarnwick-locked in the session's
# Wine prefix, holding Tarnwick.exe, its settings and a save file, made immutable
# while COMMAND runs. Root writes everywhere, but not into an immutable folder: Wine
# then reports access denied, as Windows does to a standard user in C:\Program Files.
#   e2e/locked-folder.sh TARNWICK.EXE COMMAND [ARGS...]
set -euo pipefail
folder="$WINEPREFIX/drive_c/tarnwick-locked"
unlock() { [ -d "$folder" ] && chattr -i "$folder" && rm -rf "$folder"; true; }
trap unlock EXIT
unlock
mkdir -p "$folder"
cp "$1" "$folder/Tarnwick.exe"
# A full path into the program's folder, as older versions wrote it: it follows the files.
printf 'AUTOLOADMODE=1\r\nRETRYCOUNT=7\r\nSAVEFILENAME=C:\\tarnwick-locked\\Tarnwick.sav\r\n' >"$folder/Tarnwick.ini"
printf 'Version:4.0.0\r\n1,locked.exe,高,指定なし,\r\n' | iconv -f UTF-8 -t CP932 >"$folder/Tarnwick.sav"
chattr +i "$folder"
shift
"$@"

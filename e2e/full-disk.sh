#!/usr/bin/env bash
# The fixture of e2e-full-disk: C:\tarnwick-full in the session's Wine prefix, a
# small file system of its own holding Tarnwick.exe and its settings (auto-save on),
# filled to the last byte by a file named "filler", which the scenario deletes to
# make room again; mounted while COMMAND runs.
#   e2e/full-disk.sh TARNWICK.EXE COMMAND [ARGS...]
set -euo pipefail
folder="$WINEPREFIX/drive_c/tarnwick-full"
unmount() { mountpoint -q "$folder" && umount "$folder"; rm -rf "$folder"; }
trap unmount EXIT
unmount
mkdir -p "$folder"
mount -t tmpfs -o size=$(( $(stat -c %s "$1") + 262144 )) tarnwick-full "$folder"
cp "$1" "$folder/Tarnwick.exe"
printf 'AUTOSAVEMODE=1\r\n' >"$folder/Tarnwick.ini"
dd if=/dev/zero of="$folder/filler" bs=4096 2>/dev/null || true  # ends when the disk is full
shift
"$@"

#!/usr/bin/env bash
# Builds the release archive dist/Tarnwick-<version>-win-x64.zip: the stripped,
# statically linked Tarnwick.exe and the Japanese user's guide (Shift_JIS, CRLF,
# as Windows' own editors read it). The version is the file VERSION's.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target Tarnwick

version=$(head -n 1 VERSION)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
x86_64-w64-mingw32-strip -o "$stage/Tarnwick.exe" build/windows/Tarnwick.exe
scripts/check-imports.sh "$stage/Tarnwick.exe"
sed 's/$/\r/' docs/user-guide-ja.txt | iconv -f UTF-8 -t CP932 >"$stage/README-ja.txt"

mkdir -p dist
archive="dist/Tarnwick-$version-win-x64.zip"
rm -f "$archive"
(cd "$stage" && zip -q -X "$OLDPWD/$archive" Tarnwick.exe README-ja.txt)
echo "$archive"

#!/usr/bin/env bash
# Builds the release archive dist/Tarnwick-<version>-win-x64.zip: the stripped,
# statically linked Tarnwick.exe and the user's guides, Japanese and English, in
# UTF-8 with a byte-order mark and CRLF, which Windows' editors read right whatever the system's
# language (Shift_JIS would show garbled outside Japanese Windows). The version is
# the file VERSION's.
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
for language in ja en; do
  { printf '\xef\xbb\xbf'; sed 's/$/\r/' "docs/user-guide-$language.txt"; } >"$stage/README-$language.txt"
done

mkdir -p dist
archive="dist/Tarnwick-$version-win-x64.zip"
rm -f "$archive"
(cd "$stage" && zip -q -X "$OLDPWD/$archive" Tarnwick.exe README-ja.txt README-en.txt)
echo "$archive"

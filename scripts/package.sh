#!/usr/bin/env bash
# Builds the release archive dist/Tarnwick-<version>-win-x64.zip: the stripped,
# statically linked Tarnwick.exe and the user's guides, Japanese and English, in
# UTF-8 with a byte-order mark and CRLF, which Windows' editors read right whatever the system's
# language (Shift_JIS would show garbled outside Japanese Windows). The version is
# the file VERSION's. The archive is the same for every build of a commit: its
# entries in a fixed order, dated by the commit, and SHA256SUMS beside it.
# TARNWICK_BUILD_DIR and TARNWICK_DIST_DIR build and write elsewhere
# (scripts/reproducible.sh builds twice in clean folders).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
build=${TARNWICK_BUILD_DIR:-build/windows}
dist=$(realpath -m "${TARNWICK_DIST_DIR:-dist}")
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target Tarnwick

version=$(head -n 1 VERSION)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$build/Tarnwick.exe" "$stage/Tarnwick.exe"  # stripped by the linker
scripts/check-imports.sh "$stage/Tarnwick.exe"
for language in ja en; do
  { printf '\xef\xbb\xbf'; sed 's/$/\r/' "docs/user-guide-$language.txt"; } >"$stage/README-$language.txt"
done

# Dated by the commit (in UTC, as zip keeps local times), not by this build's clock.
epoch=$(git log -1 --format=%ct 2>/dev/null || stat -c %Y VERSION)
chmod 644 "$stage"/*
touch -d "@$epoch" "$stage"/*
mkdir -p "$dist"
archive="$dist/Tarnwick-$version-win-x64.zip"
rm -f "$archive"
(cd "$stage" && TZ=UTC zip -q -X -D "$archive" Tarnwick.exe README-ja.txt README-en.txt)
(cd "$dist" && sha256sum "$(basename "$archive")" >SHA256SUMS)
echo "$archive"

#!/usr/bin/env bash
# Builds the release archive twice, each time in a clean build folder of its own, and
# compares the two byte for byte: the archive of a commit is the same wherever and
# whenever it is built (no time stamp in the program file, no path of the build
# machine in it, the archive's entries in a fixed order dated by the commit).
#   scripts/reproducible.sh
set -euo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for build in first second; do
  TARNWICK_BUILD_DIR="$work/$build/build" TARNWICK_DIST_DIR="$work/$build/dist" scripts/package.sh >/dev/null
done
archive=$(basename "$(ls "$work/first/dist/"*.zip)")
if cmp "$work/first/dist/$archive" "$work/second/dist/$archive"; then
  echo "the same archive twice: $(cut -d' ' -f1 "$work/first/dist/SHA256SUMS")  $archive"
else
  echo "the two builds differ: $archive" >&2
  exit 1
fi

#!/usr/bin/env bash
# Runs the harness's target over every input of a corpus; fails on the first
# input that crashes it or breaks a property.
set -euo pipefail
harness=$1 target=$2 corpus=$3
count=0
for input in "$corpus"/*; do
  [ -f "$input" ] || continue
  "$harness" "$target" < "$input" || { echo "failed on $input"; exit 1; }
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "no inputs in $corpus"; exit 1; }
echo "$count inputs of $target passed"

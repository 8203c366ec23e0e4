#!/usr/bin/env bash
# Fails when a project include runs against the layers: the portable core and the
# watching engine know nothing of Windows' side, the framework knows no domain
# type, the windows and the application sit on top.
set -euo pipefail
cd "$(dirname "$0")/.."

# Folder: the folders its files may include from.
declare -A allowed=(
  [core]="core"
  [watch]="watch core"
  [win]="win"
  [ui]="ui win core watch res"
  [app]="app ui win core watch res"
)

status=0
for folder in "${!allowed[@]}"; do
  while IFS= read -r hit; do
    file=${hit%%:*}
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$hit")
    if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
      echo "layer violation: $hit" >&2
      status=1
    fi
  done < <(grep -rnE '^\s*#\s*include "[^"]+/' "$folder" --include='*.h' --include='*.cpp' || true)
done
[ $status -eq 0 ] && echo "layers: every include runs the allowed way"
exit $status

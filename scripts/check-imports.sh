#!/usr/bin/env bash
# Fails when a Windows program imports a DLL beyond those that every Windows has and
# always takes from its system folder (its known DLLs; comctl32 from the side-by-side
# store, as the manifest asks), so that the program runs from its folder alone and a
# DLL left beside it is never loaded in their place.   scripts/check-imports.sh FILE.exe
set -euo pipefail
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|comctl32|comdlg32|msvcrt)\.dll$'
imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
[ -n "$imports" ] || { echo "no import table found in $1" >&2; exit 1; }
status=0
for dll in $imports; do
  if ! grep -Eq "$allowed" <<<"$dll"; then
    echo "$1 imports $dll, which not every Windows has" >&2
    status=1
  fi
done
[ $status -eq 0 ] && echo "imports of $(basename "$1"): $(echo $imports)"
exit $status

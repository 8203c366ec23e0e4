#!/usr/bin/env bash
# Fails when the resource script's languages are out of step: both interfaces must
# hold the same dialogs (control kinds, ids, styles and order), the same menus (popups
# in the same order, the same command ids) and the same strings, the English in plain
# ASCII. The reading and the comparison are in check_resources.py.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 scripts/check_resources.py res/Tarnwick.rc res/resource.h

#!/usr/bin/env bash
# Fails when the resource script's languages are out of step: both interfaces must
# hold the same dialogs (control kinds, ids, styles and order), the same menus (popups
# in the same order, the same command ids) and the same strings, the English in plain
# ASCII. The reading and the comparison are in check_resources.py. Both icons must
# hold 32-bit images at the small and large icon sizes of 100 to 250 per cent.
set -euo pipefail
cd "$(dirname "$0")/.."
python3 - res/tarnwick.ico res/tray.ico <<'PY'
import struct, sys
wanted = [(size, 32) for size in (16, 20, 24, 28, 32, 36, 40, 48, 56, 64, 72, 80)]
for path in sys.argv[1:]:
    data = open(path, "rb").read()
    images = [(data[6 + 16 * i], struct.unpack_from("<H", data, 12 + 16 * i)[0]) for i in range(data[4])]
    if images != wanted:
        sys.exit(f"resources: {path} holds (size, bits) {images}, wanted {wanted}")
PY
exec python3 scripts/check_resources.py res/Tarnwick.rc res/resource.h

#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it on the bundled sample EDID.
# It needs a display: run it from a desktop session, or on a virtual X server
# with "xvfb-run -a scripts/run-gui.sh".
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'TEXT'
No display found: neither DISPLAY nor WAYLAND_DISPLAY is set, so the desktop program has no
screen to open its window on. Run this script from a terminal of a desktop session, or on a
virtual X server (which shows nothing, but runs the program):

  xvfb-run -a scripts/run-gui.sh

The command-line tool needs no display: build/velmar-edid summary samples/samsung-odyssey-g60sd.bin
TEXT
  exit 1
fi

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_GUI=ON -DVELMAR_TESTS=OFF
cmake --build build -j"$(nproc)"

sample=samples/samsung-odyssey-g60sd.bin
if [ -x build/velmar-edid-utility ]; then
  exec build/velmar-edid-utility "$sample"
fi
exec build/velmar-edid summary "$sample"

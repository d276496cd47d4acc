#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it on the bundled sample EDID.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_GUI=ON -DVELMAR_TESTS=OFF
cmake --build build -j"$(nproc)"

sample=samples/samsung-odyssey-g60sd.bin
if [ -x build/velmar-edid-utility ]; then
  exec build/velmar-edid-utility "$sample"
fi
exec build/velmar-edid summary "$sample"

#!/usr/bin/env bash
# Takes a picture of the main window with the bundled sample EDID loaded, on a
# virtual X server (Xvfb), and saves it as docs/main-window.png (or FILE);
# then one of the editor dialog of the sample's HDMI data block, saved beside
# it as cea-hdmi-dialog.png; then one of each of the base block's eleven
# editor dialogs on the same sample, saved in DIR (build/screenshots by
# default) as <dialog class>.png, the detailed timing editor's copied beside
# FILE as detailed-timing-dialog.png.
#
# usage: scripts/screenshot.sh [FILE [DIR]]
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-docs/main-window.png}
cea_out=$(dirname "$out")/cea-hdmi-dialog.png
dialogs=${2:-build/screenshots}
sample=samples/samsung-odyssey-g60sd.bin

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_GUI=ON -DVELMAR_TESTS=OFF >/dev/null
cmake --build build --target velmar-edid-utility -j"$(nproc)" >/dev/null

mkdir -p "$(dirname "$out")" "$dialogs"
# The program saves its own window once it is shown and the file is loaded,
# then quits (VELMAR_SCREENSHOT).
VELMAR_SCREENSHOT="$PWD/$out" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" build/velmar-edid-utility "$sample"
echo "Saved $out"

# The same with a form's address: the picture is of that form's dialog.
VELMAR_SCREENSHOT="$PWD/$cea_out" VELMAR_SCREENSHOT_FORM=cea1.db7 QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" build/velmar-edid-utility "$sample"
echo "Saved $cea_out"

# With VELMAR_DIALOG_SHOTS it saves each editor dialog of the base block.
VELMAR_DIALOG_SHOTS="$(cd "$dialogs" && pwd)" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" build/velmar-edid-utility "$sample"
echo "Saved the editor dialogs in $dialogs"
cp "$dialogs/EDIDDetTimingsDlg.png" "$(dirname "$out")/detailed-timing-dialog.png"
echo "Saved $(dirname "$out")/detailed-timing-dialog.png"

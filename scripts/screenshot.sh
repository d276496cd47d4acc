#!/usr/bin/env bash
# Takes pictures of the desktop program with the bundled sample EDID loaded,
# on a virtual X server (Xvfb) with a window manager (openbox), so that each
# window shows with its frame and title.
#
# usage: scripts/screenshot.sh [--view main|raw-editor|modes | --form ADDRESS] [FILE]
#        scripts/screenshot.sh --dialogs [DIR]
#        scripts/screenshot.sh --all
#   --view  which window: the main window (default), the raw data editor or
#           the modes list, opened from the main window
#   --form  the editor dialog of a form of the sample ("cea1.db7": its HDMI
#           data block)
#   FILE    where to save the PNG (default docs/main-window.png, docs/raw-editor.png,
#           docs/modes-list.png or docs/cea-hdmi-dialog.png); a relative name is
#           taken from the current folder
#   --dialogs  each of the base block's eleven editor dialogs, saved in DIR
#           (build/screenshots by default) as <dialog class>.png
#   --all   the main window, the raw data editor, the modes list and the HDMI
#           data block's dialog, saved under docs/, and the base block's dialogs,
#           the detailed timing editor's also copied to docs/detailed-timing-dialog.png
set -euo pipefail
caller=$PWD
cd "$(dirname "$0")/.."
checkout=$PWD

view=main
out=
all=0
while [ $# -gt 0 ]; do
  case "$1" in
    --view) view=${2:?--view needs main, raw-editor or modes}; shift 2 ;;
    --form) view=form:${2:?--form needs a form address such as cea1.db7}; shift 2 ;;
    --dialogs)
      view=dialogs
      shift
      if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then out=$1; shift; fi
      ;;
    --all) all=1; shift ;;
    -h|--help) sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) out=$1; shift ;;
  esac
done
case "$view" in
  main|raw-editor|modes|form:*|dialogs) ;;
  *) echo "unknown view '$view': use main, raw-editor or modes" >&2; exit 2 ;;
esac

default_file() {
  case "$1" in
    main) echo "$checkout/docs/main-window.png" ;;
    raw-editor) echo "$checkout/docs/raw-editor.png" ;;
    modes) echo "$checkout/docs/modes-list.png" ;;
    form:cea1.db7) echo "$checkout/docs/cea-hdmi-dialog.png" ;;
    form:*) echo "$checkout/docs/form-${1#form:}.png" ;;
    dialogs) echo "$checkout/build/screenshots" ;;
  esac
}

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_GUI=ON -DVELMAR_TESTS=OFF >/dev/null
cmake --build build --target velmar-edid-utility -j"$(nproc)" >/dev/null

jobs=()
if [ "$all" -eq 1 ]; then
  for v in main raw-editor modes form:cea1.db7 dialogs; do jobs+=("$v=$(default_file "$v")"); done
else
  if [ -z "$out" ]; then
    out=$(default_file "$view")
  elif [ "${out#/}" = "$out" ]; then
    out=$caller/$out
  fi
  jobs+=("$view=$out")
fi

# One X server and window manager for all pictures. The program saves its own
# window (or the dialog it opens) with the frame once it is shown and the file
# is loaded, then quits (VELMAR_SCREENSHOT, VELMAR_SCREENSHOT_VIEW,
# VELMAR_SCREENSHOT_FORM, VELMAR_DIALOG_SHOTS).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/take.sh" <<'TAKE'
#!/usr/bin/env bash
set -euo pipefail
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
# The window manager is up once it has claimed the screen.
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
program=$1
sample=$2
shift 2
for job in "$@"; do
  view=${job%%=*}
  file=${job#*=}
  form=
  case "$view" in form:*) form=${view#form:}; view=main ;; esac
  if [ "$view" = dialogs ]; then
    mkdir -p "$file"
    VELMAR_DIALOG_SHOTS="$file" QT_QPA_PLATFORM=xcb "$program" "$sample"
    echo "Saved the editor dialogs in $file"
    continue
  fi
  mkdir -p "$(dirname "$file")"
  VELMAR_SCREENSHOT="$file" VELMAR_SCREENSHOT_VIEW="$view" VELMAR_SCREENSHOT_FORM="$form" QT_QPA_PLATFORM=xcb \
    "$program" "$sample"
  echo "Saved $file"
done
TAKE
chmod +x "$work/take.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$work/take.sh" "$checkout/build/velmar-edid-utility" \
  "$checkout/samples/samsung-odyssey-g60sd.bin" "${jobs[@]}"
if [ "$all" -eq 1 ]; then
  cp "$(default_file dialogs)/EDIDDetTimingsDlg.png" "$checkout/docs/detailed-timing-dialog.png"
  echo "Saved $checkout/docs/detailed-timing-dialog.png"
fi

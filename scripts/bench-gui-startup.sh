#!/usr/bin/env bash
# Start-up benchmark of the desktop program: the median time from process
# start to the main window shown (with the bundled sample EDID loaded), and the
# peak memory, beside the same for an empty Qt window. Runs offscreen; not a
# test: it only reports figures.
#
# usage: scripts/bench-gui-startup.sh [RUNS]   (default 21)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-21}
sample=$PWD/samples/samsung-odyssey-g60sd.bin
build=build-bench-gui
export QT_QPA_PLATFORM=offscreen

scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELMAR_GUI=ON -DVELMAR_TESTS=OFF >/dev/null
cmake --build "$build" --target velmar-edid-utility -j"$(nproc)" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The reference: an empty window, timed and measured the same way as the program
# (VELMAR_STARTUP_PROBE makes the program report the same two lines).
cat >"$work/empty.cpp" <<'CPP'
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.show();
  QTimer::singleShot(0, [] {
    QTimer::singleShot(0, [] {
      timespec now{};
      clock_gettime(CLOCK_REALTIME, &now);
      std::ifstream status("/proc/self/status");
      std::string line, peak;
      while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) peak = line.substr(line.find_first_of("0123456789"));
      }
      std::fprintf(stderr, "shown_realtime_ns=%lld\npeak_rss_kb=%s\n",
                   static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, peak.c_str());
      QApplication::quit();
    });
  });
  return QApplication::exec();
}
CPP
# shellcheck disable=SC2046
g++ -std=c++17 -O2 -fPIC "$work/empty.cpp" -o "$work/empty-window" $(pkg-config --cflags --libs Qt6Widgets)

# Runs "$@" once; prints "<milliseconds from start to shown> <peak kB>".
measure() {
  local start end peak
  start=$(date +%s%N)
  VELMAR_STARTUP_PROBE=1 "$@" 2>"$work/err" >/dev/null
  end=$(sed -n 's/^shown_realtime_ns=//p' "$work/err")
  peak=$(sed -n 's/^peak_rss_kb=\([0-9]*\).*/\1/p' "$work/err")
  if [ -z "$end" ]; then
    echo "no start-up report from $1:" >&2
    cat "$work/err" >&2
    exit 1
  fi
  awk -v s="$start" -v e="$end" -v p="$peak" 'BEGIN { printf "%.1f %d\n", (e - s) / 1e6, p }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

report() {
  local name=$1
  shift
  measure "$@" >/dev/null  # one warm-up run: the file cache, not the program, is cold
  : >"$work/times"
  : >"$work/peaks"
  for ((i = 0; i < runs; ++i)); do
    read -r ms kb < <(measure "$@")
    echo "$ms" >>"$work/times"
    echo "$kb" >>"$work/peaks"
  done
  printf "%-34s median %7s ms   peak memory (median) %7s kB\n" "$name" \
    "$(median <"$work/times")" "$(median <"$work/peaks")"
}

echo "Start to window shown, offscreen, $runs runs each:"
report "empty Qt window" "$work/empty-window"
report "velmar-edid-utility, sample EDID" "$PWD/$build/velmar-edid-utility" "$sample"

#!/usr/bin/env bash
# Benchmark of velmar-edid: EDIDs per second of "velmar-edid summary" over many
# files in one process against one process per file, and the peak memory.
# Not a test: it only reports figures.
#
# usage: scripts/bench-cli.sh [COPIES] [PER_PROCESS_FILES]
#   COPIES             copies of the 60-file corpus decoded in one process (default 50)
#   PER_PROCESS_FILES  files run one process each (default 600)
set -euo pipefail
cd "$(dirname "$0")/.."

copies=${1:-50}
perProcess=${2:-600}

if [ ! -x /usr/bin/time ]; then
  run_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
  echo "Installing time (for the peak memory)"
  run_root apt-get update -q
  run_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends time
fi

build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELMAR_GUI=OFF -DVELMAR_TESTS=OFF >/dev/null
cmake --build "$build" --target velmar-edid -j"$(nproc)" >/dev/null
tool=$PWD/$build/velmar-edid

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
corpus=(tests/data/corpus/*.bin)
files=()
for ((c = 0; c < copies; ++c)); do
  mkdir "$work/$c"
  cp "${corpus[@]}" "$work/$c/"
  for f in "${corpus[@]}"; do files+=("$work/$c/$(basename "$f")"); done
done
total=${#files[@]}
((perProcess > total)) && perProcess=$total

now() { date +%s.%N; }
rate() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.0f", n / s }'; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# Best of three runs, so a passing hiccup of the machine does not count.
best_one_process() {
  local command=$1 best=""
  for run in 1 2 3; do
    local start end took
    start=$(now)
    "$tool" "$command" "${files[@]}" >/dev/null 2>&1 || true
    end=$(now)
    took=$(seconds "$start" "$end")
    if [ -z "$best" ] || awk -v a="$took" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$took; fi
  done
  echo "$best"
}

echo "velmar-edid $("$tool" --version | awk '{ print $NF }'), $(nproc) cores, $total files ($copies copies of ${#corpus[@]} EDIDs)"
echo
printf '%-40s %10s %12s\n' "run" "seconds" "EDIDs/s"

oneProcess=$(best_one_process summary)
printf '%-40s %10s %12s\n' "summary, one process for $total files" "$oneProcess" "$(rate "$total" "$oneProcess")"

start=$(now)
for ((i = 0; i < perProcess; ++i)); do
  "$tool" summary "${files[i]}" >/dev/null 2>&1 || true
done
end=$(now)
perFile=$(seconds "$start" "$end")
printf '%-40s %10s %12s\n' "summary, one process per file ($perProcess)" "$perFile" "$(rate "$perProcess" "$perFile")"

for command in report modes bytes; do
  took=$(best_one_process "$command")
  printf '%-40s %10s %12s\n' "$command, one process for $total files" "$took" "$(rate "$total" "$took")"
done

peak() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }'
}
echo
echo "peak resident memory, summary of $total files: $(peak "$tool" summary "${files[@]}") KiB"
echo "peak resident memory, summary of 1 file:     $(peak "$tool" summary "${files[0]}") KiB"

#!/usr/bin/env bash
# Benchmark of velmar-edid beside Debian's edid-decode: the same files go through
# both in the same run, one after the other, round after round, and the median
# per-EDID cost of each, their ratio and the peak memory are reported.
# Not a test: it only reports figures.
#
# usage: scripts/bench-cli.sh [--copies N] [--rounds N] [--per-process N] [--tool PATH] [FOLDER]...
#   --copies N       copies of the tests/data/corpus EDIDs in the set (default 100,
#                    6000 files: each process's start then weighs little per EDID)
#   --rounds N       rounds of every run; the median is reported (default 5)
#   --per-process N  files run one process each, by both programs (default 600)
#   --tool PATH      measure this velmar-edid instead of building one in Release
#   FOLDER           every regular file below it joins the set as well
set -euo pipefail
cd "$(dirname "$0")/.."

copies=100
rounds=5
perProcess=600
tool=
folders=()
while [ $# -gt 0 ]; do
  case $1 in
    --copies) copies=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    --per-process) perProcess=$2; shift 2 ;;
    --tool) tool=$(realpath "$2"); shift 2 ;;
    -h|--help) sed -n '2,13s/^# \{0,1\}//p' "$0"; exit 0 ;;
    -*) echo "bench-cli.sh: unknown option $1" >&2; exit 2 ;;
    *) [ -d "$1" ] || { echo "bench-cli.sh: $1: not a folder" >&2; exit 2; }
       folders+=("$(realpath "$1")"); shift ;;
  esac
done

# Debian's edid-decode and time (for the peak memory), installed when missing.
need=()
command -v edid-decode >/dev/null || need+=(edid-decode)
[ -x /usr/bin/time ] || need+=(time)
if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ] && ! sudo -n true 2>/dev/null; then
    echo "bench-cli.sh: missing ${need[*]}; install it as root first:" >&2
    echo "  sudo apt-get install --no-install-recommends ${need[*]}" >&2
    exit 1
  fi
  run_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
  echo "Installing ${need[*]}"
  run_root apt-get update -q
  run_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need[@]}"
fi

if [ -z "$tool" ]; then
  build=build-bench
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELMAR_GUI=OFF -DVELMAR_TESTS=OFF >/dev/null
  cmake --build "$build" --target velmar-edid -j"$(nproc)" >/dev/null
  tool=$PWD/$build/velmar-edid
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
corpus=(tests/data/corpus/*.bin)
files=()
for ((c = 0; c < copies; ++c)); do
  mkdir "$work/$c"
  cp "${corpus[@]}" "$work/$c/"
  for f in "${corpus[@]}"; do files+=("$work/$c/$(basename "$f")"); done
done
for folder in ${folders[@]+"${folders[@]}"}; do
  while IFS= read -r -d '' f; do files+=("$f"); done < <(find "$folder" -type f -print0 | sort -z)
done
total=${#files[@]}
[ "$total" -gt 0 ] || { echo "bench-cli.sh: no files" >&2; exit 1; }
((perProcess > total)) && perProcess=$total
((perProcess < 1)) && perProcess=1
printf '%s\n' "${files[@]}" >"$work/list"

nanos() { date +%s%N; }
# Nanoseconds taken by the command line given.
timed() {
  local start end
  start=$(nanos)
  "$@" >/dev/null 2>&1 || true
  end=$(nanos)
  echo $((end - start))
}
# Both views of the set, one process each, as a script that wants both runs them.
summary_and_report() {
  "$tool" summary --files-from "$work/list" && "$tool" report --files-from "$work/list"
}
per_process() {
  local program=$1; shift
  local i
  for ((i = 0; i < perProcess; ++i)); do "$program" "$@" "${files[i]}" >/dev/null 2>&1 || true; done
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Microseconds per EDID of the medians of a run's rounds.
per_edid() { median <"$work/$1" | awk -v n="$2" '{ printf "%.1f", $1 / 1000 / n }'; }

declare -A count=(
  [edid-decode-per-process]=$perProcess [velmar-per-process]=$perProcess
  [summary]=$total [report]=$total [summary+report]=$total [modes]=$total [bytes]=$total
)
runs=(edid-decode-per-process velmar-per-process summary report summary+report modes bytes)

echo "velmar-edid $("$tool" --version | awk '{ print $NF }') ($tool)"
echo "edid-decode $(dpkg-query -W -f='${Version}' edid-decode 2>/dev/null || echo '?')"
echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
echo "$total files ($copies copies of the ${#corpus[@]} corpus EDIDs${folders[*]:+, plus ${folders[*]}}), $rounds rounds"

# Each round runs every program once, alternating, so that a busy moment of the
# machine falls on both instead of on one.
for ((r = 1; r <= rounds; ++r)); do
  timed per_process edid-decode >>"$work/edid-decode-per-process"
  timed per_process "$tool" summary >>"$work/velmar-per-process"
  timed "$tool" summary --files-from "$work/list" >>"$work/summary"
  timed "$tool" report --files-from "$work/list" >>"$work/report"
  timed summary_and_report >>"$work/summary+report"
  timed "$tool" modes --files-from "$work/list" >>"$work/modes"
  timed "$tool" bytes --files-from "$work/list" >>"$work/bytes"
done
echo "load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
echo

printf '%-58s %12s\n' "run (median of $rounds rounds)" "µs per EDID"
label() {
  case $1 in
    edid-decode-per-process) echo "edid-decode, one process per file ($perProcess)" ;;
    velmar-per-process) echo "velmar-edid summary, one process per file ($perProcess)" ;;
    *) echo "velmar-edid $1, one process for $total files" ;;
  esac
}
for run in "${runs[@]}"; do
  printf '%-58s %12s\n' "$(label "$run")" "$(per_edid "$run" "${count[$run]}")"
done

decode=$(per_edid edid-decode-per-process "$perProcess")
ratio() { awk -v a="$decode" -v b="$1" 'BEGIN { printf "%.0f", (b > 0 ? a / b : 0) }'; }
echo
echo "edid-decode per EDID / velmar-edid per EDID:"
printf '  %-56s %6sx\n' "summary, one process per file each" "$(ratio "$(per_edid velmar-per-process "$perProcess")")" \
  "summary, velmar-edid in one process" "$(ratio "$(per_edid summary "$total")")" \
  "summary+report, velmar-edid in one process" "$(ratio "$(per_edid summary+report "$total")")"

peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }'; }
peak_most() {
  local most=0 kib
  for f in "${files[@]:0:${#corpus[@]}}"; do
    kib=$(peak "$@" "$f")
    ((kib > most)) && most=$kib
  done
  echo "$most"
}
echo
echo "peak resident memory (KiB):"
printf '  %-56s %7s\n' "edid-decode, largest of one file each" "$(peak_most edid-decode)" \
  "velmar-edid summary, one file" "$(peak "$tool" summary "${files[0]}")"
for command in summary report modes bytes; do
  printf '  %-56s %7s\n' "velmar-edid $command, $total files" "$(peak "$tool" "$command" --files-from "$work/list")"
done

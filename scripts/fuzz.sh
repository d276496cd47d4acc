#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for a given time.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
# Targets: image bin txt inf reg edit (all by default). Findings are written to
# build-fuzz/findings/<target>/; copy any into fuzz/regressions/<target>/ once
# fixed, so the unit tests replay it.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(image bin txt inf reg edit)

scripts/install-deps.sh
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMAR_FUZZ=ON -DVELMAR_GUI=OFF -DVELMAR_TESTS=OFF > /dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_seeds $(printf 'fuzz_%s ' "${targets[@]}")

# The sanitizers name a finding's functions and lines through llvm's symbolizer.
symbolizer=$(command -v llvm-symbolizer || ls /usr/lib/llvm-*/bin/llvm-symbolizer 2>/dev/null | tail -n 1 || true)
if [ -z "$symbolizer" ]; then
  echo "llvm-symbolizer not found (package llvm): stack traces of findings will show addresses only" >&2
fi

seeds=build-fuzz/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{txt,inf,reg}
build-fuzz/fuzz_seeds tests/data/corpus "$seeds"

status=0
for target in "${targets[@]}"; do
  case "$target" in
    txt|inf|reg) seed="$seeds/$target" ;;
    *) seed=tests/data/corpus ;;
  esac
  work=build-fuzz/work/$target
  findings=build-fuzz/findings/$target
  mkdir -p "$work" "$findings"
  echo "== fuzz_$target for ${seconds}s =="
  if ! ASAN_SYMBOLIZER_PATH=$symbolizer ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
      UBSAN_OPTIONS=print_stacktrace=1 \
      build-fuzz/fuzz_$target "$work" "$seed" fuzz/regressions/$target -max_total_time="$seconds" \
      -max_len=4096 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1 \
      2> "build-fuzz/fuzz_$target.log"; then
    status=1
    tail -n 60 "build-fuzz/fuzz_$target.log"
  fi
  grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec|^Done ' "build-fuzz/fuzz_$target.log" || true
done
exit $status

#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test: once in a
# normal build, each fuzz target for a short bounded time, and the whole suite
# again under AddressSanitizer and UndefinedBehaviorSanitizer.
#   VELMAR_FUZZ_SECONDS  seconds per fuzz target (default 30; 0 skips fuzzing)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== Build and test =="
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_GUI=ON -DVELMAR_TESTS=ON -DVELMAR_WERROR=ON
cmake --build build-test -j"$jobs"
ctest --test-dir build-test --output-on-failure -j"$jobs"

fuzz_seconds=${VELMAR_FUZZ_SECONDS:-30}
if [ "$fuzz_seconds" -gt 0 ]; then
  echo "== Fuzz targets, ${fuzz_seconds}s each =="
  scripts/fuzz.sh "$fuzz_seconds"
fi

echo "== Build and test under AddressSanitizer + UndefinedBehaviorSanitizer =="
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1" -DVELMAR_GUI=ON -DVELMAR_TESTS=ON \
  -DVELMAR_SANITIZE=ON -DVELMAR_WERROR=ON
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

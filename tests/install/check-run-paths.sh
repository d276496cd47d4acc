#!/usr/bin/env bash
# Every program and library of the build, in the build folder and once
# installed, has a run path (DT_RPATH, DT_RUNPATH) without an empty or relative
# entry: the loader reads an empty entry as the current folder, so a library
# planted there would run inside the program.
#   tests/install/check-run-paths.sh BUILD_DIR
set -euo pipefail

build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
checked=0

# Prints why a run path is unsafe; nothing when it is safe.
run_path_fault() {
  local value=$1 entry
  case $value in
    :* | *: | *::*) echo "empty entry"; return ;;
  esac
  local IFS=:
  for entry in $value; do
    case $entry in
      '$ORIGIN' | '$ORIGIN/'* | '${ORIGIN}' | '${ORIGIN}/'* | /*) ;;
      *) echo "relative entry '$entry'"; return ;;
    esac
  done
}

check_tree() {
  local file kind value fault
  while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
    checked=$((checked + 1))
    while read -r kind value; do
      fault=$(run_path_fault "$value")
      if [ -n "$fault" ]; then
        echo "FAIL: $file: $kind [$value]: $fault"
        failures=$((failures + 1))
      fi
    done < <(readelf -d "$file" | sed -n 's/.*(\(RPATH\|RUNPATH\)).*\[\(.*\)\]$/\1 \2/p')
  done < <(find "$1" -type f \( -name '*.so' -o -name '*.so.*' -o -perm -u+x \) -not -path '*/CMakeFiles/*' -print0)
}

check_tree "$build"
cmake --install "$build" --prefix "$work/usr" >/dev/null
check_tree "$work/usr"

echo "$checked programs and libraries checked"
[ "$checked" -gt 0 ] || { echo "FAIL: nothing to check in $build"; exit 1; }
[ "$failures" -eq 0 ]

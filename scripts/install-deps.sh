#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the tools need:
# the compiler and build tools, Qt 6, GoogleTest, a virtual X server and a
# small window manager (the widget tests and the screenshots), clang with its
# sanitizer runtime (the fuzz targets), llvm (its symbolizer makes a
# finding's stack trace readable), and the checkers of the installed desktop
# entry, metainfo and package, and Google Benchmark (the core's micro-benchmarks).
set -euo pipefail

packages=(cmake make g++ qt6-base-dev libgtest-dev xvfb xauth x11-utils openbox clang libclang-rt-14-dev llvm
  desktop-file-utils appstream dpkg-dev libbenchmark-dev)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  run_root() { "$@"; }
elif command -v sudo >/dev/null 2>&1; then
  run_root() { sudo "$@"; }
else
  echo "These packages are missing: ${missing[*]}" >&2
  echo "Installing them needs root: run this script as root (su -c $0), or install sudo," >&2
  echo "or install them yourself: apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
run_root apt-get update -q
run_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"

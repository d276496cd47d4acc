#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the tools need.
set -euo pipefail

packages=(cmake make g++ qt6-base-dev libgtest-dev xvfb xauth clang libclang-rt-14-dev
  desktop-file-utils appstream dpkg-dev)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

run_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
echo "Installing: ${missing[*]}"
run_root apt-get update -q
run_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"

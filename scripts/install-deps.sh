#!/usr/bin/env bash
# Installs the Debian 12 packages Quillon needs to build, run and test, when any is missing.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev libqt6sql6-sqlite libgumbo-dev libsqlite3-dev
  mame-data  # Mame's software lists: the tests check the shipped system names against them
)
# The test run needs nothing beyond the build (window tests run on Qt's offscreen platform).

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}" >&2
if [[ $(id -u) -eq 0 ]]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
elif command -v sudo >/dev/null; then
  sudo apt-get update -qq
  sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "Please install these packages as root: ${missing[*]}" >&2
  exit 1
fi

#!/usr/bin/env bash
# Installs the Debian 12 packages Quillon needs to build, run and test, when any is missing.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev libqt6sql6-sqlite libgumbo-dev libsqlite3-dev
  libzip-dev libarchive-dev zlib1g-dev
  mame-data
  libqt6svg6 dpkg-dev file appstream
)
# mame-data brings Mame's software lists (/usr/share/games/mame/hash), which users import as
# reference lists and the tests and benchmarks read. libqt6svg6 draws the window's icon; dpkg-dev
# and file let CPack find the libraries the Debian package depends on, and appstream checks its
# software-centre data. Window tests run on Qt's offscreen platform.

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

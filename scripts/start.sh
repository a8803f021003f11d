#!/usr/bin/env bash
# Builds Quillon and starts the program. Arguments are passed to it (for example --data-dir DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display to open the window on; without a window run: ./build/bin/quillon-cli${*:+ $*} info"
  exit 0
fi
exec ./build/bin/quillon "$@"

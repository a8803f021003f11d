#!/usr/bin/env bash
# Checks that the core's includes point down the layers only:
#   feature folders (browser, scan, export, images, settings, identify) -> names -> catalogue -> common.
# A feature folder never includes another feature folder. Prints each include that breaks the
# rule and fails when there is one.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

allowed_below() {
  case $1 in
    common) echo "common" ;;
    catalogue) echo "common catalogue" ;;
    names) echo "common catalogue names" ;;
    *) echo "common catalogue names $1" ;;
  esac
}

broken=0
for folder in browser scan export images settings identify names catalogue common; do
  allowed=" $(allowed_below "$folder") "
  while IFS= read -r line; do
    included=$(sed -E 's/^[^:]*:[0-9]+:#include "([^/"]+)\/.*/\1/' <<<"$line")
    if [[ $allowed != *" $included "* ]]; then
      echo "src/$folder may not include $included/: $line"
      broken=1
    fi
  done < <(grep -rnH '^#include "[A-Za-z0-9_]*/' "src/$folder" || true)
done
exit $broken

#!/usr/bin/env bash
# Builds the Debian package of a build tree with CPack and checks what it declares and installs:
# its control data, the files it lists, a desktop entry whose icon and program are in the
# package, valid AppStream data, and a quillon-cli that runs from the unpacked tree and finds the
# delivered catalogue there.
# Usage: check-deb.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack -G DEB" >&2
  exit 1
}
deb=$(ls "$work"/out/quillon_*.deb)

# Control data.
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == quillon ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', not $version"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "Architecture is '$(field Architecture)'"
[[ -n $(field Maintainer) && -n $(field Description) ]] || fail "no Maintainer or Description"
depends=$(field Depends)
for package in libqt6widgets6 libqt6sql6 libqt6sql6-sqlite qt6-qpa-plugins libqt6svg6 libqt6network6 \
  libsqlite3-0 libgumbo1 libzip4 libarchive13 zlib1g; do
  [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] || fail "Depends lacks $package: $depends"
done

# The files, as dpkg-deb lists them.
dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/files"
for file in ./usr/bin/quillon ./usr/bin/quillon-cli ./usr/share/quillon/quillon_6103.mdb \
  ./usr/share/quillon/help/index.html ./usr/share/applications/quillon.desktop \
  ./usr/share/icons/hicolor/scalable/apps/quillon.svg ./usr/share/metainfo/quillon.metainfo.xml; do
  grep -qxF "$file" "$work/files" || fail "the package does not install $file"
done
! grep -E '^\./usr/(local|lib/debug)|/test_|_bench$' "$work/files" || fail "the package installs test or build files"

# Unpacked: the desktop entry names a program and an icon of the package.
root=$work/root
dpkg-deb -x "$deb" "$root"
entry=$root/usr/share/applications/quillon.desktop
icon=$(sed -n 's/^Icon=//p' "$entry")
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[[ -f $root/usr/share/icons/hicolor/scalable/apps/$icon.svg ]] || fail "the desktop entry's icon '$icon' is not installed"
[[ -x $root/usr/bin/$program ]] || fail "the desktop entry's program '$program' is not installed"
grep -q '^Type=Application$' "$entry" || fail "the desktop entry is not an application"
metainfo=$root/usr/share/metainfo/quillon.metainfo.xml
grep -q '<launchable type="desktop-id">quillon.desktop</launchable>' "$metainfo" ||
  fail "the AppStream data does not name the desktop entry"
if appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 || ! grep -q '^E:' "$work/appstream.log"; then
  :
else
  cat "$work/appstream.log" >&2
  fail "the AppStream data has errors"
fi

# The programs run from where they were unpacked: a new data folder gets the delivered catalogue.
data=$work/data
if ! "$root/usr/bin/quillon-cli" --data-dir "$data" info >"$work/info.txt" 2>"$work/info.err"; then
  cat "$work/info.err" >&2
  fail "the unpacked quillon-cli did not run"
fi
# Without the delivered catalogue beside it the program could only say "Unable to locate database."
[[ -f $data/quillon_6103.mdb ]] && grep -qE "^Systems:"$'\t'"[1-9]" "$work/info.txt" ||
  fail "the unpacked quillon-cli did not start from the delivered catalogue: $(cat "$work/info.txt")"
[[ $("$root/usr/bin/quillon-cli" --version) == *"$version"* ]] || fail "quillon-cli --version does not say $version"

if [[ $failures -gt 0 ]]; then
  echo "$failures failed" >&2
  exit 1
fi
echo "$(basename "$deb"): control data, $(wc -l <"$work/files") entries and the unpacked programs checked"

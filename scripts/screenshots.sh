#!/usr/bin/env bash
# Makes the README's screenshots: a small demo library in a scratch data folder (made-up games with
# covers drawn here), the window opened on it under Xvfb, and the main window, a typed search, the
# box-art grid and the options dialog captured with ImageMagick's import. Writes
# docs/screenshots/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# What the screenshots need besides the build: the virtual display, the capture and the keys.
needs=(xvfb xauth imagemagick xdotool fonts-dejavu-core)
missing=()
for package in "${needs[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}" >&2
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
[[ -x build/bin/quillon ]] || ./scripts/build.sh

out=$root/docs/screenshots
mkdir -p "$out"
demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
cli() { "$root/build/bin/quillon-cli" --data-dir "$demo/data" "$@" >/dev/null; }

# The demo library: two systems of made-up games, most with a cover, some lacking details (their
# rows are coloured by what they lack).
snes=(
  "Aurora Knights (USA)" "Brick Breaker Deluxe (Europe)" "Crystal Caverns (Japan)" "Dune Racer 2 (USA)"
  "Ember Quest (USA, Europe)" "Frostbite Falls (USA)" "Galactic Drift (Europe)" "Harbor Heist (USA)"
  "Iron Lotus (Japan)" "Jungle Rumble (USA)" "Kite Racing Cup (Europe)" "Lunar Outpost (USA)"
  "Mystic Meadows (USA)" "Neon Alley (Japan)" "Orbit Odyssey (USA)" "Pixel Pirates (Europe)"
  "Quartz Quest (USA)" "Rocket Rodent (USA)" "Shadow Spire (Europe)" "Tidal Titans (USA)"
)
genesis=("Blast Brigade (USA)" "Cyber Sprint (Europe)" "Dragon Dynasty (Japan)" "Hyper Hockey (USA)")
mkdir -p "$demo/roms/snes" "$demo/roms/genesis" "$demo/covers/snes"
for name in "${snes[@]}"; do : >"$demo/roms/snes/$name.sfc"; done
for name in "${genesis[@]}"; do : >"$demo/roms/genesis/$name.bin"; done
hue=0
for name in "${snes[@]:0:17}"; do
  title=${name% (*}
  convert -size 300x420 "gradient:hsl($hue,70%,45%)-hsl($(((hue + 40) % 360)),80%,20%)" \
    -fill white -font DejaVu-Sans-Bold -pointsize 30 -gravity north -annotate +0+40 "${title// /\\n}" \
    -fill 'rgba(255,255,255,0.85)' -draw "roundrectangle 20,340 280,395 10,10" \
    -fill black -pointsize 20 -gravity south -annotate +0+38 "SUPER CARTRIDGE" \
    "$demo/covers/snes/$name.png"
  hue=$(((hue + 47) % 360))
done

cli system add-rompath SNES "$demo/roms/snes"
cli system add-rompath "Sega Genesis /32X" "$demo/roms/genesis"
cli system set SNES "DefaultImagePath=$demo/covers/snes/" DefaultImageType=png Emulator=/usr/games/snes9x
cli scan --all
# Details for most games, so that only a few rows show what they lack.
while IFS=$'\t' read -r id _; do
  [[ $id =~ ^[0-9]+$ ]] || continue
  (( id % 5 == 0 )) || cli game set "$id" "Description=A made-up game of the demo library." "Rating=$((id % 10 + 1))"
  (( id % 7 == 0 )) || cli game set "$id" Year=199$((id % 8)) "Manufacturer=Starlight Games"
  (( id % 6 == 0 )) || cli game genres "$id" --tick Action
done < <("$root/build/bin/quillon-cli" --data-dir "$demo/data" list --system SNES 2>/dev/null)
for name in "${snes[@]:0:17}"; do
  id=$("$root/build/bin/quillon-cli" --data-dir "$demo/data" list --system SNES 2>/dev/null |
    awk -F'\t' -v n="${name% (*}" 'index($2, n) == 1 { print $1 }')
  [[ -n $id ]] && cli image add "$id" "$demo/covers/snes/$name.png"
done

# The window under Xvfb: one capture per view, each of the window alone.
cat >"$demo/capture.sh" <<'EOF'
set -euo pipefail
"$QUILLON" --data-dir "$DEMO/data" &
app=$!
window=$(xdotool search --sync --name '::\) Quillon \(::' | head -1)
xdotool windowmove "$window" 0 0 windowsize "$window" 1280 800
# Without a window manager the window takes the keys once it has the focus.
xdotool windowfocus --sync "$window"
sleep 2
xdotool key ctrl+2
sleep 1
import -window "$window" "$OUT/main-window.png"
xdotool key ctrl+f
xdotool type --delay 80 "qu"
sleep 1
import -window "$window" "$OUT/search.png"
# Esc empties the box, and in an empty box goes back to the games (where the menu keys work).
xdotool key Escape Escape
sleep 1
xdotool key ctrl+shift+p
sleep 2
import -window "$window" "$OUT/pictures.png"
xdotool key ctrl+shift+p ctrl+e
options=$(xdotool search --sync --name 'Quillon Options' | head -1)
xdotool windowfocus --sync "$options"
sleep 1
import -window "$options" "$OUT/options.png"
xdotool key Escape
sleep 1
xdotool windowfocus --sync "$window" key ctrl+x
wait "$app" || true
EOF
QUILLON=$root/build/bin/quillon DEMO=$demo OUT=$out \
  xvfb-run -a -s "-screen 0 1280x800x24" bash "$demo/capture.sh"
echo "Screenshots in $out: $(cd "$out" && echo *.png)"

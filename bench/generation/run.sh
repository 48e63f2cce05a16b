#!/bin/sh
# Generation benchmark: a folder album of 200 synthetic 4000 x 3000 photos
# (a few of them captioned), made by `Kelvana --generate`, against two
# references over the same photos:
#   ImageMagick  mogrify -resize 480x360 -quality 75 on a copy of the folder
#   floor        djpeg -scale 1/8 | cjpeg -quality 75, two processes at a time
# Prints the times (wall and CPU), the ratios and our peak memory. ROUNDS=n
# sets the number of rounds of ours and the floor (default 3, best counts).
# Goals: ours <= 1.2 x floor, <= 0.2 x ImageMagick, peak memory < 300 MB.
#
#   bench/generation/run.sh [BUILD_DIR]
set -eu
cd "$(dirname "$0")/../.."
build=${1:-build}
kelvana=$build/app/Kelvana
photos=bench/data/photos
out=bench/out/generation
count=200

[ -x "$kelvana" ] || { echo "build first: $kelvana is missing" >&2; exit 1; }
for tool in mogrify djpeg cjpeg /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (imagemagick, libjpeg-turbo-progs, time)" >&2; exit 1; }
done

# The photos, made once (the imaging benchmark uses the same folder):
# smooth colour fields with grain, 4000 x 3000, JPEG quality 90.
have=$(find "$photos" -maxdepth 1 -name '*.jpg' 2>/dev/null | wc -l)
if [ "$have" -lt "$count" ]; then
  echo "making $count photos of 4000 x 3000 in $photos (once) ..."
  cmake --build "$build" --target bench_make_photos >/dev/null
  "$build/bench/generation/bench_make_photos" "$photos" "$count"
fi

rm -rf "$out"
mkdir -p "$out"
project="$out/Bench"
mkdir -p "$project"
abs_photos=$(cd "$photos" && pwd)
{
  echo '<?xml version="1.0"?>'
  echo '<SaveDatas>'
  echo '	<template curID="0" sound="None" transtime="0" staytime="3" />'
  echo '	<photos>'
  i=0
  for f in $(ls "$abs_photos"/*.jpg | head -n $count); do
    if [ $((i % 25)) -eq 0 ]; then
      echo "		<photo photoname=\"$f\" effect=\"$((i % 3))\">"
      echo "			<text url=\"\" x=\"30\" y=\"290\" right=\"450\" bottom=\"350\" color=\"16777215\" size=\"24\" font=\"WenQuanYi Micro Hei\">Photo $i 照片</text>"
      echo '		</photo>'
    else
      echo "		<photo photoname=\"$f\" effect=\"$((i % 3))\" />"
    fi
    i=$((i + 1))
  done
  echo '	</photos>'
  echo "	<project numphotos=\"$i\" year=\"2024\" month=\"1\" day=\"1\" prj_thumb=\"\" />"
  echo '</SaveDatas>'
} > "$project/Bench.qem"

ratio() { awk -v a="$1" -v b="$2" -v f="$3" 'BEGIN { printf f, a / b }'; }
# timed FILE COMMAND...: runs the command and writes "wall cpu peak-kB" to FILE
# (cpu = user + system of the command and its children).
timed() {
  file=$1
  shift
  /usr/bin/time -f '%e %U %S %M' -o "$file.time" "$@"
  awk '{ printf "%.2f %.2f %d\n", $1, $2 + $3, $4 }' "$file.time" > "$file"
}

# best FILE CANDIDATE: keeps in FILE the run with the shorter wall time.
best() {
  if [ ! -s "$1" ] || awk -v a="$(cut -d' ' -f1 "$2")" -v b="$(cut -d' ' -f1 "$1")" 'BEGIN { exit !(a < b) }'; then
    cp "$2" "$1"
  fi
}

# The machine is shared: ours and the floor run in turns, several rounds,
# and the best round of each counts.
rounds=${ROUNDS:-3}
rm -f "$out/ours" "$out/floor.t"
r=0
while [ $r -lt "$rounds" ]; do
  r=$((r + 1))
  # Ours, from a cold start: a fresh temporary folder, so that neither the
  # thumbnail cache file nor display copies of an earlier run are there.
  rm -rf "$out/tmp" "$out/album"
  mkdir -p "$out/tmp"
  sync
  TMPDIR=$PWD/$out/tmp timed "$out/ours.round" "$kelvana" --generate "$project/Bench.qem" --output "$out/album" \
    >"$out/ours.log" 2>"$out/ours.err" || true
  [ -s "$out/ours.log" ] || echo "note: generation reported: $(tail -n 1 "$out/ours.err")" >&2
  best "$out/ours" "$out/ours.round"

  # The floor: reduced decoding and a plain encoder, two at a time.
  rm -rf "$out/floor"
  mkdir -p "$out/floor"
  sync
  timed "$out/floor.round" sh -c 'ls "$1"/*.jpg | head -n "$2" | xargs -P2 -I{} sh -c '"'"'djpeg -scale 1/8 "$1" | cjpeg -quality 75 > "$2/$(basename "$1")"'"'"' sh {} "$3"' \
    sh "$photos" "$count" "$out/floor"
  best "$out/floor.t" "$out/floor.round"
done
made=$(find "$out/album/photo" -type f | wc -l)

# ImageMagick on a copy, once (it takes minutes).
mkdir -p "$out/magick"
ls "$photos"/*.jpg | head -n $count | xargs cp -t "$out/magick"
sync
timed "$out/magick.t" sh -c 'mogrify -resize 480x360 -quality 75 "$1"/*.jpg' sh "$out/magick"

read -r ours ours_cpu peak_kb < "$out/ours"
read -r magick magick_cpu _ < "$out/magick.t"
read -r floor floor_cpu _ < "$out/floor.t"
ratio_floor=$(ratio "$ours" "$floor" '%.2f')
ratio_magick=$(ratio "$ours" "$magick" '%.3f')
peak_mb=$(ratio "$peak_kb" 1024 '%.0f')
cpu_floor=$(ratio "$ours_cpu" "$floor_cpu" '%.2f')
cpu_magick=$(ratio "$ours_cpu" "$magick_cpu" '%.3f')
echo "photos:        $count of 4000 x 3000 ($made exported); best of $rounds rounds; load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "               wall s    cpu s"
echo "ours:          ${ours}     ${ours_cpu}   (peak memory ${peak_mb} MB)"
echo "ImageMagick:   ${magick}    ${magick_cpu}"
echo "floor:         ${floor}     ${floor_cpu}   (djpeg -scale 1/8 | cjpeg, 2 processes)"
echo "ours / floor:  ${ratio_floor}      ${cpu_floor}   (goal <= 1.2)"
echo "ours / IM:     ${ratio_magick}     ${cpu_magick}   (goal <= 0.2)"
echo "peak memory:   ${peak_mb} MB   (goal < 300)"

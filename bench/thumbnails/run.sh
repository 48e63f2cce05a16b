#!/bin/bash
# Times 192 x 144 thumbnails of 200 synthetic 4000 x 3000 JPEG photos (made once
# under bench/data/, reused): ours (the thumbnail cache filled by the two
# workers, as the explorer list does), vipsthumbnail, ImageMagick's
# convert -thumbnail, and the floor djpeg -scale 1/8, each over the same files
# on two processes; then the time to reopen the folder from its cache file.
#
# The machine may be shared: ours, vips and the floor run ROUNDS times in turn
# and the best wall time of each counts; CPU time (user + system) is shown too.
# ImageMagick, far slower, runs once.
# Environment: BUILD (build folder, default build), COUNT (default 200), ROUNDS (default 3).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD:-$root/build}
count=${COUNT:-200}
rounds=${ROUNDS:-3}
data=$root/bench/data/thumbnails
out=$root/bench/out/thumbnails

for tool in vipsthumbnail djpeg; do
  command -v "$tool" >/dev/null || { echo "missing $tool (apt-get install libvips-tools libjpeg-turbo-progs)" >&2; exit 1; }
done
convert=/usr/bin/convert
[ -x "$convert" ] || convert=$(command -v convert) || { echo "missing ImageMagick (apt-get install imagemagick)" >&2; exit 1; }

ninja -C "$build" thumbnail_bench >/dev/null
bench=$build/bench/thumbnails/thumbnail_bench
"$bench" make "$data" "$count" >/dev/null
photos=("$data"/photo*.jpg)
echo "photos: ${#photos[@]} in $data ($(du -sh "$data" | cut -f1))"
cat "${photos[@]}" > /dev/null # every tool reads them from memory

rm -rf "$out"
mkdir -p "$out/tmp" "$out/vips" "$out/im"
export TMPDIR=$out/tmp # the cache file goes here

# run NAME COMMAND...: appends "wall user+system" (seconds) to $out/NAME.times
run() {
  local name=$1
  shift
  local TIMEFORMAT='%R %U %S'
  { time "$@" >/dev/null 2>&1; } 2> "$out/$name.last"
  awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$out/$name.last" >> "$out/$name.times"
}
best() { sort -n "$out/$1.times" | head -1 | cut -d' ' -f1; }
cpu() { sort -n "$out/$1.times" | head -1 | cut -d' ' -f2; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

ours() {
  rm -f "$TMPDIR"/*qemthumbs.Data
  "$bench" fill "$data" > "$out/ours.txt"
}
reopen() { "$bench" reopen "$data" > "$out/reopen.txt"; }
vips() { printf '%s\n' "${photos[@]}" | xargs -P2 -n 25 vipsthumbnail --size 192x144 -o "$out/vips/%s.jpg"; }
vips1() { printf '%s\n' "${photos[@]}" | xargs -P2 -n 1 vipsthumbnail --size 192x144 -o "$out/vips/%s.jpg"; }
floor() { printf '%s\n' "${photos[@]}" | xargs -P2 -n 1 djpeg -scale 1/8 -outfile /dev/null; }
magick() {
  printf '%s\n' "${photos[@]}" |
    xargs -P2 -I{} sh -c '"$0" "$1" -thumbnail 192x144 "$2/$(basename "$1")"' "$convert" {} "$out/im"
}

for round in $(seq "$rounds"); do
  run ours ours
  grep -q "thumbnails=${#photos[@]} " "$out/ours.txt" || { echo "ours made too few thumbnails: $(cat "$out/ours.txt")" >&2; exit 1; }
  run reopen reopen
  grep -q "from_file=${#photos[@]} " "$out/reopen.txt" || { echo "reopen decoded photos: $(cat "$out/reopen.txt")" >&2; exit 1; }
  sed -n 's/.* seconds=\([^ ]*\).*/\1 0/p' "$out/reopen.txt" >> "$out/reopen-inside.times"
  run vips vips
  run vips1 vips1
  run floor floor
done
run magick magick

echo "ours, last run: $(cat "$out/ours.txt")"
echo "peak memory:    $(sed -n 's/.*peak_rss_kb=\([^ ]*\).*/\1/p' "$out/ours.txt") KB peak RSS; thumbnails hold $(sed -n 's/.*thumbnail_bytes=\([^ ]*\).*/\1/p' "$out/ours.txt") bytes for $(sed -n 's/.*pixel_bytes=\([^ ]*\).*/\1/p' "$out/ours.txt") bytes of pixels"
echo "vipsthumbnail runs with 25 photos per process, vipsthumbnail/1 with one process per photo."
echo "wall seconds (best of $rounds, process start-up included; ImageMagick once):"
printf '  ours %s  vipsthumbnail %s  vipsthumbnail/1 %s  ImageMagick %s  djpeg 1/8 floor %s\n' \
  "$(best ours)" "$(best vips)" "$(best vips1)" "$(best magick)" "$(best floor)"
echo "cpu seconds (user + system of that run):"
printf '  ours %s  vipsthumbnail %s  vipsthumbnail/1 %s  ImageMagick %s  djpeg 1/8 floor %s\n' \
  "$(cpu ours)" "$(cpu vips)" "$(cpu vips1)" "$(cpu magick)" "$(cpu floor)"
for kind in best cpu; do
  printf 'ratios (%s):  ours/vips %s  ours/vips-1 %s  ours/ImageMagick %s  ours/floor %s\n' "$([ $kind = best ] && echo wall || echo cpu)" \
    "$(ratio "$($kind ours)" "$($kind vips)")" "$(ratio "$($kind ours)" "$($kind vips1)")" \
    "$(ratio "$($kind ours)" "$($kind magick)")" "$(ratio "$($kind ours)" "$($kind floor)")"
done
printf 'reopen of %d cached photos: %s s inside the process, %s s for the whole process (best of %s)\n' \
  "${#photos[@]}" "$(best reopen-inside)" "$(best reopen)" "$rounds"
echo "goals:          ours/vips <= 0.5, ours/floor <= 1.2, reopen < 0.3 s"

#!/bin/bash
# Times 192 x 144 thumbnails of 200 synthetic 4000 x 3000 JPEG photos (made once
# under bench/data/, reused): ours (the thumbnail cache filled by the two
# workers, as the explorer list does), vipsthumbnail, ImageMagick's
# convert -thumbnail, and the floor djpeg -scale 1/8, each over the same files
# on two processes; then the time to reopen the folder from its cache file.
# Environment: BUILD (build folder, default build), COUNT (default 200).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD:-$root/build}
count=${COUNT:-200}
data=$root/bench/data/thumbnails
out=$root/bench/out/thumbnails

for tool in vipsthumbnail djpeg; do
  command -v "$tool" >/dev/null || { echo "missing $tool (apt-get install libvips-tools libjpeg-turbo-progs)" >&2; exit 1; }
done
convert=/usr/bin/convert
[ -x "$convert" ] || convert=$(command -v convert) || { echo "missing ImageMagick (apt-get install imagemagick)" >&2; exit 1; }

ninja -C "$build" thumbnail_bench >/dev/null
bench=$build/bench/thumbnails/thumbnail_bench
"$bench" make "$data" "$count"
photos=("$data"/photo*.jpg)
echo "photos: ${#photos[@]} in $data ($(du -sh "$data" | cut -f1))"
cat "${photos[@]}" > /dev/null # every tool reads them from memory

rm -rf "$out"
mkdir -p "$out/tmp" "$out/vips" "$out/im"
export TMPDIR=$out/tmp # the cache file goes here

seconds() { # command... -> wall seconds
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }'
}
value() { sed -n "s/.* $1=\([^ ]*\).*/\1/p"; }

ours_wall=$(seconds sh -c "'$bench' fill '$data' > '$out/ours.txt'")
ours_rss=$(value peak_rss_kb < "$out/ours.txt")
reopen_wall=$(seconds sh -c "'$bench' reopen '$data' > '$out/reopen.txt'")
reopen=$(value seconds < "$out/reopen.txt")

vips=$(seconds sh -c "printf '%s\n' \"\$@\" | xargs -P2 -n 25 vipsthumbnail --size 192x144 -o '$out/vips/%s.jpg'" _ "${photos[@]}")
im=$(seconds sh -c "printf '%s\n' \"\$@\" | xargs -P2 -I{} sh -c '$convert \"\$1\" -thumbnail 192x144 \"$out/im/\$(basename \"\$1\")\"' _ {}" _ "${photos[@]}")
floor=$(seconds sh -c "printf '%s\n' \"\$@\" | xargs -P2 -n 1 djpeg -scale 1/8 -outfile /dev/null" _ "${photos[@]}")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "ours:           $(cat "$out/ours.txt")"
echo "ours (process): ${ours_wall} s wall with start-up, peak RSS ${ours_rss} KB"
echo "reopen:         $(cat "$out/reopen.txt")"
# Every figure below is a whole run, process start-up included.
printf 'times (s):      ours %.3f  vipsthumbnail %.3f  ImageMagick %.3f  djpeg 1/8 floor %.3f\n' "$ours_wall" "$vips" "$im" "$floor"
echo "ratios:         ours/vips $(ratio "$ours_wall" "$vips")  ours/ImageMagick $(ratio "$ours_wall" "$im")  ours/floor $(ratio "$ours_wall" "$floor")"
printf 'reopen of %d cached photos: %.3f s in the cache (%.3f s for the whole process)\n' "${#photos[@]}" "$reopen" "$reopen_wall"
echo "goals:          ours/vips <= 0.5, ours/floor <= 1.2, reopen < 0.3 s"

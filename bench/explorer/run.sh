#!/bin/bash
# Times the photo explore window on COUNT synthetic 800 x 600 JPEG photos (made
# once under bench/data/explorer-COUNT, reused; at 10,000 photos larger ones
# would not fit the disk comfortably):
#   first paint   SetFolder until the grid is painted with icons
#   screenful     until the first screenful of thumbnails is painted
#   cold          until the last thumbnail is painted, without a cache file,
#                 against the floor: the same files decoded in one process on
#                 two threads with QImageReader::setScaledSize at 1/8 of their
#                 size (libjpeg's smallest scaled decode), and at the thumbnail
#                 size (what the thumbnails need: 1/4 for 800 x 600 photos)
#   from file     the same with the folder's cache file present
#   workers       the two workers alone filling the cache, cold and from the
#                 cache file: what the list adds on top of the cache
#   peak memory   VmHWM of each process
# The machine may be shared: each measure runs ROUNDS times and the best counts.
# Environment: BUILD (build folder, default build), COUNT (default 2000), ROUNDS (default 2).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD:-$root/build}
count=${COUNT:-2000}
rounds=${ROUNDS:-2}
data=$root/bench/data/explorer-$count
out=$root/bench/out/explorer-$count

ninja -C "$build" explorer_bench >/dev/null
bench=$build/bench/explorer/explorer_bench
"$bench" make "$data" "$count" >/dev/null
echo "photos: $(ls "$data" | grep -c '\.jpg$') in $data ($(du -sh "$data" | cut -f1))"
find "$data" -name '*.jpg' -print0 | xargs -0 cat > /dev/null # every run reads them from memory

rm -rf "$out"
mkdir -p "$out/tmp"
export TMPDIR=$out/tmp # the cache file goes here
export QT_QPA_PLATFORM=offscreen

for round in $(seq "$rounds"); do
  "$bench" floor "$data" >> "$out/floor.txt"
  rm -f "$TMPDIR"/*qemthumbs.Data
  "$bench" show "$data" >> "$out/cold.txt"
  "$bench" show "$data" >> "$out/warm.txt"
  rm -f "$TMPDIR"/*qemthumbs.Data
  "$bench" workers "$data" >> "$out/workers-cold.txt"
  "$bench" workers "$data" >> "$out/workers-warm.txt"
done

# best FILE KEY: the smallest value of KEY over the runs
best() { sed -n "s/.* $2=\([^ ]*\).*/\1/p" "$out/$1" | sort -g | head -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
per2000() { awk -v s="$1" -v n="$count" 'BEGIN { printf "%.3f", s * 2000 / n }'; }

echo "cold, last run:      $(tail -1 "$out/cold.txt")"
echo "from file, last run: $(tail -1 "$out/warm.txt")"
echo "floor, last run:     $(tail -1 "$out/floor.txt")"
cold=$(best cold.txt last_seconds)
warm=$(best warm.txt last_seconds)
eighth=$(best floor.txt eighth_seconds)
fit=$(best floor.txt fit_seconds)
printf 'first paint with icons: %s s (goal < 0.150 at 10,000)\n' "$(best cold.txt first_paint_seconds)"
printf 'first screenful: cold %s s, from file %s s (goal < 0.5)\n' "$(best cold.txt screenful_seconds)" "$(best warm.txt screenful_seconds)"
printf 'all thumbnails cold: %s s; floor 1/8 %s s, floor at thumbnail size %s s\n' "$cold" "$eighth" "$fit"
printf 'ratios: cold/floor-1/8 %s  cold/floor-thumbnail-size %s (goal <= 1.1)\n' "$(ratio "$cold" "$eighth")" "$(ratio "$cold" "$fit")"
printf 'the two workers alone (no window): cold %s s, from the cache file %s s; list overhead cold %s, from file %s\n' \
  "$(best workers-cold.txt seconds)" "$(best workers-warm.txt seconds)" \
  "$(ratio "$cold" "$(best workers-cold.txt seconds)")" "$(ratio "$warm" "$(best workers-warm.txt seconds)")"
printf 'all thumbnails from the cache file: %s s, %s s per 2,000 (goal < 0.3)\n' "$warm" "$(per2000 "$warm")"
printf 'peak memory (VmHWM): cold %s KB, from file %s KB, floor %s KB\n' "$(best cold.txt peak_kb)" "$(best warm.txt peak_kb)" "$(best floor.txt peak_kb)"

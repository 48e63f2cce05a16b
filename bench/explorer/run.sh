#!/bin/bash
# Times the photo explore window on COUNT synthetic WIDTH x HEIGHT JPEG photos
# (made once under bench/data/explorer-COUNT-WIDTHxHEIGHT and reused; 10,000
# photos of 1600 x 1200 take about 6 GB):
#   first paint   SetFolder until the grid is painted with icons
#   screenful     until the first screenful of thumbnails is painted
#   cold          until the last thumbnail is painted, without a cache file,
#                 against the floor: the same files decoded in one process on
#                 two threads with QImageReader::setScaledSize at 1/8 of their
#                 size (libjpeg's smallest scaled decode), and at the thumbnail
#                 size (what the thumbnails need: 1/8 for 1600 x 1200 photos,
#                 then reduced from 200 x 150 to 192 x 144)
#   from file     the same with the folder's cache file present
#   workers       the two workers alone filling the cache, cold and from the
#                 cache file: what the list adds on top of the cache
#   peak memory   VmHWM of each process
# The machine may be shared: each measure runs ROUNDS times; the best and the
# median count, and the ratios pair each round's figure with the floor measured
# in the same round.
# Environment: BUILD (build folder, default build), COUNT (default 2000),
# ROUNDS (default 3), WIDTH and HEIGHT (default 1600 x 1200), BENCH (the
# explorer_bench program to run instead of building it), OUT (results folder),
# KEEP (1: add this run's rounds to those already in OUT, to interleave two
# programs' rounds on a busy machine).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD:-$root/build}
count=${COUNT:-2000}
rounds=${ROUNDS:-3}
width=${WIDTH:-1600}
height=${HEIGHT:-1200}
data=$root/bench/data/explorer-$count-${width}x$height
out=${OUT:-$root/bench/out/explorer-$count-${width}x$height}

if [ -n "${BENCH:-}" ]; then
  bench=$BENCH # a program built before, to compare with
else
  ninja -C "$build" explorer_bench >/dev/null
  bench=$build/bench/explorer/explorer_bench
fi
"$bench" make "$data" "$count" "$width" "$height" >/dev/null
echo "photos: $(ls "$data" | grep -c '\.jpg$') in $data ($(du -sh "$data" | cut -f1))"
find "$data" -name '*.jpg' -print0 | xargs -0 cat > /dev/null # every run reads them from memory

[ -n "${KEEP:-}" ] || rm -rf "$out" # KEEP=1 adds rounds to those already in OUT
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

# values FILE KEY: KEY of every run, in run order
values() { sed -n "s/.* $2=\([^ ]*\).*/\1/p" "$out/$1"; }
# best FILE KEY: the smallest value of KEY over the runs; median FILE KEY: the median
best() { values "$1" "$2" | sort -g | head -1; }
median() { values "$1" "$2" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# roundratio FILE1 KEY1 FILE2 KEY2: the median over the rounds of KEY1 / KEY2 of the same round
roundratio() {
  paste <(values "$1" "$2") <(values "$3" "$4") | awk '{ print $1 / $2 }' | sort -g |
    awk '{ v[NR] = $1 } END { printf "%.2f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
per2000() { awk -v s="$1" -v n="$count" 'BEGIN { printf "%.3f", s * 2000 / n }'; }

echo "cold, last run:      $(tail -1 "$out/cold.txt")"
echo "from file, last run: $(tail -1 "$out/warm.txt")"
echo "floor, last run:     $(tail -1 "$out/floor.txt")"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
cold=$(median cold.txt last_seconds)
warm=$(median warm.txt last_seconds)
eighth=$(median floor.txt eighth_seconds)
fit=$(median floor.txt fit_seconds)
echo "medians of $(wc -l < "$out/cold.txt") rounds (best in brackets):"
printf 'first paint with icons: %s s [%s] (goal < 0.150 at 10,000)\n' "$(median cold.txt first_paint_seconds)" "$(best cold.txt first_paint_seconds)"
printf 'first screenful: cold %s s [%s], from file %s s [%s] (goal < 0.5)\n' "$(median cold.txt screenful_seconds)" \
  "$(best cold.txt screenful_seconds)" "$(median warm.txt screenful_seconds)" "$(best warm.txt screenful_seconds)"
printf 'all thumbnails cold: %s s [%s]; floor 1/8 %s s [%s], floor at thumbnail size %s s [%s]\n' "$cold" \
  "$(best cold.txt last_seconds)" "$eighth" "$(best floor.txt eighth_seconds)" "$fit" "$(best floor.txt fit_seconds)"
printf 'ratios (each round against its own floor): cold/floor-1/8 %s  cold/floor-thumbnail-size %s (goal <= 1.1)\n' \
  "$(roundratio cold.txt last_seconds floor.txt eighth_seconds)" "$(roundratio cold.txt last_seconds floor.txt fit_seconds)"
printf 'processor time (all threads; steadier on a shared machine): cold %s s, floor 1/8 %s s, at thumbnail size %s s, workers alone %s s\n' \
  "$(median cold.txt last_cpu)" "$(median floor.txt eighth_cpu)" "$(median floor.txt fit_cpu)" "$(median workers-cold.txt cpu)"
printf 'processor-time ratios: cold/floor-1/8 %s  cold/floor-thumbnail-size %s  workers/floor-1/8 %s\n' \
  "$(roundratio cold.txt last_cpu floor.txt eighth_cpu)" "$(roundratio cold.txt last_cpu floor.txt fit_cpu)" \
  "$(roundratio workers-cold.txt cpu floor.txt eighth_cpu)"
printf 'the two workers alone (no window): cold %s s, from the cache file %s s; workers/floor-1/8 %s; list overhead cold %s, from file %s\n' \
  "$(median workers-cold.txt seconds)" "$(median workers-warm.txt seconds)" \
  "$(roundratio workers-cold.txt seconds floor.txt eighth_seconds)" \
  "$(ratio "$cold" "$(median workers-cold.txt seconds)")" "$(ratio "$warm" "$(median workers-warm.txt seconds)")"
printf 'all thumbnails from the cache file: %s s, %s s per 2,000 (goal < 0.3)\n' "$warm" "$(per2000 "$warm")"
printf 'peak memory (VmHWM): cold %s KB, from file %s KB, workers %s KB, floor %s KB\n' "$(median cold.txt peak_kb)" \
  "$(median warm.txt peak_kb)" "$(median workers-cold.txt peak_kb)" "$(median floor.txt peak_kb)"

#!/bin/bash
# Scrolls through COUNT photos in the photo explorer list, frame by frame, and
# through the same items in a plain QListView in the same process (see
# ScrollBench.cpp): with the Down key, the Page Down key and the wheel, from
# the top to the bottom. A frame is one step with the repaint it causes.
# The thumbnails come from the folder's cache file: run run.sh with the same
# COUNT, WIDTH and HEIGHT first (it leaves the file in its OUT folder's tmp);
# without it the first round makes the file (the load then takes minutes).
# Prints, per way of scrolling, the median over ROUNDS of the median frame
# and of the slowest frame (goal: slowest < 16 ms), and the explorer list's
# figures against the plain list's of the same round.
# Environment: BUILD, COUNT (default 10000), ROUNDS (default 3), WIDTH,
# HEIGHT, BENCH, OUT as in run.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD:-$root/build}
count=${COUNT:-10000}
rounds=${ROUNDS:-3}
width=${WIDTH:-1600}
height=${HEIGHT:-1200}
data=$root/bench/data/explorer-$count-${width}x$height
out=${OUT:-$root/bench/out/explorer-$count-${width}x$height}
if [ -n "${BENCH:-}" ]; then
  bench=$BENCH
else
  ninja -C "$build" explorer_bench >/dev/null
  bench=$build/bench/explorer/explorer_bench
fi
"$bench" make "$data" "$count" "$width" "$height" >/dev/null
mkdir -p "$out/tmp"
export TMPDIR=$out/tmp QT_QPA_PLATFORM=offscreen
rm -f "$out/scroll.txt"
for round in $(seq "$rounds"); do
  "$bench" scroll "$data" >> "$out/scroll.txt"
done

values() { sed -n "s/.* $1=\([^ ]*\).*/\1/p" "$out/scroll.txt"; }
median() { sort -g | awk '{ v[NR] = $1 } END { printf "%.2f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# roundratio KEY1 KEY2: the median over the rounds of KEY1 / KEY2 of the same round
roundratio() { paste <(values "$1") <(values "$2") | awk '{ print $1 / $2 }' | median; }

echo "last run: $(tail -1 "$out/scroll.txt")"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); medians of $rounds rounds"
echo "photos $(values photos | head -1), $(values columns | head -1) columns; the explorer list against a plain QListView"
for way in down page wheel; do
  printf '%-5s explorer: median frame %s ms, slowest %s ms (goal < 16), frames over 16 ms %s of %s; QListView: median %s ms, slowest %s ms; ratios explorer/QListView: median %s, slowest %s\n' \
    "$way" "$(values ${way}_median_ms | median)" "$(values ${way}_slowest_ms | median)" "$(values ${way}_over16 | median)" \
    "$(values ${way}_frames | median)" "$(values view_${way}_median_ms | median)" "$(values view_${way}_slowest_ms | median)" \
    "$(roundratio ${way}_median_ms view_${way}_median_ms)" "$(roundratio ${way}_slowest_ms view_${way}_slowest_ms)"
done
printf 'peak memory (VmHWM): explorer list alone %s KB, with the QListView %s KB\n' "$(values explorer_peak_kb | median)" "$(values peak_kb | median)"

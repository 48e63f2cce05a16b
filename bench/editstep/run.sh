#!/bin/bash
# Times the edit step on an album of COUNT synthetic 4000 x 3000 JPEG photos
# (made once under $DATA, default /tmp/kelvana-editstep-photos, and reused):
#   photo selection  strip Select(i, photo) until the view has painted the
#                    picture, first visit (the display copy is made) and second
#                    visit (read back), against QImageReader at 480 x 360 (the
#                    floor) and the full decode of the same files
#   slider drags     each brightness / contrast step until the view has
#                    painted, and the files written during the drag and when
#                    the slider closes
#   transition       strip Select(i, transition) until the preview movie has
#                    taken the request and until its two pictures are loaded
#                    (Qt WebEngine, under xvfb-run with its own HOME, XDG
#                    folders and TMPDIR)
# The machine may be shared: each measure runs ROUNDS times; the figures are
# the medians over the rounds of each round's median (and the largest
# slowest step), printed with the load average.
# Environment: BUILD (build folder, default build), COUNT (default 200),
# ROUNDS (default 3), VISITS (photos visited per round, default 40), DATA.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD:-$root/build}
count=${COUNT:-200}
rounds=${ROUNDS:-3}
visits=${VISITS:-40}
data=${DATA:-/tmp/kelvana-editstep-photos}
out=$root/bench/out/editstep

cmake --build "$build" --target editstep_bench -j2 >/dev/null
bench=$build/bench/editstep/editstep_bench
QT_QPA_PLATFORM=offscreen "$bench" make "$data" "$count" >/dev/null
echo "photos: $(ls "$data" | grep -c '\.jpg$') in $data ($(du -sh "$data" | cut -f1))"
find "$data" -name '*.jpg' -print0 | xargs -0 cat > /dev/null # every run reads them from memory

rm -rf "$out"
mkdir -p "$out"
# A fresh home, settings and temporary folder per run, as the editor has.
fresh() {
  local work=$out/env
  rm -rf "$work"
  mkdir -p "$work/home" "$work/config" "$work/data" "$work/runtime" "$work/tmp"
  chmod 700 "$work/runtime"
  echo "HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp"
}
loads=()
for round in $(seq "$rounds"); do
  loads+=("$(cut -d' ' -f1-3 /proc/loadavg)")
  env $(fresh) QT_QPA_PLATFORM=offscreen "$bench" photos "$data" "$count" "$visits" > "$out/photos-$round.txt"
  if command -v xvfb-run >/dev/null; then
    env $(fresh) xvfb-run -a -s "-screen 0 1280x800x24" "$bench" preview "$data" "$count" 5 > "$out/preview-$round.txt"
  else
    env $(fresh) QT_QPA_PLATFORM=offscreen "$bench" preview "$data" "$count" 5 > "$out/preview-$round.txt"
  fi
done
loads+=("$(cut -d' ' -f1-3 /proc/loadavg)")

# value KEY FILES...: the key's value in each file, one a line
value() { local key=$1; shift; sed -n "s/.*\b$key=\([^ ]*\).*/\1/p" "$@"; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
largest() { sort -g | tail -1; }
m() { value "$1" "$out"/$2-*.txt | median; }
x() { value "$1" "$out"/$2-*.txt | largest; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

floor=$(m floor_scaled_decode_median photos)
first=$(m first_visit_painted_median photos)
second=$(m second_visit_painted_median photos)
full=$(m full_decode_median photos)
echo "load average (1, 5, 15 min) at each round's start and at the end: ${loads[*]}"
echo "rounds: $rounds, photos visited per round: $visits (each twice)"
printf 'select a photo, first visit: median %s ms, slowest %s ms (goal < 150); to idle %s ms\n' \
  "$first" "$(x first_visit_painted_max photos)" "$(m first_visit_idle_median photos)"
printf 'select a photo, second visit: median %s ms, slowest %s ms (goal < 60); to idle %s ms\n' \
  "$second" "$(x second_visit_painted_max photos)" "$(m second_visit_idle_median photos)"
printf 'floor (QImageReader at 480 x 360): %s ms; full decode %s ms\n' "$floor" "$full"
printf 'ratios: first visit / floor %s, second visit / floor %s, full decode / floor %s\n' \
  "$(ratio "$first" "$floor")" "$(ratio "$second" "$floor")" "$(ratio "$full" "$floor")"
printf 'parts of a display copy: editor fitted decode %s ms, PNG write %s ms, PNG read %s ms\n' \
  "$(m editor_fitted_decode_median photos)" "$(m png_write_median photos)" "$(m png_read_median photos)"
for drag in brightness_first contrast brightness_again; do
  printf '%s drag: step median %s ms, slowest %s ms (goal < 16); writes during the drag %s; working-copy writes at close %s (all files at close: %s)\n' \
    "$drag" "$(m ${drag}_step_median photos)" "$(x ${drag}_step_max photos)" \
    "$(value writes_during_drag "$out"/photos-*.txt | grep "" | sort -u | tr '\n' ' ')" \
    "$(grep -h "^${drag}_drag" "$out"/photos-*.txt | sed -n 's/.*working_copy_writes_at_close=\([^ ]*\).*/\1/p' | sort -u | tr '\n' ' ')" \
    "$(grep -h "^${drag}_drag" "$out"/photos-*.txt | sed -n 's/.*writes_at_close=\([^ ]*\).*/\1/p' | sort -u | tr '\n' ' ')"
done
for case in first_gap gap_after_photo gap_after_gap; do
  printf '%s: request taken %s ms (slowest %s), pictures loaded %s ms (goal < 300)\n' "$case" \
    "$(m ${case}_taken_median preview)" "$(x ${case}_taken_max preview)" "$(m ${case}_pictures_median preview)"
done

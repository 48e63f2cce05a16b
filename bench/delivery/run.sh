#!/bin/sh
# Times the executable album against cp and tar, in one run:
#   bench/delivery/run.sh [BUILD_DIR]
# Makes 200 photos of 480 x 360 once (bench/data/delivery/, not in git) and an
# album folder of them (movie, configuration, page, 200 photos, 200
# thumbnails, music), then times, as the median of 5 runs each:
#   packaging   delivery_bench package (template copy + payload)  vs  cp of the
#               packaged file and tar -cf of the album folder
#   unpacking   delivery_bench unpack (the player's unpacker)     vs  cp -r of
#               the album folder and tar -xf of the tar file
# and the packaged player itself from start until its movie is loaded.
# Goal: packaging and unpacking each at most 1.5 x tar.
set -eu
cd "$(dirname "$0")/../.."
build=${1:-build}
bench=$build/bench/delivery/delivery_bench
player=$build/app/Sources/Player
data=bench/data/delivery
work=bench/out/delivery
runs=5

[ -x "$bench" ] || { echo "build first: ninja -C $build delivery_bench" >&2; exit 1; }

if [ ! -f "$data/photos/done" ]; then
  echo "making 200 photos of 480 x 360 in $data/photos (once)"
  mkdir -p "$data/photos" "$data/thumbs"
  i=0
  while [ $i -lt 200 ]; do
    name=$(printf 'photo%03d.jpg' $i)
    convert -size 480x360 -seed $i plasma:fractal -blur 0x1 -quality 85 "$data/photos/$name"
    convert "$data/photos/$name" -resize 192x144 -background white -gravity center -extent 192x144 \
      "$data/thumbs/thumb_$name"
    i=$((i + 1))
  done
  head -c 3000000 /dev/urandom >"$data/music.mp3"
  touch "$data/photos/done"
fi

rm -rf "$work"
album=$work/Album
mkdir -p "$album/photo" "$album/thumbs" "$album/res"
cp "$data"/photos/*.jpg "$album/photo/"
cp "$data"/thumbs/*.jpg "$album/thumbs/"
cp "$data/music.mp3" "$album/res/"
movie=$build/app/Sources/Templates/Previews/Classic/classic.js
[ -f "$movie" ] || { echo "missing $movie: build first" >&2; exit 1; }
cp "$movie" "$album/Album.js"
# The configuration lists the 200 photos, so that "loaded" means the movie
# has read it and has its first photo.
{
  printf '<?xml version="1.0" encoding="UTF-8"?>\n<SaveDatas><preferences><global>'
  printf '<basic_property movieWidth="800" movieHeight="600" startAutoPlay="true"/>'
  printf '</global></preferences><album>\n'
  for f in "$album"/photo/*.jpg; do
    name=$(basename "$f")
    printf '<slide d_URL="photo/%s" jpegURL="thumbs/thumb_%s" transition="fade" panzoom="1" phototime="3" url=""/>\n' \
      "$name" "$name"
  done
  printf '</album></SaveDatas>\n'
} >"$album/Album.xml"
printf '<!DOCTYPE html><title>Album</title>' >"$album/Album.html"

now_us() { echo $(($(date +%s%N) / 1000)); }
# median of the lines on stdin
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# time_us COMMAND...: wall time of one run in microseconds
time_us() {
  start=$(now_us)
  "$@" >/dev/null
  echo $(($(now_us) - start))
}

exe=$work/Album.exe
pack=""; cp_file=""; tar_c=""; unpack=""; cp_dir=""; tar_x=""
for run in $(seq $runs); do
  rm -f "$exe" "$work/copy.exe" "$work/album.tar"
  pack="$pack $(time_us "$bench" package "$exe" "$player" "$album")"
  cp_file="$cp_file $(time_us cp "$exe" "$work/copy.exe")"
  tar_c="$tar_c $(time_us tar -cf "$work/album.tar" -C "$work" Album)"
  rm -rf "$work/unpack" "$work/copydir" "$work/untar"
  mkdir -p "$work/unpack" "$work/untar"
  unpack="$unpack $(TMPDIR=$work/unpack time_us "$bench" unpack "$exe")"
  cp_dir="$cp_dir $(time_us cp -r "$album" "$work/copydir")"
  tar_x="$tar_x $(time_us tar -xf "$work/album.tar" -C "$work/untar")"
done
m() { echo "$1" | tr ' ' '\n' | grep . | median; }
pack=$(m "$pack"); cp_file=$(m "$cp_file"); tar_c=$(m "$tar_c")
unpack=$(m "$unpack"); cp_dir=$(m "$cp_dir"); tar_x=$(m "$tar_x")

bytes=$(stat -c %s "$exe")
files=$(find "$album" -type f | wc -l)
echo "album: $files files, executable $bytes bytes (player $(stat -c %s "$player") bytes)"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
ms() { awk -v a="$1" 'BEGIN { printf "%.1f ms", a / 1000 }'; }
echo "packaging  $(ms "$pack")   cp $(ms "$cp_file")   tar -cf $(ms "$tar_c")   ratio to tar $(ratio "$pack" "$tar_c")   to cp $(ratio "$pack" "$cp_file")"
echo "unpacking  $(ms "$unpack")   cp -r $(ms "$cp_dir")   tar -xf $(ms "$tar_x")   ratio to tar $(ratio "$unpack" "$tar_x")   to cp $(ratio "$unpack" "$cp_dir")"

# The packaged player from start until its movie is loaded (configuration
# read, first photo there): it ends itself then when
# KELVANA_PLAYER_EXIT_WHEN_LOADED=1, exit status 3 if the movie never loaded.
# Median of $runs starts, each unpacking into a fresh temporary folder.
play=""
for run in $(seq $runs); do
  rm -rf "$work/playtemp"
  mkdir -p "$work/playtemp"
  start=$(now_us)
  status=0
  out=$(TMPDIR=$work/playtemp QT_QPA_PLATFORM=offscreen KELVANA_PLAYER_EXIT_WHEN_LOADED=1 "$exe" 2>/dev/null) || status=$?
  total=$(($(now_us) - start))
  if [ $status -ne 0 ]; then
    echo "player     the movie did not load (exit status $status): $out"
    exit 1
  fi
  play="$play $total"
done
echo "player     start to movie loaded $(ms "$(m "$play")")   (last run: $out)"

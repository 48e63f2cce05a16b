#!/bin/sh
# Movie frame-time benchmark: plays the 1280 x 720 template (Cinema) through
# every effect of the catalogue once, in Qt WebEngine (offscreen, through the
# movie player control) and in headless Chromium (real time, over the DevTools
# pipe), and prints per effect the median and slowest time between frames of
# the transition and the median drawing time (the first second of playback is
# left out by the movie). Needs a build (ninja -C build movie_bench), chromium
# and node.
#   bench/movies/run.sh [BUILD_DIR]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
out="$root/bench/out/movies"
rm -rf "$out"
mkdir -p "$out/photo" "$out/res"
tpl="$root/Sources/Templates/Previews/Cinema"
cp "$build/app/Sources/Templates/Previews/Cinema/cinema.js" "$out/bench.js"
cp "$tpl/photo/"*.jpg "$out/photo/"
cp "$tpl/res/cinema.mp3" "$out/res/music.mp3"

ids=$(grep -o '<Effect [^>]*' "$root/Sources/Effects/effects.xml" | sed 's/.* id="\([^"]*\)".*/\1/')
count=$(echo "$ids" | wc -l)
photos="beach mountains city forest dunes flowers"
{
  echo '<?xml version="1.0" encoding="UTF-8"?>'
  echo '<config><preferences><global>'
  echo '<basic_property movieWidth="1280" movieHeight="720" startAutoPlay="true"/>'
  echo '<music_property path="res/music.mp3"/></global></preferences><album>'
  # An opening slide, then one slide per effect, each coming on with it.
  echo '<slide d_URL="photo/beach.jpg" transition="fade" panzoom="1" phototime="1.5"/>'
  i=1
  for id in $ids; do
    photo=$(echo $photos | cut -d' ' -f$(( i % 6 + 1 )))
    echo "<slide d_URL=\"photo/$photo.jpg\" transition=\"$id\" panzoom=\"1\" phototime=\"1.2\"/>"
    i=$((i + 1))
  done
  echo '</album></config>'
} > "$out/bench.xml"
{
  printf '<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="UTF-8">\n<title>bench</title>\n'
  printf '<style>html,body{margin:0;height:100%%;background:#000}#stage{position:absolute;left:0;top:0;width:1280px;height:720px}</style>\n'
  printf '</head>\n<body>\n<div id="stage"></div>\n<textarea id="album-config" hidden>'
  sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' "$out/bench.xml"
  printf '</textarea>\n<script src="bench.js"></script>\n</body>\n</html>\n'
} > "$out/bench.html"

echo "Qt WebEngine (offscreen), $count effects at 1280 x 720 ..." >&2
QT_QPA_PLATFORM=offscreen "$build/bench/movies/movie_bench" "$out/bench.js" "$count" 1280 720 2>/dev/null > "$out/qt.json"
echo "headless Chromium, $count effects at 1280 x 720 ..." >&2
node "$here/chromium-bench.mjs" "$out/bench.html" "$count" 1280 720 > "$out/chromium.json"
node "$here/report.mjs" "$out/qt.json" "$out/chromium.json" | tee "$out/report.txt"

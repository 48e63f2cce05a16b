#!/bin/sh
# Renders the list picture of every template of Templates.xml from the built
# movie itself playing its sample album in headless Chromium (a web page made
# by the movies/README.md contract), reduced to 120 x 90. Each template is
# taken on another of its sample photos. Outputs are committed.
#   tools/movie-assets/make-template-pictures.sh [BUILD_DIR] [SHOT_FOLDER]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
shots=${2:-}
. "$here/common.sh"
previews="$root/Sources/Templates/Previews"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' "$1"; }
attr() { echo "$1" | sed -n "s/.* $2=\"\([^\"]*\)\".*/\1/p"; }

i=0
grep -o '<Template [^>]*' "$previews/Templates.xml" | while read -r line; do
  xml=$(attr "$line" xml) movie=$(attr "$line" tplfname) png=$(attr "$line" png)
  w=$(attr "$line" w) h=$(attr "$line" h)
  folder=$(dirname "$movie") name=$(basename "$movie" .js)
  out="$work/$name"
  mkdir -p "$out/thumbs"
  # The folder as a preview output holds it: thumbnails in "thumbs".
  cp -r "$previews/$folder/photo" "$previews/$folder/res" "$out/"
  cp "$previews/$folder/Thumbs/"* "$out/thumbs/" 2>/dev/null || true
  cp "$build/app/Sources/Templates/Previews/$movie" "$out/$name.js"
  # No music: the pictures are taken at a fixed point of show time.
  sed 's/\(<music_property[^>]*path="\)[^"]*"/\1"/' "$previews/$xml" > "$out/$name.xml"
  {
    printf '<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="UTF-8">\n<title>%s</title>\n' "$name"
    printf '<style>html,body{margin:0;height:100%%;background:#000}#stage{position:absolute;left:50%%;top:50%%;width:%spx;height:%spx;margin:-%spx 0 0 -%spx}</style>\n' "$w" "$h" $((h / 2)) $((w / 2))
    printf '</head>\n<body>\n<div id="stage"></div>\n<textarea id="album-config" hidden>'
    escape "$out/$name.xml"
    printf '</textarea>\n<script src="%s.js"></script>\n</body>\n</html>\n' "$name"
  } > "$out/$name.html"
  chromium_shot "file://$out/$name.html" "$w" "$h" "$out/shot.png" $((2500 + i * 4000))
  [ -z "$shots" ] || cp "$out/shot.png" "$shots/$name.png"
  convert "$out/shot.png" -crop "${w}x${h}+0+0" +repage -filter Lanczos -resize 120x90 \
    -background black -gravity center -extent 120x90 -strip \
    -define png:exclude-chunks=date,time "$previews/$png"
  echo "$png"
  i=$((i + 1))
done

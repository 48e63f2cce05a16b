#!/bin/sh
# Makes the sample photos and thumbnails of the templates and the two sample
# pictures of the transition preview from synthetic scenes (scenes.html), with
# headless Chromium and ImageMagick. Outputs go into Sources/ and are committed.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$here/common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shot() { # scene width height out.jpg quality
  chromium_shot "file://$here/scenes.html#$1,$2,$3" "$2" "$3" "$work/shot.png"
  convert "$work/shot.png" -crop "$2x$3+0+0" +repage -strip -sampling-factor 4:2:0 -quality "$5" "$4"
}

samples="$work/samples"
mkdir -p "$samples"
# name scene width height: landscape, wide, portrait and panorama pictures,
# so that templates show how they letterbox.
for entry in beach:beach:1024:768 mountains:mountains:1024:768 city:city:1280:720 \
            forest:forest:768:1024 dunes:dunes:1200:600 flowers:flowers:1024:768; do
  IFS=: read -r name scene w h <<EOT
$entry
EOT
  shot "$scene" "$w" "$h" "$samples/$name.jpg" 72
  convert "$samples/$name.jpg" -thumbnail 192x144 -strip -quality 80 "$samples/thumb_$name.jpg"
done

for folder in Classic FilmStrip Desk Magazine Cinema; do
  dir="$root/Sources/Templates/Previews/$folder"
  mkdir -p "$dir/photo" "$dir/Thumbs"
  for name in beach mountains city forest dunes flowers; do
    cp "$samples/$name.jpg" "$dir/photo/$name.jpg"
    cp "$samples/thumb_$name.jpg" "$dir/Thumbs/thumb_$name.jpg"
  done
done

mkdir -p "$root/Sources/Effects"
shot beach 480 384 "$root/Sources/Effects/1.jpg" 85
shot mountains 480 384 "$root/Sources/Effects/2.jpg" 85
ls -l "$samples"

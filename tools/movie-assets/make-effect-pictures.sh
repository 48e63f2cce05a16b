#!/bin/sh
# Renders the picture of every effect of Sources/Effects/effects.xml from the
# real transition at its middle between the sample pictures 1.jpg and 2.jpg,
# with the built preview movie (build/app/Sources/Effects/slidePreview.js) in
# headless Chromium. Outputs: Sources/Effects/pngs/ID.png, 80 x 64, committed.
#   tools/movie-assets/make-effect-pictures.sh [BUILD_DIR]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
. "$here/common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$build/app/Sources/Effects/slidePreview.js" "$here/effects.html" "$work/"
cp "$root/Sources/Effects/1.jpg" "$root/Sources/Effects/2.jpg" "$work/"
ids=$(grep -o '<Effect [^>]*' "$root/Sources/Effects/effects.xml" | sed 's/.* id="\([^"]*\)".*/\1/' | tr '\n' ',' | sed 's/,$//')
count=$(echo "$ids" | tr ',' '\n' | wc -l)
rows=$(( (count + 7) / 8 ))
chromium_shot "file://$work/effects.html#$ids" 640 $((rows * 64)) "$work/grid.png" 3000
mkdir -p "$root/Sources/Effects/pngs"
i=0
for id in $(echo "$ids" | tr ',' ' '); do
  x=$(( (i % 8) * 80 )) y=$(( (i / 8) * 64 ))
  convert "$work/grid.png" -crop "80x64+$x+$y" +repage -strip -define png:exclude-chunks=date,time "$root/Sources/Effects/pngs/$id.png"
  i=$((i + 1))
done
cp "$work/grid.png" "${GRID_OUT:-/dev/null}" 2>/dev/null || true
echo "$i effect pictures"
